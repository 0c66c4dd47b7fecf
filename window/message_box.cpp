#include "message_box.h"

#include "frm_ZEL.h"

#include <QFileDialog>

namespace {
const QString Title = QStringLiteral("ZEL-KAV Directory of Ore Mineralogists");

template <typename Hook> Hook& hook() {
    static Hook instance;
    return instance;
}
} // namespace

void show_message(QWidget* parent, const QString& text, bool is_error) {
    if (hook<MessageHook>()) {
        hook<MessageHook>()(text, is_error);
        return;
    }
    QMessageBox box(is_error ? QMessageBox::Critical : QMessageBox::NoIcon, Title, text,
                    QMessageBox::Ok, parent);
    box.exec();
}

QMessageBox::StandardButton ask(QWidget* parent, const QString& question,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton default_button) {
    if (hook<AnswerHook>()) return hook<AnswerHook>()(question);
    QMessageBox box(QMessageBox::Question, Title, question, buttons, parent);
    box.setDefaultButton(default_button);
    return QMessageBox::StandardButton(box.exec());
}

QString choose_file(QWidget* parent, const QString& caption, const QString& folder,
                    const QString& filter) {
    if (hook<FileChoiceHook>()) return hook<FileChoiceHook>()(folder, filter);
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

void set_message_hook_for_testing(MessageHook hook_for_testing) {
    hook<MessageHook>() = std::move(hook_for_testing);
}

void set_answer_hook_for_testing(AnswerHook hook_for_testing) {
    hook<AnswerHook>() = std::move(hook_for_testing);
}

void set_file_choice_hook_for_testing(FileChoiceHook hook_for_testing) {
    hook<FileChoiceHook>() = std::move(hook_for_testing);
}

void frm_ZEL::tell_failure(const Result& result, const QString& consequence) {
    if (result.ok()) return;
    show_message(this,
                 consequence.isEmpty() ? result.message
                                       : result.message + QStringLiteral("\n\n") + consequence,
                 true);
}
