#pragma once

#include "entry_table.h"
#include "sorted_items.h"

#include <QCollator>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// A box that is ticked or not, which a find reads as its caption when it is ticked: the titles,
// the kinds of organisation and the equipment boxes that carry a caption.
struct CaptionedBox {
    enum Column { Title, Organization, Equipment } column;
    int flag;    // the box's index in its flag column
    int label;   // the caption label it belongs to
    const char* caption;
    bool ticked(const EntryTable& table, std::int32_t entry) const;
};
const std::vector<CaptionedBox>& captioned_boxes();

// An entry that holds the text sought, and where: the first of its slots that holds it, or
// else the first ticked box whose caption holds it (an index into captioned_boxes()).
struct FoundEntry {
    std::int32_t entry = 0;
    int slot = 0; // -1 when only a box's caption holds it
    int box = -1;
    friend bool operator==(const FoundEntry&, const FoundEntry&) = default;
};

// The entries that hold `typed` in some text or in the caption of a ticked box, case and
// accents ignored, ascending; nothing for an empty text. The table's own bytes are searched,
// so nothing is kept from one find to the next.
// With `among`, only those entries are searched.
std::vector<FoundEntry> find_in_every_text(const EntryTable& table, const QString& typed,
                                           const std::vector<FoundEntry>* among = nullptr);

// Finds as the user types: a text whose fold extends the last one's is sought only among the
// entries found for the last, since no other entry can hold it.
class TypingFinder {
  public:
    const std::vector<FoundEntry>& find(const EntryTable& table, const QString& typed);
    const std::vector<FoundEntry>& found() const { return found_; }

  private:
    const EntryTable* table_ = nullptr;
    std::uint64_t generation_ = 0;
    std::string folded_; // of the last text sought; empty when there is none
    std::vector<FoundEntry> found_;
};

// The surnames of `found`, sorted as the lists are, each with its entry number. `surnames` is
// the surname look-up of the same table, already sorted: the entries found are taken from it
// in its order, entries without a surname first, which spares collating them again; when it
// lacks an entry found, they are sorted with `collator`.
SortedItems found_surnames(const EntryTable& table, const std::vector<FoundEntry>& found,
                           const SortedItems& surnames, const QCollator& collator);

// The lower box after a find: one item per entry found that tells people of one name apart,
// "Surname, First names (City)", sorted by surname as `found_surnames`, then by first names
// with case and accents ignored.
SortedItems found_people(const EntryTable& table, const std::vector<FoundEntry>& found,
                         const SortedItems& surnames, const QCollator& collator);
