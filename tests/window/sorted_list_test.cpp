#include "test_registry.h"
#include "sorted_list.h"

#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// The two list boxes: sorted without regard to case, each item with its number.
class SortedListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<SortedList> list;

    static std::vector<ListItem> items(const QStringList& texts) {
        std::vector<ListItem> result;
        for (int i = 0; i < texts.size(); ++i) result.push_back({texts[i], i + 1});
        return result;
    }
    QRect item_rect(int row) const {
        return list->view()->visualRect(list->view()->model()->index(row, 0));
    }

  private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        list = std::make_unique<SortedList>(true);
        list->resize(196, 233);
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
    }
    void cleanup() {
        list.reset();
        QLocale::setDefault(QLocale::c());
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
        QStringList shown;
        for (int row = 0; row < list->count(); ++row) shown << list->text(row);
        QCOMPARE(shown,
                 (QStringList{"adams", "Emil", "\u00E9mile", "private", "University", "Zeller"}));
    }

    void a_multi_line_value_is_one_item() {
        list->set_items({{QStringLiteral("Street 1\r\nCity"), 7}});
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

    void the_edit_field_takes_typing() {
        QVERIFY(list->edit_field());
        QTest::keyClicks(list->edit_field(), "Sm");
        QCOMPARE(list->edit_field()->text(), QStringLiteral("Sm"));
        QVERIFY(!SortedList(false).edit_field());
    }
};

ZELKAV_TEST_CLASS(SortedListTest)

#include "sorted_list_test.moc"
