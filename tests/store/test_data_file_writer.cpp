#include "test_registry.h"
#include "data_file_reader.h"
#include "data_file_writer.h"
#include "atomic_file.h"
#include "file_identity.h"
#include "hashed_parts.h"
#include "store_fixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <unistd.h>
#include <sys/resource.h>

Q_DECLARE_METATYPE(EntryTable)

namespace {
const SerialDate saved_on = serial_from_civil({2003, 5, 14});

// Fills the write limit of this process, as a full disk would; root cannot bypass it.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_handler_);
    }

  private:
    rlimit old_{};
    void (*old_handler_)(int) = nullptr;
};
} // namespace

class TestDataFileWriter : public QObject {
    Q_OBJECT
  private slots:
    void init() { set_today_for_testing(saved_on); }
    void cleanup() { set_today_for_testing(std::nullopt); }

    void one_entry_file() {
        QTemporaryDir dir;
        EntryTable table = example_table();
        const Result result = save_data_base(table, dir.path().toStdString());
        QVERIFY2(result.ok(), qPrintable(result.message));
        QCOMPARE(file_bytes(data_path(dir.path())), QByteArray::fromStdString(example_bytes()));
    }

    void round_trip_data() {
        QTest::addColumn<EntryTable>("table");
        EntryTable t = changed_table(1);
        t.set_text(1, 3, "Hauptplatz 1, 2. Stock\r\nA-8010 Graz\r\n");
        t.set_text(1, 20, "first line\r\n\r\nthird, with comma");
        t.set_text(1, 11, ",");
        QTest::newRow("commas and line ends") << t;

        t = changed_table(1);
        t.set_text(1, 1, "M\xFCller-\xC9lise");
        t.set_text(1, 6, "Danmark \xD8");
        t.set_text(1, 20, "\x80 \x9F \xFF");
        QTest::newRow("Windows-1252 letters") << t;

        t = changed_table(1);
        t.EquipmentFlags[1][28] = 5;
        t.EquipmentFlags[1][29] = -1;
        t.EquipmentFlags[1][30] = 2;
        t.TitleFlags[1] = {2, 1};
        t.OrganizationFlags[1] = {2, -32768, 32767, 1, 0, 1};
        t.Salutation[1] = -1;
        QTest::newRow("flags as the file holds them") << t;

        t = changed_table(3);
        t.ChangeDate[1] = serial_from_civil({1, 1, 1});
        t.ChangeDate[3] = serial_from_civil({9999, 12, 31});
        t.set_text(1, 1, "first");
        t.set_text(3, 1, "third");
        QTest::newRow("a new entry never stored between two") << t;

        t = changed_table(1);
        t.set_texts(1, {"  lead", "trail  ", "   ", "\t", "x"});
        QTest::newRow("blanks inside texts") << t;

        t = changed_table(300);
        for (int e = 1; e <= 300; ++e) {
            t.ChangeDate[e] = 36000 + e * 7;
            t.Salutation[e] = std::int16_t(e % 4 - 1);
            for (int s = 0; s < TextSlotCount; ++s)
                t.set_text(e, s, std::string(std::size_t((e + s) % 40), char('a' + s)));
        }
        QTest::newRow("300 entries") << t;
    }
    void round_trip() {
        QFETCH(EntryTable, table);
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        QVERIFY(save_data_base(table, folder).ok());
        const QByteArray first = file_bytes(data_path(dir.path()));

        EntryTable loaded;
        const Result result = read_data_base(loaded, folder);
        QVERIFY2(result.ok(), qPrintable(result.message));
        QVERIFY(same_entries(loaded, table));
        QCOMPARE(loaded.LastUpdate, saved_on);

        loaded.TableModified = 1;
        QVERIFY(save_data_base(loaded, folder).ok());
        QCOMPARE(file_bytes(data_path(dir.path())), first);
    }

    void only_the_header_date_changes() {
        QTemporaryDir dir;
        EntryTable table = example_table();
        QVERIFY(save_data_base(table, dir.path().toStdString()).ok());
        EntryTable loaded;
        QVERIFY(read_data_base(loaded, dir.path().toStdString()).ok());
        set_today_for_testing(serial_from_civil({2024, 2, 29}));
        loaded.TableModified = 1;
        QVERIFY(save_data_base(loaded, dir.path().toStdString()).ok());
        std::string expected = example_bytes();
        expected.replace(3, 12, "#2024-02-29#");
        QCOMPARE(file_bytes(data_path(dir.path())), QByteArray::fromStdString(expected));
    }

    void double_quote_becomes_apostrophe() {
        EntryTable table = example_table();
        table.set_text(1, 0, "\"Doc\"");
        table.set_text(1, 3, "c/o \"Mine\", Level 2");
        const std::string bytes = data_file_bytes(table, saved_on);
        QVERIFY(bytes.find("\"'Doc'\",\"Sample\",\"Anna\",\"c/o 'Mine', Level 2\",\"Graz\"") !=
                std::string::npos);

        EntryTable loaded;
        QVERIFY(parse_data_base(loaded, bytes, "test").ok());
        table.set_text(1, 0, "'Doc'");
        table.set_text(1, 3, "c/o 'Mine', Level 2");
        QVERIFY(same_entries(loaded, table));
    }

    void empty_directory() {
        QTemporaryDir dir;
        EntryTable table = changed_table(0);
        QVERIFY(save_data_base(table, dir.path().toStdString()).ok());
        QCOMPARE(file_bytes(data_path(dir.path())), QByteArray("0\r\n#2003-05-14#\r\n"));
    }

    void unchanged_table_is_not_saved() {
        QTemporaryDir dir;
        EntryTable table = example_table();
        table.TableModified = 0;
        QVERIFY(save_data_base(table, dir.path().toStdString()).ok());
        QVERIFY(!QFile::exists(QString::fromStdString(data_path(dir.path()).string())));

        QVERIFY(put_file(data_path(dir.path()), "old"));
        QVERIFY(save_data_base(table, dir.path().toStdString()).ok());
        QCOMPARE(file_bytes(data_path(dir.path())), QByteArray("old"));
    }

    // "$FILE" in a fragment stands for the data file's path.
    void failed_save_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("disk full") << "full" << "$FILE";
        QTest::newRow("file name taken by a folder") << "folder" << "$FILE";
        QTest::newRow("folder is a file") << "not a folder" << "$FILE";
        QTest::newRow("the oldest version cannot be dropped")
            << "oldest blocked" << ".dat.4\" could not be renamed";
        QTest::newRow("the kept copy does not fit on the disk") << "copy full" << "the copy \"";
        QTest::newRow("read-only folder") << "read-only" << "its folder \"$DIR\" does not allow new files";
    }
    void failed_save() {
        QFETCH(QString, kind);
        QFETCH(QString, fragment);
        QTemporaryDir dir;
        std::filesystem::path folder = dir.path().toStdString();
        // Large enough that its copy does not fit under the limit below.
        const std::string old = kind == "copy full" ? std::string(400'000, 'x') : example_bytes();
        if (kind == "folder")
            QVERIFY(QDir(dir.path()).mkdir(DataFileName));
        else
            QVERIFY(put_file(data_path(dir.path()), old));
        if (kind == "not a folder") folder /= DataFileName;
        if (kind == "oldest blocked") {
            QVERIFY(put_file(data_path(dir.path()).string() + ".4", "kept"));
            QVERIFY(QDir(dir.path()).mkpath(QString(DataFileName) + ".5/inside"));
        }
        // Root passes every permission check but an immutable folder's.
        const bool root = geteuid() == 0;
        if (kind == "read-only" && root && QProcess::execute("chattr", {"+i", dir.path()}) != 0)
            QSKIP("the folder cannot be made immutable here");
        if (kind == "read-only" && !root)
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);

        // Large enough to be written in several pieces, so the disk fills after the first.
        EntryTable table = changed_table(4000);
        Result result;
        bool changed_by_others = true;
        {
            FileSizeLimit limit(kind.endsWith("full") ? 300 * 1024 : RLIM_INFINITY);
            result = save_data_base(table, folder, changed_by_others);
        }
        // Nobody else changed the file: the window must not offer to save elsewhere for that.
        QVERIFY(!changed_by_others);
        if (kind == "read-only" && root) QProcess::execute("chattr", {"-i", dir.path()});
        if (kind == "read-only" && !root) QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!result.ok());
        const QString message = result.message;
        fragment.replace("$FILE", QString::fromStdString((folder / DataFileName).string()))
            .replace("$DIR", dir.path());
        QVERIFY2(message.contains(fragment), qPrintable(message));
        QVERIFY2(message.endsWith("The file was not changed."), qPrintable(message));

        // No temporary file is left behind; copies of the old file may be.
        QStringList left =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        left = left.filter(QRegularExpression(QString("^(?!%1\\.[1-5]$)").arg(DataFileName)));
        QCOMPARE(left, QStringList{DataFileName});
        if (kind == "folder")
            QVERIFY(QFileInfo(dir.path() + "/" + DataFileName).isDir());
        else
            QCOMPARE(file_bytes(data_path(dir.path())), QByteArray::fromStdString(old));
    }

    // Each save keeps the file it replaces; after seven saves of the versions 1 to 7, .1 holds
    // version 6, .5 version 2, and version 1 is gone.
    void earlier_versions_are_kept() {
        QTemporaryDir dir;
        const std::filesystem::path folder = dir.path().toStdString();
        EntryTable table = example_table();
        for (int version = 1; version <= 7; ++version) {
            table.set_text(1, 20, "version " + std::to_string(version));
            QVERIFY(save_data_base(table, folder).ok());
        }
        for (int kept = 1; kept <= KeptVersions; ++kept) {
            const QByteArray bytes = file_bytes(data_path(dir.path()).string() + "." +
                                                std::to_string(kept));
            QVERIFY2(bytes.contains(QByteArray("\"version ") + QByteArray::number(7 - kept) + '"'),
                     bytes.right(80).constData());
        }
        QVERIFY(!QFile::exists(dir.filePath(QString(DataFileName) + ".6")));
        QVERIFY(file_bytes(data_path(dir.path())).contains("\"version 7\""));
    }

    // A save never overwrites a file that someone else saved after this table was loaded.
    void changed_file_is_not_overwritten_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("saves");
        QTest::newRow("nothing") << "" << true;
        QTest::newRow("touched, same bytes") << "touch" << true;
        QTest::newRow("same size, other bytes") << "same size" << false;
        QTest::newRow("longer") << "longer" << false;
        QTest::newRow("removed: made anew") << "remove" << true;
        QTest::newRow("a folder in its place") << "folder" << false;
    }
    void changed_file_is_not_overwritten() {
        QFETCH(QString, change);
        QFETCH(bool, saves);
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        const std::filesystem::path file = data_path(dir.path());
        EntryTable table = example_table();
        QVERIFY(save_data_base(table, folder).ok());
        EntryTable loaded;
        QVERIFY(read_data_base(loaded, folder).ok());
        QVERIFY(loaded.LoadedFile.known && !data_file_changed(loaded, folder));
        QCOMPARE(loaded.LoadedFile.hash, file_hash(file_bytes(file).toStdString()));

        std::string other = file_bytes(file).toStdString();
        if (change == "touch") {
            std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) +
                                                       std::chrono::seconds(5));
        } else if (change == "same size") {
            other.replace(other.find("Graz"), 4, "Linz");
            QVERIFY(put_file(file, other));
        } else if (change == "longer") {
            QVERIFY(put_file(file, other + "\"\","));
        } else if (change == "remove") {
            QVERIFY(QFile::remove(QString::fromStdString(file.string())));
        } else if (change == "folder") {
            QVERIFY(QFile::remove(QString::fromStdString(file.string())));
            QVERIFY(QDir(dir.path()).mkdir(DataFileName));
        }
        const QByteArray before = file_bytes(file);
        QCOMPARE(data_file_changed(loaded, folder), !saves);

        loaded.TableModified = 1;
        loaded.set_text(1, 4, "Wien");
        bool changed_by_others = false;
        const Result result = save_data_base(loaded, folder, changed_by_others);
        QCOMPARE(result.ok(), saves);
        QCOMPARE(changed_by_others, !saves);
        QCOMPARE(QFile::exists(dir.filePath(QString(DataFileName) + ".1")),
                 saves && change != "remove");
        if (saves) {
            // The table now knows the file it saved: the next save goes through as well.
            QVERIFY(!data_file_changed(loaded, folder));
            QVERIFY(save_data_base(loaded, folder).ok());
            return;
        }
        QVERIFY2(result.message.contains(dir.path()), qPrintable(result.message));
        QCOMPARE(file_bytes(file), before);

        // Saving under another name is the way out; it keeps no versions of that file.
        const std::filesystem::path elsewhere = std::filesystem::path(folder) / "mine.dat";
        QVERIFY(save_data_base_as(loaded, elsewhere).ok());
        QVERIFY(file_bytes(elsewhere).contains("\"Wien\""));
        QVERIFY(!QFile::exists(dir.filePath("mine.dat.1")));
        QCOMPARE(file_bytes(file), before);
    }

    // The folder is synced once the new file stands in it, so a power cut cannot bring the
    // old one back.
    void save_syncs_the_folder() {
        QTemporaryDir dir;
        QStringList synced;
        QByteArray in_place;
        set_folder_sync_for_testing([&](const QString& folder) {
            synced << folder;
            in_place = file_bytes(data_path(dir.path()));
        });
        EntryTable table = example_table();
        const Result result = save_data_base(table, dir.path().toStdString());
        set_folder_sync_for_testing({});
        QVERIFY(result.ok());
        QVERIFY(!synced.isEmpty());
        QCOMPARE(synced.back(), QFileInfo(dir.path()).absoluteFilePath());
        QCOMPARE(in_place, QByteArray::fromStdString(example_bytes()));
    }

    // A cache file's parts reach the disk whole and in order, each followed by the chained hash
    // of its fields, however the fields fall across the pieces the file is written in; no
    // piece grows far past its size.
    void hashed_parts_are_written_whole() {
        QTemporaryDir dir;
        const QString path = dir.filePath("parts.bin");
        std::string field(3 * FilePieceSize + 5, '\0');
        for (std::size_t i = 0; i < field.size(); ++i) field[i] = char(i * 13 % 253);
        const std::vector<std::size_t> sizes = {3, FilePieceSize - 1, 0, field.size(), 9};
        std::string expected;
        std::size_t largest_piece = 0;
        QVERIFY(write_file_atomically(path, [&](std::string& piece, const PieceWriter& flush) {
                    const PieceWriter watched = [&](std::string& bytes) {
                        largest_piece = std::max(largest_piece, bytes.size());
                        flush(bytes);
                    };
                    HashedParts out(piece, watched);
                    for (int part = 0; part < 2; ++part) {
                        std::uint64_t hash = 0;
                        for (std::size_t size : sizes) {
                            out.put(field.data(), size);
                            expected.append(field.data(), size);
                            hash = bytes_hash(field.data(), size, hash);
                        }
                        out.end_part();
                        expected.append(reinterpret_cast<const char*>(&hash), sizeof hash);
                    }
                    flush(piece);
                }).ok());
        QCOMPARE(file_bytes(path), QByteArray::fromStdString(expected));
        QVERIFY(largest_piece <= FilePieceSize + sizeof(std::uint64_t));
    }
};

ZELKAV_TEST_CLASS(TestDataFileWriter)

#include "test_data_file_writer.moc"
