#pragma once

#include <QString>

#include <optional>

// The environment variables that tell Qt which display to use.
struct DisplayEnvironment {
    QString qpa_platform;    // QT_QPA_PLATFORM
    QString display;         // DISPLAY
    QString wayland_display; // WAYLAND_DISPLAY
};
DisplayEnvironment display_environment();

// Why the program cannot open its window in `environment`, for stderr; none when some display
// is named (whether it can be reached shows only when Qt tries).
std::optional<QString> missing_display(const DisplayEnvironment& environment);

// What the program says when Qt could not reach the display it was given; `detail` is what Qt
// said about it.
QString unreachable_display(const QString& detail);

// Until the returned guard ends, a display Qt cannot open ends the program with the message
// above and status 1 instead of Qt's abort.
class DisplayFailureGuard {
  public:
    DisplayFailureGuard();
    ~DisplayFailureGuard();
    DisplayFailureGuard(const DisplayFailureGuard&) = delete;
    DisplayFailureGuard& operator=(const DisplayFailureGuard&) = delete;
};
