#pragma once

#include <QLockFile>
#include <QString>

#include <chrono>
#include <filesystem>

// Locks beside the data file, through QLockFile: a lock whose program has ended on this
// machine is taken over, one held by a live program (on this machine or another sharing the
// folder) is not.
class DataFileLock {
  public:
    enum Purpose {
        // Held by a save while it checks the file and replaces it, so that two saves never
        // overlap, however close together they come.
        Saving,
        // Held by a maintenance window as long as it is open, so that a second one opens the
        // file for reading only. A file of its own: the window's own saves take the one above.
        Maintenance,
    };
    // The lock of `purpose` for the data file at `data_file`, not yet taken.
    DataFileLock(const std::filesystem::path& data_file, Purpose purpose);

    // Takes the lock, waiting up to `wait` for its holder to let go. PermissionError: the
    // folder lets no file be made in it.
    QLockFile::LockError take(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
    // Who holds the lock, for a person to read: "anna on the computer \"lab-3\" since
    // 2024-03-01 14:05 (program zel-kav, process 4711)"; empty when nobody does or it cannot be
    // read.
    QString holder() const;

  private:
    QString path_;
    QLockFile lock_;
};
