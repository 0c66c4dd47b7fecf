#include "correction_file.h"
#include "desktop_folder.h"
#include "frm_ZEL.h"
#include "window_snapshot.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QToolTip>

// Writes what the window shows, stored or not, to the desktop; the tables stay as they are.
void frm_ZEL::cmd_corrections_Click() {
    const Result written = write_correction_file(take_snapshot(*this), this_desktop());
    if (!written.ok()) {
        tell_failure(written);
        return;
    }
    // Where the file went, said at the button for a few seconds; nothing to dismiss.
    const QFileInfo file(written.path);
    constexpr int shown_ms = 6000;
    QToolTip::showText(cmd_corrections->mapToGlobal(QPoint(cmd_corrections->width(), 0)),
                       tr("Correction file %1 written to the folder %2")
                           .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath())),
                       cmd_corrections, {}, shown_ms);
}
