#include "shown_text.h"

namespace {
// A cut never splits a character made of two UTF-16 units.
qsizetype cut_point(const QString& text, qsizetype limit) {
    return limit > 0 && text.at(limit - 1).isHighSurrogate() ? limit - 1 : limit;
}
} // namespace

ShownText text_to_show(const QString& text, qsizetype limit, qsizetype length) {
    if (text.size() <= limit) return {text, false};
    const qsizetype kept = cut_point(text, limit);
    return {text.left(kept) + QStringLiteral(" \u2026 [cut short: %L1 of %L2 characters shown]")
                                  .arg(kept)
                                  .arg(length < 0 ? text.size() : length),
            true};
}

QString cut_text_note(qsizetype length) {
    return QStringLiteral("This text has %L1 characters, too many to show or edit here. The "
                          "box shows its beginning; the directory and the correction file keep "
                          "the whole text.")
        .arg(length);
}

bool has_unbroken_run(const QString& text, qsizetype run) {
    qsizetype length = 0;
    for (const QChar c : text) {
        length = c.isSpace() ? 0 : length + 1;
        if (length > run) return true;
    }
    return false;
}
