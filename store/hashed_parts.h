#pragma once

#include "atomic_file.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Writes the fields of a cache file in parts, each followed by the hash of its own fields
// (bytes_hash chained from one field to the next), through the piece buffer of
// write_file_atomically: whoever reads the file back passes over a part cut short or changed
// anywhere. A large field passes through the buffer a piece at a time.
class HashedParts {
  public:
    HashedParts(std::string& piece, const PieceWriter& flush) : piece_(piece), flush_(flush) {}
    void put(const void* bytes, std::size_t size);
    template <typename T> void put_value(const T& value) { put(&value, sizeof value); }
    // Writes the hash of the part's fields; the next part starts a hash of its own.
    void end_part();

  private:
    std::string& piece_;
    const PieceWriter& flush_;
    std::uint64_t hash_ = 0;
};
