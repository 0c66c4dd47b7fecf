#pragma once

#include "data_file.h"
#include "entry_table.h"
#include "frm_ZEL.h"
#include "message_box.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

// A directory of `count` entries as a load leaves it, entry e holding the surname "Name e".
inline EntryTable directory_of(int count) {
    EntryTable table = empty_directory(std::int16_t(count));
    for (int e = 1; e <= count; ++e) {
        table.TextSlots[std::size_t(e)][1] = "Name " + std::to_string(e);
    }
    return table;
}

// A fresh folder with a data file, the window over it, and the messages it showed.
struct WindowFixture {
    QTemporaryDir dir;
    EntryTable table;
    std::unique_ptr<frm_ZEL> window;
    QStringList messages;
    QList<bool> errors;

    WindowFixture() {
        set_message_hook_for_testing([this](const QString& text, bool is_error) {
            messages << text;
            errors << is_error;
        });
    }
    ~WindowFixture() { set_message_hook_for_testing({}); }

    std::filesystem::path folder() const { return dir.path().toStdString(); }
    QString file_path() const { return dir.filePath(QString::fromLatin1(DataFileName)); }

    bool write(EntryTable directory) {
        directory.TableModified = 1;
        return save_data_base(directory, folder()).ok;
    }
    QByteArray file_bytes() const {
        QFile file(file_path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The window over a table built in memory, without start-up.
    void open(EntryTable directory) {
        table = std::move(directory);
        window = std::make_unique<frm_ZEL>(table, folder());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    // Creates the window and runs its start-up; shows it when start-up succeeds.
    bool start() {
        window = std::make_unique<frm_ZEL>(table, folder());
        if (!window->Form_Load()) return false;
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
};
