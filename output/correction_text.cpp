#include "correction_text.h"

#include <QStringList>

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

QString without_escapes(const QString& line) {
    qsizetype n = 0;
    while (n < line.size() && line[n] == u'>') ++n;
    return line.mid(n);
}

// A line of the file before its texts are filled in: a fixed line, or the start of the line
// of text slot `slot`.
struct Line {
    QString text;
    int slot = -1;
};

} // namespace

bool reads_as(const QString& line, const FollowingLine& next) {
    if (next.starts_value) return line.startsWith(next.text);
    if (line == next.text) return true;
    QString trimmed = next.text;
    while (trimmed.endsWith(u' ')) trimmed.chop(1);
    return line == trimmed;
}

QString empty_box_text(int slot) {
    return slot == RemarksSlot ? QStringLiteral("  ...\r\n  ...\r\n  ...") : QStringLiteral("...");
}

QString escaped_value(const QString& text, int slot, const FollowingLine& next) {
    if (text.isEmpty()) return empty_box_text(slot);
    QStringList lines = text.split(LineEnd);
    if (without_escapes(text) == empty_box_text(slot)) lines.front().prepend(u'>');
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (reads_as(without_escapes(lines[i]), next)) lines[i].prepend(u'>');
    return lines.join(LineEnd);
}

QString unescaped_value(const QString& written, int slot, const FollowingLine& next) {
    if (written == empty_box_text(slot)) return {};
    QStringList lines = written.split(LineEnd);
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (lines[i].startsWith(u'>') && reads_as(without_escapes(lines[i]), next))
            lines[i].remove(0, 1);
    QString text = lines.join(LineEnd);
    if (text.startsWith(u'>') && without_escapes(text) == empty_box_text(slot)) text.remove(0, 1);
    return text;
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
    line(QString::fromUtf16(CorrectionEndLine));

    QString out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& at = lines[i];
        out += at.text;
        if (at.slot >= 0) {
            // A text is never the last line: the end line follows the remarks.
            const Line& next = lines[i + 1];
            out += escaped_value(w.Text1[std::size_t(at.slot)], at.slot,
                                 {next.text, next.slot >= 0});
        }
        out += LineEnd;
    }
    return out;
}
