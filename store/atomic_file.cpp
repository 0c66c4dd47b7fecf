#include "atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FolderSync& folder_sync_hook() {
    static FolderSync hook;
    return hook;
}

// A folder that lets no new file be made in it fails a save as surely as a read-only file,
// but the system's words ("Permission denied") would blame the file.
QString why_not_opened(const QString& error, const QString& path) {
    const QString folder = folder_refuses_new_files(path);
    return folder.isEmpty() ? error : folder;
}

QString system_error(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

QString folder_refuses_new_files(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (::access(QFile::encodeName(folder).constData(), W_OK) == 0) return {};
    const int cause = errno;
    return QStringLiteral("its folder \"%1\" does not allow new files (%2), and a save makes the "
                          "new file there before it replaces the old one")
        .arg(QDir::toNativeSeparators(folder), system_error(cause));
}

void set_folder_sync_for_testing(FolderSync sync) {
    folder_sync_hook() = std::move(sync);
}

// Best effort: a file system that cannot sync a folder still has the file, and saying the save
// failed after the file was replaced would be wrong.
void sync_folder(const QString& folder) {
    if (folder_sync_hook()) {
        folder_sync_hook()(folder);
        return;
    }
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    while (::fsync(fd) != 0 && errno == EINTR) {}
    ::close(fd);
}

Result write_file_atomically(
    const QString& path,
    const std::function<void(std::string& piece, const PieceWriter& flush)>& produce) {
    // Unbuffered: commit() does not notice a buffer that failed to flush (disk full) and
    // would put a truncated file in place of the old one; a direct write reports the short
    // count instead.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Result::failure(why_not_opened(out.errorString(), path), path);

    std::string piece;
    piece.reserve(FilePieceSize + 4096);
    QString failure;
    produce(piece, [&](std::string& bytes) {
        if (failure.isEmpty() && !bytes.empty()) {
            const qint64 size = qint64(bytes.size());
            const qint64 written = out.write(bytes.data(), size);
            if (written < 0)
                failure = out.errorString();
            else if (written < size)
                failure = QStringLiteral("only part of it fit (%1 bytes); the disk may be full")
                              .arg(out.pos());
        }
        bytes.clear();
    });
    if (failure.isEmpty() && !out.commit()) failure = out.errorString();
    if (!failure.isEmpty()) return Result::failure(failure, path);
    sync_folder(QFileInfo(path).absolutePath());
    return Result::success(path);
}

Result write_file_atomically(const QString& path, const QByteArray& bytes) {
    return write_file_atomically(path, [&](std::string& piece, const PieceWriter& flush) {
        piece.assign(bytes.constData(), std::size_t(bytes.size()));
        flush(piece);
    });
}

Result write_synced_file(
    const QString& path, std::optional<mode_t> mode,
    const std::function<void(std::string& piece, const PieceWriter& flush)>& produce) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return Result::failure(why_not_opened(system_error(errno), path), path);
    int failure = mode && ::fchmod(fd, *mode) != 0 ? errno : 0;

    std::string piece;
    piece.reserve(FilePieceSize + 4096);
    const auto give_up = [&] {
        ::close(fd);
        ::unlink(name.constData());
    };
    try {
        produce(piece, [&](std::string& bytes) {
            for (const char* at = bytes.data(); failure == 0 && at < bytes.data() + bytes.size();) {
                const ssize_t n = ::write(fd, at, std::size_t(bytes.data() + bytes.size() - at));
                if (n < 0 && errno != EINTR) failure = errno;
                if (n > 0) at += n;
            }
            bytes.clear();
        });
    } catch (...) {
        give_up();
        throw;
    }
    if (failure == 0)
        while (::fsync(fd) != 0)
            if (errno != EINTR) {
                failure = errno;
                break;
            }
    if (failure != 0) {
        give_up();
        return Result::failure(system_error(failure), path);
    }
    if (::close(fd) != 0 && errno != EINTR) {
        failure = errno;
        ::unlink(name.constData());
        return Result::failure(system_error(failure), path);
    }
    return Result::success(path);
}
