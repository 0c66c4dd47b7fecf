#include "import_review_dialog.h"
#include "message_box.h"
#include "person_choice_dialog.h"
#include "sorted_list.h"
#include "table_builder.h"
#include "test_registry.h"
#include "window_fixture.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

Q_DECLARE_METATYPE(std::function<QString()>)
using WindowStep = std::function<void(WindowFixture&)>;
Q_DECLARE_METATYPE(WindowStep)

namespace {

void type_into(WindowFixture& f, int slot, const QString& text) {
    auto* box = qobject_cast<QLineEdit*>(f.window->Text1[slot]);
    box->selectAll();
    QTest::keyClicks(box, text);
}

// In maintenance mode, entry 1 of three shown with a new city typed, and stored when `store`.
void entry_with_a_new_city(WindowFixture& f, bool store) {
    f.window->enter_maintenance_mode();
    f.directory.choose(1);
    f.window->show_record();
    type_into(f, CitySlot, "Graz");
    if (store) f.window->cmd_store_Click();
}

// What a question must leave as it was when it is cancelled.
struct WindowState {
    std::uint64_t generation;
    std::int16_t entry;
    QStringList shown;
    QByteArray file;
    bool visible;
    bool operator==(const WindowState&) const = default;
};
WindowState state_of(const WindowFixture& f) {
    QStringList shown;
    for (int s = 0; s < TextSlotCount; ++s) shown << f.window->text1(s);
    return {f.table.generation(), f.table.CurrentEntry, shown, f.file_bytes(),
            f.window->isVisible()};
}

} // namespace

// The real dialogs of the import as a keyboard user meets them: Return gives the first answer,
// Escape the one that changes nothing; each carries the window's title.
class DialogKeysTest : public QObject {
    Q_OBJECT

    // Presses `key` in the dialog once it is open (Down is followed by Return), and notes its
    // title.
    QString title_;
    void press_when_open(Qt::Key key) {
        title_.clear();
        QTimer::singleShot(0, this, [this, key] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) return;
            title_ = dialog->windowTitle();
            QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, key);
            if (key == Qt::Key_Down)
                QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog,
                                Qt::Key_Return);
        });
    }

    // Answers the next message box with Escape, noting its title and its default button.
    QString default_;
    void escape_when_asked() {
        default_.clear();
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [this, poll] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            poll->deleteLater();
            title_ = dialog->windowTitle();
            default_ = "none";
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                if (button->isDefault()) default_ = button->text().remove('&');
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        poll->start(5);
    }

  private slots:
    void keys_data() {
        QTest::addColumn<std::function<QString()>>("open");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("answer");
        const auto among = [] {
            return ask_among(nullptr, "Store the changes to Castell?",
                             {"Store", "Discard", "Cancel"});
        };
        const auto emptying = [] {
            return ask_among(nullptr,
                             "Store the changes to Castell? This empties the entry of Castell.",
                             {"Store", "Discard", "Cancel"}, 2);
        };
        const std::vector<FieldDifference> one{{"City", "Graz", "Wien", false}};
        const auto review = [one] {
            const ReviewAnswer a = review_import(nullptr, "/a/Castell_KAV.TXT", "Castell", one);
            return a == ReviewAnswer::Store  ? QString("Store")
                   : a == ReviewAnswer::Skip ? QString("Skip")
                                             : QString("Edit first");
        };
        // A review that warns (another person's file, an entry emptied) stores only by choice.
        const auto warned = [one] {
            const ReviewAnswer a = review_import(nullptr, "/a/Castell_KAV.TXT", "Castell", one, {},
                                                 {"This empties the entry of Castell."});
            return a == ReviewAnswer::Store ? QString("Store") : QString("not stored");
        };
        const auto choice = [] {
            return QString::number(choose_person(
                nullptr, "/a/Berg_KAV.TXT",
                {{2, "Berg", "Anna", "Oslo", "Norway", {}}, {4, "Berg", "Anna", "Bergen", "Norway", {}}}));
        };
        const auto likely = [](LikelyChoice by_default) {
            return [by_default] {
                static const EntryTable table = named_entries(3);
                const LikelyChoice c = choose_likely_person(
                    nullptr, "/a/Huber_KAV.TXT", "Huber, Maria",
                    {{1, "Name 1", "Maria", "Graz", "Austria", "same surname"},
                     {2, "Name 2", "Maria", "Linz", "Austria", "same first names"}},
                    by_default, table);
                return c.kind == LikelyChoice::Kind::Entry    ? QString::number(c.entry)
                       : c.kind == LikelyChoice::Kind::AddNew ? QString("add")
                                                              : QString("skip");
            };
        };
        using Kind = LikelyChoice::Kind;
        QTest::newRow("likely people, Return takes the sure one")
            << std::function<QString()>(likely({Kind::Entry, 1})) << int(Qt::Key_Return) << "1";
        QTest::newRow("likely people, none sure, Return skips")
            << std::function<QString()>(likely({Kind::Skip, 0})) << int(Qt::Key_Return) << "skip";
        QTest::newRow("likely people, none sure, Down picks the best")
            << std::function<QString()>(likely({Kind::Skip, 0})) << int(Qt::Key_Down) << "1";
        QTest::newRow("likely people, Escape")
            << std::function<QString()>(likely({Kind::Entry, 1})) << int(Qt::Key_Escape) << "skip";
        QTest::newRow("question, Return")
            << std::function<QString()>(among) << int(Qt::Key_Return) << "Store";
        QTest::newRow("question, Escape")
            << std::function<QString()>(among) << int(Qt::Key_Escape) << "Cancel";
        QTest::newRow("emptying question, Return")
            << std::function<QString()>(emptying) << int(Qt::Key_Return) << "Cancel";
        QTest::newRow("review, Return")
            << std::function<QString()>(review) << int(Qt::Key_Return) << "Store";
        QTest::newRow("review that warns, Return")
            << std::function<QString()>(warned) << int(Qt::Key_Return) << "not stored";
        QTest::newRow("review, Escape")
            << std::function<QString()>(review) << int(Qt::Key_Escape) << "Skip";
        QTest::newRow("choice, Return")
            << std::function<QString()>(choice) << int(Qt::Key_Return) << "2";
        QTest::newRow("choice, Escape")
            << std::function<QString()>(choice) << int(Qt::Key_Escape) << "0";
    }
    // Every question the window asks, through the real message box: Return gives the answer
    // that loses nothing, and Escape leaves the table, the window and the data file as they were.
    void questions_data() {
        QTest::addColumn<WindowStep>("prepare");
        QTest::addColumn<WindowStep>("ask");
        QTest::addColumn<QString>("default_answer");
        QTest::newRow("closing with a stored entry not saved")
            << WindowStep([](WindowFixture& f) { entry_with_a_new_city(f, true); })
            << WindowStep([](WindowFixture& f) { f.window->close(); }) << "Save";
        QTest::newRow("choosing another entry with changes not stored")
            << WindowStep([](WindowFixture& f) { entry_with_a_new_city(f, false); })
            << WindowStep([](WindowFixture& f) { f.window->list1->set_list_index(1); })
            << "Store";
        QTest::newRow("saving over a file someone else saved")
            << WindowStep([](WindowFixture& f) {
                   entry_with_a_new_city(f, true);
                   QVERIFY(f.write(named_entries(4)));
               })
            << WindowStep([](WindowFixture& f) { f.window->cmd_EXIT_Click(); })
            << "Save under another name";
        QTest::newRow("a correction file that names nobody")
            << WindowStep([](WindowFixture& f) {
                   entry_with_a_new_city(f, false);
                   type_into(f, SurnameSlot, "Nobody");
                   QTest::mouseClick(f.window->cmd_corrections, Qt::LeftButton);
                   f.window->show_record();
               })
            << WindowStep([](WindowFixture& f) {
                   f.window->import_correction_file(f.desktop("Nobody_KAV.TXT"));
               })
            << "Add as a new entry";
    }
    void questions() {
        QFETCH(WindowStep, prepare);
        QFETCH(WindowStep, ask);
        QFETCH(QString, default_answer);
        WindowFixture f;
        QVERIFY(f.start_on(named_entries(3)));
        prepare(f);
        const WindowState before = state_of(f);
        escape_when_asked();
        ask(f);
        QCOMPARE(title_, QString("ZEL-KAV Directory of Ore Mineralogists"));
        QCOMPARE(default_, default_answer);
        QVERIFY(state_of(f) == before);
    }

    void keys() {
        QFETCH(std::function<QString()>, open);
        QFETCH(int, key);
        QFETCH(QString, answer);
        press_when_open(Qt::Key(key));
        QCOMPARE(open(), answer);
        QCOMPARE(title_, QString("ZEL-KAV Directory of Ore Mineralogists"));
    }

    // "Find another entry…" finds any entry by typing part of its name or city, ignoring case
    // and accents; the keys alone take it.
    void finder_takes_any_entry() {
        EntryTable table = named_entries(40);
        table.set_text(33, CitySlot, "M\xfcnchen");
        QStringList titles;
        QList<QWidget*> handled;
        QTimer driver;
        driver.setInterval(10);
        connect(&driver, &QTimer::timeout, this, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog || handled.contains(dialog)) return;
            handled << dialog;
            auto* typed = dialog->findChild<QLineEdit*>();
            titles << (typed ? "finder: " : "chooser: ") + dialog->windowTitle();
            if (!typed) {
                for (QPushButton* button : dialog->findChildren<QPushButton*>())
                    // Clicked once this returns: a timer does not fire again inside itself.
                    if (button->text() == QString("Find another entry\u2026"))
                        QTimer::singleShot(0, button, &QPushButton::click);
                return;
            }
            QTest::keyClicks(typed, "munch");
            QTest::keyClick(typed, Qt::Key_Return);
        });
        driver.start();
        const LikelyChoice chosen = choose_likely_person(nullptr, "/a/X_KAV.TXT", "X", {},
                                                         {LikelyChoice::Kind::AddNew, 0}, table);
        driver.stop();
        QCOMPARE(chosen, (LikelyChoice{LikelyChoice::Kind::Entry, 33}));
        QCOMPARE(titles, (QStringList{"chooser: ZEL-KAV Directory of Ore Mineralogists",
                                      "finder: ZEL-KAV Directory of Ore Mineralogists"}));
    }
};

ZELKAV_TEST_CLASS(DialogKeysTest)
#include "dialog_keys_test.moc"
