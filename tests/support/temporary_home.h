#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QString>
#include <QtGlobal>

// Points HOME, and with it the desktop folder and the program's settings, into a test's own
// folder; the real values come back when the test object ends, so nothing reaches the user's
// real desktop or settings.
class TemporaryHome {
  public:
    TemporaryHome() : home_(qgetenv("HOME")), config_home_(qgetenv("XDG_CONFIG_HOME")) {}
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;
    ~TemporaryHome() {
        if (home_.isNull())
            qunsetenv("HOME");
        else
            qputenv("HOME", home_);
        if (config_home_.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", config_home_);
        // QSettings reads the environment once per process, so its path is set outright.
        const QByteArray config =
            config_home_.isEmpty() ? home_ + QByteArray("/.config") : config_home_;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QFile::decodeName(config));
    }

    // A home is a folder that exists: the program makes no home, only the desktop in it.
    void use(const QString& home) {
        QDir().mkpath(home);
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/.config")));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           home + QStringLiteral("/.config"));
    }

  private:
    QByteArray home_, config_home_;
};
