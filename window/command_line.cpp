#include "command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {
// An argument pasted by mistake may be a whole file: the message quotes its beginning.
QString readable(const QString& argument) {
    constexpr qsizetype Limit = 60;
    return argument.size() <= Limit ? argument : argument.left(Limit) + QStringLiteral("\u2026");
}
} // namespace

CommandLine parse_command_line(const QStringList& arguments) {
    QCommandLineParser parser;
    // "-platform" is one unknown option, not eight unknown letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("ZEL-KAV Directory of Ore Mineralogists: shows the directory in the file "
                       "KAV-Addresses.dat of the working folder."));
    // Not addHelpOption(): its --help-all lists Qt's own options, which the program does not take.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption maintain(
        QStringLiteral("maintain"),
        QStringLiteral("Show the buttons that maintain the directory (New, Store, Clear, EXIT, "
                       "e-mail, Import), and ask before closing with stored entries unsaved."));
    parser.addOption(maintain);

    CommandLine result;
    // Usage errors end with status 2, as command-line tools do.
    const auto refuse = [&](const QString& what) {
        result.exit_status = 2;
        result.to_stderr = true;
        result.output = QStringLiteral("%1: %2\nTry '%1 --help' for the options.\n")
                            .arg(QCoreApplication::applicationName(), what);
        return result;
    };
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        return refuse(unknown.isEmpty()
                          ? readable(parser.errorText())
                          : QStringLiteral("Unknown option '%1'.").arg(readable(unknown.first())));
    }
    if (parser.isSet(help)) {
        result.exit_status = 0;
        result.output = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.exit_status = 0;
        result.output = QCoreApplication::applicationName() + u' ' +
                        QCoreApplication::applicationVersion() + u'\n';
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("unexpected argument \"%1\"; the program reads no files "
                                     "named on its command line.")
                          .arg(readable(parser.positionalArguments().first())));
    result.maintain = parser.isSet(maintain);
    return result;
}
