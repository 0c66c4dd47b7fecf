#include "directory.h"
#include "frm_ZEL.h"
#include "lookup_orders.h"
#include "message_box.h"
#include "notice_line.h"

void frm_ZEL::undo_store() {
    if (!maintenance_) return;
    // What the screen holds would be replaced by the entry taken back.
    if (!settle_unstored_changes()) return;
    lookup_orders_->forget();
    const Directory::Undone undone = directory.undo();
    if (!undone.ok) {
        show_message(this, undone.message, false);
        return;
    }
    unsaved_changes_ = directory.modified();
    if (undone.entry > 0) {
        show_record();
        highlight_current_entry();
    } else {
        clear_all();
        entry_shown_ = false;
    }
    Notice->tell(undone.message);
}
