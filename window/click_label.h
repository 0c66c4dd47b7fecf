#pragma once

#include <QLabel>

// A caption label that reports a click with its array index.
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    ClickLabel(int index, QWidget* parent);
  signals:
    void clicked(int index);

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int index_;
};
