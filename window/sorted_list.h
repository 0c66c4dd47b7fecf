#pragma once

#include "sorted_items.h"

#include <QString>
#include <QWidget>

#include <cstdint>

class QLineEdit;
class QListView;
class SortedListModel;

// A list box of items sorted by the look-up (without regard to case), each with an ItemData
// number (entry or kind number). With an edit field it is the lower box: an edit field over an
// always-open list.
class SortedList : public QWidget {
    Q_OBJECT
  public:
    explicit SortedList(bool with_edit_field, QWidget* parent = nullptr);

    void clear();
    // Replaces all items with `items`, in their order; the list keeps them, without copying.
    void set_items(LookupList items);

    int count() const;
    QString text(int row) const;
    std::int32_t item_data(int row) const;
    int list_index() const;       // the selected row, -1 when none
    void set_list_index(int row); // selects `row` as the user would, emitting chosen()

    QListView* view() const { return view_; }
    QLineEdit* edit_field() const { return edit_; }

  signals:
    // The user chose an item, with the mouse or the keyboard.
    void chosen(int row);

  private:
    SortedListModel* model_ = nullptr;
    QListView* view_ = nullptr;
    QLineEdit* edit_ = nullptr;
};
