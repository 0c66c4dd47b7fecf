#pragma once

#include <QLabel>
#include <QString>
#include <QTimer>

// A line at the foot of the window that tells what just happened ("Correction file ... written
// to ..."). It lies below every control, lets every click through and goes after a while, so
// it never stands in the way; a screen reader hears it as a change of its name.
class NoticeLine : public QLabel {
    Q_OBJECT
  public:
    // `place` is the free strip of `window` it may use.
    NoticeLine(QWidget* window, QRect place);

    // Shows `text`, shortened in the middle if it is too long for the strip; the whole text
    // stays its accessible name until the notice goes.
    void tell(const QString& text);
    // The whole text of the notice now shown; empty when none is.
    QString notice() const { return accessibleName(); }

  private:
    void clear_notice();
    QTimer expiry_;
};
