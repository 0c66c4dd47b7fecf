#include "test_registry.h"
#include "data_file.h"
#include "store_fixtures.h"

#include <QTemporaryDir>
#include <QTest>

#include <random>
#include <vector>

class TestEntryTable : public QObject {
    Q_OBJECT
  private slots:
    void texts_hold_through_edits_and_copies_data();
    void texts_hold_through_edits_and_copies();
};

void TestEntryTable::texts_hold_through_edits_and_copies_data() {
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("edits");
    QTest::addColumn<int>("longest");
    QTest::newRow("few rows, many edits of short texts") << 3 << 4000 << 12;
    QTest::newRow("rows over several chunks") << 700 << 3000 << 40;
    QTest::newRow("texts larger than the edited block") << 20 << 60 << 200000;
}

// Random edits, as Store and New make them, over a loaded table: every text reads back as
// last set, every copy taken on the way keeps the texts it was taken with, and a save and a
// reload after the edits give the same texts.
void TestEntryTable::texts_hold_through_edits_and_copies() {
    QFETCH(int, entries);
    QFETCH(int, edits);
    QFETCH(int, longest);
    QTemporaryDir dir;
    EntryTable start = changed_table(entries);
    for (int e = 1; e <= entries; ++e) start.set_text(e, SurnameSlot, "Name " + std::to_string(e));
    QVERIFY(save_data_base(start, dir.path().toStdString()).ok());
    EntryTable table;
    QVERIFY(read_data_base(table, dir.path().toStdString()).ok());

    std::vector<RowTexts> model(table.text_rows());
    for (int e = 1; e <= entries; ++e) model[std::size_t(e)] = table.texts(e);
    std::vector<std::pair<EntryTable, std::vector<RowTexts>>> copies;
    std::mt19937 random(17);
    for (int i = 0; i < edits; ++i) {
        const int e = 1 + int(random() % unsigned(entries));
        const int s = int(random() % TextSlotCount);
        const std::size_t length = random() % 4 == 0 ? 0 : random() % unsigned(longest);
        const std::string text(length, char('a' + i % 26));
        if (i % 3 == 0) {
            RowTexts row = model[std::size_t(e)];
            row[std::size_t(s)] = text;
            table.set_texts(e, row);
        } else {
            table.set_text(e, s, text);
        }
        model[std::size_t(e)][std::size_t(s)] = text;
        if (i % (edits / 8) == 0) copies.emplace_back(table, model);
    }
    const auto holds = [](const EntryTable& t, const std::vector<RowTexts>& texts) {
        for (std::size_t e = 1; e < texts.size() && e < t.text_rows(); ++e)
            if (t.texts(int(e)) != texts[e]) return false;
        return true;
    };
    QVERIFY(holds(table, model));
    for (const auto& [copy, texts] : copies) QVERIFY(holds(copy, texts));

    table.TableModified = 1;
    QVERIFY(save_data_base(table, dir.path().toStdString()).ok());
    EntryTable reloaded;
    QVERIFY(read_data_base(reloaded, dir.path().toStdString()).ok());
    QVERIFY(reloaded.same_texts(table));
}

ZELKAV_TEST_CLASS(TestEntryTable)
#include "test_entry_table.moc"
