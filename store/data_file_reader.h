#pragma once

#include "data_file.h"

#include <cstddef>
#include <string>
#include <string_view>

// How much of the data file the reader holds at a time.
inline constexpr std::size_t DataFilePieceSize = std::size_t(1) << 18;

// The longest item the reader holds. Real texts are a few hundred bytes; a text of some MB
// still loads, and an endless item costs no more than this.
inline constexpr std::size_t ItemLengthLimit = std::size_t(16) << 20;

// The reader behind read_data_base, for callers that already hold the file's bytes (the fuzz
// target). `file_name` is how messages name the file; `piece_size` is how many bytes the
// reader takes at a time (small pieces exercise items that straddle two). A failure leaves
// `table` as it was.
FileResult parse_data_base(EntryTable& table, std::string_view bytes, const std::string& file_name,
                           std::size_t piece_size = DataFilePieceSize,
                           std::size_t longest_item = ItemLengthLimit);

// How messages name item `item` (1 to 63) of an entry, e.g. "Surname" for item 43.
std::string entry_item_name(int item);
