#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

// Texts are held as the data file's Windows-1252 bytes; these convert them where they meet
// the widgets. Every byte decodes to a character and encodes back to the same byte.
QString from_cp1252(std::string_view bytes);

// nullopt when some character has no Windows-1252 byte; `bad_position` then gets the index
// of the first such character in `text`.
std::optional<std::string> to_cp1252(const QString& text, qsizetype* bad_position = nullptr);
