#include "text_finder.h"

#include "entry_fields.h"
#include "lookup_items.h"

TextFinder::TextFinder(const EntryTable& table) : generation_(table.generation()) {
    for (int e = 1; e <= table.EntryCount; ++e) {
        for (int s = 0; s < TextSlotCount; ++s) folded_.add(table.text(e, s));
    }
}

std::vector<FoundEntry> TextFinder::find(const QString& typed) const {
    std::vector<FoundEntry> found;
    const std::string needle = fold_text(typed);
    if (needle.empty()) return found;
    folded_.find(needle, [&found](std::int32_t t) {
        const std::int32_t entry = t / TextSlotCount + 1;
        if (found.empty() || found.back().entry != entry)
            found.push_back({entry, int(t % TextSlotCount)});
    });
    return found;
}

SortedItems found_surnames(const EntryTable& table, const std::vector<FoundEntry>& found,
                           const QCollator& collator) {
    std::vector<LookupItem> items;
    items.reserve(found.size());
    for (const FoundEntry& f : found) items.push_back({table.text(f.entry, SurnameSlot), f.entry});
    return sort_items(items, collator);
}
