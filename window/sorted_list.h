#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

class QLineEdit;
class QListView;
class SortedListModel;

// One item of a list box: its text and the number kept beside it (entry or kind number).
struct ListItem {
    QString text;
    std::int32_t ItemData = 0;
};

// A list box that keeps its items sorted without regard to case (the user's locale
// collation, equal texts in the order they were added), each with an ItemData number.
// With an edit field it is the lower box: an edit field over an always-open list.
class SortedList : public QWidget {
    Q_OBJECT
  public:
    explicit SortedList(bool with_edit_field, QWidget* parent = nullptr);

    void clear();
    // Replaces all items with `items`, sorted once; fast for tens of thousands of items.
    void set_items(std::vector<ListItem> items);

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
