#pragma once

#include <QString>

#include <filesystem>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

// `file`'s path with `suffix` added to its name: the names a save uses beside the data file
// ("KAV-Addresses.dat" and ".1").
std::filesystem::path beside(const std::filesystem::path& file, std::string_view suffix);
// A path as messages show it: absolute and plain.
QString shown_path(const std::filesystem::path& path);

// The earlier versions a save keeps of the data file, KAV-Addresses.dat.1 (the newest) to .5:
// before the new file takes the data file's place, the versions move up by one and the data
// file becomes .1. Until the new file stands, every step can be undone, so that a save that
// fails leaves every version as it was.
class VersionRotation {
  public:
    explicit VersionRotation(std::filesystem::path file) : file_(std::move(file)) {}
    // Undoes a rotation that was not finished.
    ~VersionRotation();
    VersionRotation(const VersionRotation&) = delete;
    VersionRotation& operator=(const VersionRotation&) = delete;

    // Moves the versions below the first free place up by one (the oldest set aside when none
    // is free), then keeps the data file as .1: a second name of it where the file system
    // allows one, else a copy with its permission bits. `go_on` is asked after every step, and
    // a no stops the rotation there (tests). Gives why it failed, everything put back; empty
    // when it did not.
    QString rotate(const std::function<bool()>& go_on);
    // Puts every version back where it was before rotate(); false when one could not be.
    bool undo();
    // The new file stands in place: drops the version set aside, and gives the other versions
    // the permission bits of .1, the data file's, so that none is more readable than it.
    void finish();

    // Removes what a save that was killed left of a rotation: the version it set aside.
    static void remove_leftover(const std::filesystem::path& file);

  private:
    std::filesystem::path file_;
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> moved_; // from, to
    bool kept_ = false;                                                          // .1 was made
    bool finished_ = false;
};
