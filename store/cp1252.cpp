#include "cp1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace {
bool is_ascii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

qsizetype character_length(const QString& text, qsizetype at) {
    return text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
}
} // namespace

QString from_cp1252(std::string_view bytes) {
    if (is_ascii(bytes)) return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    // Opening a converter costs more than decoding a short text; one serves every call.
    thread_local QStringDecoder decoder("windows-1252");
    return decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

std::optional<std::string> to_cp1252(const QString& text) {
    QStringEncoder encoder("windows-1252");
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) return std::nullopt;
    return std::string(bytes.constData(), size_t(bytes.size()));
}

qsizetype first_unstorable(const QString& text) {
    // One encoder for the whole text; only a text that fails is searched character by character.
    if (!text.contains(u'"') && to_cp1252(text)) return -1;
    for (qsizetype i = 0; i < text.size(); i += character_length(text, i)) {
        if (text[i] == u'"' || !to_cp1252(text.mid(i, character_length(text, i)))) return i;
    }
    return -1;
}

QString character_name(const QString& text, qsizetype at) {
    const bool pair = character_length(text, at) == 2;
    const char32_t code =
        pair ? QChar::surrogateToUcs4(text[at], text[at + 1]) : text[at].unicode();
    return QStringLiteral("\"%1\" (U+%2)")
        .arg(text.mid(at, pair ? 2 : 1),
             QString::number(uint(code), 16).toUpper().rightJustified(4, u'0'));
}
