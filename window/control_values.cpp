#include "control_values.h"

#include <QButtonGroup>
#include <QRadioButton>

FlagCheckBox::FlagCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {}

void FlagCheckBox::nextCheckState() {
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void show_flag(QCheckBox* box, std::int16_t flag) {
    if (flag == 2) {
        box->setCheckState(Qt::PartiallyChecked);
        return;
    }
    box->setCheckState(flag == 1 ? Qt::Checked : Qt::Unchecked);
    box->setTristate(false);
}

std::int16_t flag_shown(const QCheckBox* box) {
    return box->checkState() == Qt::Checked ? 1 : 0;
}

void unchoose(QRadioButton* button) {
    // An exclusive group will not let its chosen button be cleared.
    QButtonGroup* group = button->group();
    if (group) group->setExclusive(false);
    button->setChecked(false);
    if (group) group->setExclusive(true);
}
