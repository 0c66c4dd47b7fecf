#include "correction_text.h"

#include <vector>

namespace {

const QString LineEnd = QStringLiteral("\r\n");
const QString Separator = QStringLiteral(":  ");

QString yes_no(bool yes) {
    return yes ? QStringLiteral("yes") : QStringLiteral("no");
}

// A greyed box is not a tick.
QString yes_no(Qt::CheckState state) {
    return yes_no(state == Qt::Checked);
}

// A line of the file before its texts are filled in: a fixed line, or the start of the line
// of text slot `slot`.
struct Line {
    QString text;
    int slot = -1;
};

} // namespace

QString empty_box_text(int slot) {
    return slot == RemarksSlot ? QStringLiteral("  ...\r\n  ...\r\n  ...") : QStringLiteral("...");
}

QString correction_text(const CorrectionSnapshot& w) {
    std::vector<Line> lines;
    const auto line = [&lines](const QString& whole = {}) { lines.push_back({whole}); };
    const auto value = [&lines](const QString& before, int slot) {
        lines.push_back({before, slot});
    };

    for (const auto& option : w.Opt_Mr_Mrs)
        line(option.caption + Separator + yes_no(option.chosen));
    line();

    line(QStringLiteral("Title"));
    for (const auto& title : w.chk_titel)
        line(QStringLiteral("  ") + title.caption + Separator + yes_no(title.state));
    value(QStringLiteral("  Other:  "), OtherTitleSlot);
    line();

    // Slots 1 to 10 stand beside the label of the same index.
    const auto captioned = [&](int s) { value(w.label1[s] + Separator, s); };
    captioned(SurnameSlot);
    captioned(SurnameSlot + 1);
    line();

    // The address goes on lines of its own, with a "..." line after it in any case.
    line(w.label1[AddressSlot] + Separator);
    value({}, AddressSlot);
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
    value(QStringLiteral("  other:  "), OtherOrganizationSlot);
    line();

    // The six boxes are lettered A to F in the order left, right of each row.
    line(QStringLiteral("Fields of Interest"));
    for (int k = 0; k < InterestSlotCount; ++k)
        value(QStringLiteral("  ") + QChar(u'A' + k) + Separator, FirstInterestSlot + k);
    line();

    line(QStringLiteral("Laboratory equipment"));
    for (const auto& kind : w.Chh_equipm)
        line(QStringLiteral("  ") + kind.caption + Separator + yes_no(kind.state));
    for (int k = 0; k < OtherEquipmentSlotCount; ++k)
        value(QStringLiteral("  other ") + QChar(u'A' + k) + Separator,
              FirstOtherEquipmentSlot + k);
    line();

    line(QStringLiteral("ticked facilities may be used collaboratively"));
    line(QStringLiteral("  all:  ") + yes_no(w.Option1[0]));
    line(QStringLiteral("  some:  ") + yes_no(w.Option1[1]));
    line();

    line(QStringLiteral("Remarks"));
    value({}, RemarksSlot);

    QString out;
    for (const Line& at : lines) {
        out += at.text;
        if (at.slot >= 0) {
            const QString& text = w.Text1[std::size_t(at.slot)];
            out += text.isEmpty() ? empty_box_text(at.slot) : text;
        }
        out += LineEnd;
    }
    return out;
}
