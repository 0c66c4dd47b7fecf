#include "caption_label.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>

namespace {

// What a screen reader is told of a caption label: its caption, and that pressing it opens
// its look-up.
class AccessibleCaptionLabel : public QAccessibleWidget {
  public:
    explicit AccessibleCaptionLabel(CaptionLabel* label)
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
    CaptionLabel* label() const { return static_cast<CaptionLabel*>(widget()); }
};

QAccessibleInterface* accessible_caption_label(const QString& class_name, QObject* object) {
    if (class_name == QLatin1String("CaptionLabel") && object && object->isWidgetType()) {
        return new AccessibleCaptionLabel(static_cast<CaptionLabel*>(object));
    }
    return nullptr;
}

} // namespace

CaptionLabel::CaptionLabel(int index, QWidget* parent) : QLabel(parent), index_(index) {
    [[maybe_unused]] static const bool accessible = [] {
        QAccessible::installFactory(accessible_caption_label);
        return true;
    }();
}

void CaptionLabel::click() {
    emit clicked(index_);
}

void CaptionLabel::mousePressEvent(QMouseEvent* event) {
    // Some platforms deliver the second press of a double click as a press of its own.
    if (event->button() == Qt::LeftButton &&
        !event->flags().testFlag(Qt::MouseEventCreatedDoubleClick)) {
        pressed_ = true;
    }
    QLabel::mousePressEvent(event);
}

void CaptionLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool clicked = event->button() == Qt::LeftButton && pressed_ &&
                         rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (clicked) click();
}

// The second press of a double click is no click of its own: a double click acts as one.
void CaptionLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        event->accept();
        return;
    }
    QLabel::mouseDoubleClickEvent(event);
}
