#pragma once

#include <QPushButton>

// A push button whose caption wraps at blanks inside the button, as captions did where the
// window was first laid out; text() stays the caption exactly as given.
class WrappedButton : public QPushButton {
    Q_OBJECT
  public:
    WrappedButton(const QString& caption, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};
