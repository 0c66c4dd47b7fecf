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
};

ZELKAV_TEST_CLASS(ImportReviewTest)
#include "import_review_test.moc"
