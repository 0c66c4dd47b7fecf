#include "empty_window_lines.h"
#include "file_bytes.h"
#include "frm_ZEL.h"
#include "import_review_dialog.h"
#include "message_box.h"
#include "test_registry.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QMimeData>
#include <QUrl>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class OutputWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> f;

    QString desktop(const QString& name = {}) const { return f->desktop(name); }
    QString work(const QString& name) const { return f->dir.filePath(name); }
    // What the window said, errors marked as such.
    QStringList messages() const {
        QStringList said;
        for (qsizetype i = 0; i < f->messages.size(); ++i)
            said << (f->errors[i] ? "error: " : "") + f->messages[i];
        return said;
    }
    void open_window(EntryTable table) { f->open(std::move(table)); }
    void show_entry(int entry) {
        f->directory.choose(std::int16_t(entry));
        f->window->show_record();
    }
    void type_into(int slot, const QString& text) {
        auto* box = qobject_cast<QLineEdit*>(f->window->Text1[slot]);
        QVERIFY(box);
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    void click_correction() { QTest::mouseClick(f->window->cmd_corrections, Qt::LeftButton); }

  private slots:
    // The desktop is the test's own: HOME points into a fresh folder that has no Desktop yet.
    void init() { f = std::make_unique<WindowFixture>(); }
    void cleanup() { f.reset(); }

    void empty_window_written_to_new_desktop() {
        open_window(entries_with_emails({}));
        click_correction();
        QCOMPARE(messages(), QStringList());
        QCOMPARE(file_bytes(desktop("_KAV.TXT")), with_line_ends(empty_window_lines()).toLatin1());
    }

    void unstored_edits_written_and_tables_kept() {
        EntryTable table = entries_with_emails({"castell@mine.at"});
        table.set_text(1, SurnameSlot, "Castell");
        table.set_text(1, AddressSlot, "Main St 1\r\nFlat 2");
        table.set_text(1, TelephoneSlot, "+43 111");
        table.set_text(1, RemarksSlot, "likes \xe9tch\xe9"
                                 "es\r\nretired");
        table.TitleFlags[1][1] = 2; // greyed
        open_window(table);
        show_entry(1);

        type_into(TelephoneSlot, "+43 999");
        QTest::mouseClick(f->window->Chk_organ[1], Qt::LeftButton);
        QTest::mouseClick(f->window->Option1[1], Qt::LeftButton);
        click_correction();

        QCOMPARE(messages(), QStringList());
        const QString file = QString::fromLatin1(file_bytes(desktop("Castell_KAV.TXT")));
        for (const char* line :
             {"\r\nSurname:  Castell\r\n", "\r\nTelephone:  +43 999\r\n",
              "\r\nMailing Address:  \r\nMain St 1\r\nFlat 2\r\n...\r\nCity", "\r\n  Dr.:  no\r\n",
              "\r\n  Museum:  yes\r\n", "\r\n  all:  no\r\n  some:  yes\r\n",
              "\r\nRemarks\r\nlikes \u00e9tch\u00e9es\r\nretired\r\n"})
            QVERIFY2(file.contains(QString::fromUtf8(line)), line);
        QVERIFY(file.endsWith("\r\nretired\r\n"));

        QCOMPARE(f->table.text(1, TelephoneSlot), std::string_view("+43 111"));
        QCOMPARE(f->table.OrganizationFlags[1][1], std::int16_t(0));
        QCOMPARE(f->table.TableModified, std::int16_t(0));
        QCOMPARE(QDir(f->dir.path()).entryList(QDir::Files), QStringList());
    }

    // The box cannot be edited while it shows a text cut short, so the file says what the
    // directory holds: the whole text, never the cut one with its mark.
    void a_text_cut_short_on_screen_is_written_whole() {
        EntryTable table = entries_with_emails({});
        table.set_text(1, SurnameSlot, "Castell");
        const std::string remarks = "begin " + std::string(100000, 'r') + " end";
        table.set_text(1, RemarksSlot, remarks);
        open_window(table);
        show_entry(1);
        click_correction();
        QCOMPARE(messages(), QStringList());
        const QByteArray file = file_bytes(desktop("Castell_KAV.TXT"));
        QVERIFY(file.contains("\r\nRemarks\r\n" + QByteArray::fromStdString(remarks) + "\r\n"));
        QVERIFY(!file.contains("characters shown"));
    }

    void unwritable_desktop_reported_and_edits_kept() {
        QVERIFY(QDir(f->dir.path()).mkpath("home"));
        QFile blocker(desktop()); // a file where the folder should be stops root as well
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        open_window(entries_with_emails({""}));
        show_entry(1);
        type_into(SurnameSlot, "Castell");
        type_into(TelephoneSlot, "+43 999");

        click_correction();
        QCOMPARE(messages().size(), 1);
        QVERIFY2(messages()[0].startsWith("error: ") && messages()[0].contains(desktop()),
                 qPrintable(messages()[0]));
        QVERIFY(QFileInfo(desktop()).isFile());
        QVERIFY(f->window->isVisible());
        QCOMPARE(f->window->text1(SurnameSlot), QString("Castell"));
        QCOMPARE(f->window->text1(TelephoneSlot), QString("+43 999"));

        // Once the desktop can take it, the same edits go out.
        QVERIFY(QFile::remove(desktop()));
        click_correction();
        QCOMPARE(messages().size(), 1);
        QVERIFY(file_bytes(desktop("Castell_KAV.TXT")).contains("\r\nTelephone:  +43 999\r\n"));
    }

    // A reader's typing goes nowhere but into a correction file: leaving it asks first, and
    // Write is the default. Typing that a correction file already holds asks nothing.
    void reader_asked_before_typed_corrections_go_data() {
        QTest::addColumn<QString>("road");     // how the reader leaves the entry
        QTest::addColumn<bool>("typed");       // a telephone number typed
        QTest::addColumn<bool>("written");     // a correction file written after the typing
        QTest::addColumn<QString>("answer");   // what the reader answers, if asked
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("file");        // a correction file with the typing exists
        QTest::addColumn<int>("shown");        // the entry shown afterwards (0: window closed)
        QTest::newRow("next, Write") << "next" << true << false << "Write" << true << true << 3;
        QTest::newRow("next, Discard") << "next" << true << false << "Discard" << true << false << 3;
        QTest::newRow("next, Cancel") << "next" << true << false << "Cancel" << true << false << 2;
        QTest::newRow("previous, Cancel") << "previous" << true << false << "Cancel" << true << false << 2;
        QTest::newRow("list, Write") << "list" << true << false << "Write" << true << true << 1;
        QTest::newRow("close, Write") << "close" << true << false << "Write" << true << true << 0;
        QTest::newRow("close, Cancel") << "close" << true << false << "Cancel" << true << false << 2;
        QTest::newRow("nothing typed") << "next" << false << false << "Cancel" << false << false << 3;
        QTest::newRow("typing already written") << "next" << true << true << "Cancel" << false << true << 3;
    }
    void reader_asked_before_typed_corrections_go() {
        QFETCH(QString, road);
        QFETCH(bool, typed);
        QFETCH(bool, written);
        QFETCH(QString, answer);
        QFETCH(bool, asked);
        QFETCH(bool, file);
        QFETCH(int, shown);
        open_window(entries_with_emails({"a@x.org", "b@x.org", "c@x.org"}));
        QVERIFY(f->window->choose_entry(2));
        if (typed) type_into(TelephoneSlot, "+43 999");
        if (written) click_correction();
        const QString telephone = f->window->text1(TelephoneSlot);
        QStringList questions;
        QStringList offered;
        set_among_hook_for_testing([&](const QString& question, const QStringList& answers) {
            questions << question;
            offered = answers;
            return answer;
        });
        bool closed = false;
        if (road == "next") f->window->cmd_up_Click();
        if (road == "previous") f->window->cmd_down_Click();
        if (road == "list") f->window->choose_entry(1);
        if (road == "close") closed = f->window->close();
        set_among_hook_for_testing({});

        QCOMPARE(questions.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(questions[0], QString("Write a correction file with your changes to Surname2?"));
            QCOMPARE(offered, (QStringList{"Write", "Discard", "Cancel"}));
        }
        QCOMPARE(file_bytes(desktop("Surname2_KAV.TXT")).contains("Telephone:  +43 999"), file);
        QCOMPARE(closed, shown == 0);
        if (shown) QCOMPARE(int(f->directory.current()), shown);
        // Cancel leaves the typing where it was.
        if (answer == "Cancel" && asked) QCOMPARE(f->window->text1(TelephoneSlot), telephone);
        QCOMPARE(messages(), QStringList());
    }

    void email_list_of_stored_addresses() {
        open_window(entries_with_emails({"a@b.org", "", "c@d.at"}));
        show_entry(2);
        type_into(EmailSlot, "typed@not.stored");
        f->window->cmd_e_mail_Click();
        QCOMPARE(messages(), QStringList());
        QCOMPARE(file_bytes(work("ZEL-KAV_e-mail")), QByteArray("a@b.org\r\n\r\nc@d.at\r\n"));

        f->window->cmd_store_Click();
        f->window->cmd_e_mail_Click();
        QCOMPARE(file_bytes(work("ZEL-KAV_e-mail")),
                 QByteArray("a@b.org\r\ntyped@not.stored\r\nc@d.at\r\n"));
    }

    void email_list_not_writable_reported() {
        QVERIFY(QDir(f->dir.path()).mkdir("ZEL-KAV_e-mail"));
        open_window(entries_with_emails({"a@b.org"}));
        f->window->cmd_e_mail_Click();
        QCOMPARE(messages().size(), 1);
        QVERIFY2(messages()[0].startsWith("error: ") &&
                     messages()[0].contains(work("ZEL-KAV_e-mail")),
                 qPrintable(messages()[0]));
        QVERIFY(f->window->isVisible());
    }

    // The compiler's round: a user's correction file, imported while another entry is shown,
    // shows its person's entry with the user's controls, and "Edit first" stores nothing.
    void import_through_the_dialog_and_by_drop_data() {
        QTest::addColumn<bool>("by_drop");
        QTest::newRow("Import button") << false;
        QTest::newRow("dropped on the window") << true;
    }
    void import_through_the_dialog_and_by_drop() {
        QFETCH(bool, by_drop);
        EntryTable table = entries_with_emails({"castell@mine.at", "other@mine.at"});
        table.set_text(1, SurnameSlot, "Castell");
        table.set_text(1, AddressSlot, "Main St 1\r\nFlat 2");
        table.set_text(1, RemarksSlot, "likes maps\r\n  and \xe9tch\xe9s ");
        table.Salutation[1] = 2;
        table.TitleFlags[1][0] = 1;
        table.EquipmentFlags[1][9] = 1;
        table.EquipmentFlags[1][27] = 1;
        table.EquipmentFlags[1][CollaborationFlag] = 1;
        table.EquipmentFlags[2][11] = 1;
        open_window(table);
        f->window->enter_maintenance_mode();
        show_entry(1);
        type_into(TelephoneSlot, "+43 999");
        click_correction();
        const QString file = desktop("Castell_KAV.TXT");
        const QByteArray written = file_bytes(file);

        show_entry(2);
        const EntryTable stored = f->table;
        QString folder;
        QStringList filters;
        set_files_choice_hook_for_testing([&](const QString& in, const QStringList& of) {
            folder = in;
            filters = of;
            return QStringList{file};
        });
        std::vector<FieldDifference> reviewed;
        set_review_hook_for_testing([&](const QString&, const std::vector<FieldDifference>& d) {
            reviewed = d;
            return ReviewAnswer::EditFirst;
        });
        if (by_drop) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(file)});
            QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(f->window.get(), &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(f->window.get(), &drop);
            QTRY_VERIFY(!reviewed.empty());
        } else {
            QTest::mouseClick(f->window->cmd_import, Qt::LeftButton);
            QCOMPARE(folder, desktop() + "/");
            QVERIFY2(filters.value(0).contains("*_[Kk][Aa][Vv]*.[Tt][Xx][Tt]"),
                     qPrintable(filters.join(";;")));
        }
        set_files_choice_hook_for_testing({});
        set_review_hook_for_testing({});

        QCOMPARE(messages(), QStringList());
        QCOMPARE(reviewed, (std::vector<FieldDifference>{{"Telephone", "", "+43 999", false}}));
        QCOMPARE(f->window->text1(TelephoneSlot), QString("+43 999"));
        QCOMPARE(f->window->text1(RemarksSlot), QString::fromLatin1("likes maps\r\n  and \xe9tch\xe9s "));
        QVERIFY(f->window->Opt_Mr_Mrs[2]->isChecked());
        QVERIFY(f->window->Option1[0]->isChecked());
        QCOMPARE(f->window->Chh_equipm[27]->checkState(), Qt::Checked);
        QCOMPARE(f->window->Chh_equipm[11]->checkState(), Qt::Unchecked);
        QCOMPARE(f->table.CurrentEntry, std::int16_t(1));
        QVERIFY(f->table.same_texts(stored) && f->table.EquipmentFlags == stored.EquipmentFlags);

        // Written again, the window gives the same file.
        QVERIFY(QFile::remove(file));
        click_correction();
        QCOMPARE(file_bytes(file), written);
    }

    void import_refused_leaves_the_window_alone() {
        open_window(entries_with_emails({"a@b.org"}));
        f->window->enter_maintenance_mode();
        show_entry(1);
        click_correction();
        QFile file(desktop("Surname1_KAV.TXT"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll().replace("Telephone:  ...", "Telephone:  \"1\"");
        bytes.chop(bytes.size() - bytes.indexOf("  SEM:"));
        file.resize(0);
        file.write(bytes.replace("City:  ...", "City:  Graz"));
        file.close();
        type_into(TelephoneSlot, "typed");

        f->window->import_correction_file(file.fileName());
        QCOMPARE(messages().size(), 1);
        QVERIFY2(messages()[0].startsWith("error: ") && messages()[0].contains(file.fileName()) &&
                     messages()[0].contains("line 53") &&
                     messages()[0].contains("The window was not changed."),
                 qPrintable(messages()[0]));
        QCOMPARE(f->window->text1(TelephoneSlot), QString("typed"));
        QCOMPARE(f->window->text1(CitySlot), QString());
    }
};

ZELKAV_TEST_CLASS(OutputWindowTest)
#include "output_window_test.moc"
