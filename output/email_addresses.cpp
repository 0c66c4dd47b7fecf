#include "email_addresses.h"

#include "cp1252.h"
#include "entry_fields.h"

#include <QSet>
#include <QStringList>

QString email_addresses(const EntryTable& table, const std::vector<std::int32_t>& entries) {
    QStringList addresses;
    QSet<QString> seen;
    for (std::int32_t entry : entries) {
        if (entry < 1 || entry > table.EntryCount || !holds_row(table, entry)) continue;
        // A line break inside the box would end the address field it is pasted into.
        const QString address = from_cp1252(table.text(entry, EmailSlot)).simplified();
        if (address.isEmpty() || seen.contains(address.toCaseFolded())) continue;
        seen.insert(address.toCaseFolded());
        addresses << address;
    }
    return addresses.join(QStringLiteral(", "));
}
