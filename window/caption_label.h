#pragma once

#include <QLabel>

// A caption label that reports a click with its array index: a press and a release inside the
// label, as a button clicks. Assistive tools can press it too.
class CaptionLabel : public QLabel {
    Q_OBJECT
  public:
    CaptionLabel(int index, QWidget* parent);

    // Clicks the label as the mouse would.
    void click();

  signals:
    void clicked(int index);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    int index_;
    bool pressed_ = false;
};
