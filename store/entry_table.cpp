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
