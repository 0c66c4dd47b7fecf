#include "message_box.h"

#include "frm_ZEL.h"

#include <QFileDialog>
#include <QPushButton>

#include <algorithm>

const QString& window_title() {
    static const QString title = QStringLiteral("ZEL-KAV Directory of Ore Mineralogists");
    return title;
}

namespace {

template <typename Hook> Hook& hook() {
    static Hook instance;
    return instance;
}
} // namespace

void show_message(QWidget* parent, const QString& text, bool is_error) {
    show_message(parent, text, is_error ? QMessageBox::Critical : QMessageBox::NoIcon);
}

void show_message(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    if (hook<MessageHook>()) {
        hook<MessageHook>()(text, icon == QMessageBox::Critical);
        return;
    }
    QMessageBox box(icon, window_title(), text, QMessageBox::Ok, parent);
    box.exec();
}

QMessageBox::StandardButton ask(QWidget* parent, const QString& question,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton default_button) {
    if (hook<AnswerHook>()) return hook<AnswerHook>()(question);
    QMessageBox box(QMessageBox::Question, window_title(), question, buttons, parent);
    box.setDefaultButton(default_button);
    return QMessageBox::StandardButton(box.exec());
}

QString ask_among(QWidget* parent, const QString& question, const QStringList& answers) {
    return ask_among(parent, question, answers, 0);
}

QString ask_among(QWidget* parent, const QString& question, const QStringList& answers,
                  qsizetype default_answer) {
    if (answers.isEmpty()) return {};
    if (hook<AmongHook>()) return hook<AmongHook>()(question, answers);
    QMessageBox box(QMessageBox::Question, window_title(), question, QMessageBox::NoButton, parent);
    QList<QAbstractButton*> buttons;
    for (qsizetype i = 0; i < answers.size(); ++i) {
        // The last answer is the one that changes nothing: Escape gives it.
        const auto role = i + 1 == answers.size() && answers.size() > 1 ? QMessageBox::RejectRole
                                                                        : QMessageBox::AcceptRole;
        buttons << box.addButton(answers[i], role);
    }
    const qsizetype chosen_default = std::clamp<qsizetype>(default_answer, 0, buttons.size() - 1);
    box.setDefaultButton(static_cast<QPushButton*>(buttons[chosen_default]));
    box.setEscapeButton(buttons.back());
    box.exec();
    const qsizetype chosen = buttons.indexOf(box.clickedButton());
    return answers[chosen < 0 ? answers.size() - 1 : chosen];
}

QStringList choose_files(QWidget* parent, const QString& caption, const QString& folder,
                         const QStringList& filters) {
    if (hook<FilesChoiceHook>()) return hook<FilesChoiceHook>()(folder, filters);
    QString first = filters.value(0);
    return QFileDialog::getOpenFileNames(parent, caption, folder,
                                         filters.join(QStringLiteral(";;")), &first);
}

QString choose_save_file(QWidget* parent, const QString& caption, const QString& suggested,
                         const QString& filter) {
    if (hook<SaveFileHook>()) return hook<SaveFileHook>()(suggested);
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

void set_message_hook_for_testing(MessageHook hook_for_testing) {
    hook<MessageHook>() = std::move(hook_for_testing);
}

void set_answer_hook_for_testing(AnswerHook hook_for_testing) {
    hook<AnswerHook>() = std::move(hook_for_testing);
}

void set_among_hook_for_testing(AmongHook hook_for_testing) {
    hook<AmongHook>() = std::move(hook_for_testing);
}

void set_files_choice_hook_for_testing(FilesChoiceHook hook_for_testing) {
    hook<FilesChoiceHook>() = std::move(hook_for_testing);
}

void set_save_file_hook_for_testing(SaveFileHook hook_for_testing) {
    hook<SaveFileHook>() = std::move(hook_for_testing);
}

void frm_ZEL::tell_failure(const Result& result, const QString& consequence) {
    if (result.ok()) return;
    show_message(this,
                 consequence.isEmpty() ? result.message
                                       : result.message + QStringLiteral("\n\n") + consequence,
                 true);
}
