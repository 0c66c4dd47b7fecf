#include "text_finder.h"

#include "entry_fields.h"
#include "list_filter.h"
#include "lookup_items.h"

#include <memory>
#include <string>
#include <utility>

std::vector<FoundEntry> find_in_every_text(const EntryTable& table, const QString& typed) {
    std::vector<FoundEntry> found;
    std::string needle = fold_text(typed);
    if (needle.empty()) return found;
    FoldedSearch search(std::move(needle));
    for (int e = 1; e <= table.EntryCount; ++e) {
        for (int s = 0; s < TextSlotCount; ++s) {
            if (search.found_in(table.text(e, s))) {
                found.push_back({e, s});
                break;
            }
        }
    }
    return found;
}

namespace {

SortedItems collated_surnames(const EntryTable& table, const std::vector<FoundEntry>& found,
                              const QCollator& collator) {
    std::vector<LookupItem> items;
    items.reserve(found.size());
    for (const FoundEntry& f : found) items.push_back({table.text(f.entry, SurnameSlot), f.entry});
    return sort_items(std::move(items), collator);
}

} // namespace

SortedItems found_surnames(const EntryTable& table, const std::vector<FoundEntry>& found,
                           const SortedItems& surnames, const QCollator& collator) {
    std::vector<char> wanted(std::size_t(table.EntryCount) + 1, 0);
    for (const FoundEntry& f : found) wanted[std::size_t(f.entry)] = 1;
    SortedItems sorted;
    sorted.texts = surnames.texts;
    std::size_t without_surname = 0;
    for (const FoundEntry& f : found) {
        if (!table.text(f.entry, SurnameSlot).empty()) continue;
        ++without_surname;
        wanted[std::size_t(f.entry)] = 0;
    }
    // An empty text sorts before every other; the pool gets one if it lacks it.
    if (without_surname > 0) {
        auto texts = std::make_shared<TextPool>(surnames.texts);
        const std::int32_t empty = texts->add({});
        for (const FoundEntry& f : found) {
            if (table.text(f.entry, SurnameSlot).empty()) sorted.rows.push_back({empty, f.entry});
        }
        sorted.texts = std::move(texts);
    }
    for (const ListRow& row : surnames.rows) {
        const auto e = std::size_t(row.number);
        if (e < wanted.size() && wanted[e]) {
            sorted.rows.push_back(row);
            wanted[e] = 0;
        }
    }
    if (sorted.rows.size() != found.size()) return collated_surnames(table, found, collator);
    return sorted;
}
