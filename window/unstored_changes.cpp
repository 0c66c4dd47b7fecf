#include "cp1252.h"
#include "directory.h"
#include "frm_ZEL.h"
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

bool frm_ZEL::settle_unstored_changes() {
    if (!has_unstored_changes()) return true;
    QString surname = text1(SurnameSlot).trimmed();
    if (surname.isEmpty() && holds_row(table, table.CurrentEntry))
        surname = from_cp1252(table.text(table.CurrentEntry, SurnameSlot)).trimmed();
    const QString question = surname.isEmpty()
                                 ? QStringLiteral("Store the changes to this entry?")
                                 : QStringLiteral("Store the changes to %1?").arg(surname);
    const QString answer =
        ask_among(this, question,
                  {QStringLiteral("Store"), QStringLiteral("Discard"), QStringLiteral("Cancel")});
    if (answer == QStringLiteral("Store")) return store_entry();
    return answer == QStringLiteral("Discard");
}

bool frm_ZEL::choose_entry(std::int16_t entry) {
    if (!settle_unstored_changes()) return false;
    directory.choose(entry);
    show_record();
    return true;
}
