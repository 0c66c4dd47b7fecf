#include "directory.h"

#include "cp1252.h"
#include "entry_fields.h"

#include <algorithm>

namespace {

QString named(const EntryTable& table, std::int16_t entry) {
    const QString surname = from_cp1252(table.text(entry, SurnameSlot)).trimmed();
    return surname.isEmpty() ? QStringLiteral("entry %1").arg(entry)
                             : QStringLiteral("entry %1 (%2)").arg(entry).arg(surname);
}

} // namespace

void Directory::forget_history() {
    history_dropped_ = history_dropped_ || !history_.empty();
    history_.clear();
    added_unstored_.clear();
}

Directory::Undone Directory::undo() {
    if (history_.empty())
        return {false,
                history_dropped_
                    ? QStringLiteral("Nothing was taken back: the directory was loaded again from "
                                     "its data file since the last Store, and what that file "
                                     "holds stays.")
                    : QStringLiteral("Nothing was taken back: no entry was stored since the "
                                     "directory was loaded."),
                0};
    const Replaced& last = history_.back();
    if (!holds_row(table_, last.entry))
        return {false, QStringLiteral("Nothing was taken back: the directory no longer holds "
                                      "entry %1.").arg(last.entry), 0};
    // Taking an added entry back renumbers nothing only while it is the last one.
    if (last.added && last.entry != table_.EntryCount)
        return {false,
                QStringLiteral("Nothing was taken back: %1 was added, and entry %2 was added "
                               "after it. Only the last entry added can be taken back.")
                    .arg(named(table_, last.entry))
                    .arg(table_.EntryCount),
                0};

    const QString what = named(table_, last.entry);
    const auto e = std::size_t(last.entry);
    table_.ChangeDate[e] = last.change_date;
    table_.Salutation[e] = last.salutation;
    table_.TitleFlags[e] = last.titles;
    table_.OrganizationFlags[e] = last.organizations;
    table_.EquipmentFlags[e] = last.equipment;
    table_.set_texts(last.entry, last.texts);
    const bool saved_since = last.saves != saves_;
    // A save since the store put it into the data file: only another save takes it out.
    table_.TableModified = saved_since ? std::int16_t(1) : last.table_modified;
    QString message;
    std::int16_t shown = last.entry;
    if (last.added) {
        --table_.EntryCount;
        shown = std::min(last.shown_before, table_.EntryCount);
        message = QStringLiteral("Took back %1, which was added.").arg(what);
    } else {
        message = QStringLiteral("Took back the Store of %1.").arg(what);
    }
    if (saved_since)
        message += QStringLiteral(" The data file still holds the Store until the directory "
                                  "is saved again.");
    table_.CurrentEntry = shown;
    table_.mark_changed();
    history_.pop_back();
    return {true, message, shown};
}
