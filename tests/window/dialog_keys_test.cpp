#include "import_review_dialog.h"
#include "message_box.h"
#include "person_choice_dialog.h"
#include "table_builder.h"
#include "test_registry.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

Q_DECLARE_METATYPE(std::function<QString()>)

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
        QTest::newRow("review, Escape")
            << std::function<QString()>(review) << int(Qt::Key_Escape) << "Skip";
        QTest::newRow("choice, Return")
            << std::function<QString()>(choice) << int(Qt::Key_Return) << "2";
        QTest::newRow("choice, Escape")
            << std::function<QString()>(choice) << int(Qt::Key_Escape) << "0";
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
