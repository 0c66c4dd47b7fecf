#include "caption_label.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>

namespace {

// What a screen reader is told of a caption label: its caption, and that pressing it opens
// its look-up.
class AccessibleClickLabel : public QAccessibleWidget {
  public:
    explicit AccessibleClickLabel(ClickLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty()) text = label()->text();
        return text;
    }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << pressAction();
    }

    void doAction(const QString& name) override {
        if (name == pressAction()) {
            label()->click();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

  private:
    ClickLabel* label() const { return static_cast<ClickLabel*>(widget()); }
};

QAccessibleInterface* accessible_click_label(const QString& class_name, QObject* object) {
    if (class_name == QLatin1String("ClickLabel") && object && object->isWidgetType()) {
        return new AccessibleClickLabel(static_cast<ClickLabel*>(object));
    }
    return nullptr;
}

} // namespace

ClickLabel::ClickLabel(int index, QWidget* parent) : QLabel(parent), index_(index) {
    [[maybe_unused]] static const bool accessible = [] {
        QAccessible::installFactory(accessible_click_label);
        return true;
    }();
}

void ClickLabel::click() {
    emit clicked(index_);
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    // Some platforms deliver the second press of a double click as a press of its own.
    if (event->button() == Qt::LeftButton &&
        !event->flags().testFlag(Qt::MouseEventCreatedDoubleClick)) {
        pressed_ = true;
    }
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool clicked = event->button() == Qt::LeftButton && pressed_ &&
                         rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (clicked) click();
}

// The second press of a double click is no click of its own: a double click acts as one.
void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        event->accept();
        return;
    }
    QLabel::mouseDoubleClickEvent(event);
}
