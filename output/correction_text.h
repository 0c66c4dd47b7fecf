#pragma once

#include <QString>
#include <Qt>

#include <array>

// What the window shows at the moment of a click, as far as the correction file needs it.
struct CorrectionSnapshot {
    struct Choice {
        QString caption;
        bool chosen = false;
    };
    struct Tick {
        QString caption;
        Qt::CheckState state = Qt::Unchecked;
    };

    std::array<Choice, 3> Opt_Mr_Mrs;
    std::array<Tick, 2> chk_titel;
    std::array<Tick, 6> Chk_organ;
    std::array<Tick, 28> Chh_equipm;
    std::array<QString, 15> label1; // captions; the file uses 1 to 10
    std::array<QString, 22> Text1;  // line breaks as CR LF
    std::array<bool, 2> Option1{};
};

// The whole correction file as text: every line, the last one included, ends with CR LF.
QString correction_text(const CorrectionSnapshot& window);
