#pragma once

#include "entry_table.h"

#include <string>

// A directory of `count` empty entries laid out as a load leaves it (rows 0 to count + 10).
inline EntryTable make_table(int count) {
    return empty_directory(static_cast<std::int16_t>(count));
}

// The same, entry e holding the surname "Name e".
inline EntryTable directory_of(int count) {
    EntryTable table = make_table(count);
    for (int e = 1; e <= count; ++e) table.set_text(std::size_t(e), 1, "Name " + std::to_string(e));
    return table;
}

// The same, marked as changed, so that it saves.
inline EntryTable table_of(int count) {
    EntryTable table = make_table(count);
    table.TableModified = 1;
    return table;
}
