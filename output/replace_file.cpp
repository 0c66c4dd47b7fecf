#include "replace_file.h"

#include <QSaveFile>

bool replace_file(const QString& path, const QByteArray& bytes, QString* reason) {
    QSaveFile file(path);
    // Unbuffered: commit() does not notice a buffer that failed to flush (disk full) and would
    // put a truncated file in place of the old one.
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                         file.write(bytes) == bytes.size() && file.commit();
    if (!written && reason) *reason = file.errorString();
    return written;
}
