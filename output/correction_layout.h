#pragma once

#include "correction_text.h"

#include <QString>

#include <vector>

// The controls behind the correction file's yes/no lines.
enum class YesNoGroup { Salutation, Title, Organization, Equipment, Collaboration };
inline constexpr int YesNoGroupCount = 5;

struct YesNoControl {
    YesNoGroup group;
    int index; // within its group
};

// Only one button of these groups can be chosen.
inline bool is_option(YesNoGroup group) {
    return group == YesNoGroup::Salutation || group == YesNoGroup::Collaboration;
}

// Every yes/no control, in the order of the file's lines.
std::vector<YesNoControl> yes_no_controls();
void set_yes_no(CorrectionSnapshot& window, YesNoControl control, bool yes);

// One line of the correction file as correction_text writes it for a window's captions.
struct LayoutLine {
    enum Kind { Fixed, YesNoLine, Value } kind;
    QString text; // the whole line, or what stands before "yes"/"no" or the value
    int target;   // the yes/no control (in yes_no_controls), or the text slot of the value
};

// The lines correction_text writes for the captions of `window`, a text taking one line.
std::vector<LayoutLine> file_layout(const CorrectionSnapshot& window);

// Whether a line of a file can stand for `want`; for a value, whether it can be its first
// line. Mail programs drop the blanks that end a line, so a fixed line matches without them.
bool matches(const LayoutLine& want, const QString& line);
