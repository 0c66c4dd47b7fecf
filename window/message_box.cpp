#include "message_box.h"

#include "frm_ZEL.h"

#include <QMessageBox>

namespace {
MessageHook& hook() {
    static MessageHook instance;
    return instance;
}
} // namespace

void show_message(QWidget* parent, const QString& text, bool is_error) {
    if (hook()) {
        hook()(text, is_error);
        return;
    }
    QMessageBox box(is_error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QStringLiteral("ZEL-KAV Directory of Ore Mineralogists"), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

void set_message_hook_for_testing(MessageHook hook_for_testing) {
    hook() = std::move(hook_for_testing);
}

void frm_ZEL::tell_failure(const Result& result, const QString& consequence) {
    if (result.ok()) return;
    show_message(this, consequence.isEmpty() ? result.message
                                             : result.message + QStringLiteral("\n\n") + consequence,
                 true);
}
