#include "frm_ZEL.h"
#include "lookup_orders.h"

#include "entry_summary.h"
#include "sorted_items.h"
#include "sorted_list.h"
#include "text_finder.h"

#include <QFrame>
#include <QLineEdit>
#include <QShortcut>
#include <QToolTip>

#include <algorithm>

void frm_ZEL::install_finder() {
    QLineEdit* finder = list1->edit_field();
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [finder] {
        finder->setFocus(Qt::ShortcutFocusReason);
        finder->selectAll();
    });
    connect(list1, &SortedList::find_everywhere, this, &frm_ZEL::find_everywhere);

    // Items of the same surname are told apart by the entry's other names and places.
    list1->set_describer([this](std::int32_t entry) {
        int slot = -1;
        if (found_list_ && list1->items() == found_list_) {
            const auto at = std::lower_bound(
                found_.begin(), found_.end(), entry,
                [](const FoundEntry& f, std::int32_t e) { return f.entry < e; });
            if (at != found_.end() && at->entry == entry) slot = at->slot;
        }
        return entry_summary(table, entry, slot);
    });
}

void frm_ZEL::find_everywhere(const QString& typed) {
    found_ = find_in_every_text(table, typed);
    found_list_ = std::make_shared<const SortedItems>(found_surnames(
        table, found_, *lookup_orders_->values(SurnameLabel), list_collator()));
    // As after a look-up of a text category, but of none: the next caption click opens its
    // look-up rather than closing one.
    list1->set_items(found_list_);
    LookupCategory = -1;
    List2->setVisible(false);
    Frame2->setVisible(true);

    QLineEdit* finder = list1->edit_field();
    finder->setText(typed); // the text sought stays in view; it narrows nothing until edited
    if (list1->count() > 0) {
        list1->highlight(0); // highlighted, not yet chosen: Return chooses it
    } else {
        QToolTip::showText(finder->mapToGlobal(QPoint(0, finder->height())),
                           tr("No entry holds \u201c%1\u201d.").arg(typed), finder);
    }
}
