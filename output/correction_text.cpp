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
    line(QStringLiteral("  Other:  ") + value(text[0]));
    line();

    for (int i : {1, 2}) line(w.label1[i] + Separator + value(text[i]));
    line();

    // The address goes on lines of its own, with a "..." line after it in any case.
    line(w.label1[3] + Separator);
    line(value(text[3]));
    line(QStringLiteral("..."));
    for (int i : {4, 5, 6}) line(w.label1[i] + Separator + value(text[i]));
    line();
    for (int i : {7, 8, 9}) line(w.label1[i] + Separator + value(text[i]));
    line();
    line(w.label1[10] + Separator + value(text[10]));
    line();

    line(QStringLiteral("Organization"));
    for (const auto& kind : w.Chk_organ)
        line(QStringLiteral("  ") + kind.caption + Separator + yes_no(kind.state));
    line(QStringLiteral("  other:  ") + value(text[21]));
    line();

    // The six boxes are lettered A to F in the order left, right of each row.
    line(QStringLiteral("Fields of Interest"));
    for (int k = 11; k <= 16; ++k)
        line(QStringLiteral("  ") + QChar(u'A' + (k - 11)) + Separator + value(text[k]));
    line();

    line(QStringLiteral("Laboratory equipment"));
    for (const auto& kind : w.Chh_equipm)
        line(QStringLiteral("  ") + kind.caption + Separator + yes_no(kind.state));
    line(QStringLiteral("  other A:  ") + value(text[17]));
    line(QStringLiteral("  other B:  ") + value(text[18]));
    line(QStringLiteral("  other C:  ") + value(text[19]));
    line();

    line(QStringLiteral("ticked facilities may be used collaboratively"));
    line(QStringLiteral("  all:  ") + yes_no(w.Option1[0]));
    line(QStringLiteral("  some:  ") + yes_no(w.Option1[1]));
    line();

    line(QStringLiteral("Remarks"));
    if (text[20].isEmpty()) {
        for (int i = 0; i < 3; ++i) line(QStringLiteral("  ..."));
    } else {
        line(text[20]);
    }
    return out;
}
