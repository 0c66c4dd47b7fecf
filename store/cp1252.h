#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

// Texts are held as the data file's Windows-1252 bytes; these convert them where they meet
// the widgets. Every byte decodes to a character and encodes back to the same byte.
QString from_cp1252(std::string_view bytes);

// nullopt when some character has no Windows-1252 byte.
std::optional<std::string> to_cp1252(const QString& text);

// The first character of `text` that the data file cannot hold, -1 when there is none: a
// double quote, which would end the text early, or a character that Windows-1252 lacks.
qsizetype first_unstorable(const QString& text);

// The character at `at` as a message shows it: "é" (U+00E9).
QString character_name(const QString& text, qsizetype at);
