#include "correction_layout.h"

#include <QStringList>

#include <algorithm>

namespace {

Qt::CheckState checked(bool yes) {
    return yes ? Qt::Checked : Qt::Unchecked;
}

// Private-use characters, one per text slot: no caption holds them.
constexpr char16_t FirstMarker = u'\uE000';

} // namespace

std::vector<YesNoControl> yes_no_controls() {
    std::vector<YesNoControl> all;
    const auto add = [&all](YesNoGroup group, std::size_t count) {
        for (int i = 0; i < int(count); ++i) all.push_back({group, i});
    };
    const CorrectionSnapshot w;
    add(YesNoGroup::Salutation, w.Opt_Mr_Mrs.size());
    add(YesNoGroup::Title, w.chk_titel.size());
    add(YesNoGroup::Organization, w.Chk_organ.size());
    add(YesNoGroup::Equipment, w.Chh_equipm.size());
    add(YesNoGroup::Collaboration, w.Option1.size());
    return all;
}

void set_yes_no(CorrectionSnapshot& w, YesNoControl control, bool yes) {
    const auto i = std::size_t(control.index);
    switch (control.group) {
    case YesNoGroup::Salutation:
        w.Opt_Mr_Mrs[i].chosen = yes;
        break;
    case YesNoGroup::Title:
        w.chk_titel[i].state = checked(yes);
        break;
    case YesNoGroup::Organization:
        w.Chk_organ[i].state = checked(yes);
        break;
    case YesNoGroup::Equipment:
        w.Chh_equipm[i].state = checked(yes);
        break;
    case YesNoGroup::Collaboration:
        w.Option1[i] = yes;
        break;
    }
}

// Taken from correction_text itself, so that reader and writer cannot part: a window with
// every box ticked and a marker in each text box shows which line is which.
std::vector<LayoutLine> file_layout(const CorrectionSnapshot& window) {
    CorrectionSnapshot probe = window;
    for (const YesNoControl control : yes_no_controls()) set_yes_no(probe, control, true);
    for (int s = 0; s < TextSlotCount; ++s) probe.Text1[std::size_t(s)] = QChar(FirstMarker + s);

    QStringList lines = correction_text(probe).split(QStringLiteral("\r\n"));
    lines.removeLast();
    std::vector<LayoutLine> layout;
    int yes_no = 0;
    for (const QString& line : lines) {
        // A value always ends its line.
        const int slot = line.isEmpty() ? -1 : line.back().unicode() - FirstMarker;
        if (slot >= 0 && slot < TextSlotCount)
            layout.push_back({LayoutLine::Value, line.chopped(1), slot});
        else if (line.endsWith(QStringLiteral(":  yes")))
            layout.push_back({LayoutLine::YesNoLine, line.chopped(3), yes_no++});
        else
            layout.push_back({LayoutLine::Fixed, line, -1});
    }
    return layout;
}

bool matches(const LayoutLine& want, const QString& line) {
    if (want.kind == LayoutLine::Value) return line.startsWith(want.text);
    if (want.kind == LayoutLine::YesNoLine) {
        if (!line.startsWith(want.text)) return false;
        const QStringView answer = QStringView(line).mid(want.text.size());
        return answer == u"yes" || answer == u"no";
    }
    if (line.size() >= want.text.size()) return line == want.text;
    return want.text.startsWith(line) &&
           std::all_of(want.text.begin() + line.size(), want.text.end(),
                       [](QChar c) { return c == u' '; });
}
