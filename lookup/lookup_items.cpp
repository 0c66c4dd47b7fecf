#include "lookup_items.h"

#include <algorithm>

namespace {

constexpr LookupCategoryRow NoLookup{LookupKind::None, 0, -1, 0, TopOfColumn::Unchanged};

// The last entry whose rows exist in every column the look-up reads; a table built by hand
// may hold fewer rows than EntryCount claims, and reading past them would be undefined.
int last_entry(const EntryTable& table) {
    int last = std::max<int>(table.EntryCount, 0);
    while (last > 0 && !holds_row(table, last)) --last;
    return last;
}

bool has_flag(const EntryTable& table, int label_index, int entry, std::int32_t kind) {
    if (label_index == OrganizationLabel) return table.OrganizationFlags[entry][kind] == 1;
    return table.EquipmentFlags[entry][kind] == 1;
}

} // namespace

const LookupCategoryRow& lookup_category(int label_index) {
    if (label_index < 0 || label_index >= LabelCount) return NoLookup;
    return LookupCategories[label_index];
}

LookupTexts::LookupTexts(const EntryTable& table)
    : texts(table.text_snapshot()), last_entry(::last_entry(table)) {}

ItemSource value_item_source(const LookupTexts& table, int label_index) {
    const LookupCategoryRow& category = lookup_category(label_index);
    if (category.kind != LookupKind::Direct) return {0, [](const ItemSink&) {}};
    const int last = table.last_entry;
    return {std::size_t(last) * std::size_t(category.last_slot - category.first_slot + 1),
            [&table, &category, last](const ItemSink& add) {
                for (int e = 1; e <= last; ++e) {
                    for (int s = category.first_slot; s <= category.last_slot; ++s) {
                        const std::string_view value = table.text(e, s);
                        if (!value.empty()) add(value, e);
                    }
                }
            }};
}

ItemSource kind_item_source(const LookupTexts& table, int label_index,
                            const std::vector<std::string>& captions) {
    const LookupCategoryRow& category = lookup_category(label_index);
    if (category.kind != LookupKind::TwoStep) return {0, [](const ItemSink&) {}};
    const int last = table.last_entry;
    return {captions.size() +
                std::size_t(last) * std::size_t(category.last_slot - category.first_slot + 1),
            [&table, &category, &captions, last](const ItemSink& add) {
                for (std::size_t k = 0; k < captions.size(); ++k) add(captions[k], std::int32_t(k));
                std::int32_t next_kind = category.check_box_kinds;
                for (int e = 1; e <= last; ++e) {
                    for (int s = category.first_slot; s <= category.last_slot; ++s) {
                        const std::string_view text = table.text(e, s);
                        if (!text.empty()) add(text, next_kind++);
                    }
                }
            }};
}

namespace {

std::vector<LookupItem> held(const ItemSource& source) {
    std::vector<LookupItem> items;
    // Room for every item there may be: what stays unused is never touched, so costs no
    // memory, and the vector is never copied as it grows.
    items.reserve(source.most);
    source.give([&](std::string_view text, std::int32_t number) { items.push_back({text, number}); });
    return items;
}

} // namespace

std::vector<LookupItem> value_items(const LookupTexts& table, int label_index) {
    return held(value_item_source(table, label_index));
}

std::vector<LookupItem> kind_items(const LookupTexts& table, int label_index,
                                   const std::vector<std::string>& captions) {
    return held(kind_item_source(table, label_index, captions));
}

std::vector<LookupItem> surname_items(const EntryTable& table, int label_index, std::int32_t kind,
                                      std::string_view kind_text) {
    const LookupCategoryRow& category = lookup_category(label_index);
    std::vector<LookupItem> items;
    if (category.kind != LookupKind::TwoStep || kind < 0) return items;
    const int last = last_entry(table);
    for (int e = 1; e <= last; ++e) {
        const std::string_view surname = table.text(e, SurnameSlot);
        if (kind < category.check_box_kinds) {
            if (has_flag(table, label_index, e, kind)) items.push_back({surname, e});
            continue;
        }
        // Free texts are never empty, so an empty text matches no slot.
        for (int s = category.first_slot; s <= category.last_slot; ++s) {
            const std::string_view text = table.text(e, s);
            if (!text.empty() && text == kind_text) items.push_back({surname, e});
        }
    }
    return items;
}

std::vector<LookupItem> all_surnames(const LookupTexts& table) {
    std::vector<LookupItem> items;
    const int last = table.last_entry;
    items.reserve(std::size_t(last));
    for (int e = 1; e <= last; ++e) items.push_back({table.text(e, SurnameSlot), e});
    return items;
}
