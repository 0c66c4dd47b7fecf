#include "hashed_parts.h"

#include "file_identity.h"

#include <algorithm>

void HashedParts::put(const void* bytes, std::size_t size) {
    hash_ = bytes_hash(bytes, size, hash_);
    const auto* from = static_cast<const char*>(bytes);
    while (size > 0) {
        const std::size_t room = FilePieceSize - std::min(piece_.size(), FilePieceSize);
        const std::size_t n = std::min(size, std::max<std::size_t>(room, 1));
        piece_.append(from, n);
        from += n;
        size -= n;
        if (piece_.size() >= FilePieceSize) flush_(piece_);
    }
}

void HashedParts::end_part() {
    piece_.append(reinterpret_cast<const char*>(&hash_), sizeof hash_);
    hash_ = 0;
}
