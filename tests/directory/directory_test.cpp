#include "data_file.h"
#include "directory.h"
#include "entry_fields.h"
#include "import_decision.h"
#include "import_round.h"
#include "likely_people.h"
#include "person_lookup.h"
#include "serial_date.h"
#include "table_builder.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(std::vector<std::int16_t>)

namespace {

constexpr SerialDate Today = 45000;

// Two entries full of values: every choice, tick and text, a greyed box and a flag the window
// cannot show among them.
EntryTable filled_entries() {
    EntryTable table = empty_entries(2);
    for (int e = 1; e <= 2; ++e) {
        const auto row = std::size_t(e);
        table.Salutation[row] = 1;
        table.TitleFlags[row] = {1, 0};
        table.OrganizationFlags[row] = {1, 2, 0, 1, 0, 0};
        table.EquipmentFlags[row][0] = 1;
        table.EquipmentFlags[row][28] = 5; // a column kept for the data file only
        table.EquipmentFlags[row][CollaborationFlag] = 2;
        table.ChangeDate[row] = 40000;
        for (int s = 0; s < TextSlotCount; ++s)
            table.set_text(e, s, "Text " + std::to_string(s) + " of " + std::to_string(e));
    }
    table.set_text(1, AddressSlot, "Street 1\r\nTown");
    return table;
}


// People a correction file may mean, as a round of real files met them.
EntryTable people() {
    EntryTable table = empty_entries(7);
    const char* rows[][6] = {
        {"Steinacher", "Maria", "Graz", "Austria", "Maria.S@uni-graz.at", "+43 316 380-5555"},
        {"Berg", "", "Troms\xf8", "Norway", "", ""},
        {"Berg", "Anna", "Oslo", "Norway", "anna.berg@uio.no", "+47 22 85 50 50"},
        {"Smyth", "John", "London", "UK", "j.smyth@nhm.ac.uk", "+44 20 7942 5000"},
        {"Smith", "John", "Oslo", "Norway", "john.smith@ngu.no", "+47 73 90 40 00"},
        {"Okonkwo-Adeyemi", "Chidi", "Lagos", "Nigeria", "chidi@unilag.edu.ng", ""},
        {"W\xfcstenberger", "Hans", "Bern", "Switzerland", "", "031 631 87 00"}};
    for (int e = 1; e <= 7; ++e) {
        const int columns[] = {SurnameSlot, FirstNamesSlot, CitySlot, CountrySlot, EmailSlot,
                             TelephoneSlot};
        for (int i = 0; i < 6; ++i) table.set_text(e, columns[i], rows[e - 1][i]);
    }
    return table;
}

// A correction file's values: surname, first names, city, e-mail, telephone; no country.
EntryValues file_of(const QStringList& texts) {
    EntryValues values = blank_entry();
    const int columns[] = {SurnameSlot, FirstNamesSlot, CitySlot, EmailSlot, TelephoneSlot};
    for (int i = 0; i < 5 && i < texts.size(); ++i) values.Text1[columns[i]] = texts[i];
    return values;
}

} // namespace

// The directory's rules without a window: what a Store, a New and an import do to the table.
class DirectoryTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { set_today_for_testing(Today); }
    void cleanup() { set_today_for_testing({}); }

    void find_person_data() {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("first_names");
        QTest::addColumn<std::vector<std::int16_t>>("found");
        QTest::newRow("exact") << "van Dyk"
                               << "Jo" << std::vector<std::int16_t>{1};
        QTest::newRow("exact wins over loose") << "Muller"
                                               << "Max" << std::vector<std::int16_t>{3};
        QTest::newRow("case and blanks") << " VANDYK"
                                         << "jo " << std::vector<std::int16_t>{1};
        QTest::newRow("accented capitals") << "ÉCOLE"
                                           << "" << std::vector<std::int16_t>{4};
        QTest::newRow("several loose") << "muller"
                                       << "max" << std::vector<std::int16_t>{2, 3};
        QTest::newRow("first names must match") << "van Dyk"
                                                << "Jan" << std::vector<std::int16_t>{};
        QTest::newRow("a letter differs") << "van Dik"
                                          << "Jo" << std::vector<std::int16_t>{};
        QTest::newRow("unstorable name") << "van Dyk\u20ac\u4e00"
                                         << "Jo" << std::vector<std::int16_t>{};
        QTest::newRow("spare rows are no entries") << "Spare"
                                                   << "" << std::vector<std::int16_t>{};
    }
    void find_person() {
        QFETCH(QString, surname);
        QFETCH(QString, first_names);
        QFETCH(std::vector<std::int16_t>, found);
        EntryTable table = empty_entries(4);
        table.set_text(1, SurnameSlot, "van Dyk");
        table.set_text(1, FirstNamesSlot, "Jo");
        table.set_text(2, SurnameSlot, "MULLER");
        table.set_text(2, FirstNamesSlot, "Max");
        table.set_text(3, SurnameSlot, "Muller");
        table.set_text(3, FirstNamesSlot, "Max");
        table.set_text(4, SurnameSlot,
                       "\xe9"
                       "cole");
        table.set_text(5, SurnameSlot, "Spare");
        QCOMPARE(::find_person(table, surname, first_names), found);
    }

    // What the window collects, stored: today's date, the salutation chosen or none, a tick
    // as 1 and a clear or greyed box as 0, the collaboration into its flag; the other row and
    // the columns without a box stay as they were.
    void store_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<std::int16_t>("salutation");
        QTest::addColumn<std::int16_t>("museum");        // greyed in the table
        QTest::addColumn<std::int16_t>("collaboration");
        QTest::newRow("as shown") << "" << std::int16_t(1) << std::int16_t(0) << std::int16_t(2);
        QTest::newRow("no salutation") << "salutation" << std::int16_t(-1) << std::int16_t(0)
                                       << std::int16_t(2);
        QTest::newRow("greyed box ticked") << "museum" << std::int16_t(1) << std::int16_t(1)
                                           << std::int16_t(2);
        QTest::newRow("collaboration all") << "all" << std::int16_t(1) << std::int16_t(0)
                                           << std::int16_t(1);
        QTest::newRow("no collaboration") << "none" << std::int16_t(1) << std::int16_t(0)
                                          << std::int16_t(0);
    }
    void store() {
        QFETCH(QString, change);
        QFETCH(std::int16_t, salutation);
        QFETCH(std::int16_t, museum);
        QFETCH(std::int16_t, collaboration);
        Directory directory(filled_entries());
        const EntryTable before = filled_entries();
        directory.choose(1);
        EntryValues values = entry_values(directory.table(), 1);
        QCOMPARE(values.Chk_organ[1].state, Qt::PartiallyChecked);
        if (change == "salutation") values.Opt_Mr_Mrs[1].chosen = false;
        if (change == "museum") values.Chk_organ[1].state = Qt::Checked;
        if (change == "all") values.Option1 = {true, false};
        if (change == "none") values.Option1 = {false, false};
        const std::uint64_t generation = directory.table().generation();

        QVERIFY(directory.store(values).ok());
        const EntryTable& table = directory.table();
        QVERIFY(table.generation() != generation);
        QVERIFY(directory.modified());
        QCOMPARE(table.ChangeDate[1], Today);
        QCOMPARE(table.Salutation[1], salutation);
        QCOMPARE(table.OrganizationFlags[1][1], museum);
        QCOMPARE(table.OrganizationFlags[1][3], std::int16_t(1));
        QCOMPARE(table.EquipmentFlags[1][CollaborationFlag], collaboration);
        QCOMPARE(table.EquipmentFlags[1][28], std::int16_t(5));
        QCOMPARE(table.texts(1), before.texts(1));
        QCOMPARE(table.ChangeDate[2], before.ChangeDate[2]);
        QCOMPARE(table.OrganizationFlags[2], before.OrganizationFlags[2]);
    }

    // A text the data file cannot hold stores nothing at all, and says which box holds it.
    void store_refused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("names");
        QTest::newRow("double quote") << "say \"hi\"" << "the character \"";
        QTest::newRow("beyond Windows-1252") << "Stra\u00dfe \u4e00" << "U+4E00";
    }
    void store_refused() {
        QFETCH(QString, text);
        QFETCH(QString, names);
        Directory directory(filled_entries());
        directory.choose(2);
        EntryValues values = entry_values(directory.table(), 2);
        values.Opt_Mr_Mrs[1].chosen = false;
        values.Text1[CitySlot] = text;
        const std::uint64_t generation = directory.table().generation();
        const Result stored = directory.store(values);
        QVERIFY(!stored.ok());
        QVERIFY2(stored.message.contains("\"City\"") && stored.message.contains(names),
                 qPrintable(stored.message));
        QCOMPARE(directory.table().generation(), generation);
        QVERIFY(!directory.modified());
        QCOMPARE(directory.table().Salutation[2], std::int16_t(1));
        QCOMPARE(directory.table().ChangeDate[2], SerialDate(40000));
    }

    // A text given as bytes is stored as it stands, whatever the window's values say.
    void store_bytes_as_they_stand() {
        Directory directory(filled_entries());
        directory.choose(1);
        Directory::TextBytes bytes;
        bytes[RemarksSlot] = std::string(70000, '\x81');
        QVERIFY(directory.store(blank_entry(), bytes).ok());
        QCOMPARE(directory.table().text(1, RemarksSlot), std::string_view(*bytes[RemarksSlot]));
        QCOMPARE(directory.table().text(1, CitySlot), std::string_view());
    }

    // New takes the next spare row until none is left; a full directory adds nothing.
    void add_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<int>("added"); // Directory::Added
        QTest::newRow("a spare row") << 3 << 13 << int(Directory::Added::Added);
        QTest::newRow("the last spare row") << 12 << 13 << int(Directory::Added::Added);
        QTest::newRow("no spare row") << 13 << 13 << int(Directory::Added::NoSpareRow);
        QTest::newRow("the most a file holds")
            << int(MaxEntryCount) << int(MaxEntryCount) + 10 << int(Directory::Added::Full);
    }
    void add() {
        QFETCH(int, count);
        QFETCH(int, capacity);
        QFETCH(int, added);
        EntryTable table = empty_entries(3);
        table.EntryCount = std::int16_t(count);
        table.TableCapacity = std::int16_t(capacity);
        Directory directory(std::move(table));
        const std::uint64_t generation = directory.table().generation();
        QCOMPARE(int(directory.add()), added);
        const bool did = added == int(Directory::Added::Added);
        QCOMPARE(directory.table().EntryCount, std::int16_t(did ? count + 1 : count));
        QCOMPARE(directory.table().generation() != generation, did);
        if (did) QCOMPARE(directory.current(), std::int16_t(count + 1));
    }

    // Whether storing would empty the entry: its surname goes, or most of what it holds.
    void empties_entry_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("empties");
        QTest::newRow("as it is") << 1 << "" << false;
        QTest::newRow("the surname goes") << 1 << "surname" << true;
        QTest::newRow("the surname becomes blanks") << 1 << "surname blanks" << true;
        QTest::newRow("a few boxes go") << 1 << "a few" << false;
        QTest::newRow("cleared") << 1 << "clear" << true;
        QTest::newRow("all but the surname") << 1 << "all but the surname" << true;
        QTest::newRow("an empty row filled") << 3 << "fill" << false;
        QTest::newRow("an empty row left empty") << 3 << "clear" << false;
    }
    void empties_entry() {
        QFETCH(int, entry);
        QFETCH(QString, change);
        QFETCH(bool, empties);
        const EntryTable table = filled_entries();
        EntryValues values = entry_values(table, entry);
        if (change == "surname") values.Text1[SurnameSlot].clear();
        if (change == "surname blanks") values.Text1[SurnameSlot] = "  ";
        if (change == "a few") {
            values.Text1[CitySlot].clear();
            values.Chk_organ[0].state = Qt::Unchecked;
        }
        if (change == "clear") values = emptied(values);
        if (change == "all but the surname") {
            const QString surname = values.Text1[SurnameSlot];
            values = emptied(values);
            values.Text1[SurnameSlot] = surname;
        }
        if (change == "fill") values = entry_values(table, 1);
        QCOMPARE(::empties_entry(table, entry, values), empties);
        // An import that would empty it is reviewed with Skip as the default, and says why.
        ImportReview review;
        review.window = values;
        const QStringList warnings = store_warnings(table, std::int16_t(entry), {}, review);
        QCOMPARE(warnings.size(), empties ? 1 : 0);
        if (empties) QVERIFY2(warnings[0].startsWith("This empties the entry"), qPrintable(warnings[0]));
    }

    // Undo gives an entry back exactly what it held; an added entry goes, but only as the last;
    // a save is no bar but is named, a reload ends the history and says so.
    void undo_data() {
        QTest::addColumn<QString>("steps"); // s: store into entry 1, a: add and store, n: add,
                                            // v: save, l: load, u: undo
        QTest::addColumn<bool>("taken_back"); // by the last undo
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("entries");
        QTest::addColumn<bool>("first_as_loaded");
        QTest::addColumn<bool>("modified");
        QTest::newRow("a store") << "su" << true << "Took back the Store of entry 1" << 2 << true
                                 << false;
        QTest::newRow("two stores, two undos") << "ssuu" << true << "entry 1" << 2 << true << false;
        QTest::newRow("nothing stored") << "u" << false << "no entry was stored" << 2 << true
                                        << false;
        QTest::newRow("one undo too many") << "suu" << false << "no entry was stored" << 2 << true
                                           << false;
        QTest::newRow("an added entry") << "au" << true << "Took back entry 3 (New), which was added"
                                        << 2 << true << false;
        QTest::newRow("a store, then an added one") << "sauu" << true << "entry 1" << 2 << true
                                                    << false;
        QTest::newRow("added, then another added")
            << "anu" << false << "entry 3 (New) was added, and entry 4 was added after it" << 4
            << true << true;
        QTest::newRow("across a save") << "svu" << true << "still holds the Store" << 2 << true
                                       << true;
        QTest::newRow("across a save and reload")
            << "svlu" << false << "loaded again from its data file" << 2 << false << false;
    }
    void undo() {
        QFETCH(QString, steps);
        QFETCH(bool, taken_back);
        QFETCH(QString, said);
        QFETCH(int, entries);
        QFETCH(bool, first_as_loaded);
        QFETCH(bool, modified);
        QTemporaryDir dir;
        const std::filesystem::path folder = dir.path().toStdString();
        const EntryTable before = filled_entries();
        Directory directory(filled_entries());
        Directory::Undone undone;
        int stores = 0;
        for (const QChar step : steps) {
            if (step == u's') {
                directory.choose(1);
                EntryValues values = entry_values(directory.table(), 1);
                values.Text1[SurnameSlot] = QStringLiteral("Store %1").arg(++stores);
                values.Chk_organ[1].state = Qt::Checked;
                QVERIFY(directory.store(values).ok());
            } else if (step == u'a' || step == u'n') {
                QCOMPARE(directory.add(), Directory::Added::Added);
                EntryValues values = blank_entry();
                values.Text1[SurnameSlot] = QStringLiteral("New");
                if (step == u'a') QVERIFY(directory.store(values).ok());
            } else if (step == u'v') {
                bool changed_by_others = false;
                QVERIFY(directory.save(folder, changed_by_others).ok());
            } else if (step == u'l') {
                QVERIFY(directory.load(folder).ok());
            } else {
                const std::uint64_t generation = directory.table().generation();
                undone = directory.undo();
                QCOMPARE(directory.table().generation() != generation, undone.ok);
            }
        }
        QVERIFY2(undone.message.contains(said), qPrintable(undone.message));
        QCOMPARE(undone.ok, taken_back);
        const EntryTable& table = directory.table();
        QCOMPARE(int(table.EntryCount), entries);
        QCOMPARE(directory.modified(), modified);
        if (undone.ok) QCOMPARE(table.CurrentEntry, undone.entry);
        // Every column of the entry, the change date and the kept flag 28 included.
        const bool as_loaded = table.ChangeDate[1] == before.ChangeDate[1] &&
                               table.Salutation[1] == before.Salutation[1] &&
                               table.TitleFlags[1] == before.TitleFlags[1] &&
                               table.OrganizationFlags[1] == before.OrganizationFlags[1] &&
                               table.EquipmentFlags[1] == before.EquipmentFlags[1] &&
                               table.texts(1) == before.texts(1);
        QCOMPARE(as_loaded, first_as_loaded);
        // A row taken back is a spare row again.
        for (int e = table.EntryCount + 1; e <= 4; ++e)
            QCOMPARE(table.text(e, SurnameSlot), std::string_view());
    }

    // A round: every file ends in the summary and the log with its outcome; a file finished on
    // the screen holds the round until it is stored or discarded; a cancel names the rest.
    void import_round_data() {
        // Per file, in order: s stored, a added, u unchanged, k skipped, r refused; w waits,
        // then S stored, D discarded or C the round cancelled.
        QTest::addColumn<QString>("events");
        QTest::addColumn<QStringList>("summary"); // each line found in the summary, in order
        QTest::addColumn<QStringList>("log");     // each found in the log
        QTest::addColumn<bool>("refused");
        const QString phone = QStringLiteral("Telephone: \"+1 2\" → \"+9 2\"");
        QTest::newRow("every outcome")
            << "sakur"
            << QStringList{"5 correction files: 1 stored, 1 added, 1 unchanged, 1 skipped, 1 "
                           "refused.",
                           "\n\nF1_KAV.TXT: stored, entry 7 (Huber)", "\n\nF2_KAV.TXT: added",
                           "\n\nF3_KAV.TXT: skipped",
                           "\n\nF4_KAV.TXT: unchanged: No changes for Huber",
                           "\n\nF5_KAV.TXT: refused: bad line 3",
                           "\n\nThe round's log: "}
            << QStringList{"Import round of ", "  F1_KAV.TXT: stored, entry 7 (Huber)\n",
                           "    " + phone + "\n", "F5_KAV.TXT: refused: bad line 3"}
            << true;
        QTest::newRow("goes on after a store on the screen")
            << "wSs"
            << QStringList{"2 correction files: 2 stored.", "F1_KAV.TXT: stored, entry 7",
                           "F2_KAV.TXT: stored"}
            << QStringList{"F1_KAV.TXT: stored, entry 7 (Huber)\n    file: ", phone, "F2_KAV.TXT"}
            << false;
        QTest::newRow("goes on after a discard")
            << "wDu"
            << QStringList{"2 correction files: 1 unchanged, 1 skipped.",
                           "F1_KAV.TXT: skipped, entry 7 (Huber): its changes were discarded"}
            << QStringList{"F1_KAV.TXT: skipped"} << false;
        QTest::newRow("cancelled on the screen")
            << "swC"
            << QStringList{"4 correction files: 1 stored, 3 not reviewed.",
                           "F2_KAV.TXT: not reviewed, entry 7 (Huber): the round was cancelled",
                           "F3_KAV.TXT: not reviewed", "F4_KAV.TXT: not reviewed"}
            << QStringList{"F4_KAV.TXT: not reviewed"} << false;
    }
    void import_round() {
        QFETCH(QString, events);
        QFETCH(QStringList, summary);
        QFETCH(QStringList, log);
        QFETCH(bool, refused);
        QTemporaryDir dir;
        const QString folder = dir.filePath("data/rounds");
        QStringList paths;
        for (const QChar e : events)
            if (e.isLower()) paths.prepend(dir.filePath(QStringLiteral("F%1_KAV.TXT").arg(paths.size() + 1)));
        if (events.endsWith(u'C')) paths << dir.filePath("F3_KAV.TXT") << dir.filePath("F4_KAV.TXT");
        ImportRound round(paths, folder);
        QVERIFY(round.log().is_open());
        for (const QChar e : events) {
            RoundFile file;
            if (e.isLower()) {
                file.path = round.next();
                QVERIFY(!file.path.isEmpty());
            }
            file.entry = 7;
            file.surname = QStringLiteral("Huber");
            FieldDifference telephone;
            telephone.field = QStringLiteral("Telephone");
            telephone.held = QStringLiteral("+1 2");
            telephone.file = QStringLiteral("+9 2");
            file.changes = {telephone};
            switch (e.toLatin1()) {
            case 's': file.outcome = FileOutcome::Stored; round.record(file); break;
            case 'a': file.entry = 0; file.outcome = FileOutcome::Added; round.record(file); break;
            case 'u': file.entry = 0; file.outcome = FileOutcome::Unchanged; file.note = "No changes for Huber"; file.changes.clear(); round.record(file); break;
            case 'k': file.outcome = FileOutcome::Skipped; file.entry = 0; file.changes.clear(); round.record(file); break;
            case 'r': file.outcome = FileOutcome::Refused; file.entry = 0; file.note = "bad line 3"; round.record(file); break;
            case 'w':
                file.outcome = FileOutcome::Stored;
                round.wait(file);
                QVERIFY(round.waiting() && round.next().isEmpty() && !round.finished());
                break;
            case 'S': round.settle(true); break;
            case 'D': round.settle(false); break;
            case 'C': round.stop(); break;
            }
        }
        QVERIFY(round.finished());
        QCOMPARE(round.any_refused(), refused);
        const QString text = round.summary();
        qsizetype at = 0;
        for (const QString& part : summary) {
            const qsizetype found = text.indexOf(part, at);
            QVERIFY2(found >= at, qPrintable(part + "\n---\n" + text));
            at = found + part.size();
        }
        QVERIFY(text.contains(QDir::toNativeSeparators(round.log().path())));

        QFile file(round.log().path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString written = QString::fromUtf8(file.readAll());
        for (const QString& part : log) QVERIFY2(written.contains(part), qPrintable(written));
        // The user's bits only echo the owner's.
        const auto others = [](QFile::Permissions p) {
            return int(p & ~QFile::Permissions(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser));
        };
        QCOMPARE(others(file.permissions()), int(QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(others(QFile::permissions(folder)),
                 int(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    // A load that fails leaves the directory as it was; one that succeeds replaces it whole.
    void load() {
        QTemporaryDir dir;
        Directory directory(named_entries(2));
        QVERIFY(!directory.load(dir.path().toStdString()).ok());
        QCOMPARE(directory.table().EntryCount, std::int16_t(2));
        QCOMPARE(directory.table().text(2, SurnameSlot), std::string_view("Name 2"));

        EntryTable saved = named_entries(5);
        saved.TableModified = 1;
        QVERIFY(save_data_base(saved, dir.path().toStdString()).ok());
        QVERIFY(directory.load(dir.path().toStdString()).ok());
        QCOMPARE(directory.table().EntryCount, std::int16_t(5));
        QVERIFY(!directory.modified());
    }

    // Who a file may mean when no entry has its name: best first, with the reasons.
    void likely_people_data() {
        QTest::addColumn<QStringList>("file"); // surname, first names, city, e-mail, telephone
        QTest::addColumn<QStringList>("found"); // "entry: reasons", best first
        QTest::addColumn<bool>("sure");         // the best one is safe as the default
        QTest::newRow("renamed, same e-mail")
            << QStringList{"Huber", "Maria", "Graz", "maria.s@UNI-GRAZ.AT", ""}
            << QStringList{"1: same e-mail, same first names, same city"} << true;
        QTest::newRow("married, same telephone written otherwise")
            << QStringList{"Huber", "Maria", "Wien", "maria@huber.at", "0043 (316) 3805555"}
            << QStringList{"1: same telephone, same first names"} << true;
        QTest::newRow("double surname, one part kept")
            << QStringList{"Adeyemi", "Chidi", "Ibadan", "", ""}
            << QStringList{"6: one part of a double surname, same first names"} << true;
        QTest::newRow("double surname taken")
            << QStringList{"Steinacher - Huber", "Maria", "Linz", "", ""}
            << QStringList{"1: one part of a double surname, same first names"} << true;
        QTest::newRow("long surname a letter apart")
            << QStringList{"Wustenburger", "", "Basel", "", ""}
            << QStringList{"7: a similar surname"} << false;
        QTest::newRow("surname with other accents and case")
            << QStringList{"WUESTENBERGER", "Hans", "Bern", "", ""}
            << QStringList{"7: a similar surname, same first names, same city"} << true;
        QTest::newRow("short surnames a letter apart are strangers")
            << QStringList{"Smath", "Ola", "Bergen", "", ""} << QStringList{} << false;
        QTest::newRow("blank first names, same e-mail")
            << QStringList{"Berg", "", "Oslo", "anna.berg@uio.no", ""}
            << QStringList{"3: same e-mail, same surname, same city", "2: same surname"}
            << true;
        QTest::newRow("blank first names and cities are no signs")
            << QStringList{"Neumann", "", "", "", ""} << QStringList{} << false;
        QTest::newRow("first names and city together")
            << QStringList{"Lund", "john", "OSLO", "", ""}
            << QStringList{"5: same first names, same city"} << true;
        QTest::newRow("first names alone are no sign")
            << QStringList{"Lund", "John", "Bergen", "", ""} << QStringList{} << false;
        QTest::newRow("surname alone is not sure")
            << QStringList{"berg", "Ola", "Bergen", "", ""}
            << QStringList{"2: same surname", "3: same surname"} << false;
        QTest::newRow("e-mails a hyphen apart are strangers")
            << QStringList{"X", "", "", "maria.s@unigraz.at", ""} << QStringList{} << false;
        QTest::newRow("a number too short to tell") << QStringList{"X", "", "", "", "5000"}
                                                   << QStringList{} << false;
    }
    void likely_people() {
        QFETCH(QStringList, file);
        QFETCH(QStringList, found);
        QFETCH(bool, sure);
        QStringList got;
        const std::vector<LikelyPerson> likely = ::likely_people(people(), file_of(file));
        for (const LikelyPerson& p : likely)
            got << QStringLiteral("%1: %2").arg(p.entry).arg(p.reasons.join(", "));
        QCOMPARE(got, found);
        QCOMPARE(!likely.empty() && likely.front().sure, sure);
    }

    // A file is taken by its name only when its first names are given, and a namesake whose
    // e-mail, telephone and city all differ is named as possibly someone else.
    void import_target_data() {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<std::vector<std::int16_t>>("found");
        QTest::addColumn<int>("best"); // the likeliest when none is found
        QTest::addColumn<QString>("note");
        QTest::newRow("by name") << QStringList{"Berg", "Anna", "Bergen", "anna.berg@uio.no", ""}
                                 << std::vector<std::int16_t>{3} << 0 << "";
        QTest::newRow("blank first names, someone likelier")
            << QStringList{"Berg", "", "Oslo", "anna.berg@uio.no", ""}
            << std::vector<std::int16_t>{} << 3 << "";
        QTest::newRow("blank first names, nobody likelier")
            << QStringList{"Berg", "", "Tromsø", "", ""} << std::vector<std::int16_t>{2} << 0
            << "";
        QTest::newRow("same name elsewhere")
            << QStringList{"Smith", "John", "London", "j.smyth@nhm.ac.uk", "+44 20 7942 5000"}
            << std::vector<std::int16_t>{5} << 0
            << "This may be another person of the same name: the e-mail, the telephone and the "
               "city differ.";
        QTest::newRow("same name, moved") << QStringList{"Smith", "John", "London",
                                                         "John.Smith@ngu.no", "+44 1"}
                                          << std::vector<std::int16_t>{5} << 0 << "";
        QTest::newRow("same name, only the city to compare")
            << QStringList{"Smith", "John", "Bergen", "", ""} << std::vector<std::int16_t>{5}
            << 0 << "This may be another person of the same name: the city differs.";
    }
    void import_target() {
        QFETCH(QStringList, file);
        QFETCH(std::vector<std::int16_t>, found);
        QFETCH(int, best);
        QFETCH(QString, note);
        const ImportTarget target = ::import_target(people(), file_of(file));
        QCOMPARE(target.found, found);
        QCOMPARE(target.likely.empty() ? 0 : int(target.likely.front().entry), best);
        QCOMPARE(target.notes.join(' '), note);
    }
};

ZELKAV_TEST_CLASS(DirectoryTest)
#include "directory_test.moc"
