#include "entry_summary.h"

#include "cp1252.h"
#include "entry_fields.h"

#include <QStringList>

namespace {

// A text on one line, cut where a tooltip line would grow too wide.
QString one_line(std::string_view stored) {
    constexpr qsizetype longest = 120;
    QString text = from_cp1252(stored).simplified();
    if (text.size() > longest) text = text.left(longest - 1) + u'…';
    return text;
}

} // namespace

QString entry_summary(const EntryTable& table, std::int32_t entry, int found_slot) {
    if (entry < 1 || entry > table.EntryCount) return {};
    QStringList parts;
    for (int s : {SurnameSlot, FirstNamesSlot, CitySlot, CountrySlot}) {
        const QString text = one_line(table.text(entry, s));
        if (!text.isEmpty()) parts << text;
    }
    QString summary = parts.join(QStringLiteral(", "));
    if (found_slot >= 0 && found_slot < TextSlotCount) {
        summary += u'\n' + QString::fromStdString(text_slot_caption(found_slot)) +
                   QStringLiteral(": ") + one_line(table.text(entry, found_slot));
    }
    return summary;
}
