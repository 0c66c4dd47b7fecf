#include "frm_ZEL.h"
#include "message_box.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QUrl>

namespace {

// The address as the box shows it, without the blanks around it.
QString shown_address(const QWidget* box) {
    return static_cast<const QLineEdit*>(box)->text().trimmed();
}

// Shift+F10 and the Menu key open the box's menu, as a right click does.
class MenuKeys : public QObject {
  public:
    MenuKeys(QLineEdit* box, frm_ZEL* window) : QObject(box), box_(box), window_(window) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift_f10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
        if (!shift_f10 && key->key() != Qt::Key_Menu) return false;
        window_->show_email_menu(box_->mapToGlobal(QPoint(0, box_->height())));
        return true;
    }

  private:
    QLineEdit* box_;
    frm_ZEL* window_;
};

} // namespace

void frm_ZEL::install_email_menu() {
    auto* box = static_cast<QLineEdit*>(Text1[EmailSlot]);
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box, &QWidget::customContextMenuRequested, this,
            [this, box](const QPoint& at) { show_email_menu(box->mapToGlobal(at)); });
    box->installEventFilter(new MenuKeys(box, this));
}

QMenu* frm_ZEL::show_email_menu(const QPoint& global) {
    auto* box = static_cast<QLineEdit*>(Text1[EmailSlot]);
    QMenu* menu = box->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setObjectName(QStringLiteral("email_menu"));
    QAction* first = menu->actions().value(0);
    const QString address = shown_address(box);
    auto* write = new QAction(tr("Write an e-mail"), menu);
    connect(write, &QAction::triggered, this, &frm_ZEL::write_email);
    auto* copy = new QAction(tr("Copy address"), menu);
    connect(copy, &QAction::triggered, this,
            [box] { QGuiApplication::clipboard()->setText(shown_address(box)); });
    write->setEnabled(!address.isEmpty());
    copy->setEnabled(!address.isEmpty());
    menu->insertAction(first, write);
    menu->insertAction(first, copy);
    menu->insertSeparator(first);
    menu->addSeparator();
    menu->addAction(tr("Save the shown entry as vCard\u2026"), this, &frm_ZEL::save_shown_vcard)
        ->setEnabled(entry_shown_ && table.CurrentEntry >= 1 && table.CurrentEntry <= table.EntryCount);
    menu->popup(global);
    return menu;
}

// The desktop's mail program, with the address the box shows, stored or just typed.
void frm_ZEL::write_email() {
    const QString address = shown_address(Text1[EmailSlot]);
    if (address.isEmpty()) return;
    QUrl mail;
    mail.setScheme(QStringLiteral("mailto"));
    mail.setPath(address);
    if (!QDesktopServices::openUrl(mail)) {
        show_message(this, tr("No mail program could be started for %1.").arg(address), true);
    }
}
