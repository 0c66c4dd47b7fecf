#include "round_log.h"

#include "import_round.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace

QString RoundLog::folder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/rounds");
}

Result RoundLog::open(const QString& folder, const QDateTime& start) {
    path_.clear();
    const QString failed = QStringLiteral("the folder \"%1\" cannot be made.")
                               .arg(QDir::toNativeSeparators(folder));
    if (!QDir().mkpath(folder)) return Result::failure(failed, folder);
    // The log names people and what they changed: for the owner's eyes only.
    QFile::setPermissions(folder, OwnerOnly | QFileDevice::ExeOwner);

    const QString stem = folder + u'/' + start.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    QFile file;
    for (int n = 1; n < 100; ++n) {
        file.setFileName(n == 1 ? stem + QStringLiteral(".txt")
                                : QStringLiteral("%1-%2.txt").arg(stem).arg(n));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Text, OwnerOnly)) break;
        if (!file.exists())
            return Result::failure(QStringLiteral("the file \"%1\" cannot be written: %2")
                                       .arg(QDir::toNativeSeparators(file.fileName()),
                                            file.errorString()),
                                   file.fileName());
    }
    if (!file.isOpen())
        return Result::failure(QStringLiteral("the folder \"%1\" holds too many logs of this "
                                              "second.").arg(QDir::toNativeSeparators(folder)),
                               folder);
    file.close();
    path_ = file.fileName();
    if (!append(QStringLiteral("Import round of %1\n")
                    .arg(start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))))
        return Result::failure(QStringLiteral("the file \"%1\" cannot be written.")
                                   .arg(QDir::toNativeSeparators(file.fileName())),
                               file.fileName());
    return Result::success(path_);
}

void RoundLog::record(const RoundFile& file) {
    if (!is_open()) return;
    QString text = QStringLiteral("\n%1  %2\n")
                       .arg(file.time.toString(QStringLiteral("HH:mm:ss")), outcome_line(file));
    if (!file.path.isEmpty())
        text += QStringLiteral("    file: %1\n").arg(QDir::toNativeSeparators(file.path));
    for (const FieldDifference& change : file.changes)
        text += QStringLiteral("    %1: \"%2\" → \"%3\"\n")
                    .arg(change.field, with_break_marks(change.held), with_break_marks(change.file));
    append(text);
}

bool RoundLog::append(const QString& text) {
    QFile file(path_);
    if (file.open(QIODevice::Append | QIODevice::Text) && file.write(text.toUtf8()) >= 0 &&
        file.flush())
        return true;
    path_.clear();
    return false;
}
