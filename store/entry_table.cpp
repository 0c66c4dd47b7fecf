#include "entry_table.h"

#include <atomic>

namespace {

std::uint64_t next_generation() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

} // namespace

void EntryTable::set_text(int e, int s, std::string_view bytes) {
    TextSlots.set(std::size_t(e), s, bytes);
    Generation = next_generation();
}

RowTexts EntryTable::texts(int e) const {
    RowTexts row;
    for (int s = 0; s < TextSlotCount; ++s) row[std::size_t(s)] = text(e, s);
    return row;
}

void EntryTable::set_texts(int e, const RowTexts& texts) {
    for (int s = 0; s < TextSlotCount; ++s) TextSlots.set(std::size_t(e), s, texts[std::size_t(s)]);
    Generation = next_generation();
}

void EntryTable::mark_changed() {
    Generation = next_generation();
}

EntryTable empty_directory(std::int16_t count) {
    EntryTable table;
    table.EntryCount = count;
    table.TableCapacity = std::int16_t(count + 10);
    table.CurrentEntry = 1;
    const std::size_t rows = std::size_t(table.TableCapacity) + 1;
    table.ChangeDate.assign(rows, 0);
    table.Salutation.assign(rows, 0);
    table.TitleFlags.assign(rows, {});
    table.TextSlots.reset(rows);
    table.Generation = next_generation();
    table.OrganizationFlags.assign(rows, {});
    table.EquipmentFlags.assign(rows, {});
    return table;
}

bool holds_row(const EntryTable& table, int e) {
    if (e < 0) return false;
    const auto row = std::size_t(e);
    return row < table.ChangeDate.size() && row < table.Salutation.size() &&
           row < table.TitleFlags.size() && row < table.text_rows() &&
           row < table.OrganizationFlags.size() && row < table.EquipmentFlags.size();
}
