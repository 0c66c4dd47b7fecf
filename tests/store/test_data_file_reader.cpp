#include "test_registry.h"
#include "data_file_reader.h"
#include "data_file_writer.h"
#include "store_fixtures.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

namespace {
// The example's entry with its 63 items joined by `separator`, and no header.
std::string example_items(const std::string& separator) {
    const std::string one_line = example_bytes().substr(17);
    std::string out;
    for (char c : one_line) {
        if (c == ',')
            out += separator;
        else
            out += c;
    }
    return out;
}

// Parses `bytes` as a whole and again in tiny pieces, where every item straddles two: both
// must give the same table and message.
Result parse(EntryTable& table, const std::string& bytes) {
    const std::string name = "/data/KAV-Addresses.dat";
    for (std::size_t piece : {1, 2, 7}) {
        EntryTable in_pieces = table;
        const Result result = parse_data_base(in_pieces, bytes, name, piece);
        EntryTable whole = table;
        const Result expected = parse_data_base(whole, bytes, name);
        if (result.ok() != expected.ok() || result.message != expected.message ||
            !same_table(in_pieces, whole))
            QTest::qFail(qPrintable(QString("pieces of %1 bytes read differently: %2")
                                        .arg(piece)
                                        .arg(result.message)),
                         __FILE__, __LINE__);
    }
    return parse_data_base(table, bytes, name);
}
} // namespace

class TestDataFileReader : public QObject {
    Q_OBJECT
  private slots:
    void one_entry_file() {
        EntryTable table;
        const Result result = parse(table, example_bytes());
        QVERIFY2(result.ok(), qPrintable(result.message));
        QVERIFY(same_entries(table, example_table()));
        QCOMPARE(table.LastUpdate, serial_from_civil({2003, 5, 14}));
        QCOMPARE(int(table.TableCapacity), 11);
        QCOMPARE(int(table.CurrentEntry), 1);
        QCOMPARE(int(table.TableModified), 0);
        QCOMPARE(table.text_rows(), std::size_t(12));
    }

    // Line structure, blanks around numbers and dates and what follows the last item do not
    // matter.
    void layouts_data() {
        QTest::addColumn<std::string>("bytes");
        const std::string head = "1\r\n#2003-05-14#\r\n";
        QTest::newRow("one item per line") << head + example_items("\r\n");
        QTest::newRow("LF line ends") << "1\n#2003-05-14#\n" + example_items("\n");
        QTest::newRow("comma and line end") << head + example_items(",\r\n");
        QTest::newRow("blank lines") << "1\r\n\r\n#2003-05-14#\r\n\r\n" + example_items(",");
        QTest::newRow("blanks before items") << " 1\r\n  #2003-05-14#\r\n" + example_items(", \t");
        QTest::newRow("blanks after numbers and dates")
            << "1 \r\n#2003-05-14#\t\r\n" + example_items(" \t,");
        QTest::newRow("no final comma")
            << head + example_items(",").substr(0, example_items(",").size() - 1);
        QTest::newRow("trailing garbage") << example_bytes() + "\r\n#junk#,\"unclosed";
        QTest::newRow("junk after a closing quote")
            << head + example_items(",").replace(example_items(",").find("\"Sample\""), 8,
                                                 "\"Sample\"junk");
        QTest::newRow("unquoted texts")
            << head + example_items(",").replace(example_items(",").find("\"Graz\""), 6, "Graz");
    }
    void layouts() {
        QFETCH(std::string, bytes);
        EntryTable table;
        const Result result = parse(table, bytes);
        QVERIFY2(result.ok(), qPrintable(result.message));
        QVERIFY(same_entries(table, example_table()));
        QCOMPARE(table.LastUpdate, serial_from_civil({2003, 5, 14}));
    }

    // Items that are unusual but valid keep their values.
    void unusual_values() {
        EntryTable written = changed_table(2);
        written.Salutation[1] = -1;
        written.Salutation[2] = 2;
        written.TitleFlags[1] = {-32768, 32767};
        written.EquipmentFlags[1][28] = 7;
        written.EquipmentFlags[1][29] = -3;
        written.set_text(1, AddressSlot, "Am Berg 3,\r\nA-8010 Graz\r\n");
        written.set_text(1, RemarksSlot, "  \xFC\xE9\xF8, \x80 ");
        written.set_text(2, CitySlot, "Graz \t"); // unquoted below: its blanks are part of it
        written.set_text(2, OtherOrganizationSlot, std::string(ItemLengthLimit, 'x'));
        std::string bytes = data_file_bytes(written, 1);
        bytes.replace(bytes.find("#1899-12-30#", 10), 12, "#00:00:00#");
        bytes.replace(bytes.find("\"Graz \t\""), 8, "Graz \t");
        EntryTable table;
        const Result result = parse(table, bytes);
        QVERIFY2(result.ok(), qPrintable(result.message));
        QVERIFY(same_entries(table, written));
    }

    void empty_directory_data() {
        QTest::addColumn<std::string>("bytes");
        QTest::newRow("with date") << std::string("0\r\n#2003-05-14#\r\n");
        QTest::newRow("count only") << std::string("0");
        QTest::newRow("date line not read") << std::string("0\r\nnot a date, \"\r\n");
    }
    void empty_directory() {
        QFETCH(std::string, bytes);
        EntryTable table = example_table();
        table.LastUpdate = 123;
        const Result result = parse(table, bytes);
        QVERIFY2(result.ok(), qPrintable(result.message));
        QCOMPARE(int(table.EntryCount), 0);
        QCOMPARE(int(table.TableCapacity), 10);
        QCOMPARE(table.LastUpdate, 123);
        QVERIFY(same_table(table, [] {
            EntryTable empty = changed_table(0);
            empty.TableModified = 0;
            empty.LastUpdate = 123;
            return empty;
        }()));
    }

    // A load into a table that held more replaces every row, spare rows included.
    void rows_are_recreated() {
        EntryTable table = changed_table(30);
        for (int e = 0; e < int(table.text_rows()); ++e)
            for (int s = 0; s < TextSlotCount; ++s) table.set_text(e, s, "old");
        table.EquipmentFlags.back()[28] = 1;
        QVERIFY(parse(table, example_bytes()).ok());
        EntryTable expected = example_table();
        expected.TableModified = 0;
        expected.LastUpdate = serial_from_civil({2003, 5, 14});
        QVERIFY(same_table(table, expected));
    }

    void largest_directory() {
        EntryTable full = changed_table(MaxEntryCount);
        full.set_text(MaxEntryCount, OtherOrganizationSlot, "last");
        EntryTable table;
        const Result result = parse_data_base(table, data_file_bytes(full, 1), "test");
        QVERIFY2(result.ok(), qPrintable(result.message));
        QCOMPARE(int(table.TableCapacity), 32767);
        QCOMPARE(table.text_rows(), std::size_t(32768));
        QCOMPARE(table.text(MaxEntryCount, OtherOrganizationSlot), std::string_view("last"));
    }

    void malformed_data() {
        QTest::addColumn<std::string>("bytes");
        QTest::addColumn<QString>("message");
        const std::string head = "1\r\n#2003-05-14#\r\n";
        const std::string items = example_items(",");
        const auto with = [&](const std::string& old, const std::string& bad) {
            std::string s = example_bytes();
            return s.replace(s.find(old, 17), old.size(), bad);
        };
        QTest::newRow("empty file") << std::string() << "is empty: its first line should hold";
        QTest::newRow("count not a number")
            << std::string("one\r\n")
            << "has a bad item in line 1 (the number of entries): \"one\" "
               "is not a whole number.";
        QTest::newRow("count beyond 16 bits")
            << std::string("40000\r\n") << "\"40000\" is outside the range -32768 to 32767.";
        QTest::newRow("count too large")
            << std::string("32758\r\n#2003-05-14#\r\n")
            << "announces 32758 entries in line 1; the directory can hold at most 32757.";
        QTest::newRow("negative count") << std::string("-1\r\n#2003-05-14#\r\n")
                                        << "announces a negative number of entries (-1) in line 1.";
        QTest::newRow("count after blank lines")
            << std::string("\r\n\n-1\r\n")
            << "announces a negative number of entries (-1) in line 3.";
        QTest::newRow("no date line")
            << std::string("1\r\n") << "ends in line 1, before the date of the last update.";
        QTest::newRow("date after a blank line")
            << "1\r\n\r\n2003-05-14\r\n" + items
            << "has a bad item in line 3 (the date of the last update): \"2003-05-14\" is not a "
               "date";
        QTest::newRow("header date not a day")
            << "1\r\n#2003-13-01#\r\n" + items
            << "has a bad item in line 2 (the date of the last update): \"#2003-13-01#\" is not a "
               "day of the calendar.";
        QTest::newRow("date without number signs")
            << with("#2003-05-12#", "2003-05-12")
            << "entry 1, item 1 (date of the last change), in line 3: \"2003-05-12\" is not a "
               "date of the form #yyyy-mm-dd#.";
        QTest::newRow("date with one-digit month")
            << with("#2003-05-12#", "#2003-5-12#") << "\"#2003-5-12#\" is not a date of the form";
        QTest::newRow("February 29 of 2003")
            << with("#2003-05-12#", "#2003-02-29#") << "is not a day of the calendar.";
        QTest::newRow("text for a date") << with("#2003-05-12#", "\"today\"")
                                         << "the text \"today\" stands where a date belongs.";
        QTest::newRow("entry cut short")
            << example_bytes().substr(0, example_bytes().size() - 15)
            << "ends in line 3, before entry 1, item 59 (other Laboratory Equipment A), although line 1 "
               "announces 1 entry.";
        QTest::newRow("entry missing")
            << "\r\n2" + example_bytes().substr(1) + "\r\n\r\n"
            << "ends in line 4, before entry 2, item 1 (date of the last change), although line 2 "
               "announces 2 entries.";
        QTest::newRow("text for a number")
            << with(",1,0,1,", ",\"Mrs\",0,1,")
            << "entry 1, item 2 (salutation), in line 3: the text \"Mrs\" stands where a number "
               "belongs.";
        QTest::newRow("number beyond 16 bits")
            << with(",1,0,1,1,", ",1,0,1,32768,")
            << "entry 1, item 5 (University), in line 3: \"32768\" is outside the range";
        QTest::newRow("empty number")
            << with(",1,0,1,", ",1,,1,") << "item 3 (Prof.), in line 3: the item is empty";
        QTest::newRow("decimal fraction")
            << with(",1,0,1,", ",1,0.5,1,") << "item 3 (Prof.), in line 3: \"0.5\" is not a whole";
        QTest::newRow("plus sign")
            << with(",1,0,1,", ",1,+1,1,") << "\"+1\" is not a whole number.";
        QTest::newRow("collaboration flag")
            << with(",1,\"\",\"Sample\"", ",1x,\"\",\"Sample\"")
            << "item 41 (collaborative use), in line 3: \"1x\" is not a whole number.";
        QTest::newRow("unclosed text")
            << example_bytes().substr(0, example_bytes().size() - 3) + "\"Notes,\r\nmore"
            << "ends inside the text of entry 1, item 63 (other Organization), which begins in "
               "line 3 with \"Notes,  more\": its closing double quote is missing.";
        QTest::newRow("long item shortened")
            << with(",1,0,1,", "," + std::string(100, '7') + ",0,1,")
            << "\"7777777777777777777777777777777777777777\u2026\" is outside the range";
        QTest::newRow("text past the greatest length")
            << with("\"Graz\"", '"' + std::string(ItemLengthLimit + 1, 'x') + '"')
            << "entry 1, item 46 (City), in line 3: the text "
               "\"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
               "\u2026\" runs on past 16 MiB, the most an item may hold: is its closing double "
               "quote missing?";
        QTest::newRow("a few NUL bytes")
            << std::string(5, '\0')
            << "in line 1 (the number of entries): \"\\x00\\x00\\x00\\x00\\x00\" holds the "
               "control byte 0x00 (NUL), which has no place in a number: is this a directory file?";
        QTest::newRow("count followed by NUL")
            << std::string("1\0\r\n", 4) << "\"1\\x00\" holds the control byte 0x00 (NUL)";
        QTest::newRow("line counted")
            << std::string("1\r\n#2003-05-14#\r\n#2003-05-12#\r\n1\r\nx\r\n")
            << "entry 1, item 3 (Prof.), in line 5:";
    }
    void malformed() {
        QFETCH(std::string, bytes);
        QFETCH(QString, message);
        EntryTable table = example_table();
        table.LastUpdate = 99;
        const EntryTable before = table;
        const Result result = parse(table, bytes);
        QVERIFY(!result.ok());
        const QString text = result.message;
        QVERIFY2(text.startsWith("The data file \"/data/KAV-Addresses.dat\" "), qPrintable(text));
        QVERIFY2(text.contains(message), qPrintable(text));
        QVERIFY2(text.endsWith(" Nothing was loaded."), qPrintable(text));
        QVERIFY(same_table(table, before));
    }

    void missing_file() {
        QTemporaryDir dir;
        EntryTable table;
        const Result result = read_data_base(table, dir.path().toStdString());
        QVERIFY(!result.ok());
        QCOMPARE(result.message,
                 "The data file \"KAV-Addresses.dat\" was not found in the folder \"" +
                     QDir(dir.path()).absolutePath() + "\". Nothing was loaded.");
    }

    // Whatever stands in the data file's place, the reader gives up at once: `most` is how
    // many of its bytes it may read first. `size` makes a file that long, sparse.
    void refusals_data() {
        QTest::addColumn<int>("kind");        // of what stands there, as stat() gives it
        QTest::addColumn<QString>("link_to"); // when it is a link; "$DIR" its folder
        QTest::addColumn<std::string>("bytes");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("message");
        QTest::addColumn<qint64>("most");
        const qint64 item_cost = qint64(ItemLengthLimit + DataFilePieceSize);
        const std::string bytes = example_bytes();
        const int file = S_IFREG, folder = S_IFDIR, fifo = S_IFIFO;
        QTest::newRow("folder")
            << folder << QString() << bytes << qint64(0) << "is a folder, not a file."
                                << qint64(0);
        QTest::newRow("FIFO") << fifo << QString() << bytes << qint64(0)
                              << "is a named pipe (FIFO), not a file." << qint64(0);
        QTest::newRow("link to an endless device")
            << file << "/dev/zero" << bytes << qint64(0)
            << "is a link to \"/dev/zero\", which is a device, not a file." << qint64(0);
        QTest::newRow("dangling link")
            << file << "$DIR/gone.dat" << bytes << qint64(0)
            << "gone.dat\", which does not exist." << qint64(0);
        QTest::newRow("over the size limit")
            << file << QString() << bytes << qint64(2) * 1024 * 1024 * 1024
            << "is 2.0 GiB; a directory file holds at most 256 MiB." << qint64(0);
        QTest::newRow("endless text")
            << file << QString() << bytes.substr(0, bytes.find('"') + 1)
            << 3 * qint64(ItemLengthLimit)
            << "at entry 1, item 42 (other Title), in line 3: the text \"" << item_cost;
        QTest::newRow("zero bytes up to the size limit")
            << file << QString() << std::string() << qint64(DataFileSizeLimit)
            << "in line 1 (the number of entries): it holds the control byte 0x00 (NUL) and "
                   "runs on past 16 MiB without a comma or line end: is this a directory file?"
            << item_cost;
        const std::string no_count = "\r\n" + bytes.substr(bytes.find('#'));
        QTest::newRow("count missing")
            << file << QString() << no_count << qint64(0)
            << "has a bad item in line 2 (the number of entries): \"#2003-05-14#\""
            << qint64(no_count.size());
    }
    void refusals() {
        QFETCH(int, kind);
        QFETCH(QString, link_to);
        QFETCH(std::string, bytes);
        QFETCH(qint64, size);
        QFETCH(QString, message);
        QFETCH(qint64, most);
        QTemporaryDir dir;
        const QString file = QString::fromStdString(data_path(dir.path()).string());
        if (!link_to.isEmpty())
            QVERIFY(QFile::link(QString(link_to).replace("$DIR", dir.path()), file));
        else if (kind == S_IFDIR)
            QVERIFY(QDir(dir.path()).mkdir(DataFileName));
        else
            QCOMPARE(::mknod(file.toLocal8Bit().constData(), mode_t(kind) | 0600, 0), 0);
        if (link_to.isEmpty() && kind == S_IFREG)
            QVERIFY(put_file(file.toStdString(), bytes) && (size == 0 || QFile(file).resize(size)));

        EntryTable table = example_table();
        const EntryTable before = table;
        std::uint64_t taken = 0;
        const Result result = read_data_base(table, dir.path().toStdString(), taken);
        const QString text = result.message;
        QVERIFY(!result.ok());
        QVERIFY2(text.startsWith("The data file \"" + file + "\" "), qPrintable(text));
        QVERIFY2(text.contains(message), qPrintable(text));
        QVERIFY2(text.endsWith(" Nothing was loaded."), qPrintable(text));
        QVERIFY2(taken <= std::uint64_t(most), qPrintable(QString::number(taken)));
        QVERIFY(same_table(table, before));
    }

    void reads_from_folder() {
        QTemporaryDir dir;
        QVERIFY(put_file(data_path(dir.path()), example_bytes()));
        EntryTable table;
        const Result result = read_data_base(table, dir.path().toStdString());
        QVERIFY2(result.ok(), qPrintable(result.message));
        QVERIFY(same_entries(table, example_table()));

        // The line of a bad item is counted in the file itself, past the piece in memory.
        std::string bad = "1\r\n#2003-05-14#\r\n" + std::string(DataFilePieceSize, '\n') +
                          "#2003-05-12#,\r\nMrs,";
        QVERIFY(put_file(data_path(dir.path()), bad));
        const QString message =
            read_data_base(table, dir.path().toStdString()).message;
        QVERIFY2(message.startsWith("The data file \"" +
                                    QString::fromStdString(data_path(dir.path()).string()) +
                                    "\" has a bad item at entry 1, item 2 (salutation), in line " +
                                    QString::number(DataFilePieceSize + 4) + ":"),
                 qPrintable(message));
        QVERIFY(same_entries(table, example_table()));
    }

    // Another program changes the file in place after the load: every table loaded from it
    // keeps the texts it loaded, and the other program is not held up for long.
    void loaded_texts_outlast_the_file_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("held_open");
        QTest::addColumn<int>("loads");
        QTest::addColumn<bool>("reading"); // a thread reads every text meanwhile
        QTest::newRow("truncated") << ": > \"$0\"" << false << 1 << false;
        QTest::newRow("written over")
            << "printf 'x%.0s' $(seq 9000) > \"$0\"" << false << 1 << false;
        QTest::newRow("open for writing while it loads") << ": > \"$0\"" << true << 1 << false;
        QTest::newRow("loaded twice, then truncated") << ": > \"$0\"" << false << 2 << false;
        // More loads than mappings can be held under a lease: the rest read the file instead.
        QTest::newRow("loaded twenty times, then truncated")
            << ": > \"$0\"" << false << 20 << false;
        QTest::newRow("truncated while its texts are read") << ": > \"$0\"" << false << 2 << true;
        QTest::newRow("written over while its texts are read")
            << "printf 'x%.0s' $(seq 9000) > \"$0\"" << false << 1 << true;
    }
    void loaded_texts_outlast_the_file() {
        QFETCH(QString, change);
        QFETCH(bool, held_open);
        QFETCH(int, loads);
        QFETCH(bool, reading);
        QTemporaryDir dir;
        const std::filesystem::path file = data_path(dir.path());
        QVERIFY(put_file(file, example_bytes()));
        QFile writer(QString::fromStdString(file.string()));
        if (held_open) QVERIFY(writer.open(QIODevice::Append));

        std::vector<EntryTable> tables(static_cast<std::size_t>(loads));
        for (EntryTable& table : tables) QVERIFY(read_data_base(table, dir.path().toStdString()).ok());
        // Reads go on while the lease is broken and the bytes are copied in place of the file's.
        std::atomic<bool> done{false};
        std::atomic<int> rounds{0};
        std::atomic<int> wrong{0};
        std::thread reader;
        if (reading)
            reader = std::thread([&] {
                const EntryTable expected = example_table();
                while (!done.load()) {
                    for (const EntryTable& table : tables)
                        if (!same_entries(table, expected)) ++wrong;
                    ++rounds;
                }
            });
        const auto stop = qScopeGuard([&] {
            done = true;
            if (reader.joinable()) reader.join();
        });
        QProcess other;
        other.start("sh", {"-c", change, QString::fromStdString(file.string())});
        QVERIFY(other.waitForFinished(30000));
        QCOMPARE(other.exitCode(), 0);
        if (reading) {
            for (const int before = rounds.load(); rounds.load() < before + 3;)
                std::this_thread::yield();
            QCOMPARE(wrong.load(), 0);
        }
        QVERIFY(file_bytes(file) != QByteArray::fromStdString(example_bytes()));
        for (const EntryTable& table : tables) {
            QVERIFY(same_entries(table, example_table()));
            QCOMPARE(table.LoadedFile.hash, file_hash(example_bytes()));
        }
    }

    // A load gives the table the bytes parse to, whether the file is mapped or, held open for
    // writing by another program, read into memory.
    void load_equals_parse_data() {
        QTest::addColumn<bool>("largest");
        QTest::addColumn<bool>("held");
        QTest::newRow("an example, mapped") << false << false;
        QTest::newRow("the largest directory, mapped") << true << false;
        QTest::newRow("the largest directory, open for writing: read") << true << true;
    }
    void load_equals_parse() {
        QFETCH(bool, largest);
        QFETCH(bool, held);
        QTemporaryDir dir;
        const std::filesystem::path file = data_path(dir.path());
        std::string expected_bytes = example_bytes();
        if (largest) {
            // Columns and texts many times the size of the pieces a file is read in.
            EntryTable full = changed_table(MaxEntryCount);
            for (int e = 1; e <= MaxEntryCount; e += 97) {
                full.set_text(e, e % TextSlotCount, "text " + std::to_string(e));
                full.EquipmentFlags[std::size_t(e)][std::size_t(e % EquipmentFlagCount)] = 1;
                full.ChangeDate[std::size_t(e)] = e;
            }
            expected_bytes = data_file_bytes(full, 1);
        }
        QVERIFY(put_file(file, expected_bytes));
        QFile writer(QString::fromStdString(file.string()));
        if (held) QVERIFY(writer.open(QIODevice::Append));
        EntryTable loaded = example_table();
        QVERIFY(read_data_base(loaded, dir.path().toStdString()).ok());
        EntryTable expected;
        QVERIFY(parse_data_base(expected, expected_bytes, "").ok());
        QVERIFY(same_table(loaded, expected));
        QCOMPARE(loaded.LoadedFile.hash, file_hash(expected_bytes));
    }
};

ZELKAV_TEST_CLASS(TestDataFileReader)

#include "test_data_file_reader.moc"
