#pragma once

#include "choice_list_view.h"
#include "sorted_items.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class ListFilter;
class QLabel;
class QLineEdit;
class QListView;
class SortedListModel;

// A list box of items sorted by the look-up (without regard to case), each with an ItemData
// number (entry or kind number). With an edit field it is the lower box: an edit field over an
// always-open list. The edit field is the finder: while the list holds a look-up's items,
// typing shows only the items that hold the typed text, case and accents ignored, and the
// look-up's items stay as they were; while it lists nothing, or what a find found, typing
// finds the text in every box. The field says which it does, and how many items it shows.
class SortedList : public QWidget {
    Q_OBJECT
  public:
    explicit SortedList(bool with_edit_field, QWidget* parent = nullptr);
    ~SortedList() override;

    enum class Finding { Narrows, EveryBox };

    void clear();
    // Replaces all items with `items`, in their order; the list keeps them, without copying.
    // Empties the finder, which narrows them from now on, or finds in every box when there
    // are none. Emits items_replaced().
    void set_items(LookupList items);
    // Shows what a find in every box found; the finder keeps its text and goes on finding in
    // every box as the user types.
    void show_found(LookupList found);
    // The items last set or found, whatever the finder hides of them.
    const LookupList& items() const { return items_; }
    Finding finding() const { return finding_; }

    // What the items are, for the finder's hint and the list's name for screen readers: `what`
    // ("Surnames", "City"), and the hint shown while the finder is empty ("Find among 61
    // surnames"); `shorter` when that is too wide for the field.
    void describe_items(const QString& what, const QString& hint, const QString& shorter = {});

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

    // The count shown at the right of the finder, empty when nothing is typed.
    QString count_text() const;

  signals:
    // The user chose an item, with the mouse, the keyboard or assistive technology.
    void chosen(int row);
    // Typing while the finder finds in every box, Return in the finder when no item holds the
    // text, or Ctrl+Return: find `typed` in every text of the directory.
    void find_everywhere(const QString& typed);
    // set_items() gave the list other items.
    void items_replaced();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void typed(const QString& text);
    // The hint, the count at the right of the finder and the list's accessible name, after
    // every change of the items shown.
    void show_status();

    SortedListModel* model_ = nullptr;
    ChoiceListView* view_ = nullptr;
    QLineEdit* edit_ = nullptr;
    QLabel* count_ = nullptr;
    LookupList items_;
    std::unique_ptr<ListFilter> filter_;
    Finding finding_ = Finding::EveryBox;
    QString what_;
    QString hint_;
    QString shorter_hint_;
};
