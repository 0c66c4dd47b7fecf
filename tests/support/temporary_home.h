#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QString>
#include <QtGlobal>

// Points HOME, and with it the desktop folder, the program's settings and its round logs, into
// a test's own folder; the real values come back when the test object ends, so nothing reaches
// the user's real desktop, settings or logs.
class TemporaryHome {
  public:
    TemporaryHome()
        : home_(qgetenv("HOME")), config_home_(qgetenv("XDG_CONFIG_HOME")),
          data_home_(qgetenv("XDG_DATA_HOME")) {}
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
        if (data_home_.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", data_home_);
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
        // The logs of import rounds.
        qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/.local/share")));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           home + QStringLiteral("/.config"));
    }

  private:
    QByteArray home_, config_home_, data_home_;
};
