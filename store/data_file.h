#pragma once

#include "entry_table.h"

#include <filesystem>
#include <string>

inline constexpr const char* DataFileName = "KAV-Addresses.dat";

// The outcome of a load or save. On failure `message` says, in words for the user, which
// file, where in it and what is wrong, and what still holds.
struct FileResult {
    bool ok = true;
    std::string message; // UTF-8
};

// Replaces the whole table with the content of `folder`/KAV-Addresses.dat. A failed load
// leaves the table as it was.
FileResult read_data_base(EntryTable& table, const std::filesystem::path& folder = ".");

// Writes the table to `folder`/KAV-Addresses.dat when TableModified is non-zero, with today's
// date in the header; replaces the file atomically, so a failed save leaves it as it was.
FileResult save_data_base(const EntryTable& table, const std::filesystem::path& folder = ".");
