#include "file_identity.h"

#include <cerrno>
#include <new>
#include <string>

#include <xxhash.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t ReadPieceSize = std::size_t(1) << 18;

std::int64_t nanoseconds(const struct timespec& time) {
    return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

std::optional<std::chrono::system_clock::time_point> fixed_seen;

} // namespace

void FileHasher::Free::operator()(XXH3_state_s* state) const {
    XXH3_freeState(state);
}

FileHasher::FileHasher() : state_(XXH3_createState()) {
    if (!state_) throw std::bad_alloc();
    XXH3_128bits_reset(state_.get());
}

void FileHasher::add(const char* bytes, std::size_t size) {
    XXH3_128bits_update(state_.get(), bytes, size);
}

FileHash FileHasher::finish() const {
    const XXH128_hash_t hash = XXH3_128bits_digest(state_.get());
    return {hash.low64, hash.high64};
}

FileHash file_hash(std::string_view bytes) {
    const XXH128_hash_t hash = XXH3_128bits(bytes.data(), bytes.size());
    return {hash.low64, hash.high64};
}

std::uint64_t bytes_hash(const void* data, std::size_t size, std::uint64_t seed) {
    return XXH3_64bits_withSeed(data, size, seed);
}

FileIdentity identity_of_status(const struct stat& status, FileHash hash) {
    return {true, std::uint64_t(status.st_size), nanoseconds(status.st_mtim), hash};
}

FileStamp stamp_of_status(const struct stat& status) {
    return {std::uint64_t(status.st_dev), std::uint64_t(status.st_ino),
            std::uint64_t(status.st_size), nanoseconds(status.st_mtim),
            nanoseconds(status.st_ctim)};
}

std::chrono::system_clock::time_point seen_now() {
    return fixed_seen.value_or(std::chrono::system_clock::now());
}

void set_seen_for_testing(std::optional<std::chrono::system_clock::time_point> seen) {
    fixed_seen = seen;
}

bool settled(const FileStamp& stamp, std::chrono::system_clock::time_point seen) {
    // Three seconds: the two of the coarsest file system clock, and one to spare.
    const std::int64_t settled_before =
        std::chrono::duration_cast<std::chrono::nanoseconds>(seen.time_since_epoch()).count() -
        std::int64_t(3'000'000'000);
    return stamp.inode != 0 && stamp.modified_ns < settled_before &&
           stamp.changed_ns < settled_before;
}

FileIdentity status_of_file(const std::filesystem::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return {};
    return identity_of_status(status, {});
}

int open_regular_file(const std::filesystem::path& file, struct stat& status) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) return fd;
    ::close(fd);
    return -1;
}

FileIdentity identity_of_file(const std::filesystem::path& file) {
    struct stat status {};
    const int fd = open_regular_file(file, status);
    if (fd < 0) return {};
    FileIdentity identity;
    std::string piece(ReadPieceSize, '\0');
    FileHasher hasher;
    ssize_t got = 0;
    while ((got = ::read(fd, piece.data(), piece.size())) > 0 || (got < 0 && errno == EINTR))
        if (got > 0) hasher.add(piece.data(), std::size_t(got));
    if (got == 0)
        identity = identity_of_status(status, hasher.finish());
    ::close(fd);
    return identity;
}

bool read_file_at(int fd, std::uint64_t offset, void* to, std::size_t size) {
    auto* bytes = static_cast<char*>(to);
    while (size > 0) {
        const ssize_t n = ::pread(fd, bytes, size, off_t(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        offset += std::uint64_t(n);
        size -= std::size_t(n);
    }
    return true;
}
