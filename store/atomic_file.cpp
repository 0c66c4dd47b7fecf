#include "atomic_file.h"

#include <QSaveFile>

Result write_file_atomically(
    const QString& path,
    const std::function<void(std::string& piece, const PieceWriter& flush)>& produce) {
    // Unbuffered: commit() does not notice a buffer that failed to flush (disk full) and
    // would put a truncated file in place of the old one; a direct write reports the short
    // count instead.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Result::failure(out.errorString(), path);

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
    return Result::success(path);
}

Result write_file_atomically(const QString& path, const QByteArray& bytes) {
    return write_file_atomically(path, [&](std::string& piece, const PieceWriter& flush) {
        piece.assign(bytes.constData(), std::size_t(bytes.size()));
        flush(piece);
    });
}
