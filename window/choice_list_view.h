#pragma once

#include <QListView>

// The view of a list box, whose highlighted item is always the user's choice: once the mouse
// is released (after a click, a drag, or a press released outside the list) or a key has moved
// the highlight, `chosen` reports the highlighted item.
class ChoiceListView : public QListView {
    Q_OBJECT
  public:
    using QListView::QListView;

  signals:
    void chosen(int row);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

  private:
    int selected_row() const;

    bool pressed_ = false;
    bool pressed_on_item_ = false;
    int selected_at_press_ = -1;
};
