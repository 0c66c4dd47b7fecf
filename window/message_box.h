#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

// Every message box and file dialog of the program goes through here, so tests can answer them
// instead of blocking on a modal dialog.
void show_message(QWidget* parent, const QString& text, bool is_error);

// A question with the given buttons; gives the button the user chose.
QMessageBox::StandardButton ask(QWidget* parent, const QString& question,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton default_button);

// The file the user chooses to open in `folder`, among those that match `filter`; empty when
// the user cancels.
QString choose_file(QWidget* parent, const QString& caption, const QString& folder,
                    const QString& filter);

// Empty hooks restore the dialogs.
using MessageHook = std::function<void(const QString& text, bool is_error)>;
void set_message_hook_for_testing(MessageHook hook);
using AnswerHook = std::function<QMessageBox::StandardButton(const QString& question)>;
void set_answer_hook_for_testing(AnswerHook hook);
using FileChoiceHook = std::function<QString(const QString& folder, const QString& filter)>;
void set_file_choice_hook_for_testing(FileChoiceHook hook);
