#include "control_values.h"
#include "directory.h"
#include "frm_ZEL.h"
#include "import_round.h"
#include "layout_units.h"
#include "lookup_orders.h"
#include "message_box.h"
#include "window_snapshot.h"

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
    lookup_orders_->forget();
    Directory::Added added = directory.add();
    if (added == Directory::Added::NoSpareRow) {
        show_message(this, QStringLiteral("Datenbank wird gespeichert"), false);
        bool changed_by_others = false;
        Result done = directory.save(folder, changed_by_others);
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
        // After a failed save or reload the directory stays as it was, so nothing stored is lost.
        if (done.ok()) unsaved_changes_ = false;
        if (done.ok()) done = directory.load(folder);
        if (!done.ok()) {
            tell_failure(done, QStringLiteral("No entry was added; the directory in memory is "
                                              "unchanged."));
            return false;
        }
        LookupCategory = -1;
        entry_shown_ = false;
        added = directory.add();
    }
    // The file may have grown since the start.
    if (added != Directory::Added::Added) {
        show_message(this,
                     QStringLiteral("The directory already holds %1 entries, the most that its "
                                    "data file can hold. No entry was added.")
                         .arg(MaxEntryCount),
                     true);
        return false;
    }

    set_caption_colour(label1[SurnameLabel], NewEntryColour);
    set_text1(SurnameSlot, QString());
    mark_new_entry_shown();
    return true;
}

void frm_ZEL::cmd_store_Click() {
    // Return must not empty a person's entry: then Cancel is the default.
    const QString store = QStringLiteral("Store");
    if (maintenance_ && entry_shown_ &&
        empties_entry(table, table.CurrentEntry, take_snapshot(*this)) &&
        ask_among(this, empties_warning() + QStringLiteral(" Store it all the same?"),
                  {store, QStringLiteral("Cancel")}, 1) != store)
        return;
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

    // A text the box shows cut short is the table's, untouched: its bytes go back as they
    // came, without decoding and encoding megabytes.
    Directory::TextBytes bytes;
    for (std::size_t s = 0; s < bytes.size(); ++s)
        if (shown_cut_[s] && !cut_bytes_[s].empty()) bytes[s] = cut_bytes_[s];
    lookup_orders_->forget();
    const Result stored = directory.store(take_snapshot(*this), bytes);
    if (!stored.ok()) {
        tell_failure(stored, QStringLiteral("Nothing of this entry was stored; the window still "
                                            "shows what you typed."));
        return false;
    }
    entry_stored();
    return true;
}

void frm_ZEL::entry_stored() {
    set_caption_colour(label1[SurnameLabel], StoredEntryColour);
    unsaved_changes_ = true;
    mark_entry_shown();
    if (round_ && round_->waiting()) round_file_settled(true);
}

void frm_ZEL::cmd_clear_Click() {
    clear_all();
}

void frm_ZEL::Command1_Click() {
    unchoose(Option1[0]);
    unchoose(Option1[1]);
}
