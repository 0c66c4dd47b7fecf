#pragma once

#include "entry_table.h"

#include <QString>

#include <cstdint>

// What tells an entry from others of the same surname: "Lindqvist, Anna, Freiberg, Sweden",
// empty fields left out. With `found_slot` (0 or more) a second line gives the text a find
// matched there: "Remarks: pyrite and ...". Empty for a number outside the directory.
QString entry_summary(const EntryTable& table, std::int32_t entry, int found_slot = -1);
