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

FileIdentity identity_of_status(const struct stat& status, FileHash hash) {
    return {true, std::uint64_t(status.st_size), nanoseconds(status.st_mtim), hash};
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
