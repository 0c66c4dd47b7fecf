#include "entry_fields.h"

std::string text_slot_caption(int s) {
    if (s < 0 || s >= TextSlotCount) return "unknown box";
    const TextSlotField& field = TextSlotFields[std::size_t(s)];
    return std::string(field.before) + LabelCaptions[std::size_t(field.label)] + field.after;
}

std::string entry_item_name(int item) {
    if (item == 1) return "date of the last change";
    if (item == 2) return "salutation";
    if (item >= FirstTitleItem && item < FirstOrganizationItem)
        return TitleCaptions[std::size_t(item - FirstTitleItem)];
    if (item >= FirstOrganizationItem && item < FirstEquipmentItem)
        return OrganizationCaptions[std::size_t(item - FirstOrganizationItem)];
    if (item >= FirstEquipmentItem && item < FirstTextItem) {
        const FlagField& field = EquipmentFields[std::size_t(item - FirstEquipmentItem)];
        return *field.name ? field.name : field.caption;
    }
    if (item >= FirstTextItem && item <= ItemsPerEntry) return text_slot_caption(item - FirstTextItem);
    return "unknown item";
}
