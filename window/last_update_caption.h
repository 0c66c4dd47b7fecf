#pragma once

#include "entry_table.h"

#include <QLocale>
#include <QString>

// "Last update: " with `day` in the short date form of `locale`, or in the neutral form
// yyyy-mm-dd when the user has chosen no date form of their own.
QString last_update_caption(SerialDate day, const QLocale& locale = QLocale());
