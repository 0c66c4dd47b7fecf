#include "data_file.h"
#include "frm_ZEL.h"
#include "lookup_orders.h"
#include "last_update_caption.h"
#include "sorted_list.h"

#include <QCoreApplication>

namespace {

QString entry_count_caption(std::int16_t count) {
    return QStringLiteral("Number of entries: ") + (count >= 0 ? QStringLiteral(" ") : QString()) +
           QString::number(count);
}

} // namespace

bool frm_ZEL::Form_Load() {
    lookup_orders_->forget();
    return Form_Load(read_data_base(table, folder));
}

bool frm_ZEL::Form_Load(const Result& loaded) {
    move(0, 0);
    if (!loaded.ok()) {
        tell_failure(loaded, QStringLiteral("The program cannot run without its directory and "
                                            "ends now."));
        return false;
    }
    LookupCategory = -1;
    entry_shown_ = false;
    list1->clear();
    List2->clear();
    Label4->setText(last_update_caption(table.LastUpdate));
    Label5->setText(entry_count_caption(table.EntryCount));
    label1_Click(SurnameLabel);
    return true;
}

bool frm_ZEL::save_directory() {
    const Result saved = save_data_base(table, folder);
    if (!saved.ok()) {
        // Ending now would lose what was stored; the user can mend the cause and try again.
        tell_failure(saved, QStringLiteral("The program keeps running, so that nothing you "
                                           "stored is lost."));
        return false;
    }
    unsaved_changes_ = false;
    return true;
}

void frm_ZEL::cmd_EXIT_Click() {
    if (!save_directory()) return;
    exiting_ = true;
    close();
    QCoreApplication::exit(0);
}
