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
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTemporaryDir>
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
// Entries 1, 3 and 6 have e-mail addresses.
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
    table.set_text(1, FirstInterestSlot, "Pyrite textures");
    table.set_text(1, RemarksSlot, "Collects gold ores");
    table.set_text(2, AddressSlot, "Box 12\r\nFreiberg Strasse");
    table.set_text(3, FirstOtherEquipmentSlot + 1, "Raman (old)");
    table.set_text(5, FirstInterestSlot, "Ore textures");
    table.set_text(5, FirstInterestSlot + 1, "pyrite");
    table.set_text(6, RemarksSlot, "Ore microscopy");
    table.set_text(1, EmailSlot, "anna@fb.se");
    table.set_text(3, EmailSlot, "carl@ki.se");
    table.set_text(6, EmailSlot, "zoe@gz.at");
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
    void the_finder_says_what_it_searches_data();
    void the_finder_says_what_it_searches();
    void narrowing_counts_in_place();
    void finding_as_typed_follows_each_key();
    void items_tell_people_apart();
    void alt_down_goes_to_the_list_data();
    void alt_down_goes_to_the_list();
    void each_button_has_its_key_data();
    void each_button_has_its_key();
    void assistive_technology_chooses_as_a_click_does();
    void every_control_has_an_accessible_name();
    void correction_file_says_where_it_went();
    void the_lower_box_menu_opens_data();
    void the_lower_box_menu_opens();
    void reaching_the_people_listed();
    void the_email_box_menu();
    void showing_an_entry_is_announced();

  public slots:
    // Stands in for the desktop's mail program.
    void open_mail(const QUrl& url) { mailed_ << url; }

  private:
    QList<QUrl> mailed_;
    QMenu* open_menu() const { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }
    QStringList action_texts(const QMenu* menu) const {
        QStringList shown;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator()) shown << action->text();
        }
        return shown;
    }
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
    QTest::addColumn<int>("label");    // clicked first: 1 closes the surnames, 11 shows kinds
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("key");  // pressed after typing, if any
    QTest::addColumn<QStringList>("people");
    QTest::addColumn<QString>("first_tooltip");
    QTest::addColumn<int>("category"); // after the find

    QTest::newRow("Return after no surname matched")
        << -1 << "gold ore" << "Return" << QStringList{"Lindqvist, Anna (Freiberg)"}
        << "Lindqvist, Anna, Freiberg, Sweden\nRemarks: Collects gold ores" << -1;
    QTest::newRow("as typed, kinds shown")
        << 11 << "freiberg STR" << "" << QStringList{"Lindqvist, Bertil (Uppsala)"}
        << "Lindqvist, Bertil, Uppsala, Sweden\nMailing Address: Box 12 Freiberg Strasse" << 11;
    QTest::newRow("as typed, the surnames closed")
        << 1 << "raman" << "" << QStringList{"Lindqvist, Carl (Kiruna)"}
        << "Lindqvist, Carl, Kiruna, Sweden\nother Laboratory Equipment B: Raman (old)" << -1;
    QTest::newRow("Ctrl+Return though surnames match")
        << -1 << "ore" << "Ctrl+Return"
        << QStringList{"Lindqvist, Anna (Freiberg)", "Öberg, Olof (Göteborg)", "Zeller, Zoe (Graz)"}
        << "Lindqvist, Anna, Freiberg, Sweden\nRemarks: Collects gold ores" << -1;
    QTest::newRow("without the accent") << -1 << "GOTEBORG" << "Return"
                                        << QStringList{"Öberg, Olof (Göteborg)"}
                                        << "Öberg, Olof, Göteborg, Sweden\nCity: Göteborg" << -1;
    QTest::newRow("oe for the umlaut") << 1 << "oeberg" << "" << QStringList{"Öberg, Olof (Göteborg)"}
                                       << "Öberg, Olof, Göteborg, Sweden\nSurname: Öberg" << -1;
    QTest::newRow("a ticked box, people of one name told apart")
        << 1 << "museum" << ""
        << QStringList{"Lindén, Eva (Tromsø)", "Lindqvist, Anna (Freiberg)",
                       "Lindqvist, Bertil (Uppsala)", "Öberg, Olof (Göteborg)"}
        << "Lindén, Eva, Tromsø, Norway\nOrganization: Museum" << -1;
    QTest::newRow("nothing") << -1 << "xyz" << "Return" << QStringList{} << "" << -1;
}

void FinderTest::finding_in_every_text() {
    QFETCH(int, label);
    QFETCH(QString, typed);
    QFETCH(QString, key);
    QFETCH(QStringList, people);
    QFETCH(QString, first_tooltip);
    QFETCH(int, category);

    if (label >= 0) f->click_label(label);
    type(typed);
    if (!key.isEmpty()) {
        QTest::keyClick(finder(), Qt::Key_Return,
                        key == "Ctrl+Return" ? Qt::ControlModifier : Qt::NoModifier);
    }
    SortedList* list = f->window->list1;
    QCOMPARE(texts(list), people);
    QCOMPARE(f->window->lookup_category_for_testing(), category);
    QCOMPARE(f->window->List2->isHidden(), category != 11);
    QCOMPARE(finder()->text(), typed);
    QCOMPARE(list->finding(), SortedList::Finding::EveryBox);
    QCOMPARE(list->count_text().startsWith("no match"), people.isEmpty());
    if (people.isEmpty()) return;
    QCOMPARE(tooltip(list, 0), first_tooltip);
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(list->view());
    QCOMPARE(view->tableInterface()->cellAt(0, 0)->text(QAccessible::Description), first_tooltip);
    QCOMPARE(view->text(QAccessible::Name),
             QString("People holding \u2018%1\u2019, %2").arg(typed).arg(people.size()));

    // Return chooses the first entry found; the next caption click opens its look-up.
    QTest::keyClick(finder(), Qt::Key_Return);
    QCOMPARE(f->window->text1(2), first_tooltip.section(", ", 1, 1));
    f->click_label(1);
    QCOMPARE(f->window->lookup_category_for_testing(), 1);
    QCOMPARE(list->count(), 6);
}

void FinderTest::the_finder_says_what_it_searches_data() {
    QTest::addColumn<QList<int>>("labels"); // clicked in turn
    QTest::addColumn<QString>("kind");      // then chosen in the upper box
    QTest::addColumn<QString>("hint");      // or, when the field is too narrow, its shorter form
    QTest::addColumn<QString>("shorter");
    QTest::addColumn<QString>("name");      // of the lower box

    QTest::newRow("surnames at the start") << QList<int>{} << "" << "Find among 6 surnames" << ""
                                           << "Surnames, 6";
    QTest::newRow("city") << QList<int>{4} << "" << "Find in City: 6 values" << "" << "City, 6";
    QTest::newRow("fields of interest")
        << QList<int>{12} << "" << "Find in Fields of Interest: 3 values" << "Find among 3 values"
        << "Fields of Interest, 3";
    QTest::newRow("a kind chosen") << QList<int>{11} << "Museum" << "Find among 4 surnames" << ""
                                   << "Surnames: Museum, 4";
    QTest::newRow("surnames closed") << QList<int>{1} << "" << "Find in every box" << ""
                                     << "Lower box, nothing listed";
    QTest::newRow("kinds shown") << QList<int>{13} << "" << "Find in every box" << ""
                                 << "Lower box, nothing listed";
    QTest::newRow("a kind nobody has") << QList<int>{13} << "TEM" << "Find in every box" << ""
                                       << "Lower box, nothing listed";
    QTest::newRow("remarks") << QList<int>{14} << "" << "Find in every box" << ""
                             << "Lower box, nothing listed";
}

void FinderTest::the_finder_says_what_it_searches() {
    QFETCH(QList<int>, labels);
    QFETCH(QString, kind);
    QFETCH(QString, hint);
    QFETCH(QString, shorter);
    QFETCH(QString, name);

    for (int label : labels) f->click_label(label);
    if (!kind.isEmpty()) click_item(f->window->List2, row_of(f->window->List2, kind));
    const QString shown = finder()->placeholderText();
    QVERIFY2(shown == hint || (!shorter.isEmpty() && shown == shorter), qPrintable(shown));
    // The hint is seen whole.
    QVERIFY2(finder()->fontMetrics().horizontalAdvance(shown) < finder()->width() - 8,
             qPrintable(shown));
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(f->window->list1->view());
    QCOMPARE(view->text(QAccessible::Name), name);
    QCOMPARE(f->window->list1->count_text(), QString());
}

void FinderTest::narrowing_counts_in_place() {
    SortedList* list = f->window->list1;
    type("lind");
    QCOMPARE(list->count_text(), QString("4 of 6"));
    QCOMPARE(QAccessible::queryAccessibleInterface(list->view())->text(QAccessible::Name),
             QString("Surnames holding \u2018lind\u2019, 4 of 6"));
    QTest::keyClicks(finder(), "xyz");
    QVERIFY2(list->count_text().startsWith("no match \u2013 Return"), qPrintable(list->count_text()));
    QCOMPARE(list->finding(), SortedList::Finding::Narrows);
    // The count stays clear of the text typed.
    QLabel* count = finder()->findChild<QLabel*>("finder_count");
    QVERIFY(count && count->isVisible());
    QVERIFY(finder()->textMargins().right() >= count->width());
    QTest::keyClick(finder(), Qt::Key_Escape);
    QCOMPARE(list->count_text(), QString());
    QVERIFY(!count->isVisible());
}

void FinderTest::finding_as_typed_follows_each_key() {
    f->click_label(1); // nothing listed
    SortedList* list = f->window->list1;
    type("lindq");
    QCOMPARE(list->count(), 3);
    QTest::keyClick(finder(), Qt::Key_Backspace);
    QTest::keyClick(finder(), Qt::Key_Backspace); // "lin": Lindén too
    QCOMPARE(list->count(), 4);
    QTest::keyClicks(finder(), "den");
    QCOMPARE(texts(list), QStringList{"Lindén, Eva (Tromsø)"});
    QTest::keyClick(finder(), Qt::Key_Escape);
    QCOMPARE(list->count(), 0);
    QCOMPARE(finder()->placeholderText(), QString("Find in every box"));
    // A caption click brings a look-up back, and typing narrows it again.
    f->click_label(6);
    type("swe");
    QCOMPARE(list->finding(), SortedList::Finding::Narrows);
    QCOMPARE(list->count(), 4);
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

void FinderTest::the_lower_box_menu_opens_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("right click") << "right click";
    QTest::newRow("Menu key") << "Menu";
    QTest::newRow("Shift+F10") << "Shift+F10";
}

void FinderTest::the_lower_box_menu_opens() {
    QFETCH(QString, how);
    type("lindq");
    QListView* view = f->window->list1->view();
    view->setFocus(Qt::TabFocusReason);
    const QPoint second = view->visualRect(view->model()->index(1, 0)).center();
    if (how == "right click") {
        // The press, then the menu event that the platform sends with it.
        QTest::mouseClick(view->viewport(), Qt::RightButton, {}, second);
        QContextMenuEvent menu_event(QContextMenuEvent::Mouse, second,
                                     view->viewport()->mapToGlobal(second));
        QApplication::sendEvent(view->viewport(), &menu_event);
    }
    if (how == "Menu") QTest::keyClick(view, Qt::Key_Menu);
    if (how == "Shift+F10") QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(open_menu());
    QCOMPARE(action_texts(open_menu()),
             (QStringList{"Copy the e-mail addresses of these 3 people",
                          "Save these 3 people as vCard\u2026", "Save the shown entry as vCard\u2026"}));
    QVERIFY(!open_menu()->actions().last()->isEnabled()); // no entry shown yet
    open_menu()->close();
    // The right click chose nothing; the finder's highlight stays where it was.
    QCOMPARE(f->window->text1(2), QString());
    QCOMPARE(f->window->list1->list_index(), 0);
}

void FinderTest::reaching_the_people_listed() {
    QTemporaryDir dir;
    QStringList offered;
    set_save_file_hook_for_testing([&](const QString& suggested) {
        offered << QFileInfo(suggested).fileName();
        return dir.filePath(QString("%1.vcf").arg(offered.size()));
    });
    const auto cards = [&](int n) {
        QFile file(dir.filePath(QString("%1.vcf").arg(n)));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };

    type("lindq");
    f->window->copy_listed_emails(); // Bertil has none
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("anna@fb.se, carl@ki.se"));
    QCOMPARE(f->window->Notice->notice(),
             QString("The e-mail addresses of 2 of these 3 people copied, separated by commas"));
    f->window->save_listed_vcards();
    QCOMPARE(cards(1).count("BEGIN:VCARD"), 3);
    QVERIFY(cards(1).contains("FN:Bertil Lindqvist\r\n"));
    QVERIFY2(f->window->Notice->notice().startsWith("vCard file 1.vcf written"),
             qPrintable(f->window->Notice->notice()));

    click_item(f->window->list1, 2); // Carl
    f->window->save_shown_vcard();
    QCOMPARE(cards(2).count("BEGIN:VCARD"), 1);
    QVERIFY(cards(2).contains("EMAIL;TYPE=work:carl@ki.se\r\n"));
    QCOMPARE(offered, (QStringList{"ZEL-KAV people.vcf", "Lindqvist.vcf"}));
    set_save_file_hook_for_testing({});
}

void FinderTest::the_email_box_menu() {
    QDesktopServices::setUrlHandler("mailto", this, "open_mail");
    auto* box = f->control<QLineEdit>("Text1_9");
    click_item(f->window->list1, row_of(f->window->list1, "Zeller"));
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(open_menu());
    QCOMPARE(action_texts(open_menu()).mid(0, 2), (QStringList{"Write an e-mail", "Copy address"}));
    QCOMPARE(action_texts(open_menu()).last(), QString("Save the shown entry as vCard\u2026"));
    open_menu()->actions().at(0)->trigger();
    open_menu()->close();
    QCOMPARE(mailed_, QList<QUrl>{QUrl("mailto:zoe@gz.at")});

    // The address as the box shows it, typed or not; none, and both are greyed.
    box->setText(" new@gz.at ");
    QMenu* menu = f->window->show_email_menu(box->mapToGlobal(QPoint()));
    menu->actions().at(1)->trigger();
    menu->close();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("new@gz.at"));
    box->clear();
    menu = f->window->show_email_menu(box->mapToGlobal(QPoint()));
    QVERIFY(!menu->actions().at(0)->isEnabled());
    QVERIFY(!menu->actions().at(1)->isEnabled());
    menu->close();
    QDesktopServices::unsetUrlHandler("mailto");
}

void FinderTest::showing_an_entry_is_announced() {
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(f->window->list1->view());
    click_item(f->window->list1, row_of(f->window->list1, "Zeller"));
    QCOMPARE(view->text(QAccessible::Description), QString("Shown: Zeller, Zoe, Graz"));
    QTest::mouseClick(f->window->cmd_down, Qt::LeftButton);
    QCOMPARE(view->text(QAccessible::Description), QString("Shown: \u00d6berg, Olof, G\u00f6teborg"));
}

ZELKAV_TEST_CLASS(FinderTest)
#include "finder_test.moc"
