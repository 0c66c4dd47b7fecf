#pragma once

#include "entry_table.h"

#include <string>

// A directory of `count` empty entries laid out as a load leaves it (rows 0 to count + 10).
inline EntryTable make_table(int count) {
    return empty_directory(static_cast<std::int16_t>(count));
}
