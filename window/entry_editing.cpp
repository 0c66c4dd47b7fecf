#include "control_values.h"
#include "cp1252.h"
#include "data_file.h"
#include "frm_ZEL.h"
#include "layout_units.h"
#include "lookup_orders.h"
#include "message_box.h"
#include "serial_date.h"

#include <QRadioButton>

#include <algorithm>

namespace {

constexpr std::uint32_t NewEntryColour = 0x0000FF;    // red
constexpr std::uint32_t StoredEntryColour = 0xFF0000; // blue

void set_caption_colour(QLabel* label, std::uint32_t bbggrr) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color_from_bbggrr(bbggrr));
    label->setPalette(palette);
}

} // namespace

void frm_ZEL::cmd_up_Click() {
    const int next = table.CurrentEntry + 1;
    choose_entry(std::int16_t(std::min<int>(next, table.EntryCount)));
}

void frm_ZEL::cmd_down_Click() {
    const int previous = table.CurrentEntry - 1;
    choose_entry(std::int16_t(std::max(previous, 1)));
}

void frm_ZEL::cmd_new_Click() {
    add_entry();
}

bool frm_ZEL::add_entry() {
    if (!settle_unstored_changes()) return false;
    lookup_orders_->forget();
    const auto refuse_full_directory = [this] {
        show_message(this,
                     QStringLiteral("The directory already holds %1 entries, the most that its "
                                    "data file can hold. No entry was added.")
                         .arg(MaxEntryCount),
                     true);
    };
    if (table.EntryCount >= MaxEntryCount) {
        refuse_full_directory();
        return false;
    }

    if (table.EntryCount >= table.TableCapacity) {
        show_message(this, QStringLiteral("Datenbank wird gespeichert"), false);
        bool changed_by_others = false;
        Result done = save_data_base(table, folder, changed_by_others);
        // Loading again would take in what someone else saved and drop what was stored here;
        // it can only go to another file, and no entry is added.
        if (changed_by_others) {
            save_directory_elsewhere();
            show_message(this,
                         QStringLiteral("No entry was added: the directory in memory is full, "
                                        "and its data file was changed by someone else."),
                         true);
            return false;
        }
        // After a failed save or reload the table stays as it was, so nothing stored is lost.
        const QString unchanged =
            QStringLiteral("No entry was added; the directory in memory is unchanged.");
        if (done.ok()) unsaved_changes_ = false;
        if (done.ok()) done = read_data_base(table, folder);
        if (!done.ok()) {
            tell_failure(done, unchanged);
            return false;
        }
        LookupCategory = -1;
        entry_shown_ = false;
        // The file may have grown since the start.
        if (table.EntryCount >= MaxEntryCount) {
            refuse_full_directory();
            return false;
        }
    }

    set_caption_colour(label1[SurnameLabel], NewEntryColour);
    set_text1(SurnameSlot, QString());
    ++table.EntryCount;
    table.CurrentEntry = table.EntryCount;
    mark_entry_shown();
    return true;
}

void frm_ZEL::cmd_store_Click() {
    store_entry();
}

bool frm_ZEL::store_entry() {
    if (!holds_row(table, table.CurrentEntry)) return false;
    // Without an entry on the screen, CurrentEntry names one the compiler never saw.
    if (maintenance_ && !entry_shown_) {
        show_message(this,
                     QStringLiteral("No entry is shown, so there is none to store into. Choose "
                                    "an entry in the list, or click New to add one; nothing was "
                                    "stored."),
                     true);
        return false;
    }

    // Every text is checked before anything is written, so a refusal stores nothing.
    std::array<std::string, TextSlotCount> texts;
    for (int s = 0; s < TextSlotCount; ++s) {
        // A text the box shows cut short is the table's, untouched: its bytes go back as they
        // came, without decoding and encoding megabytes.
        if (shown_cut_[std::size_t(s)] && !cut_bytes_[std::size_t(s)].empty()) {
            texts[std::size_t(s)] = cut_bytes_[std::size_t(s)];
            continue;
        }
        const QString text = text1(s);
        std::optional<std::string> bytes = text.contains(u'"') ? std::nullopt : to_cp1252(text);
        if (!bytes) {
            const qsizetype bad = first_unstorable(text);
            const QString what = bad < 0
                                     ? QStringLiteral("a character")
                                     : QStringLiteral("the character ") + character_name(text, bad);
            tell_failure(
                Result::failure(QStringLiteral("The box \"%1\" holds %2, which the data file "
                                               "cannot hold.")
                                    .arg(QString::fromStdString(text_slot_caption(s)), what)),
                QStringLiteral("Nothing of this entry was stored; the window still "
                               "shows what you typed."));
            return false;
        }
        texts[std::size_t(s)] = std::move(*bytes);
    }

    lookup_orders_->forget();
    const auto e = std::size_t(table.CurrentEntry);
    table.ChangeDate[e] = today();
    table.Salutation[e] = -1;
    for (std::size_t i = 0; i < Opt_Mr_Mrs.size(); ++i) {
        if (Opt_Mr_Mrs[i]->isChecked()) table.Salutation[e] = std::int16_t(i);
    }
    for (std::size_t t = 0; t < chk_titel.size(); ++t) {
        table.TitleFlags[e][t] = flag_shown(chk_titel[t]);
    }
    for (std::size_t k = 0; k < Chk_organ.size(); ++k) {
        table.OrganizationFlags[e][k] = flag_shown(Chk_organ[k]);
    }
    for (std::size_t k = 0; k < Chh_equipm.size(); ++k) {
        table.EquipmentFlags[e][k] = flag_shown(Chh_equipm[k]);
    }
    std::int16_t collaboration = 0;
    if (Option1[0]->isChecked()) collaboration = 1;
    if (Option1[1]->isChecked()) collaboration = 2;
    table.EquipmentFlags[e][CollaborationFlag] = collaboration;
    table.mark_changed();
    table.set_texts(int(e), texts);

    set_caption_colour(label1[SurnameLabel], StoredEntryColour);
    table.TableModified = 1;
    unsaved_changes_ = true;
    mark_entry_shown();
    return true;
}

void frm_ZEL::cmd_clear_Click() {
    clear_all();
}

void frm_ZEL::Command1_Click() {
    unchoose(Option1[0]);
    unchoose(Option1[1]);
}
