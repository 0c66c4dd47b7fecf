#include "frm_ZEL.h"
#include "lookup_orders.h"

#include "entry_summary.h"
#include "lookup_items.h"
#include "sorted_items.h"
#include "sorted_list.h"
#include "text_finder.h"

#include <QFrame>
#include <QLineEdit>
#include <QShortcut>

#include <algorithm>

void frm_ZEL::install_finder() {
    typing_finder_ = std::make_unique<TypingFinder>();
    QLineEdit* finder = list1->edit_field();
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [finder] {
        finder->setFocus(Qt::ShortcutFocusReason);
        finder->selectAll();
    });
    connect(list1, &SortedList::find_everywhere, this, &frm_ZEL::find_everywhere);
    connect(list1, &SortedList::items_replaced, this, &frm_ZEL::describe_lower_box);
    connect(List2, &SortedList::items_replaced, this, [this] {
        List2->describe_items(tr("Kinds of %1").arg(QString::fromLatin1(
                                  LabelCaptions[std::size_t(std::max<int>(LookupCategory, 0))])),
                              {});
    });
    list1->clear();

    // A found list's tooltips give the text found; any other list's tell people of the same
    // surname apart by their other names and places.
    list1->set_describer([this](std::int32_t entry) {
        if (found_list_ && list1->items() == found_list_) {
            const std::vector<FoundEntry>& found = typing_finder_->found();
            const auto at = std::lower_bound(
                found.begin(), found.end(), entry,
                [](const FoundEntry& f, std::int32_t e) { return f.entry < e; });
            if (at != found.end() && at->entry == entry) return entry_summary(table, *at);
        }
        return entry_summary(table, entry);
    });
}

void frm_ZEL::describe_lower_box() {
    const LookupList& items = list1->items();
    if (!items || items->rows.empty()) return; // the finder then finds in every box
    const int count = int(items->rows.size());
    const QString number = QLocale().toString(count);
    const QString surnames =
        count == 1 ? tr("Find among 1 surname") : tr("Find among %1 surnames").arg(number);
    if (lookup_category(LookupCategory).kind == LookupKind::TwoStep) {
        const int row = List2->list_index();
        const QString kind = row >= 0 ? List2->text(row) : QString();
        list1->describe_items(kind.isEmpty() ? tr("Surnames") : tr("Surnames: %1").arg(kind),
                              surnames);
    } else if (LookupCategory == SurnameLabel) {
        list1->describe_items(tr("Surnames"), surnames);
    } else if (LookupCategory >= 0) {
        const QString caption = QString::fromLatin1(LabelCaptions[std::size_t(LookupCategory)]);
        const QString values = count == 1 ? tr("1 value") : tr("%1 values").arg(number);
        list1->describe_items(caption, tr("Find in %1: %2").arg(caption, values),
                              tr("Find among %1").arg(values));
    } else {
        // A list left over from before a reload.
        list1->describe_items(tr("Items"), tr("Find among %1 items").arg(number));
    }
}

void frm_ZEL::find_everywhere(const QString& typed) {
    const std::vector<FoundEntry>& found = typing_finder_->find(table, typed);
    found_list_ = std::make_shared<const SortedItems>(
        found.empty() ? SortedItems{}
                      : found_people(table, found, *lookup_orders_->values(SurnameLabel),
                                     list_collator()));
    // The found list replaces a direct look-up's values, which a caption click then opens
    // again rather than closing them; the kinds of a two-step look-up stay, to be chosen.
    if (lookup_category(LookupCategory).kind != LookupKind::TwoStep) {
        LookupCategory = -1;
        List2->setVisible(false);
        Frame2->setVisible(true);
    }
    QLineEdit* finder = list1->edit_field();
    if (finder->text() != typed) finder->setText(typed); // the text sought stays in view
    list1->show_found(found_list_); // the first found is highlighted, not chosen: Return chooses it
}
