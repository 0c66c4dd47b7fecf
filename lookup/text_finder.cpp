#include "text_finder.h"

#include "cp1252.h"
#include "entry_fields.h"
#include "list_filter.h"
#include "lookup_items.h"

#include <algorithm>
#include <array>
#include <cstdint>
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

namespace {

// Finds read the table entry by entry, and waiting for each entry's bytes to come from memory
// would cost more than the search: they are asked for a few entries ahead.
constexpr std::size_t ReadAhead = 6;
void read_ahead(const EntryTable& table, std::int32_t entry) {
    if (entry >= 1 && entry <= table.EntryCount) {
        __builtin_prefetch(table.text(entry, SurnameSlot).data());
        __builtin_prefetch(table.text(entry, CitySlot).data());
    }
}

// Where the texts of an entry stand one behind the other in one block of the table's bytes, as
// a load leaves them (with the data file's quotes and commas between), they are searched as one
// run: a scan per text would cost more than the bytes it reads.
class EntrySearch {
  public:
    EntrySearch(const EntryTable& table, FoldedSearch& search)
        : table_(table), search_(search), blocks_(table.text_blocks()) {}

    // The first slot of `entry` that holds the text sought, or TextSlotCount. The slots are
    // taken a few at a time, so that an entry found early costs little of the table's memory.
    int first_slot(std::int32_t entry) {
        for (int from = 0; from < TextSlotCount; from += SlotsAtOnce) {
            const int slot = first_slot(entry, from, std::min(from + SlotsAtOnce, TextSlotCount));
            if (slot < TextSlotCount) return slot;
        }
        return TextSlotCount;
    }

  private:
    static constexpr int SlotsAtOnce = 8;

    int first_slot(std::int32_t entry, int from, int to) {
        std::size_t count = 0;
        std::size_t bytes = 0;
        for (int s = from; s < to; ++s) {
            const std::string_view text = table_.text(entry, s);
            if (text.empty()) continue;
            texts_[count] = text;
            slots_[count++] = s;
            bytes += text.size();
        }
        if (count == 0) return TextSlotCount;
        const std::string_view run = run_of(count, bytes);
        if (run.empty()) {
            for (std::size_t t = 0; t < count; ++t) {
                if (search_.found_in(texts_[t])) return slots_[t];
            }
            return TextSlotCount;
        }
        for (std::size_t t = 0; t < count; ++t) {
            const auto begin = std::size_t(texts_[t].data() - run.data());
            places_[t] = {begin, begin + texts_[t].size()};
        }
        const std::size_t t = search_.first_found_in(run, {places_.data(), count});
        return t < count ? slots_[t] : TextSlotCount;
    }

    // The bytes from the first text to the last, when the texts stand in slot order in one
    // block with little between them; empty otherwise.
    std::string_view run_of(std::size_t count, std::size_t bytes) const {
        const auto address = [](const char* p) { return reinterpret_cast<std::uintptr_t>(p); };
        const std::uintptr_t begin = address(texts_[0].data());
        std::uintptr_t end = begin;
        for (std::size_t t = 0; t < count; ++t) {
            if (address(texts_[t].data()) < end) return {};
            end = address(texts_[t].data()) + texts_[t].size();
        }
        // The quotes and commas of the data file between texts, and room for empty ones.
        if (end - begin > bytes + 4 * TextSlotCount) return {};
        for (const auto& block : blocks_) {
            if (block && address(block->data()) <= begin &&
                end <= address(block->data()) + block->used()) {
                return {texts_[0].data(), std::size_t(end - begin)};
            }
        }
        return {};
    }

    const EntryTable& table_;
    FoldedSearch& search_;
    const std::array<std::shared_ptr<const TextBytes>, 2> blocks_;
    std::array<std::string_view, TextSlotCount> texts_;
    std::array<int, TextSlotCount> slots_{};
    std::array<FoldedSearch::Place, TextSlotCount> places_;
};

} // namespace

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
    EntrySearch entries(table, search);
    const auto search_entry = [&](std::int32_t e) {
        const int slot = entries.first_slot(e);
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
        for (std::size_t i = 0; i < among->size(); ++i) {
            if (i + ReadAhead < among->size()) read_ahead(table, (*among)[i + ReadAhead].entry);
            const std::int32_t e = (*among)[i].entry;
            if (e >= 1 && e <= table.EntryCount) search_entry(e);
        }
    } else {
        for (std::int32_t e = 1; e <= table.EntryCount; ++e) {
            read_ahead(table, e + std::int32_t(ReadAhead));
            search_entry(e);
        }
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

// Where the names stand in a person's text.
struct NamesIn {
    std::size_t surname_end = 0;
    std::size_t first_begin = 0;
    std::size_t first_end = 0;
};

// "Surname, First names (City)", leaving out what is empty.
NamesIn append_person(const EntryTable& table, std::int32_t entry, std::string& text) {
    const std::string_view surname = table.text(entry, SurnameSlot);
    const std::string_view first = table.text(entry, FirstNamesSlot);
    const std::string_view city = table.text(entry, CitySlot);
    NamesIn names;
    text.append(surname);
    names.surname_end = text.size();
    if (!surname.empty() && !first.empty()) text.append(", ");
    names.first_begin = text.size();
    text.append(first);
    names.first_end = text.size();
    if (!city.empty()) {
        if (!text.empty()) text.push_back(' ');
        text.push_back('(');
        text.append(city);
        text.push_back(')');
    }
    return names;
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
    // The texts are made in the order of the entries, which reads the table front to back; the
    // rows then take them in the order of the surnames.
    auto texts = std::make_shared<TextPool>();
    std::vector<std::int32_t> text_of(std::size_t(table.EntryCount) + 1, 0);
    std::vector<NamesIn> names; // by text
    names.reserve(found.size());
    std::string text;
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (i + ReadAhead < found.size()) read_ahead(table, found[i + ReadAhead].entry);
        const std::int32_t entry = found[i].entry;
        text.clear();
        names.push_back(append_person(table, entry, text));
        text_of[std::size_t(entry)] = texts->add(text);
    }
    const auto surname_in = [&](const ListRow& row) {
        return (*texts)[row.text].substr(0, names[std::size_t(row.text)].surname_end);
    };
    const auto first_names_in = [&](const ListRow& row) {
        const NamesIn& in = names[std::size_t(row.text)];
        return (*texts)[row.text].substr(in.first_begin, in.first_end - in.first_begin);
    };

    SortedItems people;
    people.rows.reserve(found.size());
    for (const ListRow& row : found_surnames(table, found, surnames, collator).rows)
        people.rows.push_back({text_of[std::size_t(row.number)], row.number});

    // People of one surname stand together; among them their first names decide, compared
    // as the finder folds them (case and accents ignored): collating every group would cost
    // more than a keystroke may.
    struct Member {
        std::size_t begin, end; // of the folded first names
        ListRow row;
    };
    std::vector<Member> group;
    std::string folded;
    for (std::size_t from = 0; from < people.rows.size();) {
        const std::string_view surname = surname_in(people.rows[from]);
        std::size_t to = from + 1;
        while (to < people.rows.size() && same_surname(surname_in(people.rows[to]), surname)) ++to;
        if (to - from > 1) {
            group.clear();
            folded.clear();
            for (std::size_t i = from; i < to; ++i) {
                const std::size_t begin = folded.size();
                append_folded(first_names_in(people.rows[i]), folded);
                group.push_back({begin, folded.size(), people.rows[i]});
            }
            const auto first_names = [&folded](const Member& m) {
                return std::string_view(folded).substr(m.begin, m.end - m.begin);
            };
            std::stable_sort(group.begin(), group.end(), [&](const Member& a, const Member& b) {
                return first_names(a) < first_names(b);
            });
            for (std::size_t i = from; i < to; ++i) people.rows[i] = group[i - from].row;
        }
        from = to;
    }
    people.texts = std::move(texts);
    return people;
}
