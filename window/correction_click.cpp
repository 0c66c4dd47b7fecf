#include "correction_file.h"
#include "desktop_folder.h"
#include "frm_ZEL.h"
#include "notice_line.h"
#include "window_snapshot.h"

#include <QAccessible>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

void frm_ZEL::cmd_corrections_Click() {
    write_corrections();
}

// Writes what the window shows, stored or not, to the desktop; the tables stay as they are.
bool frm_ZEL::write_corrections() {
    const CorrectionSnapshot window = take_snapshot(*this);
    const Result written = write_correction_file(window, this_desktop());
    if (!written.ok()) {
        tell_failure(written);
        return false;
    }
    // A reader's changes are safe in the file now; only later ones are asked about.
    if (!maintenance_) shown_ = std::make_unique<CorrectionSnapshot>(window);
    // Where the file went, said at the foot of the window, where it covers no control and
    // takes no click; the button, which has the focus after a key press, carries it too.
    const QFileInfo file(written.path);
    const QString where = tr("Correction file %1 written to the folder %2")
                              .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()));
    Notice->tell(where);
    cmd_corrections->setAccessibleDescription(where);
    QAccessibleEvent described(cmd_corrections, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&described);
    return true;
}
