#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for. Without options the program is the window as laid out.
struct CommandLine {
    bool maintain = false;          // --maintain: the maintenance buttons are shown
    std::optional<int> exit_status; // set: print `output` (help, version or error) and end
    QString output;
    bool to_stderr = false;
};

// `arguments` as QCoreApplication::arguments() gives them (the program's name first). Needs a
// QCoreApplication for the program's name in the help text.
CommandLine parse_command_line(const QStringList& arguments);
