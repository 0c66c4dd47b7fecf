#pragma once

#include "sorted_list.h"

#include <QList>
#include <QListView>
#include <QStringList>
#include <QTest>

// What a list box shows, read back as a user sees it, and a choice made with the mouse.

inline QStringList texts(const SortedList* list) {
    QStringList result;
    for (int row = 0; row < list->count(); ++row) result << list->text(row);
    return result;
}

inline QList<int> item_data(const SortedList* list) {
    QList<int> result;
    for (int row = 0; row < list->count(); ++row) result << list->item_data(row);
    return result;
}

inline int row_of(const SortedList* list, const QString& text) {
    return int(texts(list).indexOf(text));
}

// Chooses `row` with the mouse, as a user does.
inline void click_item(SortedList* list, int row) {
    QListView* view = list->view();
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}
