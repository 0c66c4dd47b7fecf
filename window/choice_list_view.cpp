#include "choice_list_view.h"

#include <QKeyEvent>
#include <QMouseEvent>

int ChoiceListView::selected_row() const {
    const QModelIndexList rows =
        selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ChoiceListView::mousePressEvent(QMouseEvent* event) {
    // Only the left button chooses; the right one opens the list's menu.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    pressed_ = true;
    pressed_on_item_ = indexAt(event->position().toPoint()).isValid();
    selected_at_press_ = selected_row();
    QListView::mousePressEvent(event);
}

void ChoiceListView::mouseReleaseEvent(QMouseEvent* event) {
    QListView::mouseReleaseEvent(event);
    if (!pressed_ || event->buttons() != Qt::NoButton) return;
    pressed_ = false;
    // A press on an item chooses it again even when it is already highlighted, so the window
    // shows that entry again; a press beside the items chooses only if a drag moved the
    // highlight.
    const int row = selected_row();
    if (row >= 0 && (pressed_on_item_ || row != selected_at_press_)) emit chosen(row);
}

void ChoiceListView::highlight(int row) {
    if (!model() || !selectionModel()) return;
    const QModelIndex index = model()->index(row, 0);
    quiet_ = true;
    if (index.isValid()) {
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    } else {
        selectionModel()->clearSelection();
    }
    quiet_ = false;
}

void ChoiceListView::keyPressEvent(QKeyEvent* event) {
    // The Menu key and Shift+F10 open the list's menu beside the highlighted item.
    if (event->key() == Qt::Key_Menu ||
        (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        const QRect item = visualRect(currentIndex());
        emit customContextMenuRequested(item.isValid() && viewport()->rect().intersects(item)
                                            ? item.center()
                                            : QPoint(0, 0));
        event->accept();
        return;
    }
    // Return chooses the highlighted item, also the one the finder highlighted, as a click on
    // it does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        int row = selected_row();
        if (row < 0 && currentIndex().isValid()) {
            row = currentIndex().row();
            highlight(row);
        }
        if (row >= 0) emit chosen(row);
        event->accept();
        return;
    }
    in_key_ = true;
    const int before = selected_row();
    // With nothing chosen, the item that carries the focus frame is no choice either: the first
    // key chooses from the top (Down the first item, a letter the first item it begins).
    if (before < 0 && event->key() != Qt::Key_End && selectionModel()) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    QListView::keyPressEvent(event);
    in_key_ = false;
    const int after = selected_row();
    if (after >= 0 && after != before) emit chosen(after);
}

// Assistive technology selects an item without a press or a key; that selection is a choice.
void ChoiceListView::selectionChanged(const QItemSelection& selected,
                                      const QItemSelection& deselected) {
    QListView::selectionChanged(selected, deselected);
    if (pressed_ || in_key_ || quiet_ || selected.isEmpty()) return;
    const int row = selected_row();
    if (row >= 0) emit chosen(row);
}

// Nothing clears the highlight, which would leave the window showing an entry that no item
// names: not a press beside the items, nor Control with a click or the space bar.
QItemSelectionModel::SelectionFlags ChoiceListView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
    if (!index.isValid()) return QItemSelectionModel::NoUpdate;
    QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(index, event);
    if (command.testFlag(QItemSelectionModel::Deselect)) {
        command &= ~QItemSelectionModel::SelectionFlags(QItemSelectionModel::Deselect);
        command |= QItemSelectionModel::ClearAndSelect;
    }
    return command;
}
