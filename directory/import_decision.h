#pragma once

#include "entry_table.h"
#include "entry_values.h"
#include "import_review.h"

#include <cstdint>
#include <vector>

// Whom a correction file names, as the import settles it before asking anything.
struct ImportTarget {
    QString person;                  // "Surname, First names", for messages
    std::vector<std::int16_t> found; // the entries that name the person; several: ask which
};
ImportTarget import_target(const EntryTable& table, const EntryValues& file);

// What `file` changes in `entry`; for entry 0 (to be added) what it changes in an empty one.
// Empty when the file changes nothing, so that nothing is stored.
std::vector<FieldDifference> import_changes(const EntryTable& table, std::int16_t entry,
                                            const EntryValues& file);
