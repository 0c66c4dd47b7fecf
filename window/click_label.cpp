#include "click_label.h"

#include <QMouseEvent>

ClickLabel::ClickLabel(int index, QWidget* parent) : QLabel(parent), index_(index) {}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked(index_);
    QLabel::mousePressEvent(event);
}
