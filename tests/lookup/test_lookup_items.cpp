#include "test_registry.h"
#include "cp1252.h"
#include "lookup_items.h"
#include "held_background.h"
#include "lookup_orders.h"
#include "table_builder.h"

#include <QCollator>
#include <QThreadPool>
#include <QTest>

#include <algorithm>
#include <random>


namespace {

std::string bytes(const QByteArray& b) {
    return b.toStdString();
}

// Entries 1, 2, ... get `values` in `slot`; a null QByteArray leaves the slot empty.
EntryTable table_with(int slot, const QByteArrayList& values) {
    EntryTable table = empty_entries(int(values.size()));
    for (int e = 1; e <= values.size(); ++e) table.set_text(e, slot, bytes(values[e - 1]));
    return table;
}

std::vector<std::string> organization_captions() {
    return {"University", "Museum", "Geol.Survey", "Government", "Company", "private"};
}

std::vector<std::string> equipment_captions() {
    std::vector<std::string> captions;
    for (int k = 0; k < NamedEquipmentKinds; ++k) captions.push_back("kind " + std::to_string(k));
    return captions;
}

QByteArrayList texts_of(const std::vector<LookupItem>& items) {
    QByteArrayList texts;
    for (const auto& item : items)
        texts << QByteArray(item.text.data(), qsizetype(item.text.size()));
    return texts;
}

QList<int> numbers_of(const std::vector<LookupItem>& items) {
    QList<int> numbers;
    for (const auto& item : items) numbers << item.number;
    return numbers;
}

// Texts of every kind the lists meet, many of them more than once: accents, blanks, hyphens,
// apostrophes, digits, line breaks, case variants, letters that some languages sort apart, and
// bytes that Windows-1252 leaves unassigned.
std::vector<std::string> varied_texts(int count) {
    // clang-format off
    const std::vector<std::string> pieces = {
        "Graz", "graz", "\xC9mile", "emile", "Emil", "Z\xFCrich", "Zurich", "\xD8ster",
        "Oster", "O'Neill", "Oneill", "de la Cruz", "Delacruz", "M\xFCller-L\xFC" "denscheidt",
        "Mueller", "Smith", "\xC6sir", "aesir", "Stra\xDF" "e", "strasse", "\xC5ngstr\xF6m",
        "angstrom", "Aachen", "na\xEFve", "naive", "1st", "10", "2", "\x8C" "uvre", "oeuvre",
        "\x8A" "koda", "Skoda", "-", "a-b", "ab", "chata", "Cz", "H\xE1j", "\xFF", "Lloret",
        "Vy", "\x81", "x\x9D" "y", "\xAD", "Dzsungel", "Ljubljana"};
    // clang-format on
    const std::vector<std::string> joints = {"", " ", "  ", "-", ", ", "\r\n"};
    std::mt19937 random(7);
    const auto any = [&random](const std::vector<std::string>& list) {
        return list[random() % list.size()];
    };
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) {
        std::string text = random() % 12 == 0 ? " " : "";
        for (int p = 0, n = int(random() % 5); p < n; ++p)
            text += (p ? any(joints) : "") + any(pieces);
        // Appended in two steps: g++ 12 warns falsely (-Wrestrict) about " " + std::string.
        if (random() % 4 == 0) text.append(" ").append(std::to_string(random() % 100));
        if (random() % 4 == 0) {
            for (char& c : text) c = char(random() % 2 ? std::toupper(c) : std::tolower(c));
        }
        texts.push_back(text);
    }
    return texts;
}

// What the list should show: `items` in a plain stable sort by the locale's collation, case
// ignored, the C locale sorting as English.
std::vector<LookupItem> plainly_sorted(std::vector<LookupItem> items) {
    const QLocale locale;
    QCollator collator(locale.language() == QLocale::C ? QLocale(QLocale::English) : locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(items.begin(), items.end(), [&](const LookupItem& a, const LookupItem& b) {
        return collator.compare(from_cp1252(a.text), from_cp1252(b.text)) < 0;
    });
    return items;
}

// A list as it shows: each item's text and number, top to bottom.
using Shown = QList<std::pair<QByteArray, int>>;

Shown shown(const std::vector<LookupItem>& items) {
    Shown result;
    for (const auto& item : items) {
        result.append({QByteArray(item.text.data(), qsizetype(item.text.size())), item.number});
    }
    return result;
}

Shown shown(const LookupList& list) {
    std::vector<LookupItem> items;
    for (const ListRow& row : list->rows) items.push_back({list->text(row), row.number});
    return shown(items);
}

} // namespace

class TestLookupItems : public QObject {
    Q_OBJECT
  private slots:
    void direct_values_data();
    void direct_values();
    void every_label_reads_its_own_field();
    void fields_of_interest();
    void kinds_data();
    void kinds();
    void free_text_numbers_do_not_overflow();
    void surnames_of_a_kind_data();
    void surnames_of_a_kind();
    void no_lookup_outside_two_step_categories();
    void table_shorter_than_its_count();
    void lists_sort_as_a_plain_stable_sort_data();
    void lists_sort_as_a_plain_stable_sort();
    void lists_follow_a_changed_table();
    void items_given_one_at_a_time();
    void background_work_never_serves_an_old_table_data();
    void background_work_never_serves_an_old_table();
    void lists_sorted_ahead_serve_their_table_alone();
};

void TestLookupItems::direct_values_data() {
    QTest::addColumn<int>("label");
    QTest::addColumn<QByteArrayList>("values"); // entry 1, 2, ...
    QTest::addColumn<QByteArrayList>("texts");
    QTest::addColumn<QList<int>>("numbers");

    QTest::newRow("equal cities stay apart")
        << 4 << QByteArrayList{"Graz", "Graz", "Graz", "graz"}
        << QByteArrayList{"Graz", "Graz", "Graz", "graz"} << QList<int>{1, 2, 3, 4};
    QTest::newRow("blanks are a value, empty is none")
        << 6 << QByteArrayList{"", " ", "Chile", "", "  "} << QByteArrayList{" ", "Chile", "  "}
        << QList<int>{2, 3, 5};
    QTest::newRow("address keeps its line breaks")
        << 3 << QByteArrayList{"Box 7\r\nLeoben\r\n", "x"}
        << QByteArrayList{"Box 7\r\nLeoben\r\n", "x"} << QList<int>{1, 2};
    QTest::newRow("title lists the free title text")
        << 0 << QByteArrayList{"", "Dipl.-Ing."} << QByteArrayList{"Dipl.-Ing."} << QList<int>{2};
    QTest::newRow("stored bytes unchanged")
        << 1 << QByteArrayList{"M\xfcller ", "\xd8stergaard"}
        << QByteArrayList{"M\xfcller ", "\xd8stergaard"} << QList<int>{1, 2};
    QTest::newRow("empty directory") << 1 << QByteArrayList{} << QByteArrayList{} << QList<int>{};
}

void TestLookupItems::direct_values() {
    QFETCH(int, label);
    QFETCH(QByteArrayList, values);
    QFETCH(QByteArrayList, texts);
    QFETCH(QList<int>, numbers);
    const EntryTable table = table_with(label, values); // the items view its texts
    const auto items = value_items(table, label);
    QCOMPARE(texts_of(items), texts);
    QCOMPARE(numbers_of(items), numbers);
}

void TestLookupItems::every_label_reads_its_own_field() {
    EntryTable table = empty_entries(1);
    for (int s = 0; s < TextSlotCount; ++s) table.set_text(1, s, "slot " + std::to_string(s));
    for (int label = 0; label <= 10; ++label) {
        const auto items = value_items(table, label);
        QCOMPARE(items.size(), 1u);
        QCOMPARE(std::string(items[0].text), "slot " + std::to_string(label));
    }
    for (int label : {OrganizationLabel, EquipmentLabel, 14, -1, 15}) {
        QVERIFY2(value_items(table, label).empty(), qPrintable(QString::number(label)));
    }
}

void TestLookupItems::fields_of_interest() {
    EntryTable table = empty_entries(3);
    table.set_text(1, FirstInterestSlot, "ore textures");
    table.set_text(1, FirstInterestSlot + 2, "gold");
    table.set_text(1, FirstInterestSlot + 5, "gold");
    table.set_text(2, FirstInterestSlot + 1, " ");
    table.set_text(3, PositionSlot, "not an interest");
    table.set_text(3, FirstOtherEquipmentSlot, "not an interest");
    const auto items = value_items(table, 12);
    QCOMPARE(texts_of(items), (QByteArrayList{"ore textures", "gold", "gold", " "}));
    QCOMPARE(numbers_of(items), (QList<int>{1, 1, 1, 2}));
}

void TestLookupItems::kinds_data() {
    QTest::addColumn<int>("label");
    QTest::addColumn<QByteArrayList>("free_texts"); // entry by entry, slot by slot; "" = empty
    QTest::addColumn<QByteArrayList>("texts");      // the free-text items
    QTest::addColumn<QList<int>>("numbers");

    QTest::newRow("organization, equal texts")
        << OrganizationLabel << QByteArrayList{"", "Mining Co.", "", "Mining Co."}
        << QByteArrayList{"Mining Co.", "Mining Co."} << QList<int>{6, 7};
    QTest::newRow("organization, case and trailing blank")
        << OrganizationLabel << QByteArrayList{"NGO", "ngo", "NGO "}
        << QByteArrayList{"NGO", "ngo", "NGO "} << QList<int>{6, 7, 8};
    QTest::newRow("organization, empty directory")
        << OrganizationLabel << QByteArrayList{} << QByteArrayList{} << QList<int>{};
    // Entry 1 holds slots 17 and 19, entry 2 slot 18.
    QTest::newRow("equipment, entry and slot order")
        << EquipmentLabel << QByteArrayList{"EBSD", "", "Laser", "", "EBSD", ""}
        << QByteArrayList{"EBSD", "Laser", "EBSD"} << QList<int>{25, 26, 27};
    QTest::newRow("equipment, empty directory")
        << EquipmentLabel << QByteArrayList{} << QByteArrayList{} << QList<int>{};
}

void TestLookupItems::kinds() {
    QFETCH(int, label);
    QFETCH(QByteArrayList, free_texts);
    QFETCH(QByteArrayList, texts);
    QFETCH(QList<int>, numbers);

    const LookupCategoryRow& category = lookup_category(label);
    const int slot_count = category.last_slot - category.first_slot + 1;
    EntryTable table = empty_entries(int(free_texts.size()) / slot_count);
    for (int i = 0; i < free_texts.size(); ++i) {
        table.set_text(1 + i / slot_count, category.first_slot + i % slot_count,
                       bytes(free_texts[i]));
    }
    // A ticked box adds no kind of its own.
    if (table.EntryCount > 0) table.OrganizationFlags[1][1] = table.EquipmentFlags[1][0] = 1;

    const auto captions =
        label == OrganizationLabel ? organization_captions() : equipment_captions();
    const auto items = kind_items(table, label, captions);
    QCOMPARE(items.size(), captions.size() + std::size_t(texts.size()));
    for (std::size_t k = 0; k < captions.size(); ++k) {
        QCOMPARE(items[k], (LookupItem{captions[k], std::int32_t(k)}));
    }
    const std::vector<LookupItem> free_items(items.begin() + std::ptrdiff_t(captions.size()),
                                             items.end());
    QCOMPARE(texts_of(free_items), texts);
    QCOMPARE(numbers_of(free_items), numbers);
}

void TestLookupItems::free_text_numbers_do_not_overflow() {
    EntryTable table = empty_entries(MaxEntryCount);
    for (int e = 1; e <= MaxEntryCount; ++e) {
        for (int s = 0; s < OtherEquipmentSlotCount; ++s)
            table.set_text(e, FirstOtherEquipmentSlot + s, "device");
    }
    const auto items = kind_items(table, EquipmentLabel, equipment_captions());
    const std::size_t free_texts = std::size_t(MaxEntryCount) * 3;
    QCOMPARE(items.size(), std::size_t(NamedEquipmentKinds) + free_texts);
    for (std::size_t i = 0; i < items.size(); ++i) QCOMPARE(items[i].number, std::int32_t(i));
    QCOMPARE(items.back().number, 98295);
}

void TestLookupItems::surnames_of_a_kind_data() {
    QTest::addColumn<int>("label");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("kind_text");
    QTest::addColumn<QByteArrayList>("surnames");
    QTest::addColumn<QList<int>>("numbers");

    // The directory built in surnames_of_a_kind():
    //   1 Adams    University 1, free organisation "Museum"
    //   2 (empty)  University 1, equipment SEM 1, free equipment "EBSD" in 17 and 19
    //   3 Baker    University 2, Museum 1, free organisation "Mining Co.", equipment SEM 0
    //   4 Clark    University 0, free organisation "mining co.", free equipment "EBSD " in 18
    //   5 Dunn     University -1, free organisation "Mining Co.", free equipment "EBSD" in 18
    QTest::newRow("University: flag exactly 1")
        << OrganizationLabel << 0 << QByteArray("University") << QByteArrayList{"Adams", ""}
        << QList<int>{1, 2};
    QTest::newRow("Museum box, not the free text") << OrganizationLabel << 1 << QByteArray("Museum")
                                                   << QByteArrayList{"Baker"} << QList<int>{3};
    QTest::newRow("free text consults no flag") << OrganizationLabel << 6 << QByteArray("Museum")
                                                << QByteArrayList{"Adams"} << QList<int>{1};
    QTest::newRow("free text matches exactly")
        << OrganizationLabel << 7 << QByteArray("Mining Co.") << QByteArrayList{"Baker", "Dunn"}
        << QList<int>{3, 5};
    QTest::newRow("the other equal item gives the same")
        << OrganizationLabel << 9 << QByteArray("Mining Co.") << QByteArrayList{"Baker", "Dunn"}
        << QList<int>{3, 5};
    QTest::newRow("a kind no entry has")
        << OrganizationLabel << 5 << QByteArray("private") << QByteArrayList{} << QList<int>{};
    QTest::newRow("equipment box")
        << EquipmentLabel << 9 << QByteArray("SEM") << QByteArrayList{""} << QList<int>{2};
    QTest::newRow("equipment text in two slots")
        << EquipmentLabel << 25 << QByteArray("EBSD") << QByteArrayList{"", "", "Dunn"}
        << QList<int>{2, 2, 5};
    QTest::newRow("equipment text with trailing blank")
        << EquipmentLabel << 27 << QByteArray("EBSD ") << QByteArrayList{"Clark"} << QList<int>{4};
}

void TestLookupItems::surnames_of_a_kind() {
    QFETCH(int, label);
    QFETCH(int, kind);
    QFETCH(QByteArray, kind_text);
    QFETCH(QByteArrayList, surnames);
    QFETCH(QList<int>, numbers);

    EntryTable table = empty_entries(5);
    const char* names[] = {"", "Adams", "", "Baker", "Clark", "Dunn"};
    const std::int16_t university[] = {0, 1, 1, 2, 0, -1};
    const char* organisation[] = {"", "Museum", "", "Mining Co.", "mining co.", "Mining Co."};
    for (int e = 1; e <= 5; ++e) {
        table.set_text(e, SurnameSlot, names[e]);
        table.OrganizationFlags[e][0] = university[e];
        table.set_text(e, OtherOrganizationSlot, organisation[e]);
    }
    table.OrganizationFlags[3][1] = 1;
    table.EquipmentFlags[2][9] = 1;
    table.set_text(2, FirstOtherEquipmentSlot, "EBSD");
    table.set_text(2, FirstOtherEquipmentSlot + 2, "EBSD");
    table.set_text(4, FirstOtherEquipmentSlot + 1, "EBSD ");
    table.set_text(5, FirstOtherEquipmentSlot + 1, "EBSD");

    const auto items = surname_items(table, label, kind, bytes(kind_text));
    QCOMPARE(texts_of(items), surnames);
    QCOMPARE(numbers_of(items), numbers);
}

void TestLookupItems::no_lookup_outside_two_step_categories() {
    EntryTable table = empty_entries(1);
    table.set_text(1, SurnameSlot, "Adams");
    table.OrganizationFlags[1][0] = 1;
    for (int label : {-1, 1, 12, 14, 15}) {
        QVERIFY(surname_items(table, label, 0, "University").empty());
        QVERIFY(kind_items(table, label, organization_captions()).empty());
    }
}

void TestLookupItems::table_shorter_than_its_count() {
    EntryTable table = empty_entries(2);
    table.EntryCount = 40; // rows exist only up to 12
    table.set_text(2, SurnameSlot, "Adams");
    QCOMPARE(value_items(table, 1), (std::vector<LookupItem>{{"Adams", 2}}));
    QVERIFY(surname_items(table, EquipmentLabel, 0, "x").empty());
}

void TestLookupItems::lists_sort_as_a_plain_stable_sort_data() {
    QTest::addColumn<QString>("locale");
    QTest::newRow("C, sorted as English") << "C";
    QTest::newRow("German") << "de_DE";
    QTest::newRow("Swedish: \u00C5 and \u00D6 after Z") << "sv_SE";
    QTest::newRow("Danish: aa is \u00E5") << "da_DK";
    QTest::newRow("Czech: ch after h") << "cs_CZ";
    QTest::newRow("Spanish") << "es_ES";
    QTest::newRow("Lithuanian: y as i") << "lt_LT";
    QTest::newRow("Hungarian: dzs one letter") << "hu_HU";
    QTest::newRow("Serbian in Latin letters: lj one letter") << "sr_Latn_RS";
}

void TestLookupItems::lists_sort_as_a_plain_stable_sort() {
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    constexpr int count = 8000;
    const std::vector<std::string> texts = varied_texts(count);
    std::mt19937 random(11);
    const auto any = [&] { return texts[random() % texts.size()]; };
    EntryTable table = empty_entries(count);
    for (int e = 1; e <= count; ++e) {
        table.set_text(e, SurnameSlot, texts[std::size_t(e - 1)]);
        table.set_text(e, CitySlot, any());
        for (int s = 0; s < InterestSlotCount; ++s) table.set_text(e, FirstInterestSlot + s, any());
        table.set_text(e, OtherOrganizationSlot, e % 3 == 0 ? any() : "");
        table.OrganizationFlags[e][0] = std::int16_t(random() % 2);
    }
    // Captions that equal free texts come before them.
    const std::vector<std::string> captions = {"University", "graz", "Graz", "", "SMITH", "-"};
    const std::string free_text(table.text(3, OtherOrganizationSlot));

    LookupOrders orders(table);
    for (int label : {1, 4, 12}) {
        QCOMPARE(shown(orders.values(label)), shown(plainly_sorted(value_items(table, label))));
    }
    QCOMPARE(shown(orders.kinds(OrganizationLabel, captions)),
             shown(plainly_sorted(kind_items(table, OrganizationLabel, captions))));
    QCOMPARE(shown(orders.surnames(OrganizationLabel, 0, "University")),
             shown(plainly_sorted(surname_items(table, OrganizationLabel, 0, "University"))));
    QCOMPARE(shown(orders.surnames(OrganizationLabel, 6, free_text)),
             shown(plainly_sorted(surname_items(table, OrganizationLabel, 6, free_text))));
    QLocale::setDefault(QLocale::c());
}

// The background sorts from items given one at a time: the same list as from the items held,
// and a source that gives more than it announced is refused instead of overfilling the table of
// distinct texts, which is sized by that count.
void TestLookupItems::items_given_one_at_a_time() {
    EntryTable table = empty_entries(300);
    const std::vector<std::string> texts = varied_texts(300);
    for (int e = 1; e <= 300; ++e) {
        for (int s = FirstInterestSlot; s < FirstInterestSlot + InterestSlotCount; ++s)
            table.set_text(e, s, texts[std::size_t((e * s) % 300)]);
    }
    const QCollator collator = list_collator(QLocale(QLocale::German));
    const LookupTexts snapshot(table);
    const std::vector<std::string> captions = organization_captions();
    QCOMPARE(shown(std::make_shared<const SortedItems>(sort_items(value_item_source(snapshot, InterestsLabel), collator, &snapshot.texts))),
             shown(std::make_shared<const SortedItems>(sort_items(value_items(snapshot, InterestsLabel), collator))));
    QCOMPARE(shown(std::make_shared<const SortedItems>(sort_items(kind_item_source(snapshot, OrganizationLabel, captions),
                                     collator))),
             shown(std::make_shared<const SortedItems>(sort_items(kind_items(snapshot, OrganizationLabel, captions), collator))));

    const ItemSource too_many{2, [](const ItemSink& add) {
                                  for (int i = 0; i < 40; ++i) add(std::to_string(i), i);
                              }};
    QVERIFY_THROWS_EXCEPTION(std::length_error, sort_items(too_many, collator));
}

void TestLookupItems::lists_follow_a_changed_table() {
    EntryTable table = empty_entries(2);
    table.set_text(1, CitySlot, "Graz");
    table.set_text(2, CitySlot, "Leoben");
    LookupOrders orders(table);
    QCOMPARE(orders.values(CityLabel)->rows.size(), 2u);

    orders.forget(); // as Store does before it writes
    table.set_text(2, CitySlot, "Aachen");
    QCOMPARE(shown(orders.values(CityLabel)), (Shown{{"Aachen", 2}, {"Graz", 1}}));

    orders.forget(); // as New does before it reloads a full table
    const LookupList shown_before = orders.values(CityLabel);
    table = empty_entries(1);
    table.set_text(1, CitySlot, "Oslo");
    QCOMPARE(shown(orders.values(CityLabel)), (Shown{{"Oslo", 1}}));
    // A list still on the screen views texts that the table no longer holds: they stay.
    QCOMPARE(shown(shown_before), (Shown{{"Aachen", 2}, {"Graz", 1}}));
}


void TestLookupItems::background_work_never_serves_an_old_table_data() {
    QTest::addColumn<bool>("store_first");
    QTest::addColumn<bool>("sorting_fails");
    QTest::newRow("reload while sorting") << false << false;
    QTest::newRow("store, then reload while sorting") << true << false;
    QTest::newRow("sorting fails") << false << true;
}

// The table changes while the background work is held in the middle of its round: whatever it
// finishes later, the lists show the table as it is now, and nothing waits for it meanwhile.
void TestLookupItems::background_work_never_serves_an_old_table() {
    QFETCH(bool, store_first);
    QFETCH(bool, sorting_fails);
    HeldBackground held(sorting_fails);
    EntryTable table = table_with(4, {"Graz", "Leoben", "Wien"});
    auto orders = std::make_unique<LookupOrders>(table);
    QCOMPARE(orders->values(SurnameLabel).get() != nullptr, true); // starts the background round
    held.wait_until_reached();

    if (store_first) {
        orders->forget();
        table.set_text(2, CitySlot, "Aachen");
        QCOMPARE(shown(orders->values(CityLabel)), (Shown{{"Aachen", 2}, {"Graz", 1}, {"Wien", 3}}));
    }
    // Without forget(): the table's generation alone must tell the lists are old.
    table = table_with(4, {"Oslo", "Bergen"});
    table.set_text(2, OtherTitleSlot, "Prof");
    QCOMPARE(shown(orders->values(CityLabel)), (Shown{{"Bergen", 2}, {"Oslo", 1}}));
    QCOMPARE(shown(orders->values(CountryLabel)), Shown{});

    // Released, the old round ends on its own; the lists stay those of the new table, and the
    // orders may go while work still runs.
    {
        const std::lock_guard lock(held.mutex);
        held.released = true;
    }
    held.released_signal.notify_all();
    QThreadPool::globalInstance()->waitForDone();
    QCOMPARE(shown(orders->values(CityLabel)), (Shown{{"Bergen", 2}, {"Oslo", 1}}));
    // A list the failed background work left undone is sorted when asked for.
    QCOMPARE(shown(orders->values(TitleLabel)), (Shown{{"Prof", 2}}));
    orders.reset();
}

// The lists the loading thread found before the window existed serve only the table they were
// found for, and the window's background round waits until it is let go.
void TestLookupItems::lists_sorted_ahead_serve_their_table_alone() {
    HeldBackground held(false);
    EntryTable table = table_with(4, {"Graz", "Leoben"});
    table.set_text(1, SurnameSlot, "Zorn");
    table.set_text(2, SurnameSlot, "Adler");
    PreparedOrders prepared = LookupOrders::prepare(table, QLocale(QLocale::English));
    LookupOrders orders(table);
    orders.hold_background();
    orders.adopt(prepared);
    const LookupList surnames = orders.values(SurnameLabel);
    QCOMPARE(shown(surnames), (Shown{{"Adler", 2}, {"Zorn", 1}}));
    QCOMPARE(orders.values(SurnameLabel), surnames); // the very list sorted before
    QCOMPARE(shown(orders.values(CityLabel)), (Shown{{"Graz", 1}, {"Leoben", 2}}));
    QTest::qWait(20);
    QCOMPARE(held.reached.load(), 0);
    orders.release_background();
    held.wait_until_reached();

    table.set_text(1, SurnameSlot, "Bauer");
    orders.adopt(prepared); // sorted for the table before the change: dropped
    QCOMPARE(shown(orders.values(SurnameLabel)), (Shown{{"Adler", 2}, {"Bauer", 1}}));
}

ZELKAV_TEST_CLASS(TestLookupItems)
#include "test_lookup_items.moc"
