#include "test_registry.h"
#include "serial_date.h"
#include "sorted_list.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

// Browsing with "<" and ">", and the New, Store and Clear buttons.
class EditingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> f;
    const SerialDate today_ = serial_from_civil({2003, 5, 14});
    const QColor yellow{255, 255, 0};
    const QColor red{255, 0, 0};
    const QColor blue{0, 0, 255};

    QColor surname_caption() const {
        return f->window->label1[1]->palette().color(QPalette::WindowText);
    }
    int datenbank_messages() const {
        return int(f->messages.count(QStringLiteral("Datenbank wird gespeichert")));
    }

  private slots:
    void init() {
        f = std::make_unique<WindowFixture>();
        set_today_for_testing(today_);
    }
    void cleanup() {
        f.reset();
        set_today_for_testing(std::nullopt);
    }

    void browse_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("next"); // ">" or "<"
        QTest::addColumn<int>("shown");
        QTest::newRow("> in the middle") << 3 << 1 << true << 2;
        QTest::newRow("< in the middle") << 3 << 2 << false << 1;
        QTest::newRow("> on the last") << 3 << 3 << true << 3;
        QTest::newRow("< on the first") << 3 << 1 << false << 1;
        QTest::newRow("> with no entries shows row 0") << 0 << 1 << true << 0;
        QTest::newRow("< with no entries shows spare row 1") << 0 << 0 << false << 1;
    }
    void browse() {
        QFETCH(int, count);
        QFETCH(int, current);
        QFETCH(bool, next);
        QFETCH(int, shown);
        QVERIFY(f->write(named_entries(count)));
        QVERIFY(f->start());
        f->directory.choose(std::int16_t(current));
        QTest::keyClicks(f->window->Text1[1], "typed, not stored");
        // A reader is asked before typing goes; Discard lets it go as browsing always did.
        QStringList asked;
        set_among_hook_for_testing([&](const QString& question, const QStringList&) {
            asked << question;
            return QStringLiteral("Discard");
        });
        QTest::mouseClick(next ? f->window->cmd_up : f->window->cmd_down, Qt::LeftButton);
        set_among_hook_for_testing({});
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked[0].startsWith("Write a correction file with your changes"), qPrintable(asked[0]));
        QCOMPARE(f->table.CurrentEntry, std::int16_t(shown));
        const QString surname =
            shown >= 1 && shown <= count ? QStringLiteral("Name %1").arg(shown) : QString();
        QCOMPARE(f->window->text1(1), surname);
        QCOMPARE(f->table.TableModified, std::int16_t(0));
    }

    void browsing_the_largest_directory_stays_inside_it() {
        EntryTable table = named_entries(MaxEntryCount);
        table.CurrentEntry = MaxEntryCount;
        f->open(std::move(table));
        f->window->cmd_up_Click();
        QCOMPARE(f->table.CurrentEntry, MaxEntryCount);
        QCOMPARE(f->window->text1(1), QStringLiteral("Name %1").arg(MaxEntryCount));
    }

    void store_at_start_writes_the_empty_window_into_entry_1() {
        EntryTable table = named_entries(2);
        table.Salutation[1] = 1;
        table.OrganizationFlags[1][0] = 1;
        table.EquipmentFlags[1][CollaborationFlag] = 2;
        QVERIFY(f->write(std::move(table)));
        QVERIFY(f->start());
        QCOMPARE(surname_caption(), yellow);
        f->window->cmd_store_Click();
        QCOMPARE(f->table.ChangeDate[1], today_);
        QCOMPARE(f->table.Salutation[1], std::int16_t(-1));
        QCOMPARE(f->table.OrganizationFlags[1][0], std::int16_t(0));
        QCOMPARE(f->table.EquipmentFlags[1][CollaborationFlag], std::int16_t(0));
        QCOMPARE(f->table.text(1, SurnameSlot), std::string_view());
        QCOMPARE(f->table.TableModified, std::int16_t(1));
        QCOMPARE(surname_caption(), blue);
        QCOMPARE(f->table.text(2, SurnameSlot), std::string_view("Name 2"));
    }

    void new_keeps_the_window_but_the_surname() {
        QVERIFY(f->write(named_entries(3)));
        QVERIFY(f->start());
        f->directory.choose(2);
        f->window->show_record();
        f->window->set_text1(2, QStringLiteral("Anna"));
        QTest::mouseClick(f->window->Chk_organ[1], Qt::LeftButton);
        f->window->cmd_new_Click();
        QCOMPARE(f->table.EntryCount, std::int16_t(4));
        QCOMPARE(f->table.CurrentEntry, std::int16_t(4));
        QCOMPARE(surname_caption(), red);
        QCOMPARE(f->window->text1(1), QString());
        QCOMPARE(f->window->text1(2), QStringLiteral("Anna"));
        QCOMPARE(f->table.text(4, FirstNamesSlot), std::string_view()); // nothing stored yet
        QCOMPARE(f->window->list1->count(), 3);

        QTest::keyClicks(f->window->Text1[1], "Berg");
        f->window->cmd_store_Click();
        QCOMPARE(f->table.text(4, SurnameSlot), std::string_view("Berg"));
        QCOMPARE(f->table.text(4, FirstNamesSlot), std::string_view("Anna"));
        QCOMPARE(f->table.OrganizationFlags[4][1], std::int16_t(1));
        QCOMPARE(f->table.text(2, FirstNamesSlot), std::string_view()); // the entry shown before is unchanged
        QCOMPARE(surname_caption(), blue);
        f->window->cmd_clear_Click();
        set_among_hook_for_testing([](const QString&, const QStringList&) { return QStringLiteral("Discard"); });
        f->window->cmd_up_Click();
        set_among_hook_for_testing({});
        QCOMPARE(surname_caption(), blue);
    }

    // Ten spare rows; the eleventh New saves (only after a Store) and reloads the file.
    void new_on_a_full_table_data() {
        QTest::addColumn<bool>("store_between");
        QTest::addColumn<int>("count_after");
        QTest::newRow("no Store: the blank entries are gone") << false << 4;
        QTest::newRow("a Store: all thirteen are saved") << true << 14;
    }
    void new_on_a_full_table() {
        QFETCH(bool, store_between);
        QFETCH(int, count_after);
        QVERIFY(f->write(named_entries(3)));
        const QByteArray before = f->file_bytes();
        QVERIFY(f->start());
        for (int i = 0; i < 10; ++i) {
            f->window->cmd_new_Click();
            if (store_between && i == 4) f->window->cmd_store_Click();
        }
        QCOMPARE(f->table.EntryCount, std::int16_t(13));
        QCOMPARE(datenbank_messages(), 0);

        f->window->cmd_new_Click();
        QCOMPARE(datenbank_messages(), 1);
        QVERIFY(!f->errors.first());
        QCOMPARE(f->table.EntryCount, std::int16_t(count_after));
        QCOMPARE(f->table.CurrentEntry, std::int16_t(count_after));
        QCOMPARE(f->table.TableCapacity, std::int16_t(count_after - 1 + 10));
        QCOMPARE(f->table.TableModified, std::int16_t(0));
        QCOMPARE(f->window->lookup_category_for_testing(), std::int16_t(-1));
        QCOMPARE(surname_caption(), red);
        if (store_between) {
            QVERIFY(f->file_bytes().startsWith("13\r\n#2003-05-14#\r\n"));
        } else {
            QCOMPARE(f->file_bytes(), before);
        }
    }

    void new_on_a_full_table_that_cannot_be_saved() {
        QVERIFY(f->write(named_entries(3)));
        QVERIFY(f->start());
        for (int i = 0; i < 10; ++i) f->window->cmd_new_Click();
        f->window->cmd_store_Click();
        QVERIFY(f->block_saving());

        f->window->cmd_new_Click();
        QCOMPARE(f->messages.size(), 2);
        QVERIFY(f->errors[1]);
        QVERIFY(f->messages[1].contains(QString::fromLatin1(DataFileName)));
        // Nothing stored is lost: the table is as it was, and New can be tried again.
        QCOMPARE(f->table.EntryCount, std::int16_t(13));
        QCOMPARE(f->table.CurrentEntry, std::int16_t(13));
        QCOMPARE(f->table.TableModified, std::int16_t(1));
        QCOMPARE(f->table.ChangeDate[13], today_);
        QCOMPARE(f->window->lookup_category_for_testing(), std::int16_t(1));
        QCOMPARE(surname_caption(), blue);
    }

    void new_on_a_full_table_whose_file_is_gone() {
        QVERIFY(f->write(named_entries(3)));
        QVERIFY(f->start());
        for (int i = 0; i < 10; ++i) f->window->cmd_new_Click();
        QVERIFY(QFile::remove(f->file_path()));
        f->window->cmd_new_Click();
        QCOMPARE(f->messages.size(), 2);
        QVERIFY(f->errors[1]);
        QCOMPARE(f->table.EntryCount, std::int16_t(13));
        QCOMPARE(f->table.TableCapacity, std::int16_t(13));
    }

    void new_never_grows_past_the_most_a_file_holds_data() {
        QTest::addColumn<int>("loaded");
        QTest::addColumn<int>("news");
        QTest::newRow("loaded full") << int(MaxEntryCount) << 1;
        QTest::newRow("filled by New") << MaxEntryCount - 10 << 11;
    }
    void new_never_grows_past_the_most_a_file_holds() {
        QFETCH(int, loaded);
        QFETCH(int, news);
        QVERIFY(f->write(named_entries(loaded)));
        const QByteArray before = f->file_bytes();
        QVERIFY(f->start());
        f->window->cmd_store_Click();
        for (int i = 0; i < news; ++i) f->window->cmd_new_Click();
        QCOMPARE(f->table.EntryCount, MaxEntryCount);
        QCOMPARE(f->messages.size(), 1);
        QVERIFY(f->errors.first());
        QVERIFY(f->messages.first().contains(QString::number(MaxEntryCount)));
        QCOMPARE(f->file_bytes(), before);
    }

    void store_refuses_what_the_file_cannot_hold_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("character");
        QTest::newRow("double quote") << 1 << "O\"Brien"
                                      << "\"Surname\""
                                      << "\"\"\" (U+0022)";
        QTest::newRow("Polish letter") << 4 << "\xC5\x81\xC3\xB3\x64\xC5\xBA"
                                       << "\"City\""
                                       << "\"\xC5\x81\" (U+0141)";
        QTest::newRow("outside the first plane") << 20 << "fine \xF0\x9F\x99\x82"
                                                 << "\"Remarks\""
                                                 << "(U+1F642)";
        QTest::newRow("interest C") << 13 << "\xCE\xA9"
                                    << "\"Fields of Interest C\""
                                    << "(U+03A9)";
        QTest::newRow("other organisation") << 21 << "\""
                                            << "\"other Organization\""
                                            << "(U+0022)";
    }
    void store_refuses_what_the_file_cannot_hold() {
        QFETCH(int, slot);
        QFETCH(QString, typed);
        QFETCH(QString, box);
        QFETCH(QString, character);
        QVERIFY(f->write(named_entries(2)));
        QVERIFY(f->start());
        f->window->show_record();
        const auto before = f->table.texts(1);
        f->window->set_text1(slot, typed);
        QTest::mouseClick(f->window->chk_titel[0], Qt::LeftButton);
        f->window->cmd_store_Click();

        QCOMPARE(f->messages.size(), 1);
        QVERIFY(f->errors.first());
        QVERIFY2(f->messages.first().contains(box), qPrintable(f->messages.first()));
        QVERIFY2(f->messages.first().contains(character), qPrintable(f->messages.first()));
        QCOMPARE(f->table.texts(1), before);
        QCOMPARE(f->table.TitleFlags[1][0], std::int16_t(0));
        QCOMPARE(f->table.ChangeDate[1], SerialDate(0));
        QCOMPARE(f->table.TableModified, std::int16_t(0));
        QCOMPARE(surname_caption(), yellow);
        QCOMPARE(f->window->text1(slot), typed);
    }

    void an_empty_directory_grows_from_a_stored_spare_row() {
        QVERIFY(f->write(named_entries(0)));
        QVERIFY(f->start());
        f->window->cmd_down_Click(); // spare row 1
        QCOMPARE(f->table.CurrentEntry, std::int16_t(1));
        QTest::keyClicks(f->window->Text1[1], "Berg");
        f->window->cmd_store_Click();
        QCOMPARE(f->table.TableModified, std::int16_t(1));
        QCOMPARE(f->table.EntryCount, std::int16_t(0));
        f->window->cmd_new_Click();
        QCOMPARE(f->table.EntryCount, std::int16_t(1));
        QCOMPARE(f->table.text(1, SurnameSlot), std::string_view("Berg"));
        f->window->cmd_EXIT_Click();
        QVERIFY(f->file_bytes().startsWith("1\r\n#2003-05-14#\r\n#2003-05-14#,"));
    }
};

ZELKAV_TEST_CLASS(EditingTest)

#include "editing_test.moc"
