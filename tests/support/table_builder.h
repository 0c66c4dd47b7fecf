#pragma once

#include "entry_fields.h"
#include "entry_table.h"

#include <QByteArrayList>

#include <string>

// `count` empty entries laid out as a load leaves them (rows 0 to count + 10).
inline EntryTable empty_entries(int count) {
    return empty_directory(static_cast<std::int16_t>(count));
}

// The same, entry e holding the surname "Name e".
inline EntryTable named_entries(int count) {
    EntryTable table = empty_entries(count);
    for (int e = 1; e <= count; ++e) table.set_text(std::size_t(e), SurnameSlot, "Name " + std::to_string(e));
    return table;
}

// Empty entries marked as changed, so that they save.
inline EntryTable changed_table(int count) {
    EntryTable table = empty_entries(count);
    table.TableModified = 1;
    return table;
}

// One entry an e-mail address, stored as these bytes, each with the surname "Surname e" and no
// salutation chosen; the spare row after the last entry holds an address that must never be
// listed.
inline EntryTable entries_with_emails(const QByteArrayList& emails) {
    EntryTable table = empty_entries(int(emails.size()));
    table.Salutation.assign(table.Salutation.size(), -1);
    for (int e = 1; e <= emails.size(); ++e) {
        table.set_text(std::size_t(e), SurnameSlot, "Surname" + std::to_string(e));
        table.set_text(std::size_t(e), EmailSlot, emails[e - 1].toStdString());
    }
    table.set_text(std::size_t(emails.size()) + 1, EmailSlot, "spare@row.org");
    return table;
}
