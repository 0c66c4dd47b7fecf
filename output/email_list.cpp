#include "email_list.h"

#include "replace_file.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {
constexpr int EmailSlot = 9;
}

QByteArray email_list_bytes(const EntryTable& table) {
    // A table built by hand may hold fewer rows than EntryCount claims; never read past them.
    const int last = std::min<int>(table.EntryCount, int(table.TextSlots.size()) - 1);
    QByteArray list;
    for (int entry = 1; entry <= last; ++entry) {
        const std::string& email = table.TextSlots[entry][EmailSlot];
        list.append(email.data(), qsizetype(email.size()));
        list.append("\r\n");
    }
    return list;
}

EmailListResult write_email_list(const EntryTable& table, const std::filesystem::path& folder) {
    const QString path = QFileInfo(QDir(QString::fromStdU16String(folder.u16string())),
                                   QString::fromLatin1(EmailListFileName))
                             .absoluteFilePath();
    QString reason;
    if (!replace_file(path, email_list_bytes(table), &reason))
        return {path, QStringLiteral("The e-mail list \"%1\" could not be written: %2.\n"
                                     "An earlier list of that name, if any, is unchanged.")
                          .arg(QDir::toNativeSeparators(path), reason)};
    return {path, {}};
}
