#pragma once

#include "entry_table.h"
#include "result.h"

#include <cstdint>
#include <filesystem>
#include <string>

inline constexpr const char* DataFileName = "KAV-Addresses.dat";

// Replaces the whole table with the content of `folder`/KAV-Addresses.dat. A failed load
// leaves the table as it was.
Result read_data_base(EntryTable& table, const std::filesystem::path& folder = ".");
// The same, also telling how many bytes of the file it read before it finished or gave up:
// what a refused file cost.
Result read_data_base(EntryTable& table, const std::filesystem::path& folder,
                      std::uint64_t& bytes_taken);

// Writes the table to `folder`/KAV-Addresses.dat when TableModified is non-zero, with today's
// date in the header; replaces the file atomically, so a failed save leaves it as it was.
Result save_data_base(const EntryTable& table, const std::filesystem::path& folder = ".");
