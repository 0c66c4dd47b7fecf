#include "cp1252.h"
#include "directory.h"
#include "entry_values.h"
#include "frm_ZEL.h"
#include "import_round.h"
#include "message_box.h"
#include "window_snapshot.h"

bool frm_ZEL::has_unstored_changes() const {
    return maintenance_ && entry_shown_ && shown_ && take_snapshot(*this) != *shown_;
}

bool frm_ZEL::has_unwritten_corrections() const {
    if (maintenance_) return false;
    // Before any entry is chosen the window shows empty boxes, and what a reader types into
    // them is a correction too.
    return take_snapshot(*this) != (shown_ ? *shown_ : blank_entry());
}

void frm_ZEL::mark_entry_shown() {
    entry_shown_ = true;
    shown_ = std::make_unique<CorrectionSnapshot>(take_snapshot(*this));
}

void frm_ZEL::mark_new_entry_shown() {
    entry_shown_ = true;
    // The new row holds nothing yet: what New carried into the window is a change to store.
    const CorrectionSnapshot window = take_snapshot(*this);
    shown_ = std::make_unique<CorrectionSnapshot>(maintenance_ ? emptied(window) : window);
}

QString frm_ZEL::held_surname() const {
    return holds_row(table, table.CurrentEntry)
               ? from_cp1252(table.text(table.CurrentEntry, SurnameSlot)).trimmed()
               : QString();
}

QString frm_ZEL::asked_surname() const {
    const QString shown = text1(SurnameSlot).trimmed();
    return shown.isEmpty() && entry_shown_ ? held_surname() : shown;
}

QString frm_ZEL::empties_warning() const {
    const QString surname = held_surname();
    return surname.isEmpty() ? QStringLiteral("This empties the entry.")
                             : QStringLiteral("This empties the entry of %1.").arg(surname);
}

bool frm_ZEL::settle_changes_before_leaving() {
    return maintenance_ ? settle_unstored_changes() : settle_unwritten_corrections();
}

bool frm_ZEL::settle_unstored_changes() {
    if (!has_unstored_changes()) return true;
    const QString surname = asked_surname();
    QString question = surname.isEmpty()
                           ? QStringLiteral("Store the changes to this entry?")
                           : QStringLiteral("Store the changes to %1?").arg(surname);
    const QStringList answers{QStringLiteral("Store"), QStringLiteral("Discard"),
                              QStringLiteral("Cancel")};
    // Return must not empty a person's entry: then Cancel is the default.
    const bool empties = empties_entry(table, table.CurrentEntry, take_snapshot(*this));
    if (empties) question += u' ' + empties_warning();
    const QString answer = ask_among(this, question, answers, empties ? 2 : 0);
    if (answer == QStringLiteral("Store")) return store_entry();
    if (answer != QStringLiteral("Discard")) return false;
    if (round_ && round_->waiting()) round_file_settled(false);
    return true;
}

// A reader's typing would otherwise go without a trace: the only place it can go is a
// correction file.
bool frm_ZEL::settle_unwritten_corrections() {
    if (!has_unwritten_corrections()) return true;
    const QString surname = asked_surname();
    const QString question =
        surname.isEmpty()
            ? QStringLiteral("Write a correction file with your changes?")
            : QStringLiteral("Write a correction file with your changes to %1?").arg(surname);
    const QString answer =
        ask_among(this, question,
                  {QStringLiteral("Write"), QStringLiteral("Discard"), QStringLiteral("Cancel")});
    if (answer == QStringLiteral("Write")) return write_corrections();
    return answer == QStringLiteral("Discard");
}

bool frm_ZEL::choose_entry(std::int16_t entry) {
    if (!settle_changes_before_leaving()) return false;
    // A file of a batch typed back to what its entry holds: the batch goes on all the same.
    if (round_ && round_->waiting()) round_file_settled(false);
    directory.choose(entry);
    show_record();
    return true;
}
