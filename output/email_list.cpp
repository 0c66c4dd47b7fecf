#include "email_list.h"

#include "atomic_file.h"
#include "entry_fields.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

QByteArray email_list_bytes(const EntryTable& table) {
    QByteArray list;
    for (int entry = 1; entry <= table.EntryCount && holds_row(table, entry); ++entry) {
        const std::string_view email = table.text(entry, EmailSlot);
        list.append(email.data(), qsizetype(email.size()));
        list.append("\r\n");
    }
    return list;
}

Result write_email_list(const EntryTable& table, const std::filesystem::path& folder) {
    const QString path = QFileInfo(QDir(QString::fromStdU16String(folder.u16string())),
                                   QString::fromLatin1(EmailListFileName))
                             .absoluteFilePath();
    const Result written = write_file_atomically(path, email_list_bytes(table));
    if (!written.ok())
        return Result::failure(QStringLiteral("The e-mail list \"%1\" could not be written: %2.\n"
                                              "An earlier list of that name, if any, is unchanged.")
                                   .arg(QDir::toNativeSeparators(path), written.message),
                               path);
    return Result::success(path);
}
