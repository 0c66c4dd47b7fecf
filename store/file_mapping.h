#pragma once

#include <cstddef>
#include <memory>

#include <sys/stat.h>

// A read-only mapping of a regular file that keeps the bytes it was made with, however the file
// is changed later. The file is mapped under a read lease: a program that opens it for writing
// or truncates it waits until the kernel has told this process, whose own thread then moves a
// copy of the bytes in place of the mapping and lets go of the lease. Without that, a file
// truncated in place would end the program at the next read of a mapped text.
class FileMapping {
  public:
    // Maps the whole regular file open for reading as `fd`; null where a mapping could change
    // under the program: when no lease can be had (the file belongs to another user, is open for
    // writing, lies on a file system without leases) or the file is empty. The caller then
    // reads the file instead. `fd` stays the caller's; it must be an open file of its own (not
    // one another mapping was made from), as a lease belongs to the open file.
    static std::shared_ptr<const FileMapping> map(int fd);
    ~FileMapping();
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;

    const char* data() const { return data_; }
    std::size_t size() const { return std::size_t(status_.st_size); }
    // What the file was when it was mapped: no one has changed it since.
    const struct stat& status() const { return status_; }

  private:
    FileMapping(const char* data, const struct stat& status, int slot)
        : data_(data), status_(status), slot_(slot) {}

    const char* data_;
    struct stat status_;
    int slot_;
};
