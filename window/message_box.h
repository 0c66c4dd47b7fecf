#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Every message box and file dialog of the program goes through here, so tests can answer them
// instead of blocking on a modal dialog.

// The title every dialog of the window carries.
const QString& window_title();

void show_message(QWidget* parent, const QString& text, bool is_error);
// The same with `icon`, as for a summary that tells of no failure (Information).
void show_message(QWidget* parent, const QString& text, QMessageBox::Icon icon);

// A question with the given buttons; gives the button the user chose.
QMessageBox::StandardButton ask(QWidget* parent, const QString& question,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton default_button);

// A question with answers of the program's own words; the first is the default (Return) and
// Escape gives the last, which must be the one that changes nothing. Gives the answer chosen.
QString ask_among(QWidget* parent, const QString& question, const QStringList& answers);
// The same with answer `default_answer` as the default, where the first would lose something.
QString ask_among(QWidget* parent, const QString& question, const QStringList& answers,
                  qsizetype default_answer);

// The files the user chooses to open in `folder` (several at once), among those that match one
// of `filters` (the first is preselected); empty when the user cancels.
QStringList choose_files(QWidget* parent, const QString& caption, const QString& folder,
                         const QStringList& filters);

// The file the user chooses to save to, starting at `suggested` (a folder and a name); empty
// when the user cancels.
QString choose_save_file(QWidget* parent, const QString& caption, const QString& suggested,
                         const QString& filter);

// Empty hooks restore the dialogs.
using MessageHook = std::function<void(const QString& text, bool is_error)>;
void set_message_hook_for_testing(MessageHook hook);
using AnswerHook = std::function<QMessageBox::StandardButton(const QString& question)>;
void set_answer_hook_for_testing(AnswerHook hook);
using AmongHook = std::function<QString(const QString& question, const QStringList& answers)>;
void set_among_hook_for_testing(AmongHook hook);
using FilesChoiceHook =
    std::function<QStringList(const QString& folder, const QStringList& filters)>;
void set_files_choice_hook_for_testing(FilesChoiceHook hook);
using SaveFileHook = std::function<QString(const QString& suggested)>;
void set_save_file_hook_for_testing(SaveFileHook hook);
