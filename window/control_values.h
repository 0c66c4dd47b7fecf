#pragma once

#include <QCheckBox>

class QRadioButton;

#include <cstdint>

// A check box that shows a stored flag: 0 clear, 1 ticked, 2 greyed. Any other value cannot be
// shown and leaves the box clear; the table keeps it until the entry is stored again.
class FlagCheckBox : public QCheckBox {
    Q_OBJECT
  public:
    FlagCheckBox(const QString& caption, QWidget* parent);

  protected:
    // The user's clicks toggle between clear and ticked only, a greyed box included.
    void nextCheckState() override;
};

void show_flag(QCheckBox* box, std::int16_t flag);
// Only a tick counts: a clear or greyed box gives 0.
std::int16_t flag_shown(const QCheckBox* box);

// Leaves `button` unchosen, which the user cannot do with a click in a group of option buttons.
void unchoose(QRadioButton* button);
