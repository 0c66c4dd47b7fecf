#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
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
// it since. The hash is the same in every run, so the caches are keyed by it.
struct FileIdentity {
    bool known = false; // false for a table built in memory, which claims no file
    std::uint64_t size = 0;
    std::int64_t modified_ns = 0; // since the epoch
    FileHash hash;

    bool operator==(const FileIdentity&) const = default;
};

// What the file system tells of a file without reading it: which file it is, its size, when its
// bytes last changed, and when anything of it last changed (a write, a rename onto it, a change
// of its times or permissions all set that to the moment they happen; no program can set it
// back).
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified_ns = 0; // since the epoch
    std::int64_t changed_ns = 0;

    bool operator==(const FileStamp&) const = default;
};

FileStamp stamp_of_status(const struct stat& status);

// Whether a file of `stamp`, seen at `seen`, had been left alone for long enough that any later
// write gives it other times, even on a file system that keeps times to two seconds. Of such a
// file the same stamp later means the same bytes; of one written just before, it does not.
bool settled(const FileStamp& stamp, std::chrono::system_clock::time_point seen);
// The time a load sees its file at, for settled(). Tests move it with set_seen_for_testing;
// nullopt returns to the clock.
std::chrono::system_clock::time_point seen_now();
void set_seen_for_testing(std::optional<std::chrono::system_clock::time_point> seen);

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

// A 64-bit XXH3 hash of `size` bytes, the same in every run (Qt's hashes take a seed of the
// process's own), chained through `seed`: the caches check their parts with it.
std::uint64_t bytes_hash(const void* data, std::size_t size, std::uint64_t seed = 0);

// Opens `file` for reading when it is a regular file, without waiting on a named pipe or a
// device put in its place; -1 for anything else. `status` receives what the open file is.
int open_regular_file(const std::filesystem::path& file, struct stat& status);

// Reads `size` bytes at `offset` of the open file `fd`; false when the file ends first.
bool read_file_at(int fd, std::uint64_t offset, void* to, std::size_t size);

// The identity of the file whose status is `status` and whose bytes hash to `hash`.
FileIdentity identity_of_status(const struct stat& status, FileHash hash);

// The size and time of the file at `file`, without its hash; not known when it is not a file.
FileIdentity status_of_file(const std::filesystem::path& file);

// The identity of the file at `file` as it is now, its bytes read and hashed; not known when
// it cannot be read (missing, a folder, no permission).
FileIdentity identity_of_file(const std::filesystem::path& file);
