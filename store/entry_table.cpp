#include "entry_table.h"

EntryTable empty_directory(std::int16_t count) {
    EntryTable table;
    table.EntryCount = count;
    table.TableCapacity = std::int16_t(count + 10);
    table.CurrentEntry = 1;
    const std::size_t rows = std::size_t(table.TableCapacity) + 1;
    table.ChangeDate.assign(rows, 0);
    table.Salutation.assign(rows, 0);
    table.TitleFlags.assign(rows, {});
    table.TextSlots.resize(rows);
    table.OrganizationFlags.assign(rows, {});
    table.EquipmentFlags.assign(rows, {});
    return table;
}

bool holds_row(const EntryTable& table, int e) {
    if (e < 0) return false;
    const auto row = std::size_t(e);
    return row < table.ChangeDate.size() && row < table.Salutation.size() &&
           row < table.TitleFlags.size() && row < table.TextSlots.size() &&
           row < table.OrganizationFlags.size() && row < table.EquipmentFlags.size();
}
