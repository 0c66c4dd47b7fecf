#include "entry_values.h"

#include "cp1252.h"
#include "entry_fields.h"

#include <vector>

namespace {

template <std::size_t N>
void caption_ticks(std::array<CorrectionSnapshot::Tick, N>& ticks, const char* const* captions) {
    for (std::size_t i = 0; i < N; ++i) ticks[i].caption = QString::fromLatin1(captions[i]);
}

Qt::CheckState shown_state(std::int16_t flag) {
    return flag == 1 ? Qt::Checked : flag == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}

template <std::size_t N, std::size_t M>
void show_ticks(std::array<CorrectionSnapshot::Tick, N>& ticks,
                const std::array<std::int16_t, M>& flags) {
    for (std::size_t i = 0; i < N; ++i) ticks[i].state = shown_state(flags[i]);
}

// Which of the window's values are filled: one per choice, tick and text.
std::vector<bool> filled(const EntryValues& values) {
    std::vector<bool> what;
    for (const auto& choice : values.Opt_Mr_Mrs) what.push_back(choice.chosen);
    for (const auto& tick : values.chk_titel) what.push_back(tick.state == Qt::Checked);
    for (const auto& tick : values.Chk_organ) what.push_back(tick.state == Qt::Checked);
    for (const auto& tick : values.Chh_equipm) what.push_back(tick.state == Qt::Checked);
    for (const bool chosen : values.Option1) what.push_back(chosen);
    for (const QString& text : values.Text1) what.push_back(!text.trimmed().isEmpty());
    return what;
}

} // namespace

EntryValues blank_entry() {
    EntryValues values;
    for (std::size_t i = 0; i < values.Opt_Mr_Mrs.size(); ++i)
        values.Opt_Mr_Mrs[i].caption = QString::fromLatin1(SalutationCaptions[i]);
    caption_ticks(values.chk_titel, TitleCaptions.data());
    caption_ticks(values.Chk_organ, OrganizationCaptions.data());
    for (std::size_t k = 0; k < values.Chh_equipm.size(); ++k)
        values.Chh_equipm[k].caption = QString::fromLatin1(EquipmentFields[k].caption);
    for (std::size_t i = 0; i < values.label1.size(); ++i)
        values.label1[i] = QString::fromLatin1(LabelCaptions[i]);
    return values;
}

EntryValues emptied(EntryValues values) {
    for (auto& choice : values.Opt_Mr_Mrs) choice.chosen = false;
    for (auto& tick : values.chk_titel) tick.state = Qt::Unchecked;
    for (auto& tick : values.Chk_organ) tick.state = Qt::Unchecked;
    for (auto& tick : values.Chh_equipm) tick.state = Qt::Unchecked;
    for (QString& text : values.Text1) text.clear();
    values.Option1 = {};
    return values;
}

EntryValues entry_values(const EntryTable& table, int e) {
    EntryValues values = blank_entry();
    if (!holds_row(table, e)) return values;
    const auto row = std::size_t(e);
    const std::int16_t salutation = table.Salutation[row];
    if (salutation >= 0 && salutation < std::int16_t(values.Opt_Mr_Mrs.size()))
        values.Opt_Mr_Mrs[std::size_t(salutation)].chosen = true;
    show_ticks(values.chk_titel, table.TitleFlags[row]);
    show_ticks(values.Chk_organ, table.OrganizationFlags[row]);
    show_ticks(values.Chh_equipm, table.EquipmentFlags[row]);
    const std::int16_t collaboration = table.EquipmentFlags[row][CollaborationFlag];
    values.Option1 = {collaboration == 1, collaboration == 2};
    for (int s = 0; s < TextSlotCount; ++s)
        values.Text1[std::size_t(s)] = from_cp1252(table.text(e, s));
    return values;
}

QString person_of(const EntryValues& values) {
    const QString surname = values.Text1[SurnameSlot].trimmed();
    const QString first = values.Text1[FirstNamesSlot].trimmed();
    const QString name = first.isEmpty() ? surname : surname + QStringLiteral(", ") + first;
    return name.isEmpty() ? QStringLiteral("a person without a name") : name;
}

bool empties_entry(const EntryTable& table, int e, const EntryValues& values) {
    if (!holds_row(table, e)) return false;
    const bool had_surname = !from_cp1252(table.text(e, SurnameSlot)).trimmed().isEmpty();
    if (had_surname && values.Text1[SurnameSlot].trimmed().isEmpty()) return true;
    const std::vector<bool> held = filled(entry_values(table, e));
    const std::vector<bool> kept = filled(values);
    int had = 0, lost = 0;
    for (std::size_t i = 0; i < held.size(); ++i) {
        if (!held[i]) continue;
        ++had;
        if (!kept[i]) ++lost;
    }
    return had > 1 && 2 * lost > had;
}
