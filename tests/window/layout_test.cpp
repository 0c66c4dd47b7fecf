#include "test_registry.h"
#include "layout_units.h"
#include "sorted_list.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

// The window as it stands before start-up fills anything in.
class LayoutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> f;

    QWidget* control(const QString& name) const {
        if (name == QLatin1String("frm_ZEL")) return f->window.get();
        return f->control(name);
    }

  private slots:
    void init() {
        // The dark-theme test starts a second window: the old fixture goes first.
        f.reset();
        f = std::make_unique<WindowFixture>();
        f->open(EntryTable{});
    }
    void cleanup() { f.reset(); }

    void colours_from_bbggrr_data() {
        QTest::addColumn<uint>("bbggrr");
        QTest::addColumn<QColor>("rgb");
        QTest::newRow("light grey") << 0xE0E0E0u << QColor(224, 224, 224);
        QTest::newRow("grey") << 0xC0C0C0u << QColor(192, 192, 192);
        QTest::newRow("yellow") << 0x00FFFFu << QColor(255, 255, 0);
        QTest::newRow("pale yellow") << 0x80FFFFu << QColor(255, 255, 128);
        QTest::newRow("cream") << 0xC0FFFFu << QColor(255, 255, 192);
        QTest::newRow("blue") << 0xFF0000u << QColor(0, 0, 255);
        QTest::newRow("red") << 0x0000FFu << QColor(255, 0, 0);
        QTest::newRow("black") << 0x000000u << QColor(0, 0, 0);
        QTest::newRow("pale green") << 0xC0FFC0u << QColor(192, 255, 192);
        QTest::newRow("light green") << 0x80FF80u << QColor(128, 255, 128);
        QTest::newRow("light violet") << 0xFF8080u << QColor(128, 128, 255);
        QTest::newRow("pale blue") << 0xFFC0C0u << QColor(192, 192, 255);
        QTest::newRow("pale cyan") << 0xFFFFC0u << QColor(192, 255, 255);
    }
    void colours_from_bbggrr() {
        QFETCH(uint, bbggrr);
        QFETCH(QColor, rgb);
        QCOMPARE(color_from_bbggrr(bbggrr), rgb);
    }

    void geometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("client area") << "frm_ZEL" << QRect(0, 0, 630, 512);
        QTest::newRow("surname box") << "Text1_1" << QRect(87, 21, 307, 16);
        QTest::newRow("fields of interest") << "label1_12" << QRect(0, 213, 82, 31);
        QTest::newRow("last grid box") << "Chh_equipm_26" << QRect(306, 375, 120, 13);
        QTest::newRow("University, 1100 twips") << "Chk_organ_0" << QRect(87, 174, 73, 13);
        QTest::newRow("some, inside Frame1") << "Option1_1" << QRect(46, 0, 298, 16);
        QTest::newRow("correction button") << "cmd_corrections" << QRect(6, 312, 64, 28);
        QTest::newRow("title panel") << "Frame2" << QRect(432, 0, 196, 253);
        QTest::newRow("lower box") << "list1" << QRect(432, 255, 196, 233);
        QTest::newRow("compiled by, inside Frame2") << "Label7" << QRect(42, 90, 94, 31);
        QTest::newRow("usage text, inside Frame2") << "Text2" << QRect(3, 162, 190, 85);
        QTest::newRow("import button") << "cmd_import" << QRect(6, 424, 55, 16);
    }
    void geometry() {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        QVERIFY(control(name));
        if (name == QLatin1String("frm_ZEL")) {
            QCOMPARE(f->window->size(), pixels.size());
            QCOMPARE(f->window->minimumSize(), f->window->maximumSize());
        } else {
            QCOMPARE(control(name)->geometry(), pixels);
        }
    }

    void captions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("window title")
            << "frm_ZEL" << QString(37, u' ') + "ZEL-KAV Directory of Ore Mineralogists";
        QTest::newRow("correction button") << "cmd_corrections"
                                           << "Correction        File";
        QTest::newRow("some") << "Option1_1"
                              << "some   of the ticked facilities may be used collaboratively";
        QTest::newRow("compiled by") << "Label7"
                                     << "    compiled by   Vormikan";
        QTest::newRow("first name") << "label1_2"
                                    << "First Name (s)";
        QTest::newRow("laboratory") << "label1_13"
                                    << "Laboratory Equipment";
        QTest::newRow("polished sections")
            << "Chh_equipm_27"
            << "I have access to a considerable collection of polished sections";
        QTest::newRow("caption-less box") << "Chh_equipm_25"
                                          << "";
        QTest::newRow("grid, row 8") << "Chh_equipm_24"
                                     << "Wet Chem. Anal.";
        QTest::newRow("status before start-up") << "Label4"
                                                << "Label4";
    }
    void captions() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QWidget* widget = control(name);
        QVERIFY(widget);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            QCOMPARE(label->text(), caption);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            QCOMPARE(button->text(), caption);
        } else {
            QCOMPARE(widget->windowTitle(), caption);
        }
    }

    void colours_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPalette::ColorRole>("role");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("surname caption")
            << "label1_1" << QPalette::WindowText << QColor(255, 255, 0);
        QTest::newRow("surname back") << "label1_1" << QPalette::Window << QColor(192, 192, 192);
        QTest::newRow("ZIP caption") << "label1_5" << QPalette::WindowText << QColor(255, 255, 128);
        QTest::newRow("remarks caption")
            << "label1_14" << QPalette::WindowText << QColor(0, 0, 255);
        QTest::newRow("text box") << "Text1_7" << QPalette::Base << QColor(224, 224, 224);
        QTest::newRow("surname text") << "Text1_1" << QPalette::Text << QColor(0, 0, 0);
        QTest::newRow("organisation box")
            << "Chk_organ_3" << QPalette::WindowText << QColor(0, 0, 255);
        QTest::newRow("Frame1") << "Frame1" << QPalette::Window << QColor(192, 192, 192);
        QTest::newRow("title panel") << "Frame2" << QPalette::Window << QColor(192, 192, 255);
        QTest::newRow("ZEL-KAV") << "Label2" << QPalette::Window << QColor(192, 255, 192);
        QTest::newRow("last update") << "Label4" << QPalette::Window << QColor(128, 128, 255);
        QTest::newRow("entry count") << "Label5" << QPalette::Window << QColor(128, 255, 128);
        QTest::newRow("usage text") << "Text2" << QPalette::Base << QColor(192, 255, 255);
        QTest::newRow("text box text") << "Text1_7" << QPalette::Text << QColor(0, 0, 0);
        QTest::newRow("check box indicator")
            << "Chk_organ_3" << QPalette::Base << QColor(255, 255, 255);
        QTest::newRow("check box tick") << "Chk_organ_3" << QPalette::Text << QColor(0, 0, 255);
        QTest::newRow("button face")
            << "cmd_corrections" << QPalette::Button << QColor(239, 239, 239);
        QTest::newRow("button caption")
            << "cmd_corrections" << QPalette::ButtonText << QColor(0, 0, 0);
        QTest::newRow("chosen list item") << "list1" << QPalette::Highlight << QColor(48, 140, 198);
    }
    void colours() {
        QFETCH(QString, name);
        QFETCH(QPalette::ColorRole, role);
        QFETCH(QColor, colour);
        QVERIFY(control(name));
        QCOMPARE(control(name)->palette().color(role), colour);
    }

    // A dark desktop theme gives the application light text on dark boxes; the window keeps
    // its own colours.
    void colours_under_a_dark_theme_data() { colours_data(); }
    void colours_under_a_dark_theme() {
        struct KeptPalette {
            QPalette desktop = QApplication::palette();
            ~KeptPalette() { QApplication::setPalette(desktop); }
        } kept;
        QApplication::setPalette(QPalette(QColor(53, 53, 53), QColor(45, 45, 45)));
        QCOMPARE(QApplication::palette().color(QPalette::Text), QColor(255, 255, 255));
        init();
        colours();
    }

    void lists_are_cream_with_blue_text() {
        for (QListView* view : {f->window->List2->view(), f->window->list1->view()}) {
            QCOMPARE(view->palette().color(QPalette::Base), QColor(255, 255, 192));
            QCOMPARE(view->palette().color(QPalette::Text), QColor(0, 0, 255));
        }
    }

    void fonts() {
        const QFont surname = f->window->Text1[SurnameSlot]->font();
        QCOMPARE(QFontInfo(surname).family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(surname.pointSizeF(), 9.75);
        QVERIFY(surname.bold());
        QCOMPARE(QFontInfo(f->window->label1[3]->font()).family(), QStringLiteral("Liberation Sans"));
        QVERIFY(f->window->label1[3]->font().bold());
        QCOMPARE(f->window->Text1[FirstNamesSlot]->font().pointSizeF(), 8.25);
        QVERIFY(!f->window->Text1[FirstNamesSlot]->font().bold());
        const QFont title = control("Label2")->font();
        QCOMPARE(QFontInfo(title).family(), QStringLiteral("Liberation Serif"));
        QCOMPARE(title.pointSizeF(), 27.75);
        QVERIFY(!control("Text2")->font().bold());
    }

    void hidden_controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("shown_in_maintenance");
        for (const char* name : {"cmd_new", "cmd_store", "cmd_clear", "cmd_EXIT", "cmd_e_mail",
                                 "Command1", "cmd_import"}) {
            QTest::newRow(name) << name << false << true;
        }
        for (const char* name : {"Chh_equipm_25", "Chh_equipm_26", "List2"})
            QTest::newRow(name) << name << false << false;
        for (const char* name : {"cmd_up", "cmd_down", "cmd_corrections", "Chh_equipm_24",
                                 "Chh_equipm_27", "Frame2", "list1", "Text1_20"}) {
            QTest::newRow(name) << name << true << true;
        }
    }
    void hidden_controls() {
        QFETCH(QString, name);
        QFETCH(bool, shown);
        QFETCH(bool, shown_in_maintenance);
        QVERIFY(control(name));
        QCOMPARE(control(name)->isVisible(), shown);
        const QRect place = control(name)->geometry();
        f->window->enter_maintenance_mode();
        QCOMPARE(control(name)->isVisible(), shown_in_maintenance);
        QCOMPARE(control(name)->geometry(), place);
    }

    // Tab follows TabIndex through the visible controls only and comes back round; a group of
    // option buttons is one stop. The maintenance buttons join in at their TabIndex.
    void tab_order_data() {
        QTest::addColumn<bool>("maintenance");
        QTest::newRow("plain start") << false;
        QTest::newRow("maintenance mode") << true;
    }
    void tab_order() {
        QFETCH(bool, maintenance);
        if (maintenance) f->window->enter_maintenance_mode();
        QApplication::setActiveWindow(f->window.get());
        QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
        f->window->Opt_Mr_Mrs[0]->setFocus();
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 100; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            // The lower box's edit field and list hold one place between them.
            const QString name = focus->objectName().isEmpty()
                                     ? focus->parentWidget()->objectName() + u'.' +
                                           QString::fromLatin1(focus->metaObject()->className())
                                     : focus->objectName();
            if (name == visited.first()) break;
            visited << name;
        }
        QStringList expected{"Opt_Mr_Mrs_0", "chk_titel_0"};
        for (int s = 0; s <= 10; ++s) expected << QStringLiteral("Text1_%1").arg(s);
        for (int k = 0; k <= 5; ++k) expected << QStringLiteral("Chk_organ_%1").arg(k);
        for (int s = 11; s <= 16; ++s) expected << QStringLiteral("Text1_%1").arg(s);
        for (int k = 0; k <= 24; ++k) expected << QStringLiteral("Chh_equipm_%1").arg(k);
        expected << "Text1_17"
                 << "Text1_18"
                 << "Text1_19"
                 << "Option1_0"
                 << "Text1_20"
                 << "chk_titel_1";
        if (maintenance) expected << "cmd_EXIT" << "cmd_store" << "cmd_new" << "cmd_clear";
        expected << "cmd_down"
                 << "cmd_up"
                 << "Text1_21"
                 << "Text2";
        if (maintenance) expected << "Command1";
        expected << "cmd_corrections"
                 << "list1.QLineEdit"
                 << "list1.ChoiceListView";
        if (maintenance) expected << "cmd_e_mail";
        expected << "Chh_equipm_27";
        if (maintenance) expected << "cmd_import";
        QCOMPARE(visited, expected);
    }

    void usage_text() {
        const auto* usage = qobject_cast<QPlainTextEdit*>(control("Text2"));
        QVERIFY(usage);
        const QStringList lines = usage->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 19); // 18 lines, each ended, so the last line break opens a 19th
        QCOMPARE(lines[0], QString(20, u' ') + "Usage");
        QCOMPARE(lines[1], QStringLiteral("Click with the left mouse button "));
        QCOMPARE(lines[6], QStringLiteral("(lower box).     "));
        QCOMPARE(lines[7], QString());
        QCOMPARE(lines[8], QStringLiteral("If you want to modify any item  "));
        QCOMPARE(lines[9], QStringLiteral("please make  changes  on the"));
        QCOMPARE(lines[10], QStringLiteral("screen, click (LMB) \"Correction"));
        QCOMPARE(lines[11], QStringLiteral("File\" and send the generated text"));
        QCOMPARE(lines[15], QStringLiteral("      myrname_KAV.TXT"));
        QCOMPARE(lines[16], QStringLiteral("You find it on  the desktop."));
        QCOMPARE(lines[17], QString());
        QCOMPARE(lines[18], QString());
    }

    void radio_groups_are_separate() {
        QTest::mouseClick(f->window->Option1[1], Qt::LeftButton);
        QTest::mouseClick(f->window->Opt_Mr_Mrs[2], Qt::LeftButton);
        QTest::mouseClick(f->window->Opt_Mr_Mrs[0], Qt::LeftButton);
        QVERIFY(f->window->Opt_Mr_Mrs[0]->isChecked());
        QVERIFY(!f->window->Opt_Mr_Mrs[2]->isChecked());
        QVERIFY(f->window->Option1[1]->isChecked());
        // A click on the chosen button leaves it chosen: the user cannot clear a group.
        QTest::mouseClick(f->window->Opt_Mr_Mrs[0], Qt::LeftButton);
        QVERIFY(f->window->Opt_Mr_Mrs[0]->isChecked());
        QVERIFY(f->window->chk_titel[0]->checkState() == Qt::Unchecked);
    }

    // A screen reader must be able to announce every control the user can reach.
    void every_reachable_control_has_an_accessible_name() {
        QStringList unnamed;
        for (QWidget* widget : f->window->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(f->window.get()) || widget->focusPolicy() == Qt::NoFocus)
                continue;
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
            if (!face || face->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << widget->objectName() + u'/' + widget->metaObject()->className();
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u", ")));
        QCOMPARE(f->window->Text1[FirstInterestSlot + 1]->accessibleName(), QStringLiteral("Fields of Interest B"));
        QCOMPARE(f->window->Text1[SurnameSlot]->accessibleName(), QStringLiteral("Surname"));
    }

    void label_click_reaches_one_slot_with_its_index() {
        // The surname look-up is open after start-up only; here none is, so a click on
        // "City" opens the city look-up.
        QTest::mouseClick(f->window->label1[CityLabel], Qt::LeftButton);
        QCOMPARE(f->window->lookup_category_for_testing(), std::int16_t(4));
        QTest::mouseClick(f->window->label1[CityLabel], Qt::LeftButton);
        QCOMPARE(f->window->lookup_category_for_testing(), std::int16_t(-1));
    }
};

ZELKAV_TEST_CLASS(LayoutTest)

#include "layout_test.moc"
