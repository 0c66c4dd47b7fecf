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

QString entry_summary(const EntryTable& table, std::int32_t entry) {
    if (entry < 1 || entry > table.EntryCount) return {};
    QStringList parts;
    for (int s : {SurnameSlot, FirstNamesSlot, CitySlot, CountrySlot}) {
        const QString text = one_line(table.text(entry, s));
        if (!text.isEmpty()) parts << text;
    }
    return parts.join(QStringLiteral(", "));
}

QString entry_summary(const EntryTable& table, const FoundEntry& found) {
    if (found.entry < 1 || found.entry > table.EntryCount) return {};
    QString summary = entry_summary(table, found.entry);
    if (found.slot >= 0 && found.slot < TextSlotCount) {
        summary += u'\n' + QString::fromStdString(text_slot_caption(found.slot)) +
                   QStringLiteral(": ") + one_line(table.text(found.entry, found.slot));
    } else if (found.box >= 0 && std::size_t(found.box) < captioned_boxes().size()) {
        const CaptionedBox& box = captioned_boxes()[std::size_t(found.box)];
        summary += u'\n' + QString::fromLatin1(LabelCaptions[std::size_t(box.label)]) +
                   QStringLiteral(": ") + QString::fromLatin1(box.caption);
    }
    return summary;
}
