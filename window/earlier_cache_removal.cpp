#include "earlier_cache_removal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void remove_earlier_caches(const QString& folder) {
    if (folder.isEmpty()) return;
    const QDir cache(folder);
    // The names those versions wrote, and the temporary files of a write they did not finish.
    const QStringList written = {QStringLiteral("table-*.bin*"),
                                 QStringLiteral("lookup-orders-*.bin*")};
    for (const QFileInfo& file :
         cache.entryInfoList(written, QDir::Files | QDir::Hidden | QDir::NoSymLinks))
        QFile::remove(file.absoluteFilePath());
    // Fails, and keeps the folder, when anything else is left in it.
    QDir().rmdir(folder);
}
