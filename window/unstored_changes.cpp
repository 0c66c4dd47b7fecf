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

void frm_ZEL::mark_entry_shown() {
    entry_shown_ = true;
    // Only maintenance mode asks, so only it pays for the copy.
    if (maintenance_) shown_ = std::make_unique<CorrectionSnapshot>(take_snapshot(*this));
}

void frm_ZEL::mark_new_entry_shown() {
    entry_shown_ = true;
    // The new row holds nothing yet: what New carried into the window is a change to store.
    if (maintenance_) shown_ = std::make_unique<CorrectionSnapshot>(emptied(take_snapshot(*this)));
}

QString frm_ZEL::held_surname() const {
    return holds_row(table, table.CurrentEntry)
               ? from_cp1252(table.text(table.CurrentEntry, SurnameSlot)).trimmed()
               : QString();
}

QString frm_ZEL::empties_warning() const {
    const QString surname = held_surname();
    return surname.isEmpty() ? QStringLiteral("This empties the entry.")
                             : QStringLiteral("This empties the entry of %1.").arg(surname);
}

bool frm_ZEL::settle_unstored_changes() {
    if (!has_unstored_changes()) return true;
    QString surname = text1(SurnameSlot).trimmed();
    if (surname.isEmpty()) surname = held_surname();
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

bool frm_ZEL::choose_entry(std::int16_t entry) {
    if (!settle_unstored_changes()) return false;
    // A file of a batch typed back to what its entry holds: the batch goes on all the same.
    if (round_ && round_->waiting()) round_file_settled(false);
    directory.choose(entry);
    show_record();
    return true;
}
