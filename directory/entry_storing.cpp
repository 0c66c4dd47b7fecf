#include "directory.h"

#include "cp1252.h"
#include "entry_fields.h"
#include "serial_date.h"

#include <algorithm>

namespace {

template <std::size_t N, std::size_t M>
void store_ticks(const std::array<CorrectionSnapshot::Tick, N>& ticks,
                 std::array<std::int16_t, M>& flags) {
    static_assert(N <= M);
    for (std::size_t i = 0; i < N; ++i) flags[i] = ticks[i].state == Qt::Checked ? 1 : 0;
}

} // namespace

Result Directory::store(const EntryValues& values, const TextBytes& bytes) {
    if (!holds_row(table_, table_.CurrentEntry))
        return Result::failure(QStringLiteral("No entry is shown, so there is none to store "
                                              "into; nothing was stored."));
    RowTexts texts;
    for (int s = 0; s < TextSlotCount; ++s) {
        const auto slot = std::size_t(s);
        if (bytes[slot]) {
            texts[slot] = *bytes[slot];
            continue;
        }
        const QString& text = values.Text1[slot];
        std::optional<std::string> encoded =
            text.contains(u'"') ? std::nullopt : to_cp1252(text);
        if (!encoded) {
            const qsizetype bad = first_unstorable(text);
            const QString what = bad < 0
                                     ? QStringLiteral("a character")
                                     : QStringLiteral("the character ") + character_name(text, bad);
            return Result::failure(QStringLiteral("The box \"%1\" holds %2, which the data file "
                                                  "cannot hold.")
                                       .arg(QString::fromStdString(text_slot_caption(s)), what));
        }
        texts[slot] = std::move(*encoded);
    }

    const auto e = std::size_t(table_.CurrentEntry);
    Replaced replaced{table_.CurrentEntry, table_.ChangeDate[e], table_.Salutation[e],
                      table_.TitleFlags[e], table_.OrganizationFlags[e], table_.EquipmentFlags[e],
                      table_.texts(int(e)), table_.TableModified, saves_};
    const auto fresh = std::find_if(added_unstored_.begin(), added_unstored_.end(),
                                    [&](const AddedRow& a) { return a.entry == replaced.entry; });
    if (fresh != added_unstored_.end()) {
        replaced.added = true;
        replaced.shown_before = fresh->shown_before;
        added_unstored_.erase(fresh);
    }
    history_.push_back(std::move(replaced));

    table_.ChangeDate[e] = today();
    table_.Salutation[e] = -1;
    for (std::size_t i = 0; i < values.Opt_Mr_Mrs.size(); ++i)
        if (values.Opt_Mr_Mrs[i].chosen) table_.Salutation[e] = std::int16_t(i);
    store_ticks(values.chk_titel, table_.TitleFlags[e]);
    store_ticks(values.Chk_organ, table_.OrganizationFlags[e]);
    store_ticks(values.Chh_equipm, table_.EquipmentFlags[e]);
    table_.EquipmentFlags[e][CollaborationFlag] =
        values.Option1[1] ? 2 : values.Option1[0] ? 1 : 0;
    table_.set_texts(int(e), texts);
    table_.TableModified = 1;
    table_.mark_changed();
    return Result::success();
}

Directory::Added Directory::add() {
    if (table_.EntryCount >= MaxEntryCount) return Added::Full;
    if (table_.EntryCount >= table_.TableCapacity) return Added::NoSpareRow;
    added_unstored_.push_back({std::int16_t(table_.EntryCount + 1), table_.CurrentEntry});
    ++table_.EntryCount;
    table_.CurrentEntry = table_.EntryCount;
    table_.mark_changed();
    return Added::Added;
}
