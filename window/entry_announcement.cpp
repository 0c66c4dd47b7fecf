#include "cp1252.h"
#include "frm_ZEL.h"
#include "sorted_list.h"

#include <QListView>
#include <QStringList>

// Qt 6.4 has no announcement event. A change of the lower box's accessible description is sent
// to screen readers as it happens (over AT-SPI as a property change of that list), and they
// speak it while the list has the focus, which it has after a choice made there.
void frm_ZEL::announce_shown_entry() {
    QStringList parts;
    for (int s : {SurnameSlot, FirstNamesSlot, CitySlot}) {
        // A few words say who it is; a text of megabytes would only hold the reader up.
        const QString text = from_cp1252(table.text(table.CurrentEntry, s).substr(0, 200)).simplified();
        if (!text.isEmpty()) parts << text;
    }
    const QString said = tr("Shown: %1").arg(parts.join(QStringLiteral(", ")));
    QListView* view = list1->view();
    if (view->accessibleDescription() != said) view->setAccessibleDescription(said);
}
