#pragma once

#include "entry_table.h"
#include "text_finder.h"

#include <QString>

#include <cstdint>

// What tells an entry from others of the same surname: "Lindqvist, Anna, Freiberg, Sweden",
// empty fields left out. Empty for a number outside the directory.
QString entry_summary(const EntryTable& table, std::int32_t entry);
// The same, with a second line that gives the text a find matched: "Remarks: pyrite and ...",
// or the ticked box it matched: "Laboratory Equipment: Electron Microprobe".
QString entry_summary(const EntryTable& table, const FoundEntry& found);
