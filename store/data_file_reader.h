#pragma once

#include "atomic_file.h"
#include "data_file.h"

#include <cstddef>
#include <string>
#include <string_view>

// How much of the data file the reader holds at a time.
inline constexpr std::size_t DataFilePieceSize = FilePieceSize;

// The reader behind read_data_base, for callers that already hold the file's bytes (the fuzz
// target). `file_name` is how messages name the file; `piece_size` is how many bytes the
// reader takes at a time (small pieces exercise items that straddle two). A failure leaves
// `table` as it was.
Result parse_data_base(EntryTable& table, std::string_view bytes, const std::string& file_name,
                           std::size_t piece_size = DataFilePieceSize);
