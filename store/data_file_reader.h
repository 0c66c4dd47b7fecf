#pragma once

#include "atomic_file.h"
#include "data_file.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// How many bytes of the data file the reader reads at a time.
inline constexpr std::size_t DataFilePieceSize = FilePieceSize;

// A larger file is refused before it is read, and reading stops there if it grows. The largest
// directory the format allows, 32,757 entries with every text filled, is about 19 MiB; it
// would take every one of its 720,000 texts at 360 bytes to reach 256 MiB. A load holds its
// file and 8 bytes per text slot, so even a file at the limit stays within a desktop's memory.
inline constexpr std::uint64_t DataFileSizeLimit = std::uint64_t(256) << 20;

// The longest item the reader holds. Real texts are a few hundred bytes; a text of some MB
// still loads, and an endless item costs no more than this.
inline constexpr std::size_t ItemLengthLimit = std::size_t(16) << 20;

// The reader behind read_data_base, for callers that already hold the file's bytes (the fuzz
// target); the table keeps a copy of them. `file_name` is how messages name the file;
// `piece_size` is how many bytes the reader sees at a time (small pieces exercise items that
// straddle two). A failure leaves `table` as it was.
Result parse_data_base(EntryTable& table, std::string_view bytes, const std::string& file_name,
                       std::size_t piece_size = DataFilePieceSize,
                       std::size_t longest_item = ItemLengthLimit);
