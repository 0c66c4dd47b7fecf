#pragma once

#include "entry_table.h"
#include "entry_values.h"
#include "import_review.h"
#include "likely_people.h"

#include <cstdint>
#include <vector>

// Whom a correction file names, as the import settles it before asking anything. A file with
// blank first names goes to the entries of its name only when nobody else is likelier.
struct ImportTarget {
    QString person;                  // "Surname, First names", for messages
    std::vector<std::int16_t> found; // the entries that name the person; several: ask which
    std::vector<LikelyPerson> likely; // none found: who the file may mean, best first
    QStringList notes;                // for the review: one found that may be someone else
};
ImportTarget import_target(const EntryTable& table, const EntryValues& file);

// What the file read as `imported` does to `entry`; for entry 0 (to be added) to an empty one:
// the values to store, and every field they change (none when the file changes nothing, so
// that nothing is stored). Where the file can be read two ways, the entry keeps what it holds.
ImportReview import_changes(const EntryTable& table, std::int16_t entry,
                            const CorrectionImport& imported);

// Why Return must not store what `review` settled for `entry` (0: a new one): the file may be
// another person's of the same name, or storing it would empty the entry. Empty when it may.
QStringList store_warnings(const EntryTable& table, std::int16_t entry, const ImportTarget& target,
                           const ImportReview& review);
