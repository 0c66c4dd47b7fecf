#pragma once

#include "entry_table.h"

#include <functional>
#include <string>

// Appends the data file's bytes for `table`, saved on `saved_on`, to `out`, and hands `out`
// to `flush` whenever it holds `piece_size` bytes or more, and at the end; `flush` writes
// them out and empties it.
// The columns must hold rows 0 to EntryCount (save_data_base checks this first).
void write_data_file(const EntryTable& table, SerialDate saved_on, std::string& out,
                     std::size_t piece_size, const std::function<void(std::string&)>& flush);

// The whole file at once, for tests.
std::string data_file_bytes(const EntryTable& table, SerialDate saved_on);
