#include "frm_ZEL.h"
#include "lookup_orders.h"

#include "cp1252.h"
#include "lookup_items.h"
#include "sorted_list.h"

#include <QFrame>

void frm_ZEL::list1_Click() {
    const int row = list1->list_index();
    if (row < 0) return;
    // A list left over from before a reload must not point the window past the directory.
    const std::int32_t entry = list1->item_data(row);
    if (entry < 1 || entry > table.EntryCount) return;
    // Cancelled, the highlight goes back to the entry still shown.
    if (!choose_entry(static_cast<std::int16_t>(entry))) highlight_current_entry();
}

void frm_ZEL::highlight_current_entry() {
    // Quietly: the list must not take the highlight for another choice.
    int shown = -1;
    for (int r = 0; r < list1->count() && shown < 0; ++r) {
        if (list1->item_data(r) == table.CurrentEntry) shown = r;
    }
    list1->highlight(shown);
}

void frm_ZEL::List2_Click() {
    const int row = List2->list_index();
    if (row < 0) return;
    Frame2->setVisible(false);
    // After a close or a reload the upper box may still hold kinds of no open look-up.
    if (lookup_category(LookupCategory).kind != LookupKind::TwoStep) return;
    const auto kind_text = to_cp1252(List2->text(row));
    if (!kind_text) return;
    list1->set_items(lookup_orders_->surnames(LookupCategory, List2->item_data(row), *kind_text));
}
