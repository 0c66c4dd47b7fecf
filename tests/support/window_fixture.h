#pragma once

#include "data_file.h"
#include "directory.h"
#include "entry_table.h"
#include "file_bytes.h"
#include "frm_ZEL.h"
#include "message_box.h"
#include "table_builder.h"
#include "temporary_home.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

// A fresh working folder with a data file, a home of its own (so the desktop folder is the
// test's), the window over it, and the messages it showed instead of blocking on them.
// A test class holds one as `std::unique_ptr<WindowFixture> f`, made fresh in init() and reset
// in cleanup(), so that no test sees another's files or messages.
struct WindowFixture {
    QTemporaryDir dir;
    TemporaryHome home;
    Directory directory;
    const EntryTable& table = directory.table();
    std::unique_ptr<frm_ZEL> window;
    QStringList messages;
    QList<bool> errors;

    WindowFixture() {
        home.use(dir.filePath(QStringLiteral("home")));
        set_message_hook_for_testing([this](const QString& text, bool is_error) {
            messages << text;
            errors << is_error;
        });
    }
    ~WindowFixture() {
        window.reset();
        set_message_hook_for_testing({});
    }

    std::filesystem::path folder() const { return dir.path().toStdString(); }
    QString file_path() const { return dir.filePath(QString::fromLatin1(DataFileName)); }
    QString desktop(const QString& name = {}) const {
        return dir.filePath(QStringLiteral("home/Desktop")) + (name.isEmpty() ? "" : "/" + name);
    }

    bool write(EntryTable entries) {
        entries.TableModified = 1;
        return save_data_base(entries, folder()).ok();
    }
    QByteArray file_bytes() const { return ::file_bytes(file_path()); }

    // Makes saves fail while the data file stays the one loaded: every place of a kept version
    // is taken, the oldest by a folder that holds a file, which a save does not drop.
    bool block_saving() {
        const QString name = QString::fromLatin1(DataFileName);
        for (int v = 1; v < KeptVersions; ++v) {
            QFile version(dir.filePath(name + '.' + QString::number(v)));
            if (!version.exists() && !version.open(QIODevice::WriteOnly)) return false;
        }
        return QDir(dir.path()).mkpath(name + ".5/in the way");
    }
    bool unblock_saving() {
        return QDir(dir.filePath(QString::fromLatin1(DataFileName) + ".5")).removeRecursively();
    }

    // The window over a table built in memory, without start-up.
    void open(EntryTable entries) {
        // The old window goes before its table does.
        window.reset();
        directory.adopt(std::move(entries));
        window = std::make_unique<frm_ZEL>(directory, folder());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    // Creates the window and runs its start-up; shows it when start-up succeeds.
    bool start() {
        window.reset();
        window = std::make_unique<frm_ZEL>(directory, folder());
        if (!window->Form_Load()) return false;
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }

    // Writes `entries` as the data file and starts the window on it.
    bool start_on(EntryTable entries) {
        window.reset();
        directory.adopt(EntryTable{});
        return write(std::move(entries)) && start();
    }

    // Clicks caption `index`, which opens its look-up.
    void click_label(int index) const { QTest::mouseClick(window->label1[index], Qt::LeftButton); }

    // A control found by its object name, as the layout names it ("Text1_7", "cmd_new").
    template <typename Control = QWidget> Control* control(const QString& name) const {
        return window->findChild<Control*>(name);
    }
};
