#include "display_check.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace {

QString how_to_run_without_a_display() {
    const QString name = QCoreApplication::applicationName();
    return QStringLiteral("On a server or in a container, run it in a virtual X server:\n"
                          "  xvfb-run -a %1\n")
        .arg(name.isEmpty() ? QStringLiteral("zel-kav") : name);
}

QString needs_a_display(const QString& why) {
    return QStringLiteral("%1: the program is a window and needs a graphical display (X11 or "
                          "Wayland); %2\n")
               .arg(QCoreApplication::applicationName(), why) +
           how_to_run_without_a_display();
}

// Qt's warnings while it looks for a display, kept to explain a failure and dropped otherwise.
QString& qt_said() {
    static QString said;
    return said;
}
QtMessageHandler previous_handler = nullptr;

void on_qt_message(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        if (!qt_said().isEmpty()) qt_said() += u'\n';
        qt_said() += message;
        return;
    }
    // Qt's fatal message is about plug-ins; a warning before it names the display.
    QString detail = message.section(u'\n', 0, 0);
    for (const QString& line : qt_said().split(u'\n')) {
        if (line.contains(QStringLiteral("display"), Qt::CaseInsensitive)) detail = line;
    }
    std::fputs(unreachable_display(detail).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    (void)context;
    std::_Exit(1);
}

} // namespace

DisplayEnvironment display_environment() {
    return {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
            qEnvironmentVariable("WAYLAND_DISPLAY")};
}

std::optional<QString> missing_display(const DisplayEnvironment& environment) {
    if (!environment.qpa_platform.trimmed().isEmpty()) return std::nullopt;
    if (!environment.display.trimmed().isEmpty()) return std::nullopt;
    if (!environment.wayland_display.trimmed().isEmpty()) return std::nullopt;
    return needs_a_display(
        QStringLiteral("none is set (DISPLAY and WAYLAND_DISPLAY are empty)."));
}

QString unreachable_display(const QString& detail) {
    return needs_a_display(QStringLiteral("none could be opened (%1).").arg(detail.trimmed()));
}

DisplayFailureGuard::DisplayFailureGuard() {
    qt_said().clear();
    previous_handler = qInstallMessageHandler(on_qt_message);
}

DisplayFailureGuard::~DisplayFailureGuard() {
    qInstallMessageHandler(previous_handler);
    // Warnings of a start that went well are still worth seeing.
    if (!qt_said().isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(qt_said()));
    qt_said().clear();
}
