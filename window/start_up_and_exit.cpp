#include "data_file.h"
#include "frm_ZEL.h"
#include "message_box.h"
#include "serial_date.h"
#include "sorted_list.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>

namespace {

QString last_update_caption(SerialDate day) {
    // A directory with no entries leaves the date unread.
    if (day == 0) return QStringLiteral("Last update: unknown");
    const CivilDate civil = civil_from_serial(day);
    const QDate date(civil.year, civil.month, civil.day);
    // Without a locale of the user's the neutral form fits the caption; Qt's own short form
    // for it names the month and does not.
    const QLocale locale;
    if (locale.language() == QLocale::C) {
        return QStringLiteral("Last update: ") + date.toString(Qt::ISODate);
    }
    return QStringLiteral("Last update: ") + locale.toString(date, QLocale::ShortFormat);
}

QString entry_count_caption(std::int16_t count) {
    return QStringLiteral("Number of entries: ") + (count >= 0 ? QStringLiteral(" ") : QString()) +
           QString::number(count);
}

} // namespace

bool frm_ZEL::Form_Load() {
    move(0, 0);
    lookup_orders.forget();
    const FileResult loaded = read_data_base(table, folder);
    if (!loaded.ok) {
        show_message(this,
                     QString::fromStdString(loaded.message) +
                         QStringLiteral("\n\nThe program cannot run without its directory and "
                                        "ends now."),
                     true);
        return false;
    }
    LookupCategory = -1;
    list1->clear();
    List2->clear();
    Label4->setText(last_update_caption(table.LastUpdate));
    Label5->setText(entry_count_caption(table.EntryCount));
    label1_Click(1);
    return true;
}

void frm_ZEL::cmd_EXIT_Click() {
    const FileResult saved = save_data_base(table, folder);
    if (!saved.ok) {
        // Ending now would lose what was stored; the user can mend the cause and try again.
        show_message(this,
                     QString::fromStdString(saved.message) +
                         QStringLiteral("\n\nThe program keeps running, so that nothing you "
                                        "stored is lost."),
                     true);
        return;
    }
    close();
    QCoreApplication::exit(0);
}
