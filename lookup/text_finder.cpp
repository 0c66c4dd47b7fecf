#include "text_finder.h"

#include "cp1252.h"
#include "entry_fields.h"
#include "list_filter.h"
#include "lookup_items.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

bool CaptionedBox::ticked(const EntryTable& table, std::int32_t entry) const {
    const auto e = std::size_t(entry);
    const auto k = std::size_t(flag);
    switch (column) {
    case Title: return table.TitleFlags[e][k] == 1;
    case Organization: return table.OrganizationFlags[e][k] == 1;
    case Equipment: return table.EquipmentFlags[e][k] == 1;
    }
    return false;
}

const std::vector<CaptionedBox>& captioned_boxes() {
    static const std::vector<CaptionedBox> boxes = [] {
        std::vector<CaptionedBox> all;
        for (int t = 0; t < TitleFlagCount; ++t)
            all.push_back({CaptionedBox::Title, t, TitleLabel, TitleCaptions[std::size_t(t)]});
        for (int k = 0; k < OrganizationFlagCount; ++k) {
            all.push_back({CaptionedBox::Organization, k, OrganizationLabel,
                           OrganizationCaptions[std::size_t(k)]});
        }
        for (int k = 0; k < EquipmentBoxCount; ++k) {
            const char* caption = EquipmentFields[std::size_t(k)].caption;
            if (*caption) all.push_back({CaptionedBox::Equipment, k, EquipmentLabel, caption});
        }
        return all;
    }();
    return boxes;
}

std::vector<FoundEntry> find_in_every_text(const EntryTable& table, const QString& typed,
                                           const std::vector<FoundEntry>* among) {
    std::vector<FoundEntry> found;
    std::vector<std::string> spellings = folded_spellings(typed);
    if (spellings.front().empty()) return found;
    FoldedSearch search(std::move(spellings));
    // The captions are few: which of them hold the text is settled once, before the entries.
    std::vector<int> boxes;
    for (std::size_t b = 0; b < captioned_boxes().size(); ++b) {
        if (search.found_in(captioned_boxes()[b].caption)) boxes.push_back(int(b));
    }
    const auto search_entry = [&](std::int32_t e) {
        int slot = 0;
        while (slot < TextSlotCount && !search.found_in(table.text(e, slot))) ++slot;
        if (slot < TextSlotCount) {
            found.push_back({e, slot});
            return;
        }
        for (int b : boxes) {
            if (captioned_boxes()[std::size_t(b)].ticked(table, e)) {
                found.push_back({e, -1, b});
                return;
            }
        }
    };
    if (among) {
        for (const FoundEntry& f : *among) {
            if (f.entry >= 1 && f.entry <= table.EntryCount) search_entry(f.entry);
        }
    } else {
        for (std::int32_t e = 1; e <= table.EntryCount; ++e) search_entry(e);
    }
    return found;
}

const std::vector<FoundEntry>& TypingFinder::find(const EntryTable& table, const QString& typed) {
    std::string folded = fold_text(typed);
    const bool extends = table_ == &table && generation_ == table.generation() &&
                         !folded_.empty() && folded.starts_with(folded_);
    found_ = find_in_every_text(table, typed, extends ? &found_ : nullptr);
    table_ = &table;
    generation_ = table.generation();
    folded_ = std::move(folded);
    return found_;
}

namespace {

SortedItems collated_surnames(const EntryTable& table, const std::vector<FoundEntry>& found,
                              const QCollator& collator) {
    std::vector<LookupItem> items;
    items.reserve(found.size());
    for (const FoundEntry& f : found) items.push_back({table.text(f.entry, SurnameSlot), f.entry});
    return sort_items(std::move(items), collator);
}

// Surnames told apart by first names: the same bytes, but for the case of plain letters. Run
// over every pair of neighbours, it must not collate.
bool same_surname(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c; };
        return lower(x) == lower(y);
    });
}

// "Surname, First names (City)", leaving out what is empty.
void append_person(const EntryTable& table, std::int32_t entry, std::string& text) {
    const std::string_view surname = table.text(entry, SurnameSlot);
    const std::string_view first = table.text(entry, FirstNamesSlot);
    const std::string_view city = table.text(entry, CitySlot);
    text.append(surname);
    if (!first.empty()) {
        if (!surname.empty()) text.append(", ");
        text.append(first);
    }
    if (!city.empty()) {
        if (!text.empty()) text.push_back(' ');
        text.push_back('(');
        text.append(city);
        text.push_back(')');
    }
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

SortedItems found_people(const EntryTable& table, const std::vector<FoundEntry>& found,
                         const SortedItems& surnames, const QCollator& collator) {
    std::vector<std::int32_t> order;
    order.reserve(found.size());
    for (const ListRow& row : found_surnames(table, found, surnames, collator).rows)
        order.push_back(row.number);

    // People of one surname stand together; among them their first names decide, compared
    // as the finder folds them (case and accents ignored): collating every group would cost
    // more than a keystroke may.
    std::vector<std::pair<std::string, std::int32_t>> group;
    for (std::size_t from = 0; from < order.size();) {
        const std::string_view surname = table.text(order[from], SurnameSlot);
        std::size_t to = from + 1;
        while (to < order.size() && same_surname(table.text(order[to], SurnameSlot), surname)) ++to;
        if (to - from > 1) {
            group.resize(to - from);
            for (std::size_t i = from; i < to; ++i) {
                auto& [folded, entry] = group[i - from];
                folded.clear();
                append_folded(table.text(order[i], FirstNamesSlot), folded);
                entry = order[i];
            }
            std::stable_sort(group.begin(), group.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            for (std::size_t i = from; i < to; ++i) order[i] = group[i - from].second;
        }
        from = to;
    }

    SortedItems people;
    auto texts = std::make_shared<TextPool>();
    std::string text;
    for (std::int32_t entry : order) {
        text.clear();
        append_person(table, entry, text);
        people.rows.push_back({texts->add(text), entry});
    }
    people.texts = std::move(texts);
    return people;
}
