#include "data_file.h"
#include "directory.h"
#include "frm_ZEL.h"
#include "last_update_caption.h"
#include "lookup_orders.h"
#include "sorted_list.h"
#include "text_finder.h"

#include "message_box.h"
#include "serial_date.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>

namespace {

QString entry_count_caption(std::int16_t count) {
    return QStringLiteral("Number of entries: ") + (count >= 0 ? QStringLiteral(" ") : QString()) +
           QString::number(count);
}

} // namespace

bool frm_ZEL::Form_Load() {
    lookup_orders_->forget();
    return Form_Load(directory.load(folder));
}

bool frm_ZEL::Form_Load(const Result& loaded, PreparedOrders prepared) {
    lookup_orders_->adopt(std::move(prepared));
    lookup_orders_->hold_background();
    if (!show_loaded_directory(loaded)) return false;
    // The window shows while the surnames are sorted: their look-up opens a frame or two
    // later, unless a click has opened another meanwhile; then the other lists follow, so
    // that they do not take the cores the start needs.
    auto* watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        if (LookupCategory == -1) label1_Click(SurnameLabel);
        lookup_orders_->release_background();
    });
    watcher->setFuture(lookup_orders_->surnames_sorted());
    return true;
}

bool frm_ZEL::Form_Load(const Result& loaded) {
    if (!show_loaded_directory(loaded)) return false;
    label1_Click(SurnameLabel);
    return true;
}

bool frm_ZEL::show_loaded_directory(const Result& loaded) {
    move(0, 0);
    if (!loaded.ok()) {
        tell_failure(loaded, QStringLiteral("The program cannot run without its directory and "
                                            "ends now."));
        return false;
    }
    LookupCategory = -1;
    entry_shown_ = false;
    list1->clear();
    List2->clear();
    // The last find's list views the texts of the table before.
    found_list_.reset();
    Label4->setText(last_update_caption(table.LastUpdate));
    Label5->setText(entry_count_caption(table.EntryCount));
    return true;
}

QString frm_ZEL::data_file_path() const {
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString((folder / DataFileName).string())))
        .absoluteFilePath();
}

bool frm_ZEL::save_directory_elsewhere() {
    const QString data_file = data_file_path();
    const QString elsewhere = QStringLiteral("Save under another name");
    const QString question =
        QStringLiteral("The data file \"%1\" has changed since this window loaded it: someone "
                       "else saved, moved or deleted it meanwhile. Saving over it would lose their "
                       "changes, so it "
                       "is left as it is.\n\nSave the directory with what you stored under "
                       "another name?")
            .arg(QDir::toNativeSeparators(data_file));
    if (ask_among(this, question, {elsewhere, QStringLiteral("Cancel")}) != elsewhere) return false;
    const CivilDate day = civil_from_serial(today());
    const QString suggested = QFileInfo(data_file).dir().filePath(
        QStringLiteral("KAV-Addresses-%1.dat")
            .arg(QDate(day.year, day.month, day.day).toString(Qt::ISODate)));
    const QString target =
        choose_save_file(this, QStringLiteral("Save the directory under another name"), suggested,
                         QStringLiteral("Directory files (*.dat);;All files (*)"));
    if (target.isEmpty()) return false;
    if (QFileInfo(target) == QFileInfo(data_file)) {
        show_message(this,
                     QStringLiteral("\"%1\" is the data file that someone else changed. Choose "
                                    "another name; nothing was saved.")
                         .arg(QDir::toNativeSeparators(target)),
                     true);
        return false;
    }
    const Result saved = directory.save_as(QFile::encodeName(target).toStdString());
    if (!saved.ok()) {
        tell_failure(saved, QStringLiteral("Nothing was saved; the program keeps running, so "
                                           "that nothing you stored is lost."));
        return false;
    }
    unsaved_changes_ = false;
    show_message(this,
                 QStringLiteral("The directory was saved as \"%1\". The data file \"%2\" is "
                                "as the other person left it.")
                     .arg(QDir::toNativeSeparators(target), QDir::toNativeSeparators(data_file)),
                 false);
    return true;
}

bool frm_ZEL::save_directory() {
    bool changed_by_others = false;
    const Result saved = directory.save(folder, changed_by_others);
    if (changed_by_others) return save_directory_elsewhere();
    if (!saved.ok()) {
        // Ending now would lose what was stored; the user can mend the cause and try again.
        tell_failure(saved, QStringLiteral("The program keeps running, so that nothing you "
                                           "stored is lost."));
        return false;
    }
    unsaved_changes_ = false;
    return true;
}

void frm_ZEL::cmd_EXIT_Click() {
    // The changes the window holds go into the directory, or not, before it is saved.
    if (!settle_unstored_changes() || !save_directory()) return;
    exiting_ = true;
    close();
    QCoreApplication::exit(0);
}
