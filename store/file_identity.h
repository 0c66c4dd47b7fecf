#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include <sys/stat.h>

struct XXH3_state_s;

// The XXH3 hash of a file's bytes. 128 bits, as a save goes ahead on it alone: two files that
// hash alike must not happen in any number of saves.
struct FileHash {
    std::uint64_t low = 0;
    std::uint64_t high = 0;

    bool operator==(const FileHash&) const = default;
};

// What a file was when it was loaded or saved, to tell later whether someone else has replaced
// it since.
struct FileIdentity {
    bool known = false; // false for a table built in memory, which claims no file
    std::uint64_t size = 0;
    std::int64_t modified_ns = 0; // since the epoch
    FileHash hash;

    bool operator==(const FileIdentity&) const = default;
};

// The hash of a file's bytes, taken as they are read, split however.
class FileHasher {
  public:
    FileHasher();
    void add(const char* bytes, std::size_t size);
    void add(std::string_view bytes) { add(bytes.data(), bytes.size()); }
    FileHash finish() const;

  private:
    struct Free {
        void operator()(XXH3_state_s* state) const;
    };
    std::unique_ptr<XXH3_state_s, Free> state_;
};

FileHash file_hash(std::string_view bytes);

// Opens `file` for reading when it is a regular file, without waiting on a named pipe or a
// device put in its place; -1 for anything else. `status` receives what the open file is.
int open_regular_file(const std::filesystem::path& file, struct stat& status);

// The identity of the file whose status is `status` and whose bytes hash to `hash`.
FileIdentity identity_of_status(const struct stat& status, FileHash hash);

// The size and time of the file at `file`, without its hash; not known when it is not a file.
FileIdentity status_of_file(const std::filesystem::path& file);

// The identity of the file at `file` as it is now, its bytes read and hashed; not known when
// it cannot be read (missing, a folder, no permission).
FileIdentity identity_of_file(const std::filesystem::path& file);
