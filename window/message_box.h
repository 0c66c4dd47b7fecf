#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message box of the program goes through here, so tests can answer it instead of
// blocking on a modal dialog.
void show_message(QWidget* parent, const QString& text, bool is_error);

using MessageHook = std::function<void(const QString& text, bool is_error)>;
void set_message_hook_for_testing(MessageHook hook); // an empty hook restores the dialog
