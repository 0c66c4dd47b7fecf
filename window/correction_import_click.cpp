#include "correction_import.h"
#include "frm_ZEL.h"
#include "message_box.h"
#include "window_snapshot.h"

// The entry tables, CurrentEntry and the lists stay as they are: Store takes the imported
// values in once the compiler has checked them.
void frm_ZEL::import_correction_file(const QString& path) {
    const CorrectionSnapshot before = take_snapshot(*this);
    const CorrectionImport imported = read_correction_file(path, before);
    if (!imported.window) {
        tell_failure(imported.result);
        return;
    }
    show_snapshot(*this, *imported.window);
    show_message(this, describe_import(before, *imported.window), false);
}
