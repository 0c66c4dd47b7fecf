#pragma once

#include "entry_table.h"
#include "list_filter.h"
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

// Finds a text in every slot of every entry, case and accents ignored. The table's texts are
// folded once, when the finder is made; a finder answers for the table as it was then
// (`generation()`), so whoever changes the table makes a new one.
class TextFinder {
  public:
    explicit TextFinder(const EntryTable& table);

    // The entries that hold `typed` in some text, ascending; nothing for an empty text.
    std::vector<FoundEntry> find(const QString& typed) const;
    std::uint64_t generation() const { return generation_; }

  private:
    std::uint64_t generation_;
    FoldedTexts folded_; // entry e's slot s is text (e - 1) * TextSlotCount + s
};

// The lower box after a find: the surnames of `found`, sorted as the lists are, each with
// its entry number. `surnames` is the surname look-up of the same table, already sorted: the
// entries found are taken from it in its order, entries without a surname first, which spares
// collating them again; when it lacks an entry found, they are sorted with `collator`.
SortedItems found_surnames(const EntryTable& table, const std::vector<FoundEntry>& found,
                           const SortedItems& surnames, const QCollator& collator);
