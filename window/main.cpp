#include "entry_table.h"
#include "frm_ZEL.h"
#include "window_look.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    use_window_look();

    EntryTable table;
    frm_ZEL window(table, ".");
    if (!window.Form_Load()) return 1;
    window.show();
    return QApplication::exec();
}
