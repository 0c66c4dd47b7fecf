#include "frm_ZEL.h"
#include "list_items.h"
#include "message_box.h"
#include "notice_line.h"
#include "sorted_list.h"
#include "table_builder.h"
#include "test_registry.h"
#include "window_fixture.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <memory>

namespace {

// Three people named Lindqvist, and words in every kind of box:
//   1 Lindqvist Anna    Freiberg  Sweden   Museum; interest "Pyrite textures"; remarks "Collects gold ores"
//   2 Lindqvist Bertil  Uppsala   Sweden   Museum; address "Box 12 / Freiberg Strasse"
//   3 Lindqvist Carl    Kiruna    Sweden   SEM; other equipment B "Raman (old)"
//   4 Lindén    Eva     Tromsø    Norway   Museum
//   5 Öberg     Olof    Göteborg  Sweden   Museum; interests "Ore textures", "pyrite"
//   6 Zeller    Zoe     Graz      Austria  SEM; remarks "Ore microscopy"
EntryTable people() {
    EntryTable table = empty_entries(6);
    const char* rows[][4] = {{"Lindqvist", "Anna", "Freiberg", "Sweden"},
                             {"Lindqvist", "Bertil", "Uppsala", "Sweden"},
                             {"Lindqvist", "Carl", "Kiruna", "Sweden"},
                             {"Lind\xe9n", "Eva", "Troms\xf8", "Norway"},
                             {"\xd6" "berg", "Olof", "G\xf6teborg", "Sweden"},
                             {"Zeller", "Zoe", "Graz", "Austria"}};
    for (int e = 1; e <= 6; ++e) {
        table.Salutation[e] = -1;
        for (int i = 0; i < 4; ++i) table.set_text(e, std::array{1, 2, 4, 6}[i], rows[e - 1][i]);
    }
    for (int e : {1, 2, 4, 5}) table.OrganizationFlags[e][1] = 1;
    for (int e : {3, 6}) table.EquipmentFlags[e][9] = 1;
    table.set_text(1, 11, "Pyrite textures");
    table.set_text(1, 20, "Collects gold ores");
    table.set_text(2, 3, "Box 12\r\nFreiberg Strasse");
    table.set_text(3, 18, "Raman (old)");
    table.set_text(5, 11, "Ore textures");
    table.set_text(5, 12, "pyrite");
    table.set_text(6, 20, "Ore microscopy");
    return table;
}

QString tooltip(const SortedList* list, int row) {
    return list->view()->model()->index(row, 0).data(Qt::ToolTipRole).toString();
}

// The key a button's tooltip names: "Next entry (Alt+Right)".
QKeySequence key_named_by(const QPushButton* button) {
    // The first line's key: Store's second line names the key that takes a Store back.
    const auto match =
        QRegularExpression(R"(\(([^()]+)\)$)", QRegularExpression::MultilineOption)
            .match(button->toolTip());
    return match.hasMatch() ? QKeySequence::fromString(match.captured(1), QKeySequence::NativeText)
                            : QKeySequence();
}

void press(QWidget* target, const QKeySequence& key) {
    QTest::keyClick(target, key[0].key(), key[0].keyboardModifiers());
}

} // namespace

class FinderTest : public QObject {
    Q_OBJECT
    std::unique_ptr<WindowFixture> f;

  private slots:
    void initTestCase();
    void init();
    void cleanup();
    void typing_narrows_the_lower_box_data();
    void typing_narrows_the_lower_box();
    void ctrl_f_escape_and_a_new_lookup();
    void choosing_from_a_narrowed_list_data();
    void choosing_from_a_narrowed_list();
    void finding_in_every_text_data();
    void finding_in_every_text();
    void items_tell_people_apart();
    void alt_down_goes_to_the_list_data();
    void alt_down_goes_to_the_list();
    void each_button_has_its_key_data();
    void each_button_has_its_key();
    void assistive_technology_chooses_as_a_click_does();
    void every_control_has_an_accessible_name();
    void correction_file_says_where_it_went();

  private:
    QLineEdit* finder() const { return f->window->list1->edit_field(); }
    void type(const QString& text) {
        finder()->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(finder(), text);
    }
};

void FinderTest::initTestCase() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
}

void FinderTest::init() {
    f = std::make_unique<WindowFixture>();
    QVERIFY(f->start_on(people()));
    QApplication::setActiveWindow(f->window.get());
    QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
}

void FinderTest::cleanup() {
    f->window.reset();
    set_answer_hook_for_testing({});
    set_files_choice_hook_for_testing({});
    const QStringList said = std::move(f->messages);
    f.reset();
    QVERIFY2(said.isEmpty(), qPrintable(said.join('\n')));
}

void FinderTest::typing_narrows_the_lower_box_data() {
    QTest::addColumn<int>("label"); // opened first; the surnames are open at start
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("shown");

    const QString lindqvist = "Lindqvist";
    QTest::newRow("surnames") << 1 << "" << "lind"
                              << QStringList{"Lindén", lindqvist, lindqvist, lindqvist};
    QTest::newRow("surnames, upper case") << 1 << "" << "LINDQ"
                                          << QStringList{lindqvist, lindqvist, lindqvist};
    QTest::newRow("surnames, without the accent") << 1 << "" << "linde" << QStringList{"Lindén"};
    QTest::newRow("surnames, accent typed") << 1 << "" << "ÖBERG" << QStringList{"Öberg"};
    QTest::newRow("inside a word") << 1 << "" << "elle" << QStringList{"Zeller"};
    QTest::newRow("city, a letter with a stroke") << 4 << "" << "tromso" << QStringList{"Tromsø"};
    QTest::newRow("fields of interest") << 12 << "" << "pyrit"
                                        << QStringList{"pyrite", "Pyrite textures"};
    QTest::newRow("organization kind") << 11 << "Museum" << "lindq"
                                       << QStringList{lindqvist, lindqvist};
    QTest::newRow("equipment kind") << 13 << "SEM" << "zel" << QStringList{"Zeller"};
    QTest::newRow("no match") << 1 << "" << "xyz" << QStringList{};
}

void FinderTest::typing_narrows_the_lower_box() {
    QFETCH(int, label);
    QFETCH(QString, kind);
    QFETCH(QString, typed);
    QFETCH(QStringList, shown);

    SortedList* list = f->window->list1;
    QAbstractItemModelTester tester(list->view()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    if (label != 1) f->click_label(label);
    if (!kind.isEmpty()) click_item(f->window->List2, row_of(f->window->List2, kind));
    const LookupList items = list->items();
    const int list2_items = f->window->List2->count();

    type(typed);
    QCOMPARE(texts(list), shown);
    // The first match is highlighted and not yet chosen; the look-up stays as it was.
    QCOMPARE(list->list_index(), shown.isEmpty() ? -1 : 0);
    QCOMPARE(f->window->text1(1), QString());
    QCOMPARE(f->window->lookup_category_for_testing(), label);
    QCOMPARE(list->items(), items);
    QCOMPARE(f->window->List2->count(), list2_items);
}

void FinderTest::ctrl_f_escape_and_a_new_lookup() {
    f->control("Text1_20")->setFocus(); // Ctrl+F reaches the finder from any box
    press(f->control("Text1_20"), QKeySequence(QKeySequence::Find));
    QCOMPARE(QApplication::focusWidget(), finder());
    QTest::keyClicks(finder(), "lindq");
    QCOMPARE(f->window->list1->count(), 3);
    QTest::keyClick(finder(), Qt::Key_Escape);
    QCOMPARE(finder()->text(), QString());
    QCOMPARE(f->window->list1->count(), 6);
    QCOMPARE(f->window->lookup_category_for_testing(), 1);

    type("grz");
    f->click_label(4); // City
    QCOMPARE(finder()->text(), QString());
    QCOMPARE(texts(f->window->list1).size(), 6);
    QCOMPARE(f->window->lookup_category_for_testing(), 4);
}

void FinderTest::choosing_from_a_narrowed_list_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("first_names");

    // The three Lindqvists, in the order of their entries.
    QTest::newRow("click") << "click 1" << "Bertil";
    QTest::newRow("Return in the finder") << "Return" << "Anna";
    QTest::newRow("Down, then Return in the list") << "Down, Return" << "Anna";
    QTest::newRow("Down twice") << "Down, Down" << "Bertil";
    QTest::newRow("End in the list") << "Down, End" << "Carl";
}

void FinderTest::choosing_from_a_narrowed_list() {
    QFETCH(QString, how);
    QFETCH(QString, first_names);

    type("lindqv");
    SortedList* list = f->window->list1;
    QObject::connect(list, &SortedList::find_everywhere, this,
                     [] { QFAIL("a find across every text while items match"); });
    for (const QString& step : how.split(", ")) {
        if (step.startsWith("click")) click_item(list, step.section(' ', 1).toInt());
        QWidget* focused = QApplication::focusWidget();
        if (step == "Return") QTest::keyClick(focused, Qt::Key_Return);
        if (step == "Down") QTest::keyClick(focused, Qt::Key_Down);
        if (step == "End") QTest::keyClick(focused, Qt::Key_End);
    }
    QCOMPARE(f->window->text1(2), first_names);
    QCOMPARE(texts(list).size(), 3); // the list stays narrowed
}

void FinderTest::finding_in_every_text_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("control"); // Ctrl+Return, else Return
    QTest::addColumn<QStringList>("surnames");
    QTest::addColumn<QString>("first_tooltip");

    QTest::newRow("a word in the remarks")
        << "gold ore" << false << QStringList{"Lindqvist"}
        << "Lindqvist, Anna, Freiberg, Sweden\nRemarks: Collects gold ores";
    QTest::newRow("a word in an address")
        << "freiberg STR" << false << QStringList{"Lindqvist"}
        << "Lindqvist, Bertil, Uppsala, Sweden\nMailing Address: Box 12 Freiberg Strasse";
    QTest::newRow("an other-equipment box")
        << "raman" << false << QStringList{"Lindqvist"}
        << "Lindqvist, Carl, Kiruna, Sweden\nother Laboratory Equipment B: Raman (old)";
    QTest::newRow("several entries, Ctrl+Return though surnames match")
        << "ore" << true << QStringList{"Lindqvist", "Öberg", "Zeller"}
        << "Lindqvist, Anna, Freiberg, Sweden\nRemarks: Collects gold ores";
    QTest::newRow("without the accent") << "GOTEBORG" << false << QStringList{"Öberg"}
                                        << "Öberg, Olof, Göteborg, Sweden\nCity: Göteborg";
    QTest::newRow("nothing") << "xyz" << false << QStringList{} << "";
}

void FinderTest::finding_in_every_text() {
    QFETCH(QString, typed);
    QFETCH(bool, control);
    QFETCH(QStringList, surnames);
    QFETCH(QString, first_tooltip);

    f->click_label(11); // the upper box is shown until the find
    type(typed);
    QTest::keyClick(finder(), Qt::Key_Return, control ? Qt::ControlModifier : Qt::NoModifier);
    SortedList* list = f->window->list1;
    QCOMPARE(texts(list), surnames);
    QCOMPARE(f->window->lookup_category_for_testing(), -1);
    QVERIFY(f->window->List2->isHidden());
    QVERIFY(!f->window->Frame2->isHidden());
    QCOMPARE(finder()->text(), typed);
    if (surnames.isEmpty()) {
        QVERIFY(QToolTip::text().contains(typed));
        return;
    }
    QCOMPARE(tooltip(list, 0), first_tooltip);

    // Return chooses the first entry found; the next caption click opens its look-up.
    QTest::keyClick(finder(), Qt::Key_Return);
    QCOMPARE(f->window->text1(2), first_tooltip.section(", ", 1, 1));
    f->click_label(1);
    QCOMPARE(f->window->lookup_category_for_testing(), 1);
    QCOMPARE(list->count(), 6);
}

void FinderTest::items_tell_people_apart() {
    SortedList* list = f->window->list1;
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(list->view());
    QVERIFY(view && view->tableInterface());
    QStringList seen;
    for (int row = 1; row <= 3; ++row) {
        seen << tooltip(list, row);
        QCOMPARE(view->tableInterface()->cellAt(row, 0)->text(QAccessible::Description),
                 seen.last());
    }
    QCOMPARE(seen, (QStringList{"Lindqvist, Anna, Freiberg, Sweden",
                                "Lindqvist, Bertil, Uppsala, Sweden",
                                "Lindqvist, Carl, Kiruna, Sweden"}));
}

void FinderTest::alt_down_goes_to_the_list_data() {
    QTest::addColumn<int>("opened"); // a caption clicked first, -1 for none
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("focus"); // the list that takes the focus

    QTest::newRow("surname, open at start") << -1 << "Text1_1" << 1 << "list1";
    QTest::newRow("city, closed") << -1 << "Text1_4" << 4 << "list1";
    QTest::newRow("surname, closed") << 1 << "Text1_1" << 1 << "list1";
    QTest::newRow("organization") << -1 << "Chk_organ_0" << 11 << "List2";
    QTest::newRow("equipment, already open") << 13 << "Text1_18" << 13 << "List2";
    QTest::newRow("remarks has no look-up") << -1 << "Text1_20" << 1 << "Text1_20";
}

void FinderTest::alt_down_goes_to_the_list() {
    QFETCH(int, opened);
    QFETCH(QString, box);
    QFETCH(int, category);
    QFETCH(QString, focus);

    if (opened >= 0) f->click_label(opened);
    QWidget* target = f->control(box);
    target->setFocus(Qt::TabFocusReason);
    QTest::keyClick(target, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(f->window->lookup_category_for_testing(), category);
    QWidget* expected = focus == "list1"   ? f->window->list1->view()
                        : focus == "List2" ? f->window->List2->view()
                                           : f->control(focus);
    QCOMPARE(QApplication::focusWidget(), expected);
    if (focus == "list1") QVERIFY(f->window->list1->count() > 0);
}

void FinderTest::each_button_has_its_key_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("maintenance");
    QTest::addColumn<bool>("clicked");

    QTest::newRow("<") << "cmd_down" << false << true;
    QTest::newRow(">") << "cmd_up" << false << true;
    QTest::newRow("Correction File") << "cmd_corrections" << false << true;
    QTest::newRow("Store") << "cmd_store" << true << true;
    QTest::newRow("New") << "cmd_new" << true << true;
    QTest::newRow("Clear") << "cmd_clear" << true << true;
    QTest::newRow("Import") << "cmd_import" << true << true;
    QTest::newRow("New, hidden without maintenance") << "cmd_new" << false << false;
}

void FinderTest::each_button_has_its_key() {
    QFETCH(QString, button);
    QFETCH(bool, maintenance);
    QFETCH(bool, clicked);

    set_answer_hook_for_testing([](const QString&) { return QMessageBox::Cancel; });
    set_files_choice_hook_for_testing([](const QString&, const QStringList&) { return QStringList(); });
    if (maintenance) f->window->enter_maintenance_mode();
    auto* pushed = f->control<QPushButton>(button);
    const QKeySequence key = key_named_by(pushed);
    QVERIFY2(!key.isEmpty(), qPrintable(pushed->toolTip()));
    QSignalSpy spy(pushed, &QPushButton::clicked);
    f->control("Text1_4")->setFocus(); // keys work from a box, as a user types there
    press(f->control("Text1_4"), key);
    QCOMPARE(spy.count(), clicked ? 1 : 0);
    f->messages.clear();
}

void FinderTest::assistive_technology_chooses_as_a_click_does() {
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(f->window->list1->view());
    QVERIFY(view && view->tableInterface());
    // Selecting the item, as a screen reader's selection does (rows: Lindén, Lindqvist x 3).
    QVERIFY(view->tableInterface()->selectRow(2));
    QCOMPARE(f->window->text1(2), QString("Bertil"));
    // The item's own action.
    QAccessibleInterface* cell = view->tableInterface()->cellAt(4, 0);
    QVERIFY(cell && cell->actionInterface());
    cell->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(f->window->text1(2), QString("Olof"));

    // The upper box as well: a kind chosen lists its surnames.
    f->click_label(11);
    QAccessibleInterface* kinds = QAccessible::queryAccessibleInterface(f->window->List2->view());
    QVERIFY(kinds->tableInterface()->selectRow(row_of(f->window->List2, "Museum")));
    QCOMPARE(f->window->list1->count(), 4);
}

void FinderTest::every_control_has_an_accessible_name() {
    f->window->enter_maintenance_mode();
    QStringList nameless;
    for (QWidget* w : f->window->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QPlainTextEdit*>(w) ||
                             qobject_cast<QAbstractItemView*>(w);
        if (!control) continue;
        const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
        if (name.trimmed().isEmpty()) nameless << w->objectName() + " " + w->metaObject()->className();
    }
    QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(", ")));
    QCOMPARE(QAccessible::queryAccessibleInterface(f->window->Command1)->text(QAccessible::Name),
             QString("No collaboration choice"));
}

void FinderTest::correction_file_says_where_it_went() {
    click_item(f->window->list1, row_of(f->window->list1, "Zeller"));
    QTest::mouseClick(f->window->cmd_corrections, Qt::LeftButton);
    QVERIFY(QFile::exists(f->desktop("Zeller_KAV.TXT")));
    const NoticeLine* notice = f->window->Notice;
    QVERIFY(notice->isVisible());
    for (const QString& said : {notice->notice(), f->window->cmd_corrections->accessibleDescription()}) {
        QVERIFY2(said.contains("Zeller_KAV.TXT"), qPrintable(said));
        QVERIFY2(said.contains(QDir::toNativeSeparators(f->desktop())), qPrintable(said));
    }
    QVERIFY(!notice->text().isEmpty());

    // The notice stands in the way of nothing: it overlaps no control, even in maintenance
    // mode, and a click on it reaches what lies below.
    f->window->enter_maintenance_mode();
    QVERIFY(notice->testAttribute(Qt::WA_TransparentForMouseEvents));
    const QRect place = notice->geometry();
    for (QWidget* w : f->window->findChildren<QWidget*>()) {
        if (w == notice || !w->isVisible() || w->parentWidget() != f->window.get()) continue;
        QVERIFY2(!w->geometry().intersects(place), qPrintable(w->objectName()));
    }
    // The fifth row, once under the notice at the button, takes the very next click.
    click_item(f->window->list1, row_of(f->window->list1, "\u00d6berg"));
    QCOMPARE(f->window->text1(SurnameSlot), QString("\u00d6berg"));
}

ZELKAV_TEST_CLASS(FinderTest)
#include "finder_test.moc"
