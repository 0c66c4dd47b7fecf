#include "desktop_folder.h"
#include "frm_ZEL.h"
#include "import_round.h"
#include "message_box.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QScopeGuard>
#include <QPushButton>
#include <QSettings>
#include <QUrl>

namespace {

// Mail programs and browsers name a second copy "Name_KAV (1).TXT" or "Name_KAV-1.txt".
const QStringList ImportFilters = {
    QStringLiteral("Correction files (*_[Kk][Aa][Vv]*.[Tt][Xx][Tt])"),
    QStringLiteral("All files (*)")};

const QString FolderKey = QStringLiteral("import/folder");

QSettings settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zel-kav"),
                     QStringLiteral("zel-kav"));
}

// The local files a drag carries; the import refuses, with its reason, what is no correction
// file.
QStringList dropped_files(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}

} // namespace

void frm_ZEL::enter_maintenance_mode() {
    maintenance_ = true;
    // Shown, the buttons take their places in the focus order set up by TabIndex.
    for (QPushButton* button : maintenance_buttons_) button->setVisible(true);
    setAcceptDrops(true);
}

void frm_ZEL::closeEvent(QCloseEvent* event) {
    // A batch waiting on the screen ends with the window; its log names the rest as not reviewed.
    const auto end_round = qScopeGuard([this, event] {
        if (event->isAccepted() && round_) {
            round_->stop();
            round_.reset();
        }
    });
    if (exiting_) {
        event->accept();
        return;
    }
    if (!settle_changes_before_leaving()) {
        event->ignore();
        return;
    }
    if (!maintenance_ || !unsaved_changes_) {
        event->accept();
        return;
    }
    const auto answer =
        ask(this, QStringLiteral("Save the changes to the directory before closing?"),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Discard || (answer == QMessageBox::Save && save_directory()))
        event->accept();
    else
        event->ignore();
}

QString frm_ZEL::import_folder() const {
    const QString last = settings().value(FolderKey).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    const Result desktop = this_desktop().desktop_folder();
    return desktop.ok() ? desktop.path : QDir::homePath();
}

void frm_ZEL::remember_import_folder(const QString& file) {
    settings().setValue(FolderKey, QFileInfo(file).absolutePath());
}

void frm_ZEL::cmd_import_Click() {
    const QStringList paths = choose_files(this, QStringLiteral("Import correction files"),
                                           import_folder(), ImportFilters);
    if (paths.isEmpty()) return;
    remember_import_folder(paths.front());
    import_correction_files(paths);
}

void frm_ZEL::dragEnterEvent(QDragEnterEvent* event) {
    if (maintenance_ && !dropped_files(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void frm_ZEL::dropEvent(QDropEvent* event) {
    const QStringList paths = dropped_files(event->mimeData());
    if (!maintenance_ || paths.isEmpty()) return;
    event->acceptProposedAction();
    // The drag ends before the first question is asked.
    QMetaObject::invokeMethod(
        this, [this, paths] { import_correction_files(paths); }, Qt::QueuedConnection);
}
