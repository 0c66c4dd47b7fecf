#include "command_line.h"
#include "directory_loading.h"
#include "earlier_cache_removal.h"
#include "held_background.h"
#include "last_update_caption.h"
#include "serial_date.h"
#include "sorted_list.h"
#include "test_registry.h"
#include "window_fixture.h"

#include <QDir>
#include <QLocale>
#include <QRadioButton>
#include <QTemporaryDir>

#include <future>

// Start-up on small files, and the two ways the program ends.
class StartUpTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> f;
    const SerialDate may_14_2003 = serial_from_civil({2003, 5, 14});
    const SerialDate june_1_2004 = serial_from_civil({2004, 6, 1});

    // Replaces the data file with a folder of its name, so that no save can replace it.
    void block_saving() { QVERIFY(f->block_saving()); }

  private slots:
    void init() {
        f = std::make_unique<WindowFixture>();
        set_today_for_testing(may_14_2003);
    }
    void cleanup() {
        f.reset();
        set_today_for_testing(std::nullopt);
        QLocale::setDefault(QLocale::c());
    }

    void empty_directory() {
        QFile file(f->file_path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("0\r\n#2003-05-14#\r\n");
        file.close();
        QVERIFY(f->start());
        QCOMPARE(f->window->Label5->text(), QStringLiteral("Number of entries:  0"));
        // The count of 0 leaves the date unread.
        QCOMPARE(f->window->Label4->text(), QStringLiteral("Last update: unknown"));
        QCOMPARE(f->window->list1->count(), 0);
        QCOMPARE(f->window->lookup_category_for_testing(), std::int16_t(1));
    }

    void status_captions_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("last_update");
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany)
                                << QStringLiteral("Last update: 14.05.03");
        QTest::newRow("American") << QLocale(QLocale::English, QLocale::UnitedStates)
                                  << QStringLiteral("Last update: 5/14/03");
        QTest::newRow("no locale of the user's")
            << QLocale::c() << QStringLiteral("Last update: 2003-05-14");
    }
    void status_captions() {
        QFETCH(QLocale, locale);
        QFETCH(QString, last_update);
        QLocale::setDefault(locale);
        QVERIFY(f->write(named_entries(57)));
        QVERIFY(f->start());
        QCOMPARE(f->window->Label4->text(), last_update);
        QCOMPARE(f->window->Label5->text(), QStringLiteral("Number of entries:  57"));
    }

    // ctest runs this with the language C, once with German dates (LC_TIME) and once without.
    void last_update_follows_the_date_locale() {
        const QString dates = qEnvironmentVariable("LC_TIME");
        if (!qEnvironmentVariable("LANG").startsWith("C") ||
            !qEnvironmentVariableIsEmpty("LC_ALL") || !(dates.isEmpty() || dates == "de_DE.UTF-8"))
            QSKIP("needs LANG=C, no LC_ALL, and LC_TIME=de_DE.UTF-8 or none");
        QCOMPARE(last_update_caption(may_14_2003, QLocale::system()),
                 dates.isEmpty() ? "Last update: 2003-05-14" : "Last update: 14.05.03");
    }

    void opens_the_surname_look_up_and_shows_no_entry() {
        QVERIFY(f->write(named_entries(57)));
        QVERIFY(f->start());
        QCOMPARE(f->window->lookup_category_for_testing(), std::int16_t(1));
        QCOMPARE(f->window->list1->count(), 57);
        QVERIFY(f->window->Frame2->isVisible());
        QVERIFY(!f->window->List2->isVisible());
        QCOMPARE(f->table.CurrentEntry, std::int16_t(1));
        QCOMPARE(f->window->text1(SurnameSlot), QString());
        for (QRadioButton* button : f->window->Opt_Mr_Mrs) QVERIFY(!button->isChecked());
        QVERIFY(f->messages.isEmpty());
    }

    void a_file_that_cannot_be_loaded_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << QByteArray() << QString();
        QTest::newRow("too short")
            << QByteArray("2\r\n#2003-05-14#\r\n#2003-05-12#,1,0,") << QStringLiteral("entry 1");
        QTest::newRow("too many entries")
            << QByteArray("32758\r\n#2003-05-14#\r\n") << QStringLiteral("line 1");
    }
    void a_file_that_cannot_be_loaded() {
        QFETCH(QByteArray, content);
        QFETCH(QString, says);
        if (!content.isEmpty()) {
            QFile file(f->file_path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QVERIFY(!f->start());
        QVERIFY(!f->window->isVisible());
        QCOMPARE(f->messages.size(), 1);
        QVERIFY(f->errors.first());
        QVERIFY2(f->messages.first().contains(QDir(f->dir.path()).absolutePath()),
                 qPrintable(f->messages.first()));
        QVERIFY2(f->messages.first().contains(says), qPrintable(f->messages.first()));
    }

    void exit_without_store_leaves_the_file_alone() {
        QVERIFY(f->write(named_entries(3)));
        const QByteArray before = f->file_bytes();
        QVERIFY(f->start());
        set_today_for_testing(june_1_2004);
        f->window->cmd_EXIT_Click();
        QVERIFY(!f->window->isVisible());
        QCOMPARE(f->file_bytes(), before);
    }

    void exit_after_store_saves_with_todays_date() {
        QVERIFY(f->write(named_entries(3)));
        QVERIFY(f->start());
        const QString last_update = f->window->Label4->text();
        set_today_for_testing(june_1_2004);
        f->window->cmd_store_Click();
        f->window->cmd_EXIT_Click();
        QVERIFY(!f->window->isVisible());
        QVERIFY(f->file_bytes().startsWith("3\r\n#2004-06-01#\r\n#2004-06-01#,-1,"));
        QCOMPARE(f->window->Label4->text(), last_update);
    }

    void closing_the_window_saves_nothing() {
        QVERIFY(f->write(named_entries(3)));
        const QByteArray before = f->file_bytes();
        QVERIFY(f->start());
        f->window->cmd_store_Click();
        QVERIFY(f->window->close());
        QCOMPARE(f->file_bytes(), before);
    }

    // As the program starts: the directory loads in a thread while the window is built, the
    // window takes the load's result and shows before the surnames are sorted; their look-up
    // opens once they are, unless a click has opened another one first.
    void loading_beside_the_window_data() {
        QTest::addColumn<bool>("file");
        QTest::addColumn<int>("clicked"); // before the surnames are sorted; -1 for none
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("listed");
        QTest::newRow("a directory") << true << -1 << int(SurnameLabel) << 3;
        QTest::newRow("the surnames clicked first") << true << int(SurnameLabel) << int(SurnameLabel) << 3;
        QTest::newRow("the cities clicked first") << true << int(CityLabel) << int(CityLabel) << 1;
        QTest::newRow("no data file") << false << -1 << -1 << 0;
    }
    void loading_beside_the_window() {
        QFETCH(bool, file);
        QFETCH(int, clicked);
        QFETCH(int, category);
        QFETCH(int, listed);
        if (file) {
            EntryTable directory = named_entries(3);
            directory.set_text(2, CitySlot, "Graz");
            QVERIFY(f->write(std::move(directory)));
        }
        HeldBackground held(false);
        std::future<LoadedDirectory> loading = std::async(std::launch::async, [this] {
            return load_directory(f->folder(), QLocale());
        });
        f->window = std::make_unique<frm_ZEL>(f->directory, f->folder());
        LoadedDirectory loaded = loading.get();
        f->directory.adopt(std::move(loaded.table));
        QCOMPARE(f->window->Form_Load(loaded.loaded, std::move(loaded.prepared)), file);
        if (!file) {
            QCOMPARE(f->messages.size(), 1);
            QVERIFY2(f->messages[0].contains(QString::fromLatin1(DataFileName)),
                     qPrintable(f->messages[0]));
            return;
        }
        f->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f->window.get()));
        QVERIFY(f->messages.isEmpty());
        QCOMPARE(f->window->Label5->text(), QStringLiteral("Number of entries:  3"));
        QCOMPARE(f->window->list1->count(), 0);
        if (clicked >= 0) f->click_label(clicked);

        held.release();
        // The rest of the lists are sorted once the surnames' look-up has had its turn.
        QTRY_VERIFY(held.reached.load() > 1);
        QCOMPARE(f->window->lookup_category_for_testing(), std::int16_t(category));
        QCOMPARE(f->window->list1->count(), listed);
        if (category == SurnameLabel) QCOMPARE(f->window->list1->text(2), QStringLiteral("Name 3"));
    }

    // What earlier versions kept in the cache folder goes; whatever else is there stays, and
    // so does the folder then.
    void earlier_caches_are_removed_data() {
        QTest::addColumn<QStringList>("others");
        QTest::newRow("only what earlier versions wrote") << QStringList{};
        QTest::newRow("a file of someone else's") << QStringList{"notes.txt"};
        QTest::newRow("a folder named like a kept table") << QStringList{"table-9-ab.bin/"};
    }
    void earlier_caches_are_removed() {
        QFETCH(QStringList, others);
        QTemporaryDir dir;
        const QString folder = dir.filePath("zel-kav");
        QVERIFY(QDir().mkpath(folder));
        const QStringList written = {"table-20000-1f.bin", "lookup-orders-3e.bin",
                                     "lookup-orders-4d.bin.aBcDeF"};
        for (const QString& name : written + others) {
            if (name.endsWith('/')) QVERIFY(QDir(folder).mkdir(name));
            else QVERIFY(QFile(folder + '/' + name).open(QIODevice::WriteOnly));
        }
        remove_earlier_caches(folder);
        const QStringList left = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QCOMPARE(QDir(folder).exists(), !others.isEmpty());
        QCOMPARE(left.size(), others.size());
    }

    void command_line_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status"); // -1: the window opens
        QTest::addColumn<bool>("maintain");
        QTest::addColumn<QString>("says");
        QTest::newRow("no options") << QStringList{} << -1 << false << "";
        QTest::newRow("maintenance") << QStringList{"--maintain"} << -1 << true << "";
        QTest::newRow("help") << QStringList{"--help"} << 0 << false << "--maintain";
        QTest::newRow("version") << QStringList{"--version"} << 0 << false << "zel-kav 9.8.7\n";
        QTest::newRow("unknown option")
            << QStringList{"--maintian"} << 2 << false << "Unknown option 'maintian'";
        QTest::newRow("Qt's own option")
            << QStringList{"-platform", "xcb"} << 2 << false << "Unknown option 'platform'";
        QTest::newRow("a file named") << QStringList{"KAV-Addresses.dat"} << 2 << false
                                      << "unexpected argument \"KAV-Addresses.dat\"";
        const QString pasted(120000, u'x');
        QTest::newRow("a long unknown option")
            << QStringList{"--" + pasted} << 2 << false << "'" + QString(60, u'x') + "\u2026'.";
        QTest::newRow("a long argument")
            << QStringList{pasted} << 2 << false << "\"" + QString(60, u'x') + "\u2026\"";
    }
    void command_line() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(bool, maintain);
        QFETCH(QString, says);
        QCoreApplication::setApplicationName("zel-kav");
        QCoreApplication::setApplicationVersion("9.8.7");
        const CommandLine parsed = parse_command_line(QStringList{"zel-kav"} + arguments);
        QCOMPARE(parsed.exit_status.value_or(-1), status);
        QCOMPARE(parsed.maintain, maintain);
        QCOMPARE(parsed.to_stderr, status == 2);
        QVERIFY2(parsed.output.contains(says), qPrintable(parsed.output));
        if (status == 2) QVERIFY(parsed.output.size() < 300);
    }

    // Closing asks only in maintenance mode and only while a stored entry is not saved.
    void closing_data() {
        QTest::addColumn<bool>("maintenance");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("exit_first"); // EXIT saves, then closing
        QTest::addColumn<bool>("cannot_save");
        QTest::addColumn<int>("answer"); // NoButton: no question expected
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        const int none = QMessageBox::NoButton;
        QTest::newRow("plain start, stored")
            << false << true << false << false << none << true << false;
        QTest::newRow("nothing stored") << true << false << false << false << none << true << false;
        QTest::newRow("Save") << true << true << false << false << int(QMessageBox::Save) << true
                              << true;
        QTest::newRow("Discard") << true << true << false << false << int(QMessageBox::Discard)
                                 << true << false;
        QTest::newRow("Cancel") << true << true << false << false << int(QMessageBox::Cancel)
                                << false << false;
        QTest::newRow("Save that fails")
            << true << true << false << true << int(QMessageBox::Save) << false << false;
        QTest::newRow("saved by EXIT") << true << true << true << false << none << true << true;
    }
    void closing() {
        QFETCH(bool, maintenance);
        QFETCH(bool, stored);
        QFETCH(bool, exit_first);
        QFETCH(bool, cannot_save);
        QFETCH(int, answer);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        QStringList questions;
        set_answer_hook_for_testing([&](const QString& question) {
            questions << question;
            return QMessageBox::StandardButton(answer);
        });
        QVERIFY(f->write(named_entries(3)));
        const QByteArray before = f->file_bytes();
        QVERIFY(f->start());
        if (maintenance) f->window->enter_maintenance_mode();
        set_today_for_testing(june_1_2004);
        if (stored) {
            f->window->choose_entry(1); // maintenance mode stores only into a shown entry
            f->window->cmd_store_Click();
        }
        if (exit_first) f->window->cmd_EXIT_Click();
        if (cannot_save) block_saving();
        f->window->close();
        set_answer_hook_for_testing({});

        QCOMPARE(questions, answer == QMessageBox::NoButton
                                ? QStringList()
                                : QStringList{"Save the changes to the directory before closing?"});
        QCOMPARE(!f->window->isVisible(), closed);
        QCOMPARE(f->messages.size(), cannot_save ? 1 : 0);
        if (!cannot_save) QCOMPARE(f->file_bytes() != before, saved);
    }

    // Someone else saved the data file after this window loaded it: no save overwrites it; the
    // compiler may save under another name in its folder.
    void a_data_file_changed_meanwhile_is_kept_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("save_as"); // empty: Cancel
        QTest::addColumn<bool>("ended");
        QTest::newRow("EXIT, Cancel") << "EXIT"
                                      << "" << false;
        QTest::newRow("EXIT, another name") << "EXIT"
                                            << "mine.dat" << true;
        QTest::newRow("EXIT, the data file's name") << "EXIT" << DataFileName << false;
        QTest::newRow("close, Save, another name") << "close"
                                                   << "mine.dat" << true;
        QTest::newRow("New on a full table") << "New"
                                             << "mine.dat" << false;
    }
    void a_data_file_changed_meanwhile_is_kept() {
        QFETCH(QString, road);
        QFETCH(QString, save_as);
        QFETCH(bool, ended);
        QVERIFY(f->write(named_entries(3)));
        QVERIFY(f->start());
        f->window->enter_maintenance_mode();
        QVERIFY(f->window->choose_entry(1));
        f->window->cmd_store_Click();
        QVERIFY(f->write(named_entries(4))); // someone else's save
        const QByteArray theirs = f->file_bytes();
        QStringList asked;
        QString suggested;
        set_among_hook_for_testing([&](const QString& question, const QStringList& answers) {
            asked << question;
            return save_as.isEmpty() ? answers.back() : answers.front();
        });
        set_save_file_hook_for_testing([&](const QString& offered) {
            suggested = offered;
            return f->dir.filePath(save_as);
        });
        set_answer_hook_for_testing([](const QString&) { return QMessageBox::Save; });
        bool went = false;
        if (road == "EXIT") {
            f->window->cmd_EXIT_Click();
            went = !f->window->isVisible();
        } else if (road == "close") {
            went = f->window->close();
        } else {
            for (int n = 0; n < 11; ++n) f->window->cmd_new_Click();
            went = f->table.EntryCount == 14;
        }
        set_among_hook_for_testing({});
        set_save_file_hook_for_testing({});
        set_answer_hook_for_testing({});

        QCOMPARE(went, ended);
        QCOMPARE(f->file_bytes(), theirs);
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked[0].contains("has changed since this window loaded it"),
                 qPrintable(asked[0]));
        if (save_as.isEmpty()) return;
        QCOMPARE(QFileInfo(suggested).absolutePath(), QFileInfo(f->file_path()).absolutePath());
        EntryTable mine;
        const bool elsewhere = save_as != DataFileName;
        if (elsewhere) {
            QVERIFY(QDir(f->dir.path()).mkdir("mine"));
            QVERIFY(QFile::copy(f->dir.filePath(save_as), f->dir.filePath("mine/") + DataFileName));
            QVERIFY(read_data_base(mine, f->dir.filePath("mine").toStdString()).ok());
            QCOMPARE(mine.EntryCount, std::int16_t(road == "New" ? 13 : 3));
            QCOMPARE(mine.ChangeDate[1], may_14_2003);
        }
        QVERIFY2(
            f->messages.last().contains(elsewhere ? "No entry was added" : "Choose another name") ||
                (road != "New" && f->messages.last().contains("was saved as")),
            qPrintable(f->messages.join('\n')));
    }

    void exit_that_cannot_save_keeps_running() {
        QVERIFY(f->write(named_entries(3)));
        QVERIFY(f->start());
        f->window->cmd_store_Click();
        block_saving();
        f->window->cmd_EXIT_Click();
        QVERIFY(f->window->isVisible());
        QCOMPARE(f->messages.size(), 1);
        QVERIFY(f->errors.first());
        QVERIFY(f->messages.first().contains(QString::fromLatin1(DataFileName)));
        QCOMPARE(f->table.TableModified, std::int16_t(1));

        // Once the cause is mended, EXIT saves and ends.
        QVERIFY(f->unblock_saving());
        f->window->cmd_EXIT_Click();
        QVERIFY(!f->window->isVisible());
        QVERIFY(f->file_bytes().startsWith("3\r\n"));
    }
};

ZELKAV_TEST_CLASS(StartUpTest)

#include "start_up_test.moc"
