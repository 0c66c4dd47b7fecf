#include "test_registry.h"
#include "cp1252.h"
#include "list_items.h"
#include "sorted_list.h"
#include "window_fixture.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// The two list boxes: sorted without regard to case, each item with its number.
class SortedListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<SortedList> list;
    // Checks every signal and answer of the list's model while a test runs.
    std::unique_ptr<QAbstractItemModelTester> model_tester;
    // The window, for the tests that watch the lists in it.
    std::unique_ptr<WindowFixture> f;

    // The items as the look-up sorts them: `texts` numbered 1, 2, ... in the order of adding.
    static LookupList items(const QStringList& texts) {
        std::vector<std::string> bytes;
        for (const QString& text : texts) bytes.push_back(to_cp1252(text).value());
        std::vector<LookupItem> added;
        for (std::size_t i = 0; i < bytes.size(); ++i) added.push_back({bytes[i], int(i) + 1});
        return std::make_shared<const SortedItems>(sort_items(added, list_collator()));
    }
    QRect item_rect(int row) const {
        return list->view()->visualRect(list->view()->model()->index(row, 0));
    }

  private slots:
    void init() {
        f = std::make_unique<WindowFixture>();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        list = std::make_unique<SortedList>(true);
        model_tester = std::make_unique<QAbstractItemModelTester>(
            list->view()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        list->resize(196, 233);
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
    }
    void cleanup() {
        f.reset();
        model_tester.reset();
        list.reset();
        QLocale::setDefault(QLocale::c());
    }

    void a_long_item_is_shown_cut_and_kept_whole() {
        const QString whole = "Long" + QString(100000, u'g');
        list->set_items(items({whole, "Short"}));
        const QModelIndex first = list->view()->model()->index(0, 0);
        const QString shown = first.data().toString();
        QVERIFY(shown.size() < 2000);
        QVERIFY(shown.startsWith("Longggg") && shown.endsWith(u'\u2026'));
        QCOMPARE(list->text(0), whole);
        QCOMPARE(list->view()->model()->index(1, 0).data().toString(), QStringLiteral("Short"));
    }

    void sorted_without_regard_to_case_data() {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QList<int>>("order"); // the ItemData of the items, top to bottom
        QTest::newRow("case") << QStringList{"beta", "Alpha", "alpha2", "ALPHA3"}
                              << QList<int>{2, 3, 4, 1};
        QTest::newRow("accents sort beside their letter")
            << QStringList{"Zeta", "\u00E9mile", "Emil", "Fabre"} << QList<int>{3, 2, 4, 1};
        QTest::newRow("equal texts keep the order of adding")
            << QStringList{"Smith", "smith", "Adams", "Smith"} << QList<int>{3, 1, 2, 4};
        QTest::newRow("blank and empty values come first")
            << QStringList{"b", "", " "} << QList<int>{2, 3, 1};
    }
    void sorted_without_regard_to_case() {
        QFETCH(QStringList, added);
        QFETCH(QList<int>, order);
        list->set_items(items(added));
        QCOMPARE(list->count(), added.size());
        QList<int> data;
        for (int row = 0; row < list->count(); ++row) {
            data << list->item_data(row);
            QCOMPARE(list->text(row), added[list->item_data(row) - 1]);
        }
        QCOMPARE(data, order);
    }

    // Servers and CI run with LANG=C, whose own collation would put "Zeller" before "adams".
    void case_is_ignored_in_the_c_locale_too() {
        QLocale::setDefault(QLocale::c());
        list->set_items(items({"Zeller", "adams", "\u00E9mile", "Emil", "private", "University"}));
        QCOMPARE(texts(list.get()),
                 (QStringList{"adams", "Emil", "\u00E9mile", "private", "University", "Zeller"}));
    }

    void a_multi_line_value_is_one_item() {
        list->set_items(items({QStringLiteral("Street 1\r\nCity")}));
        QCOMPARE(list->text(0), QStringLiteral("Street 1\r\nCity"));
        QCOMPARE(list->view()->model()->index(0, 0).data().toString(),
                 QStringLiteral("Street 1 City"));
    }

    void chosen_by_mouse_and_keyboard_only() {
        QSignalSpy chosen(list.get(), &SortedList::chosen);
        list->set_items(items({"a", "b", "c", "d"}));
        QCOMPARE(list->list_index(), -1);
        QCOMPARE(chosen.count(), 0);

        QTest::mouseClick(list->view()->viewport(), Qt::LeftButton, {}, item_rect(1).center());
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.last().first().toInt(), 1);
        QCOMPARE(list->list_index(), 1);
        // A click on the chosen item chooses it again, so edits give way to the entry.
        QTest::mouseClick(list->view()->viewport(), Qt::LeftButton, {}, item_rect(1).center());
        QCOMPARE(chosen.count(), 2);

        QTest::keyClick(list->view(), Qt::Key_Down);
        QCOMPARE(chosen.count(), 3);
        QCOMPARE(list->list_index(), 2);
        QTest::keyClick(list->view(), Qt::Key_End);
        QCOMPARE(chosen.last().first().toInt(), 3);
        QTest::keyClick(list->view(), Qt::Key_Down); // already at the end: no choice
        QCOMPARE(chosen.count(), 4);
        QTest::keyClick(list->view(), Qt::Key_Home);
        QCOMPARE(list->list_index(), 0);
        QCOMPARE(chosen.count(), 5);

        list->set_items(items({"x", "y"}));
        QCOMPARE(list->list_index(), -1);
        list->clear();
        QCOMPARE(list->count(), 0);
        QCOMPARE(chosen.count(), 5);
    }

    void set_list_index_chooses_as_the_user_would() {
        QSignalSpy chosen(list.get(), &SortedList::chosen);
        list->set_items(items({"b", "a"}));
        list->set_list_index(1);
        QCOMPARE(list->list_index(), 1);
        QCOMPARE(chosen.count(), 1);
        list->set_list_index(5);
        QCOMPARE(list->list_index(), -1);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(list->item_data(5), 0);
        QCOMPARE(list->text(-1), QString());
    }

    // The look-up keeps its lists sorted from one click to the next; after a Store or a New the
    // lists opened afresh show the table as it is now.
    void lists_follow_store_and_new_data() {
        QTest::addColumn<bool>("new_entry"); // New before the Store, or the Store on entry 2
        QTest::addColumn<int>("label");      // 11: then the kind "University" is chosen
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("Store renames an entry")
            << false << 1 << QStringList{"Aaron", "Name 1", "Name 3"};
        QTest::newRow("New and Store add an entry")
            << true << 1 << QStringList{"Aaron", "Name 1", "Name 2", "Name 3"};
        QTest::newRow("Store ticks a kind") << false << 11 << QStringList{"Aaron"};
        QTest::newRow("New and Store tick a kind") << true << 11 << QStringList{"Aaron"};
    }
    void lists_follow_store_and_new() {
        QFETCH(bool, new_entry);
        QFETCH(int, label);
        QFETCH(QStringList, shown);
        QVERIFY(f->write(named_entries(3)));
        QVERIFY(f->start()); // sorts the surnames
        const QStringList before = texts(f->window->list1);
        if (new_entry) {
            f->window->cmd_new_Click();
        } else {
            f->table.CurrentEntry = 2;
            f->window->show_record();
        }
        f->window->set_text1(1, QStringLiteral("Aaron"));
        f->window->Chk_organ[0]->setChecked(true);
        f->window->cmd_store_Click();
        QCOMPARE(texts(f->window->list1), before); // a list shows what it was filled with

        f->window->label1_Click(SurnameLabel); // closes the surname look-up
        f->window->label1_Click(label);
        if (label == OrganizationLabel) {
            f->window->List2->set_list_index(int(texts(f->window->List2).indexOf("University")));
        }
        QCOMPARE(texts(f->window->list1), shown);
    }

    void the_edit_field_takes_typing() {
        QVERIFY(list->edit_field());
        QTest::keyClicks(list->edit_field(), "Sm");
        QCOMPARE(list->edit_field()->text(), QStringLiteral("Sm"));
        QVERIFY(!SortedList(false).edit_field());
    }
};

ZELKAV_TEST_CLASS(SortedListTest)

#include "sorted_list_test.moc"
