#include "window_snapshot.h"

#include "control_values.h"
#include "frm_ZEL.h"

#include <QRadioButton>

namespace {

template <std::size_t N>
void take_ticks(const std::array<QCheckBox*, N>& boxes,
                std::array<CorrectionSnapshot::Tick, N>& ticks) {
    for (std::size_t i = 0; i < N; ++i) ticks[i] = {boxes[i]->text(), boxes[i]->checkState()};
}

template <std::size_t N>
void show_ticks(const std::array<QCheckBox*, N>& boxes,
                const std::array<CorrectionSnapshot::Tick, N>& ticks) {
    for (std::size_t i = 0; i < N; ++i) show_flag(boxes[i], ticks[i].state == Qt::Checked);
}

template <std::size_t N>
void show_choices(const std::array<QRadioButton*, N>& buttons, const std::array<bool, N>& chosen) {
    for (QRadioButton* button : buttons) unchoose(button);
    for (std::size_t i = 0; i < N; ++i)
        if (chosen[i]) buttons[i]->setChecked(true);
}

} // namespace

CorrectionSnapshot take_snapshot(const frm_ZEL& window) {
    CorrectionSnapshot snapshot;
    for (std::size_t i = 0; i < snapshot.Opt_Mr_Mrs.size(); ++i)
        snapshot.Opt_Mr_Mrs[i] = {window.Opt_Mr_Mrs[i]->text(), window.Opt_Mr_Mrs[i]->isChecked()};
    take_ticks(window.chk_titel, snapshot.chk_titel);
    take_ticks(window.Chk_organ, snapshot.Chk_organ);
    take_ticks(window.Chh_equipm, snapshot.Chh_equipm);
    for (std::size_t i = 0; i < snapshot.label1.size(); ++i)
        snapshot.label1[i] = window.label1[i]->text();
    for (int s = 0; s < int(snapshot.Text1.size()); ++s) snapshot.Text1[s] = window.text1(s);
    for (std::size_t i = 0; i < snapshot.Option1.size(); ++i)
        snapshot.Option1[i] = window.Option1[i]->isChecked();
    return snapshot;
}

void show_snapshot(frm_ZEL& window, const CorrectionSnapshot& snapshot) {
    std::array<bool, SalutationCaptions.size()> salutation{};
    for (std::size_t i = 0; i < salutation.size(); ++i) salutation[i] = snapshot.Opt_Mr_Mrs[i].chosen;
    show_choices(window.Opt_Mr_Mrs, salutation);
    show_ticks(window.chk_titel, snapshot.chk_titel);
    show_ticks(window.Chk_organ, snapshot.Chk_organ);
    show_ticks(window.Chh_equipm, snapshot.Chh_equipm);
    for (int s = 0; s < int(snapshot.Text1.size()); ++s) window.set_text1(s, snapshot.Text1[s]);
    show_choices(window.Option1, snapshot.Option1);
}
