#pragma once

#include "entry_table.h"
#include "sorted_items.h"

#include <QCollator>
#include <QString>

#include <cstdint>
#include <vector>

// An entry that holds the text sought, and the first of its slots that holds it.
struct FoundEntry {
    std::int32_t entry = 0;
    int slot = 0;
    friend bool operator==(const FoundEntry&, const FoundEntry&) = default;
};

// The entries that hold `typed` in some text, case and accents ignored, ascending, each with
// the first of its slots that holds it; nothing for an empty text. The table's own bytes are
// searched, so nothing is kept from one find to the next.
std::vector<FoundEntry> find_in_every_text(const EntryTable& table, const QString& typed);

// The lower box after a find: the surnames of `found`, sorted as the lists are, each with
// its entry number. `surnames` is the surname look-up of the same table, already sorted: the
// entries found are taken from it in its order, entries without a surname first, which spares
// collating them again; when it lacks an entry found, they are sorted with `collator`.
SortedItems found_surnames(const EntryTable& table, const std::vector<FoundEntry>& found,
                           const SortedItems& surnames, const QCollator& collator);
