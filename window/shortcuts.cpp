#include "frm_ZEL.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
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

// A box takes the undo key for its own typing while it has typing to take back; then, and from
// anywhere else, the key takes back the last Store.
class StoreUndoKey : public QObject {
  public:
    StoreUndoKey(QObject* parent, QKeySequence key) : QObject(parent), key_(std::move(key)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) return false;
        const auto* pressed = static_cast<QKeyEvent*>(event);
        if (QKeySequence(pressed->keyCombination()) != key_) return false;
        const auto* line = qobject_cast<QLineEdit*>(watched);
        const auto* text = qobject_cast<QPlainTextEdit*>(watched);
        const bool own = (line && line->isUndoAvailable()) ||
                         (text && text->document()->isUndoAvailable());
        if (own) return false;
        event->ignore(); // the window's shortcut takes it
        return true;
    }

  private:
    QKeySequence key_;
};

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

    const QKeySequence undo = key_for(QKeySequence::Undo, Qt::CTRL | Qt::Key_Z);
    if (cmd_store)
        cmd_store->setToolTip(cmd_store->toolTip() +
                              QStringLiteral("\nTake back the last Store (%1)")
                                  .arg(undo.toString(QKeySequence::NativeText)));
    connect(new QShortcut(undo, this), &QShortcut::activated, this, &frm_ZEL::undo_store);
    auto* undo_key = new StoreUndoKey(this, undo);
    for (QWidget* box : Text1)
        if (box) box->installEventFilter(undo_key);
}
