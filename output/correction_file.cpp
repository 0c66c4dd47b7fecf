#include "correction_file.h"

#include "cp1252.h"
#include "entry_fields.h"
#include "atomic_file.h"

#include <QDir>

namespace {

bool forbidden_in_file_name(QChar c) {
    return c.category() == QChar::Other_Control || QStringView(u"/\\:*?\"<>|").contains(c);
}

const QString KeptChanges = QStringLiteral("Your changes are still in the window.");

} // namespace

QString correction_file_name(const QString& surname) {
    QString name = surname;
    for (QChar& c : name)
        if (forbidden_in_file_name(c)) c = u'_';
    // A leading dot would hide the file on the desktop, where the user is told to find it.
    if (name.startsWith(u'.')) name[0] = u'_';
    return name + QStringLiteral("_KAV.TXT");
}

QByteArray encode_correction_text(const QString& text) {
    if (const auto bytes = to_cp1252(text))
        return QByteArray(bytes->data(), qsizetype(bytes->size()));
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

Result write_correction_file(const CorrectionSnapshot& window, const DesktopPlatform& platform) {
    const Result desktop = platform.desktop_folder();
    if (!desktop.ok())
        return Result::failure(QStringLiteral("The correction file could not be written. %1\n%2")
                                   .arg(desktop.message, KeptChanges));

    const QString path = desktop.path + correction_file_name(window.Text1[SurnameSlot]);
    const Result written =
        write_file_atomically(path, encode_correction_text(correction_text(window)));
    if (!written.ok())
        return Result::failure(
            QStringLiteral("The correction file \"%1\" could not be written: %2.\n"
                           "%3 An earlier file of that name, if any, is unchanged.")
                .arg(QDir::toNativeSeparators(path), written.message, KeptChanges),
            path);
    return Result::success(path);
}
