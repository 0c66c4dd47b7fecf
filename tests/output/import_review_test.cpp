#include "correction_import.h"
#include "correction_text.h"
#include "import_review.h"
#include "test_registry.h"

#include <QTest>

Q_DECLARE_METATYPE(std::vector<FieldDifference>)

// The plain half of an import's review: what a file changes.
class ImportReviewTest : public QObject {
    Q_OBJECT

  private slots:
    void differences_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<std::vector<FieldDifference>>("expected");
        using D = std::vector<FieldDifference>;
        QTest::newRow("none") << "" << D{};
        QTest::newRow("a text") << "city" << D{{"City", "Graz", "Wien", false}};
        QTest::newRow("a line end in the address")
            << "address" << D{{"Mailing Address", "Main St 1", "Main St 1\r\nFlat 2", false}};
        QTest::newRow("a quote cannot be stored")
            << "quote" << D{{"Remarks", "", "say \"hi\"", true}};
        QTest::newRow("a tick and a greyed box")
            << "ticks" << D{{"SEM", "unticked", "ticked", false}};
        QTest::newRow("choices") << "choices"
                                 << D{{"Salutation", "Mr", "none", false},
                                      {"polished sections", "unticked", "ticked", false},
                                      {"Collaboration", "none", "some", false}};
    }
    void differences() {
        QFETCH(QString, change);
        QFETCH(std::vector<FieldDifference>, expected);
        CorrectionSnapshot held;
        for (std::size_t k = 0; k < held.Chh_equipm.size(); ++k)
            held.Chh_equipm[k].caption = QString::fromUtf8(EquipmentFields[k].caption);
        held.Opt_Mr_Mrs[0] = {"Mr", true};
        held.Text1[CitySlot] = "Graz";
        held.Text1[AddressSlot] = "Main St 1";
        held.Chh_equipm[11].state = Qt::PartiallyChecked; // greyed: stored as 0, no change
        CorrectionSnapshot file = held;
        file.Chh_equipm[11].state = Qt::Unchecked;
        if (change == "city") file.Text1[CitySlot] = "Wien";
        if (change == "address") file.Text1[AddressSlot] = "Main St 1\r\nFlat 2";
        if (change == "quote") file.Text1[RemarksSlot] = "say \"hi\"";
        if (change == "ticks") file.Chh_equipm[9].state = Qt::Checked;
        if (change == "choices") {
            file.Opt_Mr_Mrs[0].chosen = false;
            file.Chh_equipm[PolishedSectionsFlag].state = Qt::Checked;
            file.Option1[1] = true;
        }
        QCOMPARE(import_differences(held, file), expected);
    }

    // Each field settled against what the entry holds, from every reading of the file.
    void settling_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<std::vector<FieldDifference>>("expected");
        QTest::addColumn<bool>("keeps_held"); // the window to store holds the entry's values
        using D = std::vector<FieldDifference>;
        QTest::newRow("one reading") << "one" << D{{"City", "Graz", "Wien", false, {}}} << false;
        QTest::newRow("the held reading wins") << "held among" << D{} << true;
        QTest::newRow("neither reading held")
            << "neither" << D{{"City", "Graz", "", false, {"", "..."}}} << true;
        QTest::newRow("a tick read both ways stays") << "tick" << D{} << true;
        QTest::newRow("a choice read two ways")
            << "choice" << D{{"Collaboration", "none", "all", false, {"all", "some"}}} << true;
    }
    void settling() {
        QFETCH(QString, change);
        QFETCH(std::vector<FieldDifference>, expected);
        QFETCH(bool, keeps_held);
        CorrectionSnapshot held;
        held.Text1[CitySlot] = "Graz";
        held.Chh_equipm[9].state = Qt::Checked;
        CorrectionImport file;
        file.window = held;
        CorrectionSnapshot& first = *file.window;
        const auto other = [&file, &first] { return file.other_readings.emplace_back(first); };
        if (change == "one") first.Text1[CitySlot] = "Wien";
        if (change == "held among") {
            first.Text1[CitySlot] = "";
            other();
            file.other_readings.back().Text1[CitySlot] = "Graz";
        }
        if (change == "neither") {
            first.Text1[CitySlot] = "";
            other();
            file.other_readings.back().Text1[CitySlot] = "...";
        }
        if (change == "tick") {
            first.Chh_equipm[9].state = Qt::Unchecked;
            other();
            file.other_readings.back().Chh_equipm[9].state = Qt::Checked;
        }
        if (change == "choice") {
            first.Option1 = {true, false};
            other();
            file.other_readings.back().Option1 = {false, true};
        }
        const ImportReview review = review_correction(held, file);
        QCOMPARE(review.differences, expected);
        QVERIFY(review.window == (keeps_held ? held : *file.window));
        QCOMPARE(review.notes.size(), qsizetype(change == "neither" || change == "choice"));
    }

    void quoted_file_noted() {
        CorrectionImport file;
        file.window = CorrectionSnapshot{};
        file.quote_marks = "> > ";
        const QStringList notes = review_correction(*file.window, file).notes;
        QCOMPARE(notes.size(), 1);
        QVERIFY2(notes[0].contains("quoted in a reply") && notes[0].contains("\"> > \""),
                 qPrintable(notes[0]));
    }

    void break_marks_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("none") << "one line" << "one line";
        QTest::newRow("CR LF") << "Main St 1\r\nFlat 2" << "Main St 1\u00b6\nFlat 2";
        QTest::newRow("lone LF and CR") << "a\nb\rc" << "a\u00b6\nb\u00b6\nc";
        QTest::newRow("hard-wrapped at the end") << "x\r\n\r\n" << "x\u00b6\n\u00b6\n";
    }
    void break_marks() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(with_break_marks(text), shown);
    }
};

ZELKAV_TEST_CLASS(ImportReviewTest)
#include "import_review_test.moc"
