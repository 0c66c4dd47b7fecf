#include "cp1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace {
bool is_ascii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}
} // namespace

QString from_cp1252(std::string_view bytes) {
    if (is_ascii(bytes)) return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    // Opening a converter costs more than decoding a short text; one serves every call.
    thread_local QStringDecoder decoder("windows-1252");
    return decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

std::optional<std::string> to_cp1252(const QString& text, qsizetype* bad_position) {
    QStringEncoder encoder("windows-1252");
    const QByteArray bytes = encoder.encode(text);
    if (!encoder.hasError()) return std::string(bytes.constData(), size_t(bytes.size()));
    if (bad_position) {
        *bad_position = -1;
        for (qsizetype i = 0; i < text.size(); ++i) {
            QStringEncoder single("windows-1252");
            const qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            // The encoder runs only when its result is taken.
            const QByteArray encoded = single.encode(QStringView(text).mid(i, len));
            if (single.hasError()) {
                *bad_position = i;
                break;
            }
            i += len - 1;
        }
    }
    return std::nullopt;
}
