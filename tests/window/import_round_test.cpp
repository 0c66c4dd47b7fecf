#include "correction_file.h"
#include "cp1252.h"
#include "import_review_dialog.h"
#include "import_round.h"
#include "notice_line.h"
#include "person_choice_dialog.h"
#include "sorted_list.h"
#include "test_registry.h"
#include "window_fixture.h"
#include "window_snapshot.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QUrl>

Q_DECLARE_METATYPE(ReviewAnswer)

namespace {
constexpr int Telephone = 7;
}

// The compiler's round in maintenance mode: each correction file lands on the entry of its
// person, is reviewed before it is stored, and nothing typed or imported is dropped unasked.
class ImportRoundTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> f;
    QStringList questions;          // every question asked, in order
    QString among_answer; // "Add as a new entry", "Cancel", or "default" among likely people
    LikelyChoice likely_default; // what Return would have taken among likely people
    std::int16_t person_choice = 0; // entry chosen among several, 0 to cancel
    ReviewAnswer review = ReviewAnswer::Store;
    QStringList reviewed; // file names, in the order they were reviewed
    std::vector<FieldDifference> last_differences;

    // Castell and Berg (twice, in different cities) and Okafor.
    static EntryTable people() {
        EntryTable table = empty_entries(4);
        const char* rows[][4] = {{"Castell", "Ana", "Graz", "Austria"},
                                 {"Berg", "Anna", "Oslo", "Norway"},
                                 {"Okafor", "Chidi", "Lagos", "Nigeria"},
                                 {"Berg", "Anna", "Bergen", "Norway"}};
        for (int e = 1; e <= 4; ++e) {
            table.set_text(e, SurnameSlot, rows[e - 1][0]);
            table.set_text(e, FirstNamesSlot, rows[e - 1][1]);
            table.set_text(e, CitySlot, rows[e - 1][2]);
            table.set_text(e, CountrySlot, rows[e - 1][3]);
            table.set_text(e, Telephone, "+1 " + std::to_string(e));
        }
        return table;
    }

    void start_maintaining(EntryTable table = people()) {
        QVERIFY(f->start_on(std::move(table)));
        f->window->enter_maintenance_mode();
    }

    // A correction file of entry `e` as the window writes it, with `telephone` and the names
    // given; written beside the data file under `name`.
    QString correction_file(int e, const QString& name, const QString& telephone,
                            const QString& surname = {}, const QString& first_names = {}) {
        CorrectionSnapshot window = entry_values(f->table, e);
        window.Text1[Telephone] = telephone;
        if (!surname.isNull()) window.Text1[SurnameSlot] = surname;
        if (!first_names.isNull()) window.Text1[FirstNamesSlot] = first_names;
        QFile file(f->dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly)) return {};
        file.write(encode_correction_text(correction_text(window)));
        return file.fileName();
    }

    QString telephone(int e) const { return from_cp1252(f->table.text(e, Telephone)); }

    int list_row_of(int entry) const {
        for (int r = 0; r < f->window->list1->count(); ++r)
            if (f->window->list1->item_data(r) == entry) return r;
        return -1;
    }

  private slots:
    void init() {
        f = std::make_unique<WindowFixture>();
        questions.clear();
        reviewed.clear();
        among_answer = QStringLiteral("Cancel");
        person_choice = 0;
        review = ReviewAnswer::Store;
        // The directory question on closing is not this test's subject.
        set_answer_hook_for_testing([](const QString&) { return QMessageBox::Discard; });
        set_among_hook_for_testing([this](const QString& question, const QStringList& answers) {
            questions << question;
            return answers.contains(among_answer) ? among_answer : answers.back();
        });
        set_person_choice_hook_for_testing([this](const std::vector<PersonCandidate>& candidates) {
            for (const PersonCandidate& c : candidates)
                questions << QStringLiteral("%1 %2 %3").arg(c.entry).arg(c.surname, c.city);
            return person_choice;
        });
        set_likely_choice_hook_for_testing(
            [this](const std::vector<PersonCandidate>& candidates, LikelyChoice by_default) {
                for (const PersonCandidate& c : candidates)
                    questions << QStringLiteral("%1 %2: %3").arg(c.entry).arg(c.surname, c.reasons);
                likely_default = by_default;
                if (among_answer == "Add as a new entry")
                    return LikelyChoice{LikelyChoice::Kind::AddNew};
                return among_answer == "default" ? by_default : LikelyChoice{};
            });
        set_review_hook_for_testing(
            [this](const QString& file, const std::vector<FieldDifference>& differences) {
                reviewed << QFileInfo(file).fileName();
                last_differences = differences;
                return review;
            });
    }
    void cleanup() {
        set_answer_hook_for_testing({});
        set_among_hook_for_testing({});
        set_person_choice_hook_for_testing({});
        set_likely_choice_hook_for_testing({});
        set_review_hook_for_testing({});
        set_files_choice_hook_for_testing({});
        f.reset();
    }

    // The right person: whatever the window shows, the file's person gets the change.
    void import_finds_its_person_data() {
        QTest::addColumn<int>("shown");       // 0: nothing shown since the start
        QTest::addColumn<int>("written");     // the entry the file was written from
        QTest::addColumn<QString>("surname"); // null: as written
        QTest::addColumn<std::int16_t>("choice");
        QTest::addColumn<QString>("among");
        QTest::addColumn<int>("stored"); // the entry that takes the file; 0: none
        QTest::addColumn<int>("count");
        QTest::newRow("one match, another entry shown")
            << 3 << 1 << QString() << std::int16_t(0) << QString() << 1 << 4;
        QTest::newRow("one match, nothing shown")
            << 0 << 3 << QString() << std::int16_t(0) << QString() << 3 << 4;
        QTest::newRow("case and blanks differ")
            << 3 << 1 << " castell " << std::int16_t(0) << QString() << 1 << 4;
        QTest::newRow("several, the second chosen")
            << 1 << 2 << QString() << std::int16_t(4) << QString() << 4 << 4;
        QTest::newRow("several, cancelled")
            << 1 << 2 << QString() << std::int16_t(0) << QString() << 0 << 4;
        QTest::newRow("none, added as a new entry")
            << 1 << 1 << "Brückner" << std::int16_t(0) << "Add as a new entry" << 5 << 5;
        QTest::newRow("none, cancelled")
            << 1 << 1 << "Brückner" << std::int16_t(0) << "Cancel" << 0 << 4;
        QTest::newRow("none, renamed, Return takes the likely person")
            << 3 << 1 << "Brückner" << std::int16_t(0) << "default" << 1 << 4;
    }
    void import_finds_its_person() {
        QFETCH(int, shown);
        QFETCH(int, written);
        QFETCH(QString, surname);
        QFETCH(std::int16_t, choice);
        QFETCH(QString, among);
        QFETCH(int, stored);
        QFETCH(int, count);
        start_maintaining();
        const QString file = correction_file(written, "x_KAV.TXT", "+9 new", surname);
        if (shown) QVERIFY(f->window->choose_entry(std::int16_t(shown)));
        person_choice = choice;
        among_answer = among;
        const EntryTable before = f->table;

        f->window->import_correction_file(file);
        QVERIFY2(f->messages.isEmpty(), qPrintable(f->messages.join('\n')));
        QCOMPARE(f->table.EntryCount, std::int16_t(count));
        for (int e = 1; e <= 4; ++e)
            if (e != stored) QCOMPARE(f->table.texts(e), before.texts(e));
        if (stored) {
            QCOMPARE(telephone(stored), QString("+9 new"));
            QCOMPARE(f->table.CurrentEntry, std::int16_t(stored));
            QCOMPARE(f->window->list1->list_index(), list_row_of(stored)); // as a choice there
            QCOMPARE(f->window->text1(Telephone), QString("+9 new"));
            QVERIFY(!f->window->has_unstored_changes());
            QCOMPARE(reviewed, QStringList{"x_KAV.TXT"});
        } else {
            QCOMPARE(f->table.TableModified, std::int16_t(0));
            QCOMPARE(f->table.CurrentEntry, before.CurrentEntry);
        }
        if (choice || QTest::currentDataTag() == QString("several, cancelled"))
            QCOMPARE(questions, (QStringList{"2 Berg Oslo", "4 Berg Bergen"}));
        if (!among.isEmpty()) {
            QCOMPARE(questions, QStringList{"1 Castell: same first names, same city"});
            QCOMPARE(likely_default, (LikelyChoice{LikelyChoice::Kind::Entry, 1}));
        }
        if (among == "default") {
            const auto renamed =
                std::find_if(last_differences.begin(), last_differences.end(),
                             [](const FieldDifference& d) { return d.field == "Surname"; });
            QVERIFY(renamed != last_differences.end());
            QCOMPARE(renamed->held + " -> " + renamed->file, QString("Castell -> Brückner"));
        }
    }

    // Review: Store stores at once, "Edit first" leaves the file's content to edit, Skip shows
    // the entry as stored.
    void review_answers_data() {
        QTest::addColumn<ReviewAnswer>("given");
        QTest::addColumn<QString>("says"); // the file's telephone
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Store") << ReviewAnswer::Store << "+9 new"
                               << "+9 new"
                               << "+9 new";
        QTest::newRow("Edit first") << ReviewAnswer::EditFirst << "+9 new"
                                    << "+1 1"
                                    << "+9 new";
        QTest::newRow("Skip") << ReviewAnswer::Skip << "+9 new"
                              << "+1 1"
                              << "+1 1";
        QTest::newRow("Store of a quote is refused") << ReviewAnswer::Store << "+9 \"new\""
                                                     << "+1 1"
                                                     << "+9 \"new\"";
    }
    void review_answers() {
        QFETCH(ReviewAnswer, given);
        QFETCH(QString, says);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        start_maintaining();
        const QString file = correction_file(1, "Castell_KAV.TXT", says);
        review = given;
        f->window->import_correction_file(file);
        const bool unstorable = says.contains('"');
        QCOMPARE(last_differences,
                 (std::vector<FieldDifference>{{"Telephone", "+1 1", says, unstorable}}));
        QCOMPARE(telephone(1), stored);
        QCOMPARE(f->window->text1(Telephone), shown);
        QCOMPARE(f->window->has_unstored_changes(), shown != stored);
        QCOMPARE(f->table.CurrentEntry, std::int16_t(1));
        QCOMPARE(f->messages.size(), qsizetype(unstorable));
        if (unstorable) QVERIFY2(f->messages[0].contains("Telephone"), qPrintable(f->messages[0]));
    }

    // A file that holds what the entry holds stores nothing: no review, no new change date.
    void unchanged_file_stores_nothing() {
        EntryTable table = people();
        table.ChangeDate[1] = 40000;
        start_maintaining(std::move(table));
        const QString file = correction_file(1, "Castell_KAV.TXT", "+1 1");
        f->window->import_correction_file(file);
        QVERIFY(reviewed.isEmpty());
        QCOMPARE(f->table.ChangeDate[1], SerialDate(40000));
        QCOMPARE(f->table.TableModified, std::int16_t(0));
        QCOMPARE(f->messages.size(), 1);
        QVERIFY2(f->messages[0].startsWith("No changes for Castell") && !f->errors[0],
                 qPrintable(f->messages[0]));
    }

    // A batch: file-name order, second-copy names, one summary with each refusal.
    void batch_of_files() {
        start_maintaining();
        const QStringList files = {
            correction_file(3, "Okafor_kav-1.txt", "+9 3"),
            correction_file(1, "castell_KAV (1).TXT", "+9 1"),
            f->dir.filePath("Broken_KAV.TXT"),
            correction_file(1, "Berg_KAV.TXT", "+9 2", "Berg", "Anna"),
            correction_file(1, "Dupont_KAV.TXT", "+1 1"), // Castell's, as the directory holds it
        };
        QFile broken(files[2]);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("Title:  Dr.\r\n");
        broken.close();
        person_choice = 2;
        int calls = 0;
        set_review_hook_for_testing([&](const QString& file, const std::vector<FieldDifference>&) {
            reviewed << QFileInfo(file).fileName();
            return ++calls == 2 ? ReviewAnswer::Skip : ReviewAnswer::Store;
        });
        f->window->import_correction_files(files);
        QCOMPARE(reviewed,
                 (QStringList{"Berg_KAV.TXT", "castell_KAV (1).TXT", "Okafor_kav-1.txt"}));
        QCOMPARE(telephone(2), QString("+9 2"));
        QCOMPARE(telephone(1), QString("+1 1"));
        QCOMPARE(telephone(3), QString("+9 3"));
        QCOMPARE(f->messages.size(), 1);
        const QString summary = f->messages.front();
        QVERIFY2(summary.startsWith(
                     "5 correction files: 2 stored, 1 unchanged, 1 skipped, 1 refused.") &&
                     summary.contains("No changes for Castell") && summary.contains(files[2]) &&
                     summary.contains("line 1") &&
                     summary.contains("\n\ncastell_KAV (1).TXT: skipped, entry 1 (Castell)\n"),
                 qPrintable(summary));
        // The log lies in the program's data folder and holds what each file changed.
        const QString log = summary.section(QStringLiteral("The round's log: "), 1);
        QVERIFY2(log.startsWith(f->dir.filePath("home/.local/share/")), qPrintable(log));
        QFile logged(log);
        QVERIFY(logged.open(QIODevice::ReadOnly));
        QVERIFY(logged.readAll().contains("Berg_KAV.TXT: stored, entry 2 (Berg)\n"));
    }

    // "Edit first" holds the batch: the title counts the files left, and the next file comes
    // once the entry on the screen is stored or its changes discarded; another import stops it.
    void batch_goes_on_data() {
        QTest::addColumn<QString>("then"); // what the compiler does with A on the screen
        QTest::addColumn<QString>("a_phone"); // entry 1's telephone at the end
        QTest::addColumn<QString>("summary");
        QTest::newRow("stored") << "store" << "+9 1" << "2 correction files: 2 stored.";
        QTest::newRow("discarded") << "discard" << "+1 1"
                                   << "2 correction files: 1 stored, 1 skipped.";
        QTest::newRow("typed back, then browsed") << "type back" << "+1 1"
                                                  << "2 correction files: 1 stored, 1 skipped.";
        QTest::newRow("another import") << "import" << "+1 1"
                                        << "2 correction files: 2 not reviewed.";
    }
    void batch_goes_on() {
        QFETCH(QString, then);
        QFETCH(QString, a_phone);
        QFETCH(QString, summary);
        start_maintaining();
        const QStringList files = {correction_file(1, "A_KAV.TXT", "+9 1"),
                                   correction_file(3, "B_KAV.TXT", "+9 3")};
        int calls = 0;
        set_review_hook_for_testing([&](const QString& file, const std::vector<FieldDifference>&) {
            reviewed << QFileInfo(file).fileName();
            return ++calls == 1 ? ReviewAnswer::EditFirst : ReviewAnswer::Store;
        });
        f->window->import_correction_files(files);
        QCOMPARE(reviewed, QStringList{"A_KAV.TXT"});
        QVERIFY(f->messages.isEmpty());
        QVERIFY(f->window->waiting_round());
        QVERIFY2(f->window->windowTitle().endsWith(
                     "import: this entry, then 1 more correction file"),
                 qPrintable(f->window->windowTitle()));
        QCOMPARE(f->window->text1(Telephone), QString("+9 1"));
        QCOMPARE(f->table.TableModified, std::int16_t(0));

        among_answer = QStringLiteral("Discard");
        if (then == "store") f->window->cmd_store_Click();
        if (then == "type back") f->window->set_text1(Telephone, "+1 1");
        if (then == "discard" || then == "type back") QVERIFY(f->window->choose_entry(2));
        if (then == "import") f->window->import_correction_files({files[1]});
        QTRY_VERIFY(!f->window->waiting_round());
        QCOMPARE(reviewed, (QStringList{"A_KAV.TXT", "B_KAV.TXT"}));
        QCOMPARE(telephone(1), a_phone);
        QCOMPARE(telephone(3), QString("+9 3"));
        QCOMPARE(f->messages.size(), 1);
        QVERIFY2(f->messages[0].startsWith(summary) && !f->errors[0], qPrintable(f->messages[0]));
        QVERIFY(!f->window->windowTitle().contains("import:"));
    }

    // Cancel at the question about typing not stored stops the round before its first file;
    // closing the window while a file waits ends the round there.
    void batch_cancelled() {
        start_maintaining();
        const QStringList files = {correction_file(1, "A_KAV.TXT", "+9 1"),
                                   correction_file(3, "B_KAV.TXT", "+9 3")};
        QVERIFY(f->window->choose_entry(2));
        f->window->set_text1(Telephone, "typed");
        f->window->import_correction_files(files);
        QVERIFY(reviewed.isEmpty());
        QCOMPARE(f->messages.size(), 1);
        QVERIFY2(f->messages[0].startsWith("2 correction files: 2 not reviewed.") &&
                     f->messages[0].contains("A_KAV.TXT: not reviewed: the round was cancelled "
                                             "here") &&
                     f->messages[0].contains("B_KAV.TXT: not reviewed"),
                 qPrintable(f->messages[0]));

        f->window->set_text1(Telephone, "+1 2");
        review = ReviewAnswer::EditFirst;
        among_answer = QStringLiteral("Discard");
        f->window->import_correction_files(files);
        QVERIFY(f->window->waiting_round());
        QVERIFY(f->window->close());
        QVERIFY(!f->window->waiting_round());
        QTest::qWait(10); // nothing more is taken
        QCOMPARE(reviewed, QStringList{"A_KAV.TXT"});
        QCOMPARE(f->messages.size(), 1);
    }

    // Ctrl+Z takes back an import's Store: the entry and the window hold what they held.
    void undo_takes_back_a_store() {
        EntryTable table = people();
        table.ChangeDate[1] = 40000;
        start_maintaining(std::move(table));
        QVERIFY(f->window->cmd_store->toolTip().endsWith("\nTake back the last Store (Ctrl+Z)"));
        f->window->import_correction_file(correction_file(1, "Castell_KAV.TXT", "+9 1"));
        QCOMPARE(telephone(1), QString("+9 1"));
        // From a box: its own typing first, then the Store.
        QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
        auto* box = f->control("Text1_4");
        box->setFocus();
        QTest::keyClicks(box, "x");
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(telephone(1), QString("+9 1"));
        QVERIFY(!f->window->has_unstored_changes());
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(telephone(1), QString("+1 1"));
        QCOMPARE(f->table.ChangeDate[1], SerialDate(40000));
        QCOMPARE(f->window->text1(Telephone), QString("+1 1"));
        QVERIFY(!f->window->has_unstored_changes());
        QCOMPARE(f->window->Notice->notice(), QString("Took back the Store of entry 1 (Castell)."));
        f->window->undo_store();
        QCOMPARE(f->messages.size(), 1);
        QVERIFY2(f->messages[0].contains("no entry was stored"), qPrintable(f->messages[0]));
    }

    // The dialog takes several files and opens where the last import was; a drop takes all.
    void batch_through_the_dialog_and_by_drop() {
        start_maintaining();
        QDir(f->dir.path()).mkdir("mail");
        const QStringList files = {correction_file(1, "mail/Castell_KAV.TXT", "+9 1"),
                                   correction_file(3, "mail/Okafor_KAV.TXT", "+9 3")};
        QStringList folders, filters;
        set_files_choice_hook_for_testing([&](const QString& folder, const QStringList& offered) {
            folders << folder;
            filters = offered;
            return folders.size() == 1 ? files : QStringList();
        });
        f->window->cmd_import_Click();
        f->window->cmd_import_Click();
        QCOMPARE(folders, (QStringList{f->desktop() + "/", f->dir.filePath("mail")}));
        QVERIFY(filters.size() == 2 && filters[1] == "All files (*)");
        QCOMPARE(telephone(1), QString("+9 1"));
        QCOMPARE(telephone(3), QString("+9 3"));
        QVERIFY(QFile::exists(f->dir.filePath("home/.config/zel-kav/zel-kav.conf")));

        reviewed.clear();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(files[1]), QUrl::fromLocalFile(files[0])});
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(f->window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(f->window.get(), &drop);
        // Both were stored already: neither is reviewed again, in file-name order.
        QTRY_COMPARE(f->messages.size(), 2);
        QVERIFY(reviewed.isEmpty());
        QVERIFY2(f->messages[1].startsWith("2 correction files: 2 unchanged.") &&
                     f->messages[1].contains("Castell_KAV.TXT: unchanged: No changes for Castell") &&
                     f->messages[1].contains("Okafor_KAV.TXT: unchanged: No changes for Okafor") &&
                     !f->errors[1],
                 qPrintable(f->messages[1]));
    }

    // Store needs an entry on the screen; New followed by Store stays as it was.
    void store_needs_a_shown_entry_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("stores");
        QTest::newRow("at start") << "" << false;
        QTest::newRow("Clear at start") << "clear" << false;
        QTest::newRow("New at start") << "new" << true;
        QTest::newRow("Clear after a choice") << "choose clear" << true;
    }
    void store_needs_a_shown_entry() {
        QFETCH(QString, before);
        QFETCH(bool, stores);
        start_maintaining();
        if (before.contains("choose")) f->window->choose_entry(2);
        if (before.contains("clear")) f->window->cmd_clear_Click();
        if (before.contains("new")) f->window->cmd_new_Click();
        const EntryTable was = f->table;
        among_answer = "Store";
        f->window->cmd_store_Click();
        QCOMPARE(f->table.TableModified, std::int16_t(stores));
        // What Clear left would empty Berg's entry: asked first.
        QCOMPARE(questions.size(), qsizetype(before == "choose clear"));
        if (!stores) {
            QCOMPARE(f->messages.size(), 1);
            QVERIFY2(f->messages[0].contains("Choose an entry") &&
                         f->messages[0].contains("click New"),
                     qPrintable(f->messages[0]));
            QVERIFY(f->table.same_texts(was));
        }
    }

    // Typing, then leaving the entry by each road, with each answer.
    void unstored_changes_are_asked_about_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("given");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("left");    // the window went on to the road's end
        QTest::addColumn<QString>("kept"); // what entry 1 holds afterwards
        for (const char* road : {"choose", "browse", "close", "EXIT"}) {
            QTest::addRow("%s, Store", road) << road << "Store" << true << true << "+0 typed";
            QTest::addRow("%s, Discard", road) << road << "Discard" << true << true << "+1 1";
            QTest::addRow("%s, Cancel", road) << road << "Cancel" << true << false << "+1 1";
        }
        // New carries the typing into the new entry: nothing is lost, so nothing is asked.
        QTest::newRow("New") << "New"
                             << "Cancel" << false << true << "+1 1";
        QTest::newRow("nothing typed") << "choose"
                                       << "Cancel" << false << true << "+1 1";
        QTest::newRow("typed and typed back") << "browse"
                                              << "Cancel" << false << true << "+1 1";
        // After Clear the question says that the entry goes.
        QTest::newRow("cleared, choose, Store") << "choose"
                                                << "Store" << true << true << "";
        QTest::newRow("cleared, choose, Cancel") << "choose"
                                                 << "Cancel" << true << false << "+1 1";
        QTest::newRow("cleared, Store button, Store") << "Store"
                                                      << "Store" << true << true << "";
        QTest::newRow("cleared, Store button, Cancel") << "Store"
                                                       << "Cancel" << true << false << "+1 1";
    }
    void unstored_changes_are_asked_about() {
        QFETCH(QString, road);
        QFETCH(QString, given);
        QFETCH(bool, asked);
        QFETCH(bool, left);
        QFETCH(QString, kept);
        start_maintaining();
        const QByteArray before_exit = f->file_bytes();
        QVERIFY(f->window->choose_entry(1));
        auto* box = f->control<QLineEdit>("Text1_7");
        const QString tag = QTest::currentDataTag();
        if (tag != "nothing typed") {
            box->selectAll();
            QTest::keyClicks(box, "+0 typed");
        }
        if (tag == "typed and typed back") {
            box->selectAll();
            QTest::keyClicks(box, "+1 1");
        }
        const bool cleared = tag.startsWith("cleared");
        if (cleared) f->window->cmd_clear_Click();
        among_answer = given;

        bool went_on = false;
        if (road == "choose") {
            f->window->list1->set_list_index(list_row_of(3));
            went_on = f->table.CurrentEntry == 3;
            QCOMPARE(f->window->list1->list_index(), list_row_of(f->table.CurrentEntry));
        } else if (road == "browse") {
            f->window->cmd_up_Click();
            went_on = f->table.CurrentEntry == 2;
        } else if (road == "New") {
            f->window->cmd_new_Click();
            went_on = f->table.EntryCount == 5 && f->window->text1(Telephone) == "+0 typed" &&
                      f->window->has_unstored_changes();
        } else if (road == "Store") {
            f->window->cmd_store_Click();
            went_on = f->table.TableModified == 1;
        } else if (road == "close") {
            went_on = f->window->close();
        } else {
            f->window->cmd_EXIT_Click();
            went_on = !f->window->isVisible();
        }
        const QString question =
            road == "Store" ? "This empties the entry of Castell. Store it all the same?"
            : cleared       ? "Store the changes to Castell? This empties the entry of Castell."
                            : "Store the changes to Castell?";
        QCOMPARE(questions, asked ? QStringList{question} : QStringList{});
        QCOMPARE(went_on, left);
        QCOMPARE(telephone(1), kept);
        if (road == "EXIT") QCOMPARE(f->file_bytes() == before_exit, kept == "+1 1");
        if (!left) {
            QCOMPARE(f->window->text1(Telephone), QString(cleared ? "" : "+0 typed"));
            QCOMPARE(f->table.CurrentEntry, std::int16_t(1));
        }
    }
};

ZELKAV_TEST_CLASS(ImportRoundTest)
#include "import_round_test.moc"
