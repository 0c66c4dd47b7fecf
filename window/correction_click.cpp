#include "correction_file.h"
#include "frm_ZEL.h"

#include <QCheckBox>
#include <QRadioButton>

namespace {

template <std::size_t N>
void take_ticks(const std::array<QCheckBox*, N>& boxes,
                std::array<CorrectionSnapshot::Tick, N>& ticks) {
    for (std::size_t i = 0; i < N; ++i) ticks[i] = {boxes[i]->text(), boxes[i]->checkState()};
}

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

} // namespace

// Writes what the window shows, stored or not, to the desktop; the tables stay as they are.
void frm_ZEL::cmd_corrections_Click() {
    tell_failure(write_correction_file(take_snapshot(*this), this_desktop()));
}
