#include "file_identity.h"

#include <array>
#include <cerrno>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t HashPieceSize = std::size_t(1) << 18;

std::uint64_t mix(std::uint64_t h) {
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return h;
}

// Bytes are taken a stripe of eight words at a time. Each word, xor-ed with a key of its place,
// is multiplied as two 32-bit halves and the product added to its lane; the word itself goes to
// the neighbouring lane, so that nothing is lost when a product is zero. The lanes never wait on
// one another, and SSE2 does two at once. After every block of 16 stripes the lanes are stirred,
// so that the order of the blocks counts as well as what is in them.
constexpr std::size_t Lanes = 8;
constexpr std::size_t StripeSize = Lanes * 8;
constexpr std::size_t StripesPerBlock = 16;

// Stripe s of a block takes keys s to s + 7.
constexpr std::array<std::uint64_t, Lanes + StripesPerBlock> StripeKeys = [] {
    std::array<std::uint64_t, Lanes + StripesPerBlock> keys{};
    std::uint64_t x = 0x9e3779b97f4a7c15ULL;
    for (std::uint64_t& key : keys) {
        x += 0x9e3779b97f4a7c15ULL;
        std::uint64_t z = x;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        key = z ^ (z >> 31);
    }
    return keys;
}();

void add_stripe(std::uint64_t* lanes, const unsigned char* bytes, const std::uint64_t* keys) {
#if defined(__SSE2__)
    for (std::size_t l = 0; l < Lanes; l += 2) {
        const __m128i words = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 8 * l));
        const __m128i keyed =
            _mm_xor_si128(words, _mm_loadu_si128(reinterpret_cast<const __m128i*>(keys + l)));
        const __m128i product = _mm_mul_epu32(keyed, _mm_shuffle_epi32(keyed, 0x31));
        const __m128i sum = _mm_add_epi64(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes + l)),
            _mm_add_epi64(product, _mm_shuffle_epi32(words, 0x4e)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes + l), sum);
    }
#else
    for (std::size_t l = 0; l < Lanes; ++l) {
        std::uint64_t word;
        std::memcpy(&word, bytes + 8 * l, 8);
        const std::uint64_t keyed = word ^ keys[l];
        lanes[l] += (keyed & 0xffffffffU) * (keyed >> 32);
        lanes[l ^ 1] += word;
    }
#endif
}

void stir(std::uint64_t* lanes) {
    for (std::size_t l = 0; l < Lanes; ++l)
        lanes[l] = (lanes[l] ^ (lanes[l] >> 47) ^ StripeKeys[l]) * 0x9e3779b1U;
}

std::int64_t nanoseconds(const struct timespec& time) {
    return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

std::optional<std::chrono::system_clock::time_point> fixed_seen;

} // namespace

std::uint64_t stable_hash(const void* data, std::size_t size, std::uint64_t seed) {
    constexpr std::uint64_t K = 0xff51afd7ed558ccdULL;
    const auto step = [](std::uint64_t h, std::uint64_t word) {
        h = (h ^ word) * K;
        return h ^ (h >> 32);
    };
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (size >= StripeSize) {
        std::array<std::uint64_t, Lanes> lanes{};
        for (std::size_t l = 0; l < Lanes; ++l) lanes[l] = StripeKeys[l] ^ seed;
        const std::size_t stripes = size / StripeSize;
        for (std::size_t s = 0; s < stripes; ++s) {
            add_stripe(lanes.data(), bytes + s * StripeSize, &StripeKeys[s % StripesPerBlock]);
            if (s % StripesPerBlock == StripesPerBlock - 1) stir(lanes.data());
        }
        // What is left of the last stripe is hashed below, chained to the lanes.
        seed ^= size;
        for (const std::uint64_t lane : lanes) seed = step(seed, lane);
        bytes += stripes * StripeSize;
        size %= StripeSize;
    }
    // Two lanes of 8 bytes each keep the multiplications from waiting on one another.
    std::uint64_t a = seed ^ 0x9e3779b97f4a7c15ULL;
    std::uint64_t b = seed ^ size;
    for (; size >= 16; bytes += 16, size -= 16) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, bytes, 8);
        std::memcpy(&y, bytes + 8, 8);
        a = step(a, x);
        b = step(b, y);
    }
    unsigned char tail[16] = {};
    if (size > 0) std::memcpy(tail, bytes, size);
    std::uint64_t x;
    std::uint64_t y;
    std::memcpy(&x, tail, 8);
    std::memcpy(&y, tail + 8, 8);
    a = step(a, x ^ size);
    b = step(b, y);
    return step(a, b);
}

void FileHasher::add_piece(const char* bytes, std::size_t size) {
    combined_ = mix(combined_ * 0x9e3779b97f4a7c15ULL + stable_hash(bytes, size));
}

void FileHasher::add(const char* bytes, std::size_t size) {
    total_ += size;
    if (!partial_.empty()) {
        const std::size_t take = std::min(size, HashPieceSize - partial_.size());
        partial_.append(bytes, take);
        bytes += take;
        size -= take;
        if (partial_.size() < HashPieceSize) return;
        add_piece(partial_.data(), partial_.size());
        partial_.clear();
    }
    // Whole pieces straight from the caller's buffer: a reader that reads in pieces of this
    // size copies nothing.
    for (; size >= HashPieceSize; bytes += HashPieceSize, size -= HashPieceSize)
        add_piece(bytes, HashPieceSize);
    partial_.assign(bytes, size);
}

std::uint64_t FileHasher::finish() const {
    FileHasher last = *this;
    if (!last.partial_.empty()) last.add_piece(last.partial_.data(), last.partial_.size());
    return mix(last.combined_ ^ last.total_);
}

std::uint64_t file_hash(std::string_view bytes) {
    FileHasher hasher;
    hasher.add(bytes);
    return hasher.finish();
}

FileIdentity identity_of_status(const struct stat& status, std::uint64_t hash) {
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
    return identity_of_status(status, 0);
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
    std::string piece(HashPieceSize, '\0');
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
