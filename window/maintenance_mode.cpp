#include "desktop_folder.h"
#include "frm_ZEL.h"
#include "message_box.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace {

const QString CorrectionFilter = QStringLiteral("Correction files (*_KAV.TXT *_kav.txt)");

// The one local correction file that a drag carries, or an empty text.
QString dropped_correction_file(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().first();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    return path.endsWith(QStringLiteral("_KAV.TXT"), Qt::CaseInsensitive) ? path : QString();
}

} // namespace

void frm_ZEL::enter_maintenance_mode() {
    maintenance_ = true;
    // Shown, the buttons take their places in the focus order set up by TabIndex.
    for (QPushButton* button : maintenance_buttons_) button->setVisible(true);
    setAcceptDrops(true);
}

void frm_ZEL::closeEvent(QCloseEvent* event) {
    if (!maintenance_ || !unsaved_changes_) {
        event->accept();
        return;
    }
    const auto answer = ask(this, QStringLiteral("Save the changes to the directory before closing?"),
                            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                            QMessageBox::Save);
    if (answer == QMessageBox::Discard || (answer == QMessageBox::Save && save_directory()))
        event->accept();
    else
        event->ignore();
}

void frm_ZEL::cmd_import_Click() {
    const Result desktop = this_desktop().desktop_folder();
    const QString path =
        choose_file(this, QStringLiteral("Import a correction file"),
                    desktop.ok() ? desktop.path : QDir::homePath(), CorrectionFilter);
    if (!path.isEmpty()) import_correction_file(path);
}

void frm_ZEL::dragEnterEvent(QDragEnterEvent* event) {
    if (maintenance_ && !dropped_correction_file(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frm_ZEL::dropEvent(QDropEvent* event) {
    const QString path = dropped_correction_file(event->mimeData());
    if (!maintenance_ || path.isEmpty()) return;
    event->acceptProposedAction();
    import_correction_file(path);
}
