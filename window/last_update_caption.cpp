#include "last_update_caption.h"

#include "serial_date.h"

#include <QDate>

QString last_update_caption(SerialDate day, const QLocale& locale) {
    // A directory with no entries leaves the date unread.
    if (day == 0) return QStringLiteral("Last update: unknown");
    const CivilDate civil = civil_from_serial(day);
    const QDate date(civil.year, civil.month, civil.day);
    // The date form is the user's date locale (LC_TIME), which may differ from the language.
    // Without one, Qt's short form names the month and does not fit the caption; the neutral
    // form does.
    const QLocale neutral = QLocale::c();
    if (locale.dateFormat(QLocale::ShortFormat) == neutral.dateFormat(QLocale::ShortFormat)) {
        return QStringLiteral("Last update: ") + date.toString(Qt::ISODate);
    }
    return QStringLiteral("Last update: ") + locale.toString(date, QLocale::ShortFormat);
}
