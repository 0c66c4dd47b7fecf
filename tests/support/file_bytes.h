#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <filesystem>

// A file's bytes; "(missing)" where it cannot be read, so that a missing file never passes for
// an empty one.
inline QByteArray file_bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

inline QByteArray file_bytes(const std::filesystem::path& path) {
    return file_bytes(QString::fromStdString(path.string()));
}
