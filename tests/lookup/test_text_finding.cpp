#include "list_filter.h"
#include "lookup_items.h"
#include "table_builder.h"
#include "test_registry.h"
#include "text_finder.h"

#include <QTest>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

Q_DECLARE_METATYPE(std::vector<FoundEntry>)

namespace {

// A list of `stored` texts (Windows-1252), in their order, numbered 1, 2, ...
LookupList list_of(const std::vector<std::string>& stored) {
    auto items = std::make_shared<SortedItems>();
    auto pool = std::make_shared<TextPool>();
    for (std::size_t i = 0; i < stored.size(); ++i) {
        items->rows.push_back({pool->add(stored[i]), std::int32_t(i + 1)});
    }
    items->texts = std::move(pool);
    return items;
}

QList<int> numbers(const LookupList& list) {
    QList<int> result;
    for (const ListRow& row : list->rows) result << row.number;
    return result;
}

} // namespace

class TestTextFinding : public QObject {
    Q_OBJECT
  private slots:
    void narrowing_a_list_data();
    void narrowing_a_list();
    void a_list_is_folded_once();
    void searching_where_texts_stand_data();
    void searching_where_texts_stand();
    void finding_in_every_slot_data();
    void finding_in_every_slot();
    void finding_as_in_each_text_alone();
    void found_surnames_sorted();
    void found_people_told_apart();
};

void TestTextFinding::narrowing_a_list_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("numbers");

    // Items 1 to 11 of the list below.
    QTest::newRow("nothing typed") << "" << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    QTest::newRow("case") << "LIND" << QList<int>{1, 2};
    QTest::newRow("accent left out") << "linden" << QList<int>{2};
    QTest::newRow("accent typed on a plain text") << "Zéller" << QList<int>{3};
    QTest::newRow("sharp s as ss") << "strasse" << QList<int>{4, 5};
    QTest::newRow("o for a slashed o") << "tromso" << QList<int>{6};
    QTest::newRow("ae for the ligature") << "aerø" << QList<int>{7};
    QTest::newRow("d for eth") << "sigurdardottir" << QList<int>{8};
    QTest::newRow("th for thorn") << "THORS" << QList<int>{10};
    QTest::newRow("ue for u umlaut") << "brueck" << QList<int>{9};
    QTest::newRow("u for u umlaut") << "bruck" << QList<int>{9};
    QTest::newRow("u umlaut typed") << "BRÜCKNER" << QList<int>{9};
    QTest::newRow("ue meant as typed") << "manuel" << QList<int>{11};
    QTest::newRow("oe for o umlaut, then ae as typed") << "goeraez" << QList<int>{};
    QTest::newRow("not across two texts") << "zellerstr" << QList<int>{};
    QTest::newRow("inside a folded letter") << "sse 1" << QList<int>{4};
    QTest::newRow("no match") << "xyz" << QList<int>{};
}

void TestTextFinding::narrowing_a_list() {
    QFETCH(QString, typed);
    QFETCH(QList<int>, numbers);

    const LookupList all = list_of({"Lindqvist", "Lind\xe9n", "Zeller", "Stra\xdf" "e 1",
                                    "STRASSE 2", "Troms\xd8", "\xc6r\xf8", "Sigur\xf0" "ard\xf3ttir",
                                    "Br\xfc" "ckner", "\xde\xf3rsson", "Manuel"});
    ListFilter filter;
    const LookupList narrowed = filter.filter(all, typed);
    QCOMPARE(::numbers(narrowed), numbers);
    QCOMPARE(narrowed->texts, all->texts); // the texts are shared, not copied
}

void TestTextFinding::a_list_is_folded_once() {
    ListFilter filter;
    const LookupList first = list_of({"Graz", "Leoben"});
    QCOMPARE(numbers(filter.filter(first, "gr")), QList<int>{1});
    // Another list gets its own folding, not the last list's.
    const LookupList second = list_of({"Oslo", "Graz"});
    QCOMPARE(numbers(filter.filter(second, "gr")), QList<int>{2});
    QCOMPARE(numbers(filter.filter(first, "leo")), QList<int>{2});
}

void TestTextFinding::searching_where_texts_stand_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<unsigned>("seed");

    QByteArray every(256, '\0');
    for (int b = 0; b < 256; ++b) every[b] = char(b);
    QTest::newRow("every byte") << every << 1u;
    // Letters beside ones that fold to several letters or to a fraction, so matches run
    // across them often.
    QTest::newRow("s, a, e, sharp s, ligatures")
        << QByteArray("sSaAeE \xdf\xe6\xc6\x9c\xe9\xbd\xb5\xfc") << 2u;
}

// A search where the texts stand finds exactly what a search of the folded texts finds.
void TestTextFinding::searching_where_texts_stand() {
    QFETCH(QByteArray, bytes);
    QFETCH(unsigned, seed);

    std::mt19937 random(seed);
    const auto any_text = [&] {
        std::string text(random() % 13, '\0');
        for (char& c : text) c = bytes[int(random() % unsigned(bytes.size()))];
        return text;
    };
    std::vector<std::string> texts(400);
    for (std::string& text : texts) text = any_text();
    int held = 0;
    int not_held = 0;
    for (int n = 0; n < 300; ++n) {
        // A piece of some text's fold, cut anywhere, even inside a letter's UTF-8 bytes.
        std::string folded;
        while (folded.empty()) append_folded(any_text(), folded);
        const std::size_t from = random() % folded.size();
        const std::string needle = folded.substr(from, 1 + random() % 4);
        FoldedSearch search(needle);
        std::vector<bool> holds;
        for (const std::string& text : texts) {
            std::string fold;
            append_folded(text, fold);
            const bool expected = fold.find(needle) != std::string::npos;
            QVERIFY2(search.found_in(text) == expected,
                     (QByteArray::fromStdString(needle).toHex(' ') + " in " +
                      QByteArray::fromStdString(text).toHex(' '))
                         .constData());
            holds.push_back(expected);
            ++(expected ? held : not_held);
        }
        // The same texts as runs of a few, with bytes between them that belong to none; a
        // match never runs from one text into the next.
        for (std::size_t first = 0; first < texts.size(); first += 5) {
            std::string run = any_text().substr(0, random() % 3);
            std::vector<FoldedSearch::Place> places;
            std::size_t expected = 5;
            for (std::size_t t = first; t < first + 5; ++t) {
                places.push_back({run.size(), run.size() + texts[t].size()});
                run += texts[t] + any_text().substr(0, random() % 3);
                if (holds[t] && expected == 5) expected = t - first;
            }
            QCOMPARE(search.first_found_in(run, places), expected);
        }
    }
    // Both answers were put to the test, many times.
    QVERIFY(held > 1000);
    QVERIFY(not_held > 1000);
}

void TestTextFinding::finding_in_every_slot_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<std::vector<FoundEntry>>("found");

    // Entry 1 "Ahn": city "Gie\xdfen", remarks "pyrite"; entry 2 "Berg": address "Pyrit-Weg",
    // other equipment C "EBSD"; entry 3 "Cole": other organisation "Pyrite Ltd".
    QTest::newRow("in three slots, first slot per entry")
        << "PYRIT" << std::vector<FoundEntry>{{1, 20}, {2, 3}, {3, 21}};
    QTest::newRow("the last slot of the last entry") << "ltd" << std::vector<FoundEntry>{{3, 21}};
    QTest::newRow("a surname") << "berg" << std::vector<FoundEntry>{{2, 1}};
    QTest::newRow("equipment") << "ebsd" << std::vector<FoundEntry>{{2, 19}};
    QTest::newRow("a letter that folds to two") << "GIESSEN" << std::vector<FoundEntry>{{1, 4}};
    QTest::newRow("half of a letter folded") << "sen" << std::vector<FoundEntry>{{1, 4}};
    // Entry 1's texts stand one behind the other: "AhnGie\xdf" "enpyrite".
    QTest::newRow("not from one text into the next") << "ahngie" << std::vector<FoundEntry>{};
    QTest::newRow("not from a folded letter into the next text")
        << "enpyr" << std::vector<FoundEntry>{};
    QTest::newRow("ue for u umlaut") << "juergen" << std::vector<FoundEntry>{{2, 2}};
    // Entry 2 ticks "Museum" and "Electron Microprobe", entry 3 ticks "Museum" and holds
    // "Museum grade" in its remarks, entry 1 ticks "Prof.", "SEM" only with a 2.
    QTest::newRow("a ticked equipment box")
        << "MICROPROBE" << std::vector<FoundEntry>{{2, -1, 16}};
    QTest::newRow("a kind of organisation, a text first")
        << "museum" << std::vector<FoundEntry>{{2, -1, 3}, {3, 20}};
    QTest::newRow("a title") << "prof." << std::vector<FoundEntry>{{1, -1, 0}};
    QTest::newRow("a box not ticked") << "sem" << std::vector<FoundEntry>{};
    QTest::newRow("nothing typed") << "" << std::vector<FoundEntry>{};
    QTest::newRow("no match") << "quartz" << std::vector<FoundEntry>{};
}

void TestTextFinding::finding_in_every_slot() {
    QFETCH(QString, typed);
    QFETCH(std::vector<FoundEntry>, found);

    EntryTable table = empty_entries(3);
    table.set_text(1, SurnameSlot, "Ahn");
    table.set_text(1, CitySlot, "Gie\xdf" "en");
    table.set_text(1, RemarksSlot, "pyrite");
    table.set_text(2, SurnameSlot, "Berg");
    table.set_text(2, AddressSlot, "Pyrit-Weg");
    table.set_text(2, FirstOtherEquipmentSlot + 2, "EBSD");
    table.set_text(3, SurnameSlot, "Cole");
    table.set_text(3, OtherOrganizationSlot, "Pyrite Ltd");
    table.set_text(2, FirstNamesSlot, "J\xfcrgen");
    table.set_text(3, RemarksSlot, "Museum grade");
    table.OrganizationFlags[2][1] = 1;
    table.OrganizationFlags[3][1] = 1;
    table.EquipmentFlags[2][8] = 1;
    table.EquipmentFlags[1][9] = 2;
    table.TitleFlags[1][0] = 1;
    QCOMPARE(find_in_every_text(table, typed), found);
}

// A find over whole entries finds what a search of each text alone finds, whether an entry's
// texts stand one behind the other, as when they are set together, or one stands elsewhere.
void TestTextFinding::finding_as_in_each_text_alone() {
    std::mt19937 random(3);
    const auto any_of = [&](const QByteArray& bytes, std::size_t most) {
        std::string text(random() % (most + 1), '\0');
        for (char& c : text) c = bytes[int(random() % unsigned(bytes.size()))];
        return text;
    };
    EntryTable table = empty_entries(100);
    for (int e = 1; e <= 100; ++e) {
        RowTexts texts;
        for (std::string& text : texts) text = any_of("sSaAeEuU \xdf\xe6\xfc\xe9", 8);
        table.set_texts(e, texts);
        if (random() % 3 == 0) table.set_text(e, int(random() % TextSlotCount), any_of("aesu", 4));
    }
    for (int n = 0; n < 100; ++n) {
        const QString typed = QString::fromLatin1(any_of("sSaAeEuU ", 3));
        const std::vector<std::string> spellings = folded_spellings(typed);
        std::vector<FoundEntry> expected;
        for (int e = 1; e <= 100 && !spellings.front().empty(); ++e) {
            for (int slot = 0; slot < TextSlotCount; ++slot) {
                std::string fold;
                append_folded(table.text(e, slot), fold);
                if (std::any_of(spellings.begin(), spellings.end(), [&](const std::string& s) {
                        return fold.find(s) != std::string::npos;
                    })) {
                    expected.push_back({e, slot});
                    break;
                }
            }
        }
        QCOMPARE(find_in_every_text(table, typed), expected);
    }
}

void TestTextFinding::found_surnames_sorted() {
    EntryTable table = empty_entries(4);
    for (int e = 1; e <= 4; ++e) table.set_text(e, SurnameSlot, std::array{"Zeller", "", "adams", "Bauer"}[e - 1]);
    const QCollator collator = list_collator(QLocale(QLocale::English));
    const std::vector<FoundEntry> found{{1, 1}, {2, 20}, {3, 1}};
    const auto check = [&](const SortedItems& surnames) {
        const SortedItems sorted = found_surnames(table, found, surnames, collator);
        QStringList shown;
        QList<int> numbers;
        for (const ListRow& row : sorted.rows) {
            shown << QString::fromLatin1(sorted.text(row));
            numbers << row.number;
        }
        // The entry without a surname comes first, as the look-up sorts an empty text.
        QCOMPARE(shown, (QStringList{"", "adams", "Zeller"}));
        QCOMPARE(numbers, (QList<int>{2, 3, 1}));
    };
    check(sort_items(value_items(table, 1), collator));
    // A surname list that lacks an entry found: the surnames are collated afresh.
    EntryTable before = table;
    before.set_text(3, SurnameSlot, "");
    check(sort_items(value_items(before, 1), collator));
}

void TestTextFinding::found_people_told_apart() {
    EntryTable table = empty_entries(6);
    const char* rows[][3] = {{"Steinacher", "Maria", "Leoben"}, {"Adams", "", ""},
                             {"Steinacher", "Franz", "Graz"}, {"", "Eva", "Wien"},
                             {"steinacher", "Anton", ""}, {"STEINACHER", "", "Linz"}};
    for (int e = 1; e <= 6; ++e) {
        for (int i = 0; i < 3; ++i) table.set_text(e, std::array{1, 2, 4}[i], rows[e - 1][i]);
    }
    const QCollator collator = list_collator(QLocale(QLocale::English));
    const std::vector<FoundEntry> found{{1, 1}, {2, 1}, {3, 1}, {4, 2}, {5, 1}, {6, 4}};
    const SortedItems people =
        found_people(table, found, sort_items(value_items(table, 1), collator), collator);
    QStringList shown;
    QList<int> numbers;
    for (const ListRow& row : people.rows) {
        shown << QString::fromLatin1(people.text(row));
        numbers << row.number;
    }
    // One surname in either case is one name: its people go by their first names.
    QCOMPARE(shown, (QStringList{"Eva (Wien)", "Adams", "STEINACHER (Linz)", "steinacher, Anton",
                                 "Steinacher, Franz (Graz)", "Steinacher, Maria (Leoben)"}));
    QCOMPARE(numbers, (QList<int>{4, 2, 6, 5, 3, 1}));
}

ZELKAV_TEST_CLASS(TestTextFinding)
#include "test_text_finding.moc"
