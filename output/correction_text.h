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

// The whole correction file as text: every line, the last one included, ends with CR LF.
// Texts are written as they stand, line breaks and all; an empty box as empty_box_text.
QString correction_text(const CorrectionSnapshot& window);

// How an empty box is written: "...", for the remarks three lines "  ...".
QString empty_box_text(int slot);
