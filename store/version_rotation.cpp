#include "version_rotation.h"

#include "atomic_file.h"
#include "data_file.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path version_path(const fs::path& file, int version) {
    fs::path path = beside(file, ".");
    path += std::to_string(version);
    return path;
}

fs::path set_aside_path(const fs::path& file) {
    return beside(file, ".dropping");
}

bool present(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

bool regular(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(fs::symlink_status(path, ec));
}

QString system_error(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

struct CopyFailed {
    int error;
};

// A copy of `from` at `to`, synced, with `from`'s permission bits.
QString copy_of(const fs::path& from, const fs::path& to) {
    struct stat status {};
    const int in = open_regular_file(from, status);
    if (in < 0)
        return QStringLiteral("it could not be read to keep a copy: %1").arg(system_error(errno));
    Result copied;
    try {
        copied = write_synced_file(QFile::decodeName(to.c_str()), status.st_mode & 07777,
                                   [&](std::string& piece, const PieceWriter& flush) {
                                       piece.resize(FilePieceSize);
                                       ssize_t got = 0;
                                       while ((got = ::read(in, piece.data(), piece.size())) != 0) {
                                           if (got < 0 && errno == EINTR) continue;
                                           // Leaving early removes the half-made copy.
                                           if (got < 0) throw CopyFailed{errno};
                                           piece.resize(std::size_t(got));
                                           flush(piece);
                                           piece.resize(FilePieceSize);
                                       }
                                       piece.clear();
                                   });
    } catch (const CopyFailed& failed) {
        ::close(in);
        return QStringLiteral("it could not be read to keep a copy: %1")
            .arg(system_error(failed.error));
    }
    ::close(in);
    if (!copied.ok())
        return QStringLiteral("the copy \"%1\" could not be written: %2")
            .arg(shown_path(to), copied.message);
    return {};
}

} // namespace

fs::path beside(const fs::path& file, std::string_view suffix) {
    fs::path path = file;
    path += suffix;
    return path;
}

QString shown_path(const fs::path& path) {
    std::error_code ec;
    return QFile::decodeName(fs::absolute(path, ec).lexically_normal().c_str());
}

VersionRotation::~VersionRotation() {
    if (!finished_) undo();
}

QString VersionRotation::rotate(const std::function<bool()>& go_on) {
    const auto failed = [&](const QString& why) {
        undo();
        return why;
    };
    if (!present(file_)) return {};
    // A save killed after keeping the file: it is kept already.
    std::error_code ec;
    if (fs::equivalent(file_, version_path(file_, 1), ec)) return {};
    int free = 1;
    while (free <= KeptVersions && present(version_path(file_, free))) ++free;
    if (free > KeptVersions) {
        free = KeptVersions;
        const fs::path oldest = version_path(file_, KeptVersions);
        // Only a file is dropped: whatever else stands there is someone's own.
        if (!regular(oldest))
            return QStringLiteral("the oldest kept version \"%1\" is not a file, and a save "
                                  "drops it")
                .arg(shown_path(oldest));
    }
    std::vector<std::pair<fs::path, fs::path>> moves;
    if (free == KeptVersions && present(version_path(file_, KeptVersions)))
        moves.emplace_back(version_path(file_, KeptVersions), set_aside_path(file_));
    for (int v = free - 1; v >= 1; --v)
        moves.emplace_back(version_path(file_, v), version_path(file_, v + 1));
    for (const auto& [from, to] : moves) {
        if (::rename(from.c_str(), to.c_str()) != 0)
            return failed(QStringLiteral("the earlier version \"%1\" could not be renamed to "
                                         "\"%2\": %3")
                              .arg(shown_path(from), shown_path(to), system_error(errno)));
        moved_.emplace_back(from, to);
        if (!go_on()) return failed(QStringLiteral("it was stopped for a test"));
    }

    const fs::path first = version_path(file_, 1);
    if (::link(file_.c_str(), first.c_str()) != 0) {
        const int cause = errno;
        if (cause == EEXIST)
            return failed(QStringLiteral("\"%1\" is in the way").arg(shown_path(first)));
        if (const QString why = copy_of(file_, first); !why.isEmpty()) return failed(why);
    }
    kept_ = true;
    if (!go_on()) return failed(QStringLiteral("it was stopped for a test"));
    return {};
}

bool VersionRotation::undo() {
    bool whole = true;
    if (kept_ && ::unlink(version_path(file_, 1).c_str()) != 0) whole = false;
    kept_ = false;
    for (auto step = moved_.rbegin(); step != moved_.rend(); ++step)
        if (::rename(step->second.c_str(), step->first.c_str()) != 0) whole = false;
    moved_.clear();
    finished_ = true;
    return whole;
}

void VersionRotation::finish() {
    finished_ = true;
    remove_leftover(file_);
    struct stat first {};
    if (::stat(version_path(file_, 1).c_str(), &first) != 0) return;
    for (int v = 2; v <= KeptVersions; ++v) {
        const fs::path version = version_path(file_, v);
        struct stat status {};
        if (::lstat(version.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            (status.st_mode & 07777) != (first.st_mode & 07777))
            ::chmod(version.c_str(), first.st_mode & 07777);
    }
}

void VersionRotation::remove_leftover(const fs::path& file) {
    const fs::path aside = set_aside_path(file);
    if (regular(aside)) ::unlink(aside.c_str());
}
