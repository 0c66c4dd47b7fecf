#include "test_registry.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

Q_DECLARE_METATYPE(std::string)

// Showing an entry, and storing what the window shows back into it.
class DisplayTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> f;

    // Shows entry 1 and stores the window unchanged into it.
    void show_and_store() {
        f->table.CurrentEntry = 1;
        f->window->show_record();
        f->window->cmd_store_Click();
    }

  private slots:
    void init() { f = std::make_unique<WindowFixture>(); }
    void cleanup() { f.reset(); }

    void texts_come_back_byte_for_byte_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<std::string>("bytes");
        QTest::newRow("surname") << 1 << std::string("Sample");
        QTest::newRow("accented") << 2 << std::string("\xC9mile M\xFCller");
        QTest::newRow("euro, no-break space") << 4
                                              << std::string("\x80 5\xA0"
                                                             "000");
        QTest::newRow("byte without a character") << 6 << std::string("a\x81\x8D\x90z");
        QTest::newRow("CR LF in a single-line box") << 7 << std::string("a\r\nb");
        QTest::newRow("lone LF in a single-line box") << 8 << std::string("a\nb");
        QTest::newRow("address, CR LF") << 3 << std::string("Street 1\r\nCity\r\n");
        QTest::newRow("address, lone LF") << 3 << std::string("Street 1\nCity");
        QTest::newRow("address, lone CR") << 3 << std::string("Street 1\rCity");
        QTest::newRow("address, mixed") << 3 << std::string("a\r\n\nb\r\r\nc\n\r");
        QTest::newRow("remarks, blanks and no-break space")
            << 20 << std::string("  x\xA0 \r\n\r\n");
        QTest::newRow("commas") << 10 << std::string("a, b,,c,");
        QTest::newRow("tab and control byte") << 9 << std::string("a\tb\x01");
        QTest::newRow("blanks only") << 11 << std::string("   ");
        QTest::newRow("longer than a line edit's usual limit") << 21 << std::string(40000, 'x');
        QTest::newRow("other equipment C") << 19 << std::string("\xE6\xF8\xE5");
        QTest::newRow("surname too long to show") << 1 << std::string(100000, 'x') + "\r\nend";
        QTest::newRow("remarks too long to show, unbroken") << 20 << std::string(100000, 'x');
        QTest::newRow("remarks too long to show, cut at CR LF")
            << 20 << std::string(32766, 'x') + "\r\n" + std::string(10, 'y');
    }
    void texts_come_back_byte_for_byte() {
        QFETCH(int, slot);
        QFETCH(std::string, bytes);
        EntryTable table = named_entries(1);
        table.set_texts(1, {});
        table.set_text(1, std::size_t(slot), bytes);
        f->open(std::move(table));
        show_and_store();
        QVERIFY(f->messages.isEmpty());
        for (int s = 0; s < TextSlotCount; ++s) {
            QCOMPARE(f->table.text(1, std::size_t(s)), s == slot ? bytes : std::string());
        }
    }

    void multi_line_boxes_show_line_breaks() {
        EntryTable table = named_entries(1);
        table.set_text(1, AddressSlot, "Street 1\r\nCity");
        table.set_text(1, RemarksSlot, "one\ntwo\rthree");
        table.set_text(1, CitySlot, "a\r\nb");
        f->open(std::move(table));
        f->window->show_record();
        const auto* address = qobject_cast<QPlainTextEdit*>(f->window->Text1[AddressSlot]);
        const auto* remarks = qobject_cast<QPlainTextEdit*>(f->window->Text1[RemarksSlot]);
        QVERIFY(address && remarks);
        QCOMPARE(address->document()->blockCount(), 2);
        QCOMPARE(remarks->document()->blockCount(), 3);
        QCOMPARE(f->window->text1(AddressSlot), QStringLiteral("Street 1\r\nCity"));
        // A single-line box keeps the line end in its text.
        QCOMPARE(qobject_cast<QLineEdit*>(f->window->Text1[CitySlot])->text(), QStringLiteral("a\r\nb"));
    }

    void an_edited_box_gives_its_line_breaks_as_cr_lf() {
        EntryTable table = named_entries(1);
        table.set_text(1, AddressSlot, "a\nb");
        f->open(std::move(table));
        f->window->show_record();
        auto* address = qobject_cast<QPlainTextEdit*>(f->window->Text1[AddressSlot]);
        address->moveCursor(QTextCursor::End);
        QTest::keyClicks(address, "c");
        QTest::keyClick(address, Qt::Key_Return);
        QTest::keyClicks(address, "d");
        f->window->cmd_store_Click();
        QCOMPARE(f->table.text(1, AddressSlot), std::string_view("a\r\nbc\r\nd"));
    }

    void flags_data() {
        QTest::addColumn<int>("flag");
        QTest::addColumn<Qt::CheckState>("shown");
        QTest::addColumn<int>("stored");
        QTest::newRow("clear") << 0 << Qt::Unchecked << 0;
        QTest::newRow("ticked") << 1 << Qt::Checked << 1;
        QTest::newRow("greyed") << 2 << Qt::PartiallyChecked << 0;
        QTest::newRow("7, cannot be shown") << 7 << Qt::Unchecked << 0;
        QTest::newRow("-1, cannot be shown") << -1 << Qt::Unchecked << 0;
    }
    void flags() {
        QFETCH(int, flag);
        QFETCH(Qt::CheckState, shown);
        QFETCH(int, stored);
        EntryTable table = named_entries(1);
        table.TitleFlags[1][1] = std::int16_t(flag);
        table.OrganizationFlags[1][3] = std::int16_t(flag);
        table.EquipmentFlags[1][26] = std::int16_t(flag); // a hidden box is shown all the same
        table.EquipmentFlags[1][27] = std::int16_t(flag);
        f->open(std::move(table));
        f->window->show_record();
        QCOMPARE(f->window->chk_titel[1]->checkState(), shown);
        QCOMPARE(f->window->Chk_organ[3]->checkState(), shown);
        QCOMPARE(f->window->Chh_equipm[26]->checkState(), shown);
        QCOMPARE(f->window->Chh_equipm[27]->checkState(), shown);
        QCOMPARE(f->table.TitleFlags[1][1], std::int16_t(flag)); // showing changes nothing
        f->window->cmd_store_Click();
        QCOMPARE(f->table.TitleFlags[1][1], std::int16_t(stored));
        QCOMPARE(f->table.OrganizationFlags[1][3], std::int16_t(stored));
        QCOMPARE(f->table.EquipmentFlags[1][26], std::int16_t(stored));
        QCOMPARE(f->table.EquipmentFlags[1][27], std::int16_t(stored));
    }

    void a_click_on_a_greyed_box_ticks_it() {
        EntryTable table = named_entries(1);
        table.OrganizationFlags[1][0] = 2;
        f->open(std::move(table));
        f->window->show_record();
        QCheckBox* box = f->window->Chk_organ[0];
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->checkState(), Qt::Checked);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->checkState(), Qt::Unchecked);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->checkState(), Qt::Checked);
    }

    void salutation_data() {
        QTest::addColumn<int>("salutation");
        QTest::addColumn<int>("chosen"); // -1 for none
        QTest::addColumn<int>("stored");
        QTest::newRow("none") << -1 << -1 << -1;
        QTest::newRow("Mr, as a spare row holds it") << 0 << 0 << 0;
        QTest::newRow("Ms") << 2 << 2 << 2;
        QTest::newRow("5, cannot be shown") << 5 << -1 << -1;
        QTest::newRow("-7, cannot be shown") << -7 << -1 << -1;
    }
    void salutation() {
        QFETCH(int, salutation);
        QFETCH(int, chosen);
        QFETCH(int, stored);
        EntryTable table = named_entries(2);
        table.Salutation[1] = 1; // shown first, so that every button must change
        table.Salutation[2] = std::int16_t(salutation);
        f->open(std::move(table));
        f->window->show_record();
        f->table.CurrentEntry = 2;
        f->window->show_record();
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(f->window->Opt_Mr_Mrs[std::size_t(i)]->isChecked(), i == chosen);
        }
        f->window->cmd_store_Click();
        QCOMPARE(f->table.Salutation[2], std::int16_t(stored));
    }

    void collaboration_data() {
        QTest::addColumn<int>("flag");
        QTest::addColumn<bool>("all");
        QTest::addColumn<bool>("some");
        QTest::addColumn<int>("stored");
        QTest::newRow("none") << 0 << false << false << 0;
        QTest::newRow("all") << 1 << true << false << 1;
        QTest::newRow("some") << 2 << false << true << 2;
        QTest::newRow("3, neither") << 3 << false << false << 0;
    }
    void collaboration() {
        QFETCH(int, flag);
        QFETCH(bool, all);
        QFETCH(bool, some);
        QFETCH(int, stored);
        EntryTable table = named_entries(2);
        table.EquipmentFlags[1][CollaborationFlag] = 2;
        table.EquipmentFlags[2][CollaborationFlag] = std::int16_t(flag);
        table.EquipmentFlags[2][28] = 5;
        table.EquipmentFlags[2][29] = -9;
        f->open(std::move(table));
        f->window->show_record();
        f->table.CurrentEntry = 2;
        f->window->show_record();
        QCOMPARE(f->window->Option1[0]->isChecked(), all);
        QCOMPARE(f->window->Option1[1]->isChecked(), some);
        f->window->cmd_store_Click();
        QCOMPARE(f->table.EquipmentFlags[2][CollaborationFlag], std::int16_t(stored));
        // The reserved flags are the file's alone.
        QCOMPARE(f->table.EquipmentFlags[2][28], std::int16_t(5));
        QCOMPARE(f->table.EquipmentFlags[2][29], std::int16_t(-9));
    }

    void clear_leaves_the_last_three_equipment_boxes() {
        EntryTable table = named_entries(1);
        table.Salutation[1] = 1;
        table.TitleFlags[1] = {1, 1};
        table.OrganizationFlags[1].fill(1);
        table.EquipmentFlags[1].fill(1);
        table.EquipmentFlags[1][CollaborationFlag] = 1;
        for (int s = 0; s < TextSlotCount; ++s) table.set_text(1, s, "x");
        f->open(std::move(table));
        f->window->show_record();
        f->window->label1[SurnameLabel]->setPalette(QPalette(Qt::red));
        const QPalette caption = f->window->label1[SurnameLabel]->palette();
        f->window->cmd_clear_Click();

        for (QRadioButton* button : f->window->Opt_Mr_Mrs) QVERIFY(!button->isChecked());
        for (QRadioButton* button : f->window->Option1) QVERIFY(!button->isChecked());
        for (QCheckBox* box : f->window->chk_titel) QCOMPARE(box->checkState(), Qt::Unchecked);
        for (QCheckBox* box : f->window->Chk_organ) QCOMPARE(box->checkState(), Qt::Unchecked);
        for (int k = 0; k < 28; ++k) {
            QCOMPARE(f->window->Chh_equipm[std::size_t(k)]->checkState(),
                     k < 25 ? Qt::Unchecked : Qt::Checked);
        }
        for (int s = 0; s < TextSlotCount; ++s) QCOMPARE(f->window->text1(s), QString());
        QCOMPARE(f->window->label1[SurnameLabel]->palette(), caption);
        QCOMPARE(f->table.text(1, ZipSlot), std::string_view("x")); // the table is untouched

        // A Store right after Clear writes the cleared window into the current entry.
        f->window->cmd_store_Click();
        QCOMPARE(f->table.Salutation[1], std::int16_t(-1));
        QCOMPARE(f->table.text(1, ZipSlot), std::string_view());
        QCOMPARE(f->table.EquipmentFlags[1][24], std::int16_t(0));
        QCOMPARE(f->table.EquipmentFlags[1][25], std::int16_t(1));
        QCOMPARE(f->table.EquipmentFlags[1][27], std::int16_t(1));
        QCOMPARE(f->table.EquipmentFlags[1][CollaborationFlag], std::int16_t(0));
    }

    void showing_again_discards_typing() {
        EntryTable table = named_entries(1);
        table.set_text(1, AddressSlot, "Street\r\nCity");
        f->open(std::move(table));
        f->window->show_record();
        QTest::keyClicks(f->window->Text1[SurnameSlot], "typed");
        QTest::keyClicks(f->window->Text1[AddressSlot], "typed");
        QTest::mouseClick(f->window->Chk_organ[2], Qt::LeftButton);
        f->window->show_record();
        QCOMPARE(f->window->text1(SurnameSlot), QStringLiteral("Name 1"));
        QCOMPARE(f->window->text1(AddressSlot), QStringLiteral("Street\r\nCity"));
        QCOMPARE(f->window->Chk_organ[2]->checkState(), Qt::Unchecked);
    }

    // A long text shows its start, also where the user read the end of the one before.
    void a_text_too_long_to_show_is_cut_with_a_mark_data() {
        QTest::addColumn<int>("slot");
        QTest::newRow("single-line") << 1;
        QTest::newRow("multi-line") << 20;
    }
    void a_text_too_long_to_show_is_cut_with_a_mark() {
        QFETCH(int, slot);
        EntryTable table = named_entries(2);
        const std::string whole = "start " + std::string(200000, 'x');
        table.set_text(1, std::size_t(slot), whole);
        f->open(std::move(table));
        f->window->show_record();
        QWidget* box = f->window->Text1[std::size_t(slot)];
        const auto* line = qobject_cast<QLineEdit*>(box);
        const auto* lines = qobject_cast<QPlainTextEdit*>(box);
        const QString shown = line ? line->text() : lines->toPlainText();
        QVERIFY(shown.startsWith(QStringLiteral("start xxx")));
        QVERIFY(shown.size() < 40000);
        QVERIFY2(shown.endsWith(QStringLiteral("characters shown]")), qPrintable(shown.right(60)));
        QVERIFY(line ? line->isReadOnly() : lines->isReadOnly());
        QVERIFY(box->toolTip().contains(QStringLiteral("200,006 characters")));
        QCOMPARE(f->window->text1(slot), QString::fromStdString(whole));

        // The next entry's text is shown whole and can be edited again.
        f->table.CurrentEntry = 2;
        f->window->show_record();
        QVERIFY(!(line ? line->isReadOnly() : lines->isReadOnly()));
        QVERIFY(box->toolTip().isEmpty());
        QCOMPARE(f->window->text1(slot), slot == 1 ? QStringLiteral("Name 2") : QString());
    }

    void a_cut_text_is_stored_and_saved_whole() {
        EntryTable table = named_entries(1);
        const std::string whole(3 << 20, 'r');
        table.set_text(1, RemarksSlot, whole);
        QVERIFY(f->start_on(std::move(table)));
        f->window->enter_maintenance_mode();
        f->window->show_record();
        f->window->cmd_store_Click();
        f->window->cmd_EXIT_Click();
        QVERIFY(f->messages.isEmpty());
        EntryTable saved;
        QVERIFY(read_data_base(saved, f->folder()).ok());
        QCOMPARE(saved.text(1, RemarksSlot), std::string_view(whole));
    }

    void long_texts_show_their_start() {
        EntryTable table = named_entries(2);
        std::string lines;
        for (int i = 0; i < 30; ++i) lines += "line\r\n";
        for (int e : {1, 2}) table.set_text(std::size_t(e), CitySlot, std::string(60, 'w') + " end");
        for (int e : {1, 2}) table.set_text(std::size_t(e), RemarksSlot, lines);
        f->open(std::move(table));
        auto* city = qobject_cast<QLineEdit*>(f->window->Text1[CitySlot]);
        auto* remarks = qobject_cast<QPlainTextEdit*>(f->window->Text1[RemarksSlot]);
        f->window->show_record();
        QTest::keyClick(city, Qt::Key_End);
        QTest::keyClick(remarks, Qt::Key_End, Qt::ControlModifier);
        f->table.CurrentEntry = 2;
        f->window->show_record();
        city->grab(); // lays the text out as it is painted
        QCOMPARE(city->cursorPositionAt(QPoint(0, city->height() / 2)), 0);
        QCOMPARE(remarks->cursorForPosition(QPoint(0, 0)).blockNumber(), 0);
    }

    void collaboration_button_empties_the_choice() {
        EntryTable table = named_entries(1);
        table.EquipmentFlags[1][CollaborationFlag] = 2;
        f->open(std::move(table));
        f->window->Command1_Click(); // neither chosen: nothing changes
        QVERIFY(!f->window->Option1[0]->isChecked() && !f->window->Option1[1]->isChecked());
        f->window->show_record();
        QVERIFY(f->window->Option1[1]->isChecked());
        f->window->Command1_Click();
        QVERIFY(!f->window->Option1[0]->isChecked() && !f->window->Option1[1]->isChecked());
        QCOMPARE(f->table.EquipmentFlags[1][CollaborationFlag], std::int16_t(2));
        f->window->cmd_store_Click();
        QCOMPARE(f->table.EquipmentFlags[1][CollaborationFlag], std::int16_t(0));
    }
};

ZELKAV_TEST_CLASS(DisplayTest)

#include "display_test.moc"
