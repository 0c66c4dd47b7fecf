#pragma once

#include <QListView>

// The view of a list box, whose highlighted item is the user's choice: once the mouse is
// released (after a click, a drag, or a press released outside the list), a key has moved the
// highlight, Return is pressed or assistive technology has selected an item, `chosen` reports
// the highlighted item. Only the finder highlights an item without choosing it.
class ChoiceListView : public QListView {
    Q_OBJECT
  public:
    using QListView::QListView;

    // Highlights `row` without choosing it.
    void highlight(int row);

  signals:
    void chosen(int row);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

  private:
    int selected_row() const;

    bool pressed_ = false;
    bool pressed_on_item_ = false;
    int selected_at_press_ = -1;
    bool in_key_ = false; // a key press chooses for itself once it is handled
    bool quiet_ = false;  // a highlight that is no choice
};
