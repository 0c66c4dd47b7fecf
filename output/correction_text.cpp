#include "correction_text.h"

namespace {

const QString LineEnd = QStringLiteral("\r\n");
const QString Separator = QStringLiteral(":  ");

// An empty box is written as "..."; a box of blanks is not empty and keeps its blanks.
QString value(const QString& text) {
    return text.isEmpty() ? QStringLiteral("...") : text;
}

QString yes_no(bool yes) {
    return yes ? QStringLiteral("yes") : QStringLiteral("no");
}

// A greyed box is not a tick.
QString yes_no(Qt::CheckState state) {
    return yes_no(state == Qt::Checked);
}

} // namespace

QString correction_text(const CorrectionSnapshot& w) {
    QString out;
    const auto line = [&out](const QString& whole = {}) { out += whole + LineEnd; };
    const auto& text = w.Text1;

    for (const auto& option : w.Opt_Mr_Mrs)
        line(option.caption + Separator + yes_no(option.chosen));
    line();

    line(QStringLiteral("Title"));
    for (const auto& title : w.chk_titel)
        line(QStringLiteral("  ") + title.caption + Separator + yes_no(title.state));
    line(QStringLiteral("  Other:  ") + value(text[OtherTitleSlot]));
    line();

    // Slots 1 to 10 stand beside the label of the same index.
    const auto captioned = [&](int s) { line(w.label1[s] + Separator + value(text[s])); };
    captioned(SurnameSlot);
    captioned(SurnameSlot + 1);
    line();

    // The address goes on lines of its own, with a "..." line after it in any case.
    line(w.label1[AddressSlot] + Separator);
    line(value(text[AddressSlot]));
    line(QStringLiteral("..."));
    for (int s = CitySlot; s < CitySlot + 3; ++s) captioned(s);
    line();
    for (int s = CitySlot + 3; s <= EmailSlot; ++s) captioned(s);
    line();
    captioned(PositionSlot);
    line();

    line(QStringLiteral("Organization"));
    for (const auto& kind : w.Chk_organ)
        line(QStringLiteral("  ") + kind.caption + Separator + yes_no(kind.state));
    line(QStringLiteral("  other:  ") + value(text[OtherOrganizationSlot]));
    line();

    // The six boxes are lettered A to F in the order left, right of each row.
    line(QStringLiteral("Fields of Interest"));
    for (int k = 0; k < InterestSlotCount; ++k)
        line(QStringLiteral("  ") + QChar(u'A' + k) + Separator +
             value(text[FirstInterestSlot + k]));
    line();

    line(QStringLiteral("Laboratory equipment"));
    for (const auto& kind : w.Chh_equipm)
        line(QStringLiteral("  ") + kind.caption + Separator + yes_no(kind.state));
    for (int k = 0; k < OtherEquipmentSlotCount; ++k)
        line(QStringLiteral("  other ") + QChar(u'A' + k) + Separator +
             value(text[FirstOtherEquipmentSlot + k]));
    line();

    line(QStringLiteral("ticked facilities may be used collaboratively"));
    line(QStringLiteral("  all:  ") + yes_no(w.Option1[0]));
    line(QStringLiteral("  some:  ") + yes_no(w.Option1[1]));
    line();

    line(QStringLiteral("Remarks"));
    if (text[RemarksSlot].isEmpty()) {
        for (int i = 0; i < 3; ++i) line(QStringLiteral("  ..."));
    } else {
        line(text[RemarksSlot]);
    }
    return out;
}
