#include "data_file.h"
#include "frm_ZEL.h"
#include "list_items.h"
#include "message_box.h"
#include "sorted_list.h"
#include "table_builder.h"
#include "test_registry.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

// A small directory that every look-up has something to find in:
//   1 Zeller  Graz    University, free org "Mining Co.", SEM, equipment "EBSD", interest "gold"
//   2 adams   graz    Museum, equipment "EBSD" in two slots and "Laser", interests "gold", "ore"
//   3 Bauer   Leoben  Museum, free org "Mining Co.", equipment "Mikrosonde Ø"
//   4 (none)  Oslo    Museum
EntryTable sample_directory() {
    EntryTable table = empty_entries(4);
    const char* surnames[] = {"", "Zeller", "adams", "Bauer", ""};
    const char* cities[] = {"", "Graz", "graz", "Leoben", "Oslo"};
    for (int e = 1; e <= 4; ++e) {
        table.Salutation[e] = -1;
        table.set_text(e, SurnameSlot, surnames[e]);
        table.set_text(e, CitySlot, cities[e]);
    }
    table.OrganizationFlags[1][0] = 1;
    table.OrganizationFlags[2][1] = table.OrganizationFlags[3][1] = table.OrganizationFlags[4][1] =
        1;
    table.set_text(1, OtherOrganizationSlot, "Mining Co.");
    table.set_text(3, OtherOrganizationSlot, "Mining Co.");
    table.EquipmentFlags[1][9] = 1;
    table.set_text(1, FirstOtherEquipmentSlot, "EBSD");
    table.set_text(2, FirstOtherEquipmentSlot, "EBSD");
    table.set_text(2, FirstOtherEquipmentSlot + 2, "EBSD");
    table.set_text(2, FirstOtherEquipmentSlot + 1, "Laser");
    table.set_text(3, FirstOtherEquipmentSlot + 1, "Mikrosonde \xd8");
    table.set_text(1, FirstInterestSlot, "gold");
    table.set_text(2, FirstInterestSlot + 1, "gold");
    table.set_text(2, FirstInterestSlot + 5, "ore");
    return table;
}

bool shown(const QWidget* widget) {
    return !widget->isHidden();
}

// Does to `target`, a caption, a box or a list, what `steps` say: "click", "press", "move",
// "release" or "double-click" at the centre, at item N, "outside" or "below" the items;
// "key Alt+Down" after giving it the focus as Tab does; "type mu"; "accessible press".
void act(QWidget* target, const QString& steps) {
    auto* view = qobject_cast<QListView*>(target);
    QWidget* surface = view ? view->viewport() : target;
    for (const QString& step : steps.split(", ")) {
        const QString what = step.section(' ', 0, 0);
        const QString where = step.section(' ', 1);
        QPoint at = surface->rect().center();
        if (where == "outside") at = QPoint(-30, at.y());
        if (where == "below") at = QPoint(10, surface->height() - 4);
        if (view && !where.isEmpty() && where[0].isDigit())
            at = view->visualRect(view->model()->index(where.toInt(), 0)).center();

        if (what == "click" || what == "double-click")
            QTest::mouseClick(surface, Qt::LeftButton, {}, at);
        if (what == "double-click") { // the second press comes as a double click
            QTest::mouseDClick(surface, Qt::LeftButton, {}, at);
            QTest::mouseRelease(surface, Qt::LeftButton, {}, at);
        }
        if (what == "press") QTest::mousePress(surface, Qt::LeftButton, {}, at);
        if (what == "move") QTest::mouseMove(surface, at);
        if (what == "release") QTest::mouseRelease(surface, Qt::LeftButton, {}, at);
        if (what == "key" || what == "type") target->setFocus(Qt::TabFocusReason);
        if (what == "type") QTest::keyClicks(target, where);
        if (what == "key") {
            const QKeyCombination key = QKeySequence::fromString(where)[0];
            QTest::keyClick(target, key.key(), key.keyboardModifiers());
        }
        if (what == "accessible") {
            QAccessibleActionInterface* actions =
                QAccessible::queryAccessibleInterface(target)->actionInterface();
            QVERIFY(actions);
            QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
            actions->doAction(QAccessibleActionInterface::pressAction());
        }
    }
}

} // namespace

class TestLookupWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<WindowFixture> f;

  private slots:
    void initTestCase();
    void init();
    void cleanup();
    void start_up_opens_the_surname_lookup();
    void opening_a_lookup_data();
    void opening_a_lookup();
    void same_label_three_times_data();
    void same_label_three_times();
    void top_of_the_column_data();
    void top_of_the_column();
    void direct_lookup_shows_the_chosen_entry();
    void organization_kinds_to_entry();
    void equipment_free_texts_data();
    void equipment_free_texts();
    void keyboard_choices_act_as_clicks();
    void highlighted_item_is_the_choice_data();
    void highlighted_item_is_the_choice();
    void captions_are_read_at_the_click();
    void empty_directory();
    void lists_left_over_after_a_reload();
    void click_without_selection_does_nothing();

  private:
    void start(EntryTable directory) { QVERIFY(f->start_on(std::move(directory))); }
};

void TestLookupWindow::initTestCase() {
    // The order of the lists follows the user's locale; fix one so the expected orders hold.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
}

void TestLookupWindow::init() {
    f = std::make_unique<WindowFixture>();
    start(sample_directory());
    QApplication::setActiveWindow(f->window.get());
    QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
}

void TestLookupWindow::cleanup() {
    f->window.reset();
    const QStringList said = std::move(f->messages);
    f.reset();
    QVERIFY2(said.isEmpty(), qPrintable(said.join('\n')));
}

void TestLookupWindow::start_up_opens_the_surname_lookup() {
    QCOMPARE(f->window->lookup_category_for_testing(), 1);
    QCOMPARE(texts(f->window->list1), (QStringList{"adams", "Bauer", "Zeller"}));
    QCOMPARE(item_data(f->window->list1), (QList<int>{2, 3, 1}));
    QVERIFY(!shown(f->window->List2));
    QVERIFY(shown(f->window->Frame2));
    QCOMPARE(f->window->text1(SurnameSlot), QString()); // no entry shown yet

    f->click_label(SurnameLabel); // the first click on "Surname" closes the open look-up
    QCOMPARE(f->window->lookup_category_for_testing(), -1);
    QCOMPARE(f->window->list1->count(), 0);
}

void TestLookupWindow::opening_a_lookup_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("category"); // the look-up open afterwards; Surname was open before

    // clang-format off
    QTest::newRow("click on a caption") << "label1_4" << "click" << 4;
    QTest::newRow("double click on a caption") << "label1_4" << "double-click" << 4;
    QTest::newRow("double click on the open caption") << "label1_1" << "double-click" << -1;
    QTest::newRow("press released outside the caption")
        << "label1_4" << "press, move outside, release outside" << 1;
    QTest::newRow("accessible press") << "label1_12" << "accessible press" << 12;
    QTest::newRow("Alt+Down in a text box") << "Text1_4" << "key Alt+Down" << 4;
    QTest::newRow("Alt+Down in the address") << "Text1_3" << "key Alt+Down" << 3;
    QTest::newRow("Alt+Down in an organisation box") << "Chk_organ_2" << "key Alt+Down" << 11;
    QTest::newRow("Alt+Down in the other organisation") << "Text1_21" << "key Alt+Down" << 11;
    QTest::newRow("Alt+Down in an equipment box") << "Chh_equipm_7" << "key Alt+Down" << 13;
    QTest::newRow("Down alone") << "Text1_4" << "key Down" << 1;
    // clang-format on
}

void TestLookupWindow::opening_a_lookup() {
    QFETCH(QString, target);
    QFETCH(QString, steps);
    QFETCH(int, category);

    act(f->control(target), steps);
    QCOMPARE(f->window->lookup_category_for_testing(), category);
    if (category == 4) QCOMPARE(f->window->list1->count(), 4); // the City look-up is filled
}

void TestLookupWindow::same_label_three_times_data() {
    QTest::addColumn<int>("label");
    QTest::addColumn<int>("list1_items");
    QTest::addColumn<int>("list2_items");
    QTest::addColumn<bool>("list2_shown");

    QTest::newRow("City") << 4 << 4 << 0 << false;
    QTest::newRow("Organization") << 11 << 0 << 8 << true;
    QTest::newRow("Fields of Interest") << 12 << 3 << 0 << false;
    QTest::newRow("Laboratory Equipment") << 13 << 0 << 30 << true;
    QTest::newRow("Remarks") << 14 << 0 << 0 << false;
}

void TestLookupWindow::same_label_three_times() {
    QFETCH(int, label);
    QFETCH(int, list1_items);
    QFETCH(int, list2_items);
    QFETCH(bool, list2_shown);

    for (int round = 0; round < 2; ++round) {
        f->click_label(label);
        QCOMPARE(f->window->lookup_category_for_testing(), label);
        QCOMPARE(f->window->list1->count(), list1_items);
        QCOMPARE(f->window->List2->count(), list2_items);
        QCOMPARE(shown(f->window->List2), list2_shown);
        if (round == 1) break;

        f->click_label(label);
        QCOMPARE(f->window->lookup_category_for_testing(), -1);
        QCOMPARE(f->window->list1->count(), 0);
        QCOMPARE(f->window->List2->count(), list2_items); // kept, though hidden
        QVERIFY(!shown(f->window->List2));
    }
}

void TestLookupWindow::top_of_the_column_data() {
    QTest::addColumn<QList<int>>("labels");
    QTest::addColumn<bool>("list2_shown");
    QTest::addColumn<bool>("frame2_shown");
    QTest::addColumn<int>("list2_items");
    QTest::addColumn<int>("list1_items");

    QTest::newRow("Title") << QList<int>{0} << false << true << 0 << 0;
    QTest::newRow("Organization") << QList<int>{11} << true << false << 8 << 0;
    QTest::newRow("Organization, Fields of Interest")
        << QList<int>{11, 12} << true << false << 0 << 3;
    QTest::newRow("Organization, City") << QList<int>{11, 4} << false << true << 0 << 4;
    QTest::newRow("Organization closed") << QList<int>{11, 11} << false << false << 8 << 0;
    QTest::newRow("Organization closed, Fields of Interest")
        << QList<int>{11, 11, 12} << false << false << 0 << 3;
    QTest::newRow("Organization closed, City") << QList<int>{11, 11, 4} << false << true << 0 << 4;
    QTest::newRow("Organization, Laboratory Equipment")
        << QList<int>{11, 13} << true << false << 30 << 0;
    QTest::newRow("Laboratory Equipment, Remarks") << QList<int>{13, 14} << true << false << 0 << 0;
    QTest::newRow("Remarks") << QList<int>{14} << false << true << 0 << 0;
    QTest::newRow("Remarks closed") << QList<int>{14, 14} << false << true << 0 << 0;
}

void TestLookupWindow::top_of_the_column() {
    QFETCH(QList<int>, labels);
    QFETCH(bool, list2_shown);
    QFETCH(bool, frame2_shown);
    QFETCH(int, list2_items);
    QFETCH(int, list1_items);

    for (int label : labels) f->click_label(label);
    QCOMPARE(shown(f->window->List2), list2_shown);
    QCOMPARE(shown(f->window->Frame2), frame2_shown);
    QCOMPARE(f->window->List2->count(), list2_items);
    QCOMPARE(f->window->list1->count(), list1_items);
}

void TestLookupWindow::direct_lookup_shows_the_chosen_entry() {
    f->click_label(CityLabel);
    QCOMPARE(texts(f->window->list1), (QStringList{"Graz", "graz", "Leoben", "Oslo"}));
    QCOMPARE(item_data(f->window->list1), (QList<int>{1, 2, 3, 4}));

    click_item(f->window->list1, row_of(f->window->list1, "Leoben"));
    QCOMPARE(f->table.CurrentEntry, 3);
    QCOMPARE(f->window->text1(SurnameSlot), QString("Bauer"));
    QCOMPARE(f->window->text1(CitySlot), QString("Leoben"));
    QCOMPARE(f->window->lookup_category_for_testing(), 4);
    QCOMPARE(f->window->list1->count(), 4);

    // After browsing away, a click on the highlighted item shows its entry again.
    f->window->cmd_up_Click();
    click_item(f->window->list1, row_of(f->window->list1, "Leoben"));
    QCOMPARE(f->table.CurrentEntry, 3);
}

void TestLookupWindow::organization_kinds_to_entry() {
    f->click_label(OrganizationLabel);
    QCOMPARE(texts(f->window->List2),
             (QStringList{"Company", "Geol.Survey", "Government", "Mining Co.", "Mining Co.",
                          "Museum", "private", "University"}));
    QCOMPARE(item_data(f->window->List2), (QList<int>{4, 2, 3, 6, 7, 1, 5, 0}));

    click_item(f->window->List2, row_of(f->window->List2, "Museum"));
    QVERIFY(!shown(f->window->Frame2));
    QVERIFY(shown(f->window->List2));
    QCOMPARE(texts(f->window->list1), (QStringList{"", "adams", "Bauer"}));
    QCOMPARE(item_data(f->window->list1), (QList<int>{4, 2, 3}));

    // An entry without a surname is still reachable.
    click_item(f->window->list1, 0);
    QCOMPARE(f->table.CurrentEntry, 4);
    QCOMPARE(f->window->text1(CitySlot), QString("Oslo"));

    // Either of two equal free texts lists both entries.
    for (int row : {3, 4}) {
        click_item(f->window->List2, row);
        QCOMPARE(texts(f->window->list1), (QStringList{"Bauer", "Zeller"}));
    }
    click_item(f->window->list1, 1);
    QCOMPARE(f->window->text1(SurnameSlot), QString("Zeller"));
}

void TestLookupWindow::equipment_free_texts_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("surnames");

    QTest::newRow("text in two slots") << "EBSD" << QStringList{"adams", "adams", "Zeller"};
    QTest::newRow("accented text") << QString::fromUtf8("Mikrosonde Ø") << QStringList{"Bauer"};
}

void TestLookupWindow::equipment_free_texts() {
    QFETCH(QString, kind);
    QFETCH(QStringList, surnames);

    f->click_label(EquipmentLabel);
    QCOMPARE(f->window->List2->count(), 25 + 5);
    // Two-slot "EBSD" of entry 2 gives two items; any of the three finds the same entries.
    const int row = row_of(f->window->List2, kind);
    QVERIFY(row >= 0);
    click_item(f->window->List2, row);
    QCOMPARE(texts(f->window->list1), surnames);
}

void TestLookupWindow::keyboard_choices_act_as_clicks() {
    QListView* view = f->window->list1->view();
    view->setFocus();
    click_item(f->window->list1, 0);
    QCOMPARE(f->window->text1(SurnameSlot), QString("adams"));
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(f->window->text1(SurnameSlot), QString("Bauer"));
    QCOMPARE(f->table.CurrentEntry, 3);

    f->click_label(OrganizationLabel);
    click_item(f->window->List2, row_of(f->window->List2, "Company"));
    QCOMPARE(f->window->list1->count(), 0);
    QTest::keyClick(f->window->List2->view(), Qt::Key_Down); // Geol.Survey
    QCOMPARE(f->window->list1->count(), 0);
    QTest::keyClick(f->window->List2->view(), Qt::Key_End); // University
    QCOMPARE(texts(f->window->list1), QStringList{"Zeller"});
}

void TestLookupWindow::highlighted_item_is_the_choice_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("highlighted");

    // clang-format off
    // The surnames adams, Bauer, Zeller.
    QTest::newRow("list1: click") << "list1" << "click 1" << 1;
    QTest::newRow("list1: drag") << "list1" << "press 0, move 2, release 2" << 2;
    QTest::newRow("list1: press released outside")
        << "list1" << "click 0, press 1, move outside, release outside" << 1;
    QTest::newRow("list1: press below the items")
        << "list1" << "click 1, press below, release below" << 1;
    QTest::newRow("list1: double click") << "list1" << "double-click 2" << 2;
    QTest::newRow("list1: Ctrl+Space") << "list1" << "click 1, key Ctrl+Space" << 1;
    QTest::newRow("list1: first Down") << "list1" << "key Down" << 0;
    QTest::newRow("list1: Down") << "list1" << "click 0, key Down" << 1;
    QTest::newRow("list1: End") << "list1" << "key End" << 2;
    QTest::newRow("list1: first letter") << "list1" << "type b" << 1;
    // The kinds Company, Geol.Survey, Government, Mining Co. (twice), Museum, private, University.
    QTest::newRow("List2: drag") << "List2" << "press 5, move 7, release 7" << 7;
    QTest::newRow("List2: press released outside")
        << "List2" << "press 7, move outside, release outside" << 7;
    QTest::newRow("List2: first Down") << "List2" << "key Down" << 0;
    QTest::newRow("List2: Page Down") << "List2" << "click 0, key PgDown" << 7;
    QTest::newRow("List2: first letters") << "List2" << "type mu" << 5;
    // clang-format on
}

void TestLookupWindow::highlighted_item_is_the_choice() {
    QFETCH(QString, list);
    QFETCH(QString, steps);
    QFETCH(int, highlighted);

    if (list == "List2") f->click_label(OrganizationLabel);
    SortedList* box = list == "List2" ? f->window->List2 : f->window->list1;
    act(box->view(), steps);
    QCOMPARE(box->list_index(), highlighted);
    // The window acts on the highlighted item already: choosing it once more changes nothing.
    const QStringList shown = texts(f->window->list1) << f->window->text1(SurnameSlot);
    box == f->window->list1 ? f->window->list1_Click() : f->window->List2_Click();
    QCOMPARE(texts(f->window->list1) << f->window->text1(SurnameSlot), shown);
}

void TestLookupWindow::captions_are_read_at_the_click() {
    f->window->Chk_organ[1]->setText("Museo");
    f->click_label(OrganizationLabel);
    QCOMPARE(row_of(f->window->List2, "Museum"), -1);
    const int row = row_of(f->window->List2, "Museo");
    QCOMPARE(f->window->List2->item_data(row), 1);
}

void TestLookupWindow::empty_directory() {
    start(empty_entries(0));
    QCOMPARE(f->window->lookup_category_for_testing(), 1);
    QCOMPARE(f->window->list1->count(), 0);

    f->click_label(OrganizationLabel);
    QCOMPARE(texts(f->window->List2), (QStringList{"Company", "Geol.Survey", "Government", "Museum",
                                                "private", "University"}));
    click_item(f->window->List2, row_of(f->window->List2, "Museum"));
    QCOMPARE(f->window->list1->count(), 0);

    f->click_label(EquipmentLabel);
    QList<int> kinds = item_data(f->window->List2);
    std::sort(kinds.begin(), kinds.end());
    QCOMPARE(kinds.size(), 25);
    QCOMPARE(kinds.back(), 24);
    QCOMPARE(f->window->List2->item_data(row_of(f->window->List2, "Wet Chem. Anal.")), 24);
    f->click_label(InterestsLabel);
    QCOMPARE(f->window->list1->count(), 0);
}

void TestLookupWindow::lists_left_over_after_a_reload() {
    f->click_label(OrganizationLabel);
    click_item(f->window->List2, row_of(f->window->List2, "Museum"));
    const QStringList museum = texts(f->window->list1);

    // New on a full table saves (nothing was stored, so the file stays as it is) and reloads
    // the data file, which has meanwhile become smaller.
    EntryTable smaller = empty_entries(2);
    smaller.set_text(1, SurnameSlot, "Ahn");
    smaller.set_text(2, SurnameSlot, "Berg");
    QVERIFY(f->write(smaller));
    while (f->table.EntryCount < f->table.TableCapacity) f->window->cmd_new_Click();
    f->window->cmd_new_Click();
    QCOMPARE(f->messages, QStringList{"Datenbank wird gespeichert"});
    f->messages.clear();
    QCOMPARE(f->table.EntryCount, 3); // the two read and the one New added
    QCOMPARE(f->window->lookup_category_for_testing(), std::int16_t(-1));

    // No two-step look-up is open: the choice only hides the usage panel.
    f->window->Frame2->setVisible(true);
    click_item(f->window->List2, row_of(f->window->List2, "University"));
    QVERIFY(!shown(f->window->Frame2));
    QCOMPARE(texts(f->window->list1), museum);

    // An old item shows the entry its number names now; one past the directory shows nothing.
    click_item(f->window->list1, row_of(f->window->list1, "adams"));
    QCOMPARE(f->table.CurrentEntry, 2);
    QCOMPARE(f->window->text1(SurnameSlot), QString("Berg"));
    click_item(f->window->list1, row_of(f->window->list1, ""));
    QCOMPARE(f->table.CurrentEntry, 2);

    // The label rebuilds the look-up rather than closing it.
    f->click_label(OrganizationLabel);
    QCOMPARE(f->window->lookup_category_for_testing(), 11);
    QVERIFY(shown(f->window->List2));
    QCOMPARE(f->window->List2->count(), 6);
}

void TestLookupWindow::click_without_selection_does_nothing() {
    f->click_label(OrganizationLabel);
    f->window->Frame2->setVisible(true);
    QCOMPARE(f->window->List2->list_index(), -1);
    f->window->List2_Click();
    QVERIFY(shown(f->window->Frame2));

    f->click_label(CityLabel);
    QCOMPARE(f->window->list1->list_index(), -1);
    f->table.CurrentEntry = 1;
    f->window->list1_Click();
    QCOMPARE(f->window->text1(SurnameSlot), QString());
}

ZELKAV_TEST_CLASS(TestLookupWindow)
#include "lookup_window_test.moc"
