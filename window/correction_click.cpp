#include "correction_file.h"
#include "desktop_folder.h"
#include "frm_ZEL.h"
#include "window_snapshot.h"

// Writes what the window shows, stored or not, to the desktop; the tables stay as they are.
void frm_ZEL::cmd_corrections_Click() {
    tell_failure(write_correction_file(take_snapshot(*this), this_desktop()));
}
