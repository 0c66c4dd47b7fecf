#include "correction_file.h"

#include "cp1252.h"
#include "entry_fields.h"
#include "atomic_file.h"

#include <QDir>
#include <QStringDecoder>

#include <algorithm>

#include <string_view>

namespace {

// Besides what a file system refuses: characters that change how a name shows without showing
// themselves (direction overrides, zero-width characters, line breaks), so the name on the
// desktop cannot pass for another one ("txt.exe" shown backwards).
bool forbidden_in_file_name(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return std::u32string_view(U"/\\:*?\"<>|").find(c) != std::u32string_view::npos;
    }
}

const QString KeptChanges = QStringLiteral("Your changes are still in the window.");

} // namespace

QString correction_file_name(const QString& surname) {
    // A file name holds at most 255 bytes; 60 characters of any script stay well inside that
    // and name the person plainly. Only the name is cut: the file holds the whole surname.
    constexpr qsizetype NameLimit = 60;
    // By code point, so format characters beyond the first 65,536 (language tags) are caught.
    QList<uint> points = QStringView(surname).left(4 * NameLimit).toUcs4();
    if (points.size() > NameLimit) points.resize(NameLimit);
    for (uint& c : points)
        if (forbidden_in_file_name(c)) c = u'_';
    QString name =
        QString::fromUcs4(reinterpret_cast<const char32_t*>(points.constData()), points.size());
    // A leading dot would hide the file on the desktop, where the user is told to find it.
    if (name.startsWith(u'.')) name[0] = u'_';
    return name + QStringLiteral("_KAV.TXT");
}

bool reads_as_utf8(const QByteArray& bytes) {
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; }))
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return !utf8.hasError() && to_cp1252(text).has_value();
}

QByteArray encode_correction_text(const QString& text) {
    if (const auto bytes = to_cp1252(text)) {
        QByteArray cp1252(bytes->data(), qsizetype(bytes->size()));
        if (!reads_as_utf8(cp1252)) return cp1252;
    }
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
