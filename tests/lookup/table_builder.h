#pragma once

#include "entry_table.h"

#include <string>

// A directory of `count` empty entries laid out as a load leaves it (rows 0 to count + 10).
inline EntryTable make_table(int count) {
    EntryTable table;
    table.EntryCount = static_cast<std::int16_t>(count);
    table.TableCapacity = static_cast<std::int16_t>(count + 10);
    table.CurrentEntry = 1;
    const std::size_t rows = std::size_t(count) + 11;
    table.ChangeDate.resize(rows);
    table.Salutation.resize(rows);
    table.TitleFlags.resize(rows);
    table.TextSlots.resize(rows);
    table.OrganizationFlags.resize(rows);
    table.EquipmentFlags.resize(rows);
    return table;
}
