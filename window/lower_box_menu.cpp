#include "frm_ZEL.h"

#include "desktop_folder.h"
#include "email_addresses.h"
#include "entry_summary.h"
#include "message_box.h"
#include "notice_line.h"
#include "sorted_list.h"
#include "vcard.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListView>
#include <QMenu>

namespace {

// Where a vCard file is first offered: the desktop, as for correction files.
QString suggested_file(const QString& name) {
    const Result desktop = this_desktop().desktop_folder();
    return QDir(desktop.ok() ? desktop.path : QDir::homePath()).filePath(name);
}

// A file name from a surname: what a file system may not hold becomes "_".
QString file_name_of(QString name) {
    static const QString refused = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name) {
        if (refused.contains(c) || c.unicode() < 0x20) c = u'_';
    }
    name = name.simplified().left(60);
    return name.isEmpty() ? QStringLiteral("entry") : name;
}

} // namespace

void frm_ZEL::install_lower_box_menu() {
    QListView* view = list1->view();
    // A right click opens the menu and chooses nothing; a left click still chooses.
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) {
        show_lower_box_menu(view->viewport()->mapToGlobal(at));
    });
}

std::vector<std::int32_t> frm_ZEL::listed_entries() const {
    // An entry listed several times (several fields of interest) is one person.
    std::vector<char> seen(std::size_t(std::max<int>(table.EntryCount, 0)) + 1, 0);
    std::vector<std::int32_t> entries;
    for (int row = 0; row < list1->count(); ++row) {
        const std::int32_t entry = list1->item_data(row);
        if (entry < 1 || entry > table.EntryCount || seen[std::size_t(entry)]) continue;
        seen[std::size_t(entry)] = 1;
        entries.push_back(entry);
    }
    return entries;
}

QMenu* frm_ZEL::show_lower_box_menu(const QPoint& global) {
    const qsizetype people = qsizetype(listed_entries().size());
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setObjectName(QStringLiteral("lower_box_menu"));
    const QString n = QLocale().toString(people);
    QAction* copy = menu->addAction(people == 1 ? tr("Copy the e-mail address of this person")
                                                : tr("Copy the e-mail addresses of these %1 people").arg(n),
                                    this, &frm_ZEL::copy_listed_emails);
    QAction* save = menu->addAction(people == 1 ? tr("Save this person as vCard\u2026")
                                                : tr("Save these %1 people as vCard\u2026").arg(n),
                                    this, &frm_ZEL::save_listed_vcards);
    copy->setEnabled(people > 0);
    save->setEnabled(people > 0);
    menu->addSeparator();
    QAction* shown = menu->addAction(tr("Save the shown entry as vCard\u2026"), this,
                                     &frm_ZEL::save_shown_vcard);
    shown->setEnabled(entry_shown_ && table.CurrentEntry >= 1 &&
                      table.CurrentEntry <= table.EntryCount);
    menu->popup(global);
    return menu;
}

void frm_ZEL::copy_listed_emails() {
    const std::vector<std::int32_t> entries = listed_entries();
    const QString addresses = email_addresses(table, entries);
    QGuiApplication::clipboard()->setText(addresses);
    const qsizetype copied = addresses.isEmpty() ? 0 : addresses.count(QStringLiteral(", ")) + 1;
    Notice->tell(tr("The e-mail addresses of %1 of these %2 people copied, separated by commas")
                     .arg(QLocale().toString(copied), QLocale().toString(qsizetype(entries.size()))));
}

void frm_ZEL::save_listed_vcards() {
    const std::vector<std::int32_t> entries = listed_entries();
    if (entries.empty()) return;
    save_vcards(entries, tr("Save these %1 people as vCard").arg(QLocale().toString(qsizetype(entries.size()))),
                QStringLiteral("ZEL-KAV people.vcf"));
}

void frm_ZEL::save_shown_vcard() {
    if (!entry_shown_ || table.CurrentEntry < 1 || table.CurrentEntry > table.EntryCount) return;
    save_vcards({table.CurrentEntry}, tr("Save the shown entry as vCard"),
                file_name_of(entry_summary(table, table.CurrentEntry).section(u',', 0, 0)) +
                    QStringLiteral(".vcf"));
}

void frm_ZEL::save_vcards(const std::vector<std::int32_t>& entries, const QString& caption,
                          const QString& name) {
    const QString path = choose_save_file(this, caption, suggested_file(name),
                                          tr("vCard files (*.vcf *.vcard)"));
    if (path.isEmpty()) return;
    const Result written = write_vcards(table, entries, path);
    if (!written.ok()) {
        tell_failure(written);
        return;
    }
    const QFileInfo file(path);
    Notice->tell(tr("vCard file %1 written to the folder %2")
                     .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath())));
}
