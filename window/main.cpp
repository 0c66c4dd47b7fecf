#include "entry_table.h"
#include "frm_ZEL.h"
#include "window_look.h"

#include <QApplication>

int main(int, char* argv[]) {
    // The program takes no arguments; Qt sees none of them either (no -style, -platform ...).
    int qt_argc = 1;
    QApplication application(qt_argc, argv);
    use_window_look();

    EntryTable table;
    frm_ZEL window(table, ".");
    if (!window.Form_Load()) return 1;
    window.show();
    return QApplication::exec();
}
