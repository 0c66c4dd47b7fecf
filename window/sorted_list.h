#pragma once

#include "choice_list_view.h"
#include "sorted_items.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class ListFilter;
class QLineEdit;
class QListView;
class SortedListModel;

// A list box of items sorted by the look-up (without regard to case), each with an ItemData
// number (entry or kind number). With an edit field it is the lower box: an edit field over an
// always-open list. The edit field is the finder: typing there shows only the items that hold
// the typed text, case and accents ignored; the look-up's items stay as they were.
class SortedList : public QWidget {
    Q_OBJECT
  public:
    explicit SortedList(bool with_edit_field, QWidget* parent = nullptr);
    ~SortedList() override;

    void clear();
    // Replaces all items with `items`, in their order; the list keeps them, without copying.
    // Empties the finder.
    void set_items(LookupList items);
    // The items last set, whatever the finder hides of them.
    const LookupList& items() const { return items_; }

    // Shows only the items that hold `typed`, and highlights the first without choosing it;
    // all of them when `typed` is empty. What the user's typing does.
    void narrow(const QString& typed);

    // Highlights `row` of those shown without choosing it, as the finder does.
    void highlight(int row);

    // The tooltip and accessible description of an item, from its number.
    void set_describer(std::function<QString(std::int32_t)> describe);

    // What follows counts the items shown.
    int count() const;
    QString text(int row) const;
    std::int32_t item_data(int row) const;
    int list_index() const;       // the selected row, -1 when none
    void set_list_index(int row); // selects `row` as the user would, emitting chosen()

    QListView* view() const { return view_; }
    QLineEdit* edit_field() const { return edit_; }

  signals:
    // The user chose an item, with the mouse, the keyboard or assistive technology.
    void chosen(int row);
    // Return in the finder when no item holds the text, or Ctrl+Return: find `typed` in every
    // text of the directory.
    void find_everywhere(const QString& typed);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    SortedListModel* model_ = nullptr;
    ChoiceListView* view_ = nullptr;
    QLineEdit* edit_ = nullptr;
    LookupList items_;
    std::unique_ptr<ListFilter> filter_;
};
