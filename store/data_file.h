#pragma once

#include "entry_table.h"
#include "result.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

inline constexpr const char* DataFileName = "KAV-Addresses.dat";

// How many earlier versions of the data file a save keeps: KAV-Addresses.dat.1 (the newest)
// to .5.
inline constexpr int KeptVersions = 5;

// Replaces the whole table with the content of `folder`/KAV-Addresses.dat and records in
// LoadedFile what the file was. A failed load leaves the table as it was.
Result read_data_base(EntryTable& table, const std::filesystem::path& folder = ".");
// The same, also telling how many of the file's bytes it took before it finished or gave up.
Result read_data_base(EntryTable& table, const std::filesystem::path& folder,
                      std::uint64_t& bytes_taken);

// Whether `folder`/KAV-Addresses.dat is no longer the file the table was loaded from or last
// saved to: its size or bytes differ, or it cannot be read. False when no file is there (a
// save makes it anew) and for a table that was not loaded from a file.
bool data_file_changed(const EntryTable& table, const std::filesystem::path& folder = ".");

// How long a save waits for another program's save of the same file to end.
inline constexpr std::chrono::milliseconds SaveLockWait{5000};

// Writes the table to `folder`/KAV-Addresses.dat when TableModified is non-zero, with today's
// date in the header, and records the new file in LoadedFile. The save holds a lock beside the
// file, and under it refuses, the file unchanged, when data_file_changed: of two saves however
// close together, the second is refused. The new file is written and synced beside the old
// one first; then the file it replaces is kept as KAV-Addresses.dat.1, the earlier copies
// moving up to .5 (the oldest is dropped); then the new file takes its place and the folder is
// synced. A save that fails at any step leaves the file and every kept copy as they were. A
// save of the bytes the file holds already leaves it and its copies alone.
Result save_data_base(EntryTable& table, const std::filesystem::path& folder = ".");
// The same, also telling whether it refused because the data file was changed by someone else.
Result save_data_base(EntryTable& table, const std::filesystem::path& folder,
                      bool& changed_by_others);

// The steps of a save after which a test may stop it, to see that it then changes nothing;
// the hook says whether the save goes on. An empty hook takes it away.
enum class SaveStep { Checked, Written, VersionKept, Replacing };
using SaveStepHook = std::function<bool(SaveStep)>;
void set_save_step_hook_for_testing(SaveStepHook hook);

// Writes the table to `file`, whatever stands there and whether or not TableModified is set,
// atomically and durably, keeping no earlier versions: for saving under another name. The
// table's LoadedFile still names the data file it came from.
Result save_data_base_as(const EntryTable& table, const std::filesystem::path& file);
