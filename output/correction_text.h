#pragma once

#include "entry_fields.h"

#include <QString>
#include <Qt>

#include <array>

// What the window shows at the moment of a click, as far as the correction file needs it.
struct CorrectionSnapshot {
    struct Choice {
        QString caption;
        bool chosen = false;
        bool operator==(const Choice&) const = default;
    };
    struct Tick {
        QString caption;
        Qt::CheckState state = Qt::Unchecked;
        bool operator==(const Tick&) const = default;
    };

    std::array<Choice, SalutationCaptions.size()> Opt_Mr_Mrs;
    std::array<Tick, TitleFlagCount> chk_titel;
    std::array<Tick, OrganizationFlagCount> Chk_organ;
    std::array<Tick, EquipmentBoxCount> Chh_equipm;
    std::array<QString, LabelCount> label1; // captions; the file uses 1 to 10
    std::array<QString, TextSlotCount> Text1; // line breaks as CR LF
    std::array<bool, 2> Option1{};

    bool operator==(const CorrectionSnapshot&) const = default;
};

// The line that closes the file, so that text added below it is not taken for remarks.
inline constexpr char16_t CorrectionEndLine[] = u"End of the correction file";

// The whole correction file as text: every line, the last one included, ends with CR LF.
// Texts are written as they stand, with two exceptions that let the file be read back
// exactly: a line inside a text that could be taken for the line that follows the text gets
// a ">" in front, and so does a text that reads as an empty box's "..." after its ">"s.
// A reader takes one ">" off such lines again (unescaped_value).
QString correction_text(const CorrectionSnapshot& window);

// The line the file holds after a text: a whole fixed line, or the start of the next text's
// line.
struct FollowingLine {
    QString text;
    bool starts_value = false;
};

// Whether a line of the file reads as `next`. Mail programs drop the blanks that end a line,
// so a fixed line matches without them, too.
bool reads_as(const QString& line, const FollowingLine& next);

// How an empty box is written: "...", for the remarks three lines "  ...".
QString empty_box_text(int slot);

// A text as it is written before `next`, and the text back from what was written.
QString escaped_value(const QString& text, int slot, const FollowingLine& next);
QString unescaped_value(const QString& written, int slot, const FollowingLine& next);
