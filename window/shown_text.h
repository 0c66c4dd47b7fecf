#pragma once

#include <QString>

// A box lays out its whole text at once, and a line with no place to break costs it time that
// grows with the square of its length. A text longer than a box shows quickly is shown cut
// short, with a mark at the cut; the window and the table keep the whole text.
inline constexpr qsizetype BoxTextLimit = 32'767;
// A list item is one line, of which a list box shows a few dozen characters.
inline constexpr qsizetype ListItemLimit = 1'000;

// What a box shows of `text`: the text itself, or its first `limit` characters and the mark.
struct ShownText {
    QString text;
    bool cut = false;
};
// `length` is that of the whole text when `text` is only its beginning.
ShownText text_to_show(const QString& text, qsizetype limit = BoxTextLimit, qsizetype length = -1);

// What the tool tip of a box that shows a cut text says, for a text of `length` characters.
QString cut_text_note(qsizetype length);

// Whether `text` holds a run of more than `run` characters with no blank or line end in it,
// which a box should break anywhere rather than look for a word's end.
bool has_unbroken_run(const QString& text, qsizetype run);
