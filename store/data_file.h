#pragma once

#include "entry_table.h"
#include "result.h"
#include "table_cache.h"

#include <cstdint>
#include <filesystem>
#include <string>

inline constexpr const char* DataFileName = "KAV-Addresses.dat";

// How many earlier versions of the data file a save keeps: KAV-Addresses.dat.1 (the newest)
// to .5.
inline constexpr int KeptVersions = 5;

// Replaces the whole table with the content of `folder`/KAV-Addresses.dat and records in
// LoadedFile what the file was. A failed load leaves the table as it was.
Result read_data_base(EntryTable& table, const std::filesystem::path& folder = ".");
// What a load did besides its result.
struct LoadReport {
    std::uint64_t bytes_taken = 0; // of the file, before it finished or gave up
    bool from_cache = false;       // the table was the one kept for the file's bytes
};
// The same, taking the table kept in `cache` for the file's bytes where there is one (a mapped
// file only); the caller may keep the table for the next start when it was not.
Result read_data_base(EntryTable& table, const std::filesystem::path& folder,
                      const CacheFolder& cache, LoadReport& report);

// Whether `folder`/KAV-Addresses.dat is no longer the file the table was loaded from or last
// saved to: its size or bytes differ, or it cannot be read. False when no file is there (a
// save makes it anew) and for a table that was not loaded from a file.
bool data_file_changed(const EntryTable& table, const std::filesystem::path& folder = ".");

// Writes the table to `folder`/KAV-Addresses.dat when TableModified is non-zero, with today's
// date in the header, and records the new file in LoadedFile. Refuses, the file unchanged,
// when data_file_changed. First keeps the file it replaces as KAV-Addresses.dat.1, the earlier
// copies moving up to .5 (the oldest is dropped); a copy that cannot be kept stops the save.
// The file is replaced atomically and durably, so a failed save leaves it as it was.
Result save_data_base(EntryTable& table, const std::filesystem::path& folder = ".");
// The same, also telling whether it refused because the data file was changed by someone else.
Result save_data_base(EntryTable& table, const std::filesystem::path& folder,
                      bool& changed_by_others);

// Writes the table to `file`, whatever stands there and whether or not TableModified is set,
// atomically and durably, keeping no earlier versions: for saving under another name. The
// table's LoadedFile still names the data file it came from.
Result save_data_base_as(const EntryTable& table, const std::filesystem::path& file);
