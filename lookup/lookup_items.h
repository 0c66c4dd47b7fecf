#pragma once

#include "entry_fields.h"
#include "entry_table.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One item of a look-up list: the text as stored (Windows-1252 bytes, seen in the table or in
// the captions it was drawn from) and its number, an entry number in the lower box, a kind
// number in the upper one. Kind numbers are 32-bit, so every free text of the largest directory
// gets a number of its own.
struct LookupItem {
    std::string_view text;
    std::int32_t number = 0;
    friend bool operator==(const LookupItem&, const LookupItem&) = default;
};

enum class LookupKind {
    Direct,  // the lower box gets the field's values
    TwoStep, // the upper box gets the kinds; a choice there gets the surnames
    None,
};

// What the top of the right-hand column shows after the label click.
enum class TopOfColumn { UsagePanel, KindList, Unchanged };

// One caption label's look-up. `first_slot`..`last_slot` are the text slots that hold the
// values (direct) or the free texts (two-step); kinds below `check_box_kinds` are check boxes,
// the free texts are numbered from there on.
struct LookupCategoryRow {
    LookupKind kind;
    int first_slot;
    int last_slot;
    int check_box_kinds;
    TopOfColumn top;
};

// Indexed by the label1 index.
inline constexpr std::array<LookupCategoryRow, LabelCount> LookupCategories = {{
    {LookupKind::Direct, 0, 0, 0, TopOfColumn::UsagePanel},                      // Title
    {LookupKind::Direct, 1, 1, 0, TopOfColumn::UsagePanel},                      // Surname
    {LookupKind::Direct, 2, 2, 0, TopOfColumn::UsagePanel},                      // First Name (s)
    {LookupKind::Direct, 3, 3, 0, TopOfColumn::UsagePanel},                      // Mailing Address
    {LookupKind::Direct, 4, 4, 0, TopOfColumn::UsagePanel},                      // City
    {LookupKind::Direct, 5, 5, 0, TopOfColumn::UsagePanel},                      // ZIP Code
    {LookupKind::Direct, 6, 6, 0, TopOfColumn::UsagePanel},                      // Country
    {LookupKind::Direct, 7, 7, 0, TopOfColumn::UsagePanel},                      // Telephone
    {LookupKind::Direct, 8, 8, 0, TopOfColumn::UsagePanel},                      // Fax
    {LookupKind::Direct, 9, 9, 0, TopOfColumn::UsagePanel},                      // E-mail
    {LookupKind::Direct, 10, 10, 0, TopOfColumn::UsagePanel},                    // Position
    {LookupKind::TwoStep, OtherOrganizationSlot, OtherOrganizationSlot, OrganizationFlagCount,
     TopOfColumn::KindList},
    {LookupKind::Direct, FirstInterestSlot, FirstInterestSlot + InterestSlotCount - 1, 0,
     TopOfColumn::Unchanged},
    // Only the equipment boxes with a caption are offered as kinds.
    {LookupKind::TwoStep, FirstOtherEquipmentSlot,
     FirstOtherEquipmentSlot + OtherEquipmentSlotCount - 1, NamedEquipmentKinds,
     TopOfColumn::KindList},
    {LookupKind::None, 0, -1, 0, TopOfColumn::Unchanged}, // Remarks
}};

// The row of `label_index`; an index outside the labels opens nothing.
const LookupCategoryRow& lookup_category(int label_index);

// The texts a list is drawn from, as the table held them when this was made: another thread
// may read them however the table changes meanwhile.
struct LookupTexts {
    explicit LookupTexts(const EntryTable& table);
    std::string_view text(int e, int s) const { return texts.get(std::size_t(e), s); }

    TextColumn texts;
    // The last entry whose row every column holds.
    int last_entry = 0;
};

// A list's items given one at a time, never held together: the longest lists' items would take
// three times the memory of what a sorted list keeps of them. `give` calls its sink for each
// item in order, at most `most` times, while the texts (and captions) it was made from live.
using ItemSink = std::function<void(std::string_view text, std::int32_t number)>;
struct ItemSource {
    std::size_t most = 0;
    std::function<void(const ItemSink&)> give;
};

// The lower box of a direct look-up: every non-empty value of the category's slots, entry by
// entry and slot by slot, each with its entry number. Equal values are all kept.
ItemSource value_item_source(const LookupTexts& texts, int label_index);
std::vector<LookupItem> value_items(const LookupTexts& texts, int label_index);
inline std::vector<LookupItem> value_items(const EntryTable& table, int label_index) {
    return value_items(LookupTexts(table), label_index);
}

// The upper box of a two-step look-up: `captions` with numbers 0, 1, ... (the check boxes'
// captions at the moment of the click), then every non-empty free text, entry by entry and
// slot by slot, numbered on from the category's check-box kinds, however many captions come.
ItemSource kind_item_source(const LookupTexts& texts, int label_index,
                            const std::vector<std::string>& captions);
std::vector<LookupItem> kind_items(const LookupTexts& texts, int label_index,
                                   const std::vector<std::string>& captions);
inline std::vector<LookupItem> kind_items(const EntryTable& table, int label_index,
                                          const std::vector<std::string>& captions) {
    return kind_items(LookupTexts(table), label_index, captions);
}

// The lower box after a choice of kind `kind` (with the chosen item's text `kind_text`) in a
// two-step look-up: the surnames of the entries whose flag is exactly 1 for a check-box kind,
// or whose free-text slot equals `kind_text` byte for byte, once per slot that holds it.
std::vector<LookupItem> surname_items(const EntryTable& table, int label_index, std::int32_t kind,
                                      std::string_view kind_text);

// Every entry's surname, empty ones too, entry by entry: what the surname lists are drawn from.
std::vector<LookupItem> all_surnames(const LookupTexts& texts);
inline std::vector<LookupItem> all_surnames(const EntryTable& table) {
    return all_surnames(LookupTexts(table));
}
