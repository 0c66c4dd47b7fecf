#include "data_file_lock.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

DataFileLock::DataFileLock(const std::filesystem::path& data_file, Purpose purpose)
    : path_(QFile::decodeName(data_file.c_str()) +
            (purpose == Saving ? QStringLiteral(".lock") : QStringLiteral(".maintained.lock"))),
      lock_(path_) {
    // A save takes a second at most: a save lock a minute old was left by a machine that went
    // away mid-save. A maintenance window holds its lock for hours, and only its end frees it.
    lock_.setStaleLockTime(purpose == Saving ? 60'000 : 0);
}

QLockFile::LockError DataFileLock::take(std::chrono::milliseconds wait) {
    return lock_.tryLock(int(wait.count())) ? QLockFile::NoError : lock_.error();
}

QString DataFileLock::holder() const {
    qint64 pid = 0;
    QString host;
    QString program;
    if (!lock_.getLockInfo(&pid, &host, &program)) return {};
    const QFileInfo file(path_);
    QString user = file.owner();
    if (user.isEmpty()) user = QStringLiteral("user %1").arg(file.ownerId());
    return QStringLiteral("%1 on the computer \"%2\" since %3 (program %4, process %5)")
        .arg(user, host, file.lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm")), program,
             QString::number(pid));
}
