#include "frm_ZEL.h"

#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

namespace {

// The platform's key for `standard`, or `fallback` where the platform has none. Only a key
// with Ctrl or Alt will do: some platforms also bind Back to Backspace, which the boxes need.
QKeySequence key_for(QKeySequence::StandardKey standard, const QKeySequence& fallback) {
    for (const QKeySequence& key : QKeySequence::keyBindings(standard)) {
        if (key.count() == 1 &&
            key[0].keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
            return key;
        }
    }
    return fallback;
}

} // namespace

void frm_ZEL::install_shortcuts() {
    const struct {
        QPushButton* button;
        QKeySequence key;
        QString what;
    } keys[] = {
        {cmd_down, key_for(QKeySequence::Back, Qt::ALT | Qt::Key_Left), tr("Previous entry")},
        {cmd_up, key_for(QKeySequence::Forward, Qt::ALT | Qt::Key_Right), tr("Next entry")},
        {cmd_corrections, key_for(QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         tr("Write the correction file to the desktop")},
        {cmd_store, key_for(QKeySequence::Save, Qt::CTRL | Qt::Key_S), tr("Store the entry")},
        {cmd_new, key_for(QKeySequence::New, Qt::CTRL | Qt::Key_N), tr("New entry")},
        // No standard key clears a form; Ctrl+L clears the screen in many programs.
        {cmd_clear, QKeySequence(Qt::CTRL | Qt::Key_L), tr("Clear the window")},
        {cmd_import, key_for(QKeySequence::Open, Qt::CTRL | Qt::Key_O),
         tr("Import a correction file")},
    };
    for (const auto& [button, key, what] : keys) {
        if (!button) continue;
        button->setToolTip(
            QStringLiteral("%1 (%2)").arg(what, key.toString(QKeySequence::NativeText)));
        // A hidden button takes no key either: the maintenance keys work in maintenance mode.
        auto* shortcut = new QShortcut(key, this);
        QPushButton* const pushed = button; // a lambda may not capture a structured binding
        connect(shortcut, &QShortcut::activated, pushed, [pushed] {
            if (pushed->isVisible() && pushed->isEnabled()) pushed->click();
        });
    }

    // A box takes the key for its own typing while it has the focus; elsewhere it takes back
    // the last Store.
    const QKeySequence undo = key_for(QKeySequence::Undo, Qt::CTRL | Qt::Key_Z);
    if (cmd_store)
        cmd_store->setToolTip(cmd_store->toolTip() +
                              QStringLiteral("; %1 takes back the last Store")
                                  .arg(undo.toString(QKeySequence::NativeText)));
    connect(new QShortcut(undo, this), &QShortcut::activated, this, &frm_ZEL::undo_store);
}
