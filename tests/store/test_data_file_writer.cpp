#include "test_registry.h"
#include "data_file_reader.h"
#include "data_file_lock.h"
#include "data_file_writer.h"
#include "atomic_file.h"
#include "file_identity.h"
#include "entry_fields.h"
#include "store_fixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <map>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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

enum class ReadOnly { Nothing, Folder, File };

std::filesystem::path version_path(const std::filesystem::path& file, int version) {
    return version == 0 ? file
                        : std::filesystem::path(file.string() + "." + std::to_string(version));
}

// Every name in `folder` with its bytes; "(folder)" for a folder.
std::map<QString, QByteArray> folder_contents(const QString& folder) {
    std::map<QString, QByteArray> contents;
    const QDir dir(folder);
    for (const QFileInfo& entry :
         dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        contents[entry.fileName()] =
            entry.isDir() ? QByteArray("(folder)") : file_bytes(entry.filePath());
    return contents;
}

// The other program at the data file (save_helper.cpp).
struct OtherProgram {
    QProcess process;

    explicit OtherProgram(const QStringList& arguments) {
        process.start(STORE_SAVE_HELPER, arguments);
    }
    ~OtherProgram() {
        process.kill();
        process.waitForFinished();
    }
    void go() {
        process.write("go\n");
        process.waitForBytesWritten();
    }
    // Whether its next line is `line`.
    bool says(const QByteArray& line) {
        while (!process.canReadLine())
            if (!process.waitForReadyRead(30000)) return false;
        return process.readLine().trimmed() == line;
    }
};

unsigned mode_of(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}
} // namespace

Q_DECLARE_METATYPE(ReadOnly)
Q_DECLARE_METATYPE(SaveStep)

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
        t.set_text(1, AddressSlot, "Hauptplatz 1, 2. Stock\r\nA-8010 Graz\r\n");
        t.set_text(1, RemarksSlot, "first line\r\n\r\nthird, with comma");
        t.set_text(1, FirstInterestSlot, ",");
        QTest::newRow("commas and line ends") << t;

        t = changed_table(1);
        t.set_text(1, SurnameSlot, "M\xFCller-\xC9lise");
        t.set_text(1, CountrySlot, "Danmark \xD8");
        t.set_text(1, RemarksSlot, "\x80 \x9F \xFF");
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
        t.set_text(1, SurnameSlot, "first");
        t.set_text(3, SurnameSlot, "third");
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
        table.set_text(1, OtherTitleSlot, "\"Doc\"");
        table.set_text(1, AddressSlot, "c/o \"Mine\", Level 2");
        const std::string bytes = data_file_bytes(table, saved_on);
        QVERIFY(bytes.find("\"'Doc'\",\"Sample\",\"Anna\",\"c/o 'Mine', Level 2\",\"Graz\"") !=
                std::string::npos);

        EntryTable loaded;
        QVERIFY(parse_data_base(loaded, bytes, "test").ok());
        table.set_text(1, OtherTitleSlot, "'Doc'");
        table.set_text(1, AddressSlot, "c/o 'Mine', Level 2");
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

    // A save that fails, five times over, at any step, leaves the data file and its five
    // distinct earlier versions byte for byte as they were, and nothing beside them. "$FILE" in
    // a fragment stands for the data file's path, "$DIR" for its folder's.
    void failed_save_data() {
        QTest::addColumn<QString>("in_place");   // what stands at the data file's name
        QTest::addColumn<QString>("fifth");      // what stands at .5
        QTest::addColumn<bool>("into_the_file"); // the save is given the data file as its folder
        QTest::addColumn<int>("size_limit");     // bytes this process may write to a file; 0: any
        QTest::addColumn<ReadOnly>("read_only");
        QTest::addColumn<SaveStep>("stop_at");
        QTest::addColumn<int>("steps_first"); // steps of that kind that go through first
        QTest::addColumn<QString>("fragment");
        const QString file = "file", folder = "folder";
        const SaveStep none = SaveStep(-1);
        QTest::newRow("disk full")
            << file << file << false << 300 * 1024 << ReadOnly::Nothing << none << 0 << "$FILE";
        QTest::newRow("file name taken by a folder")
            << folder << file << false << 0 << ReadOnly::Nothing << none << 0
            << "something other than a file stands in its place";
        QTest::newRow("folder is a file")
            << file << file << true << 0 << ReadOnly::Nothing << none << 0 << "$FILE";
        QTest::newRow("the oldest version is a folder")
            << file << folder << false << 0 << ReadOnly::Nothing << none << 0
            << "the oldest kept version \"$FILE.5\" is not a file";
        QTest::newRow("read-only folder")
            << file << file << false << 0 << ReadOnly::Folder << none << 0
            << "its folder \"$DIR\" does not allow new files";
        QTest::newRow("read-only file")
            << file << file << false << 0 << ReadOnly::File << none << 0 << "$FILE";
        QTest::newRow("stopped once the new file is written")
            << file << file << false << 0 << ReadOnly::Nothing << SaveStep::Written << 0
            << "a test stopped the save";
        QTest::newRow("stopped once the oldest version is set aside")
            << file << file << false << 0 << ReadOnly::Nothing << SaveStep::VersionKept << 0
            << "it was stopped for a test";
        QTest::newRow("stopped halfway through the versions")
            << file << file << false << 0 << ReadOnly::Nothing << SaveStep::VersionKept << 3
            << "it was stopped for a test";
        QTest::newRow("stopped once the file is kept as .1")
            << file << file << false << 0 << ReadOnly::Nothing << SaveStep::VersionKept << 5
            << "it was stopped for a test";
        QTest::newRow("stopped before the new file takes its place")
            << file << file << false << 0 << ReadOnly::Nothing << SaveStep::Replacing << 0
            << "could not be replaced: a test stopped the save";
    }
    void failed_save() {
        QFETCH(QString, in_place);
        QFETCH(QString, fifth);
        QFETCH(bool, into_the_file);
        QFETCH(int, size_limit);
        QFETCH(ReadOnly, read_only);
        QFETCH(SaveStep, stop_at);
        QFETCH(int, steps_first);
        QFETCH(QString, fragment);
        QTemporaryDir dir;
        const std::filesystem::path file = data_path(dir.path());
        const std::vector<std::string> versions = {example_bytes(), "first", "second", "third",
                                                   "fourth", "fifth"};
        for (int v = 0; v <= KeptVersions; ++v) {
            const std::filesystem::path path = version_path(file, v);
            if ((v == 0 && in_place == "folder") || (v == KeptVersions && fifth == "folder"))
                QVERIFY(std::filesystem::create_directories(path / "inside"));
            else
                QVERIFY(put_file(path, versions[std::size_t(v)]));
        }
        const std::map<QString, QByteArray> before = folder_contents(dir.path());
        const std::filesystem::path folder = into_the_file ? file : file.parent_path();

        int steps = 0;
        set_save_step_hook_for_testing(
            [&](SaveStep step) { return step != stop_at || steps++ < steps_first; });
        const auto unhooked = qScopeGuard([] { set_save_step_hook_for_testing({}); });
        // Root passes every permission check but an immutable file's or folder's.
        const bool root = geteuid() == 0;
        const QString locked = read_only == ReadOnly::Folder ? dir.path()
                               : read_only == ReadOnly::File
                                   ? QString::fromStdString(file.string())
                                   : QString();
        if (!locked.isEmpty() && root && QProcess::execute("chattr", {"+i", locked}) != 0)
            QSKIP("a file cannot be made immutable here");
        const QFile::Permissions permissions = QFile::permissions(locked);
        if (!locked.isEmpty() && !root)
            QFile::setPermissions(locked, permissions & ~(QFile::WriteOwner | QFile::WriteUser));
        const auto unlocked = qScopeGuard([&] {
            if (!locked.isEmpty() && root) QProcess::execute("chattr", {"-i", locked});
            if (!locked.isEmpty() && !root) QFile::setPermissions(locked, permissions);
        });

        for (int attempt = 1; attempt <= 5; ++attempt) {
            // Large enough to be written in several pieces, so the disk fills after the first.
            EntryTable table = changed_table(4000);
            Result result;
            bool changed_by_others = true;
            {
                FileSizeLimit limit(size_limit > 0 ? rlim_t(size_limit) : RLIM_INFINITY);
                steps = 0;
                result = save_data_base(table, folder, changed_by_others);
            }
            // Nobody else changed the file: the window must not offer to save elsewhere for that.
            QVERIFY(!changed_by_others);
            QVERIFY(!result.ok());
            const QString expected = QString(fragment)
                                         .replace("$FILE", QString::fromStdString(file.string()))
                                         .replace("$DIR", dir.path());
            QVERIFY2(result.message.contains(expected), qPrintable(result.message));
            QVERIFY2(result.message.endsWith("The file was not changed."),
                     qPrintable(result.message));
            QCOMPARE(folder_contents(dir.path()), before);
        }
    }

    // Each save keeps the file it replaces, with the data file's permission bits; after seven
    // saves of the versions 1 to 7, each made twice, .1 holds version 6, .5 version 2, and
    // version 1 is gone: a save of the bytes the file holds keeps nothing.
    void earlier_versions_are_kept() {
        QTemporaryDir dir;
        const std::filesystem::path folder = dir.path().toStdString();
        const QString file = QString::fromStdString(data_path(dir.path()).string());
        EntryTable table = example_table();
        for (int version = 1; version <= 7; ++version) {
            table.set_text(1, RemarksSlot, "version " + std::to_string(version));
            QVERIFY(save_data_base(table, folder).ok());
            QVERIFY(save_data_base(table, folder).ok());
            // Private from here on: the versions kept before follow.
            if (version == 2)
                QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
        }
        for (int kept = 1; kept <= KeptVersions; ++kept) {
            const std::filesystem::path path = version_path(data_path(dir.path()), kept);
            const QByteArray bytes = file_bytes(path);
            QVERIFY2(bytes.contains(QByteArray("\"version ") + QByteArray::number(7 - kept) + '"'),
                     bytes.right(80).constData());
            QCOMPARE(mode_of(path), 0600u);
        }
        QCOMPARE(folder_contents(dir.path()).size(), std::size_t(1 + KeptVersions));
        QVERIFY(file_bytes(data_path(dir.path())).contains("\"version 7\""));
        QCOMPARE(mode_of(data_path(dir.path())), 0600u);
    }

    // Two programs that loaded the same file save at once: however close together, one
    // saves, the other is told that the file changed, and nothing is lost without a word. One
    // pauses at a step of its save, so that the other's save falls there.
    void two_saves_at_once_data() {
        QTest::addColumn<QString>("pause_at");
        QTest::newRow("at once") << "";
        QTest::newRow("one paused after its check") << "checked";
        QTest::newRow("one paused once its file is written") << "written";
        QTest::newRow("one paused before its file takes the place") << "replacing";
    }
    void two_saves_at_once() {
        QFETCH(QString, pause_at);
        QTemporaryDir dir;
        QVERIFY(put_file(data_path(dir.path()), example_bytes()));
        OtherProgram anna({"save", dir.path(), "Anna", pause_at, "400"});
        OtherProgram bert({"save", dir.path(), "Bert"});
        QVERIFY(anna.says("loaded") && bert.says("loaded"));
        anna.go();
        if (!pause_at.isEmpty()) QVERIFY(anna.says("paused"));
        bert.go();
        QVERIFY(anna.process.waitForFinished(30000) && bert.process.waitForFinished(30000));

        const QList<int> ends = {anna.process.exitCode(), bert.process.exitCode()};
        QVERIFY2(ends.count(0) == 1 && ends.count(3) == 1,
                 qPrintable(QString("exit codes %1 and %2").arg(ends[0]).arg(ends[1])));
        const QByteArray saved = ends[0] == 0 ? "\"Anna\"" : "\"Bert\"";
        QVERIFY(file_bytes(data_path(dir.path())).contains(saved));
        QCOMPARE(file_bytes(version_path(data_path(dir.path()), 1)),
                 QByteArray::fromStdString(example_bytes()));
        QCOMPARE(folder_contents(dir.path()).size(), std::size_t(2));
    }

    // A save killed halfway leaves the file as it was, its lock and its new file behind; the
    // next save takes the lock over, removes that file (and nothing else of a like name), and
    // keeps each earlier version once.
    void a_killed_save_is_cleared_away() {
        QTemporaryDir dir;
        const std::filesystem::path file = data_path(dir.path());
        QVERIFY(put_file(version_path(file, 1), "first"));
        QVERIFY(put_file(file, example_bytes()));
        QVERIFY(put_file(file.string() + ".saving.mine", "mine"));
        {
            OtherProgram killed({"save", dir.path(), "Killed", "replacing", "60000"});
            QVERIFY(killed.says("loaded"));
            killed.go();
            QVERIFY(killed.says("paused"));
            ::kill(pid_t(killed.process.processId()), SIGKILL);
            QVERIFY(killed.process.waitForFinished(30000));
        }
        QCOMPARE(file_bytes(file), QByteArray::fromStdString(example_bytes()));
        QVERIFY(QFile::exists(QString::fromStdString(file.string() + ".saving")));

        EntryTable table;
        QVERIFY(read_data_base(table, dir.path().toStdString()).ok());
        table.set_text(1, SurnameSlot, "Next");
        table.TableModified = 1;
        const Result saved = save_data_base(table, dir.path().toStdString());
        QVERIFY2(saved.ok(), qPrintable(saved.message));
        const std::map<QString, QByteArray> left = folder_contents(dir.path());
        QCOMPARE(left.size(), std::size_t(4));
        QVERIFY(left.at(DataFileName).contains("\"Next\""));
        QCOMPARE(left.at(QString(DataFileName) + ".1"), QByteArray::fromStdString(example_bytes()));
        QCOMPARE(left.at(QString(DataFileName) + ".2"), QByteArray("first"));
        QCOMPARE(left.at(QString(DataFileName) + ".saving.mine"), QByteArray("mine"));
    }

    // A maintenance window holds the data file: another is told who holds it, the holder's own
    // saves go through, and the hold ends with its program.
    void maintenance_hold() {
        QTemporaryDir dir;
        const std::filesystem::path file = data_path(dir.path());
        QVERIFY(put_file(file, example_bytes()));
        {
            DataFileLock own(file, DataFileLock::Maintenance);
            QCOMPARE(own.take(), QLockFile::NoError);
            EntryTable table = example_table();
            QVERIFY(save_data_base(table, dir.path().toStdString()).ok());
        }
        OtherProgram holder({"hold", dir.path()});
        QVERIFY(holder.says("held"));
        DataFileLock second(file, DataFileLock::Maintenance);
        QCOMPARE(second.take(), QLockFile::LockFailedError);
        const QString who = second.holder();
        QVERIFY2(who.contains(QRegularExpression("^\\S+ on the computer \".+\" since "
                                                 "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d \\(program "
                                                 "store_save_helper, process " +
                                                 QString::number(holder.process.processId()) +
                                                 "\\)$")),
                 qPrintable(who));
        ::kill(pid_t(holder.process.processId()), SIGKILL);
        QVERIFY(holder.process.waitForFinished(30000));
        QCOMPARE(second.take(), QLockFile::NoError);
    }

    // A save never overwrites a file that someone else saved after this table was loaded.
    void changed_file_is_not_overwritten_data() {
        QTest::addColumn<int>("later");           // seconds its time moves on
        QTest::addColumn<std::string>("city");    // the other program's City, of the same size
        QTest::addColumn<std::string>("appended"); // to the file
        QTest::addColumn<bool>("removed");
        QTest::addColumn<bool>("folder_in_place");
        QTest::addColumn<bool>("saves");
        const std::string none;
        QTest::newRow("nothing") << 0 << none << none << false << false << true;
        QTest::newRow("touched, same bytes") << 5 << none << none << false << false << true;
        QTest::newRow("same size, other bytes")
            << 0 << std::string("Linz") << none << false << false << false;
        QTest::newRow("longer") << 0 << none << std::string("\"\",") << false << false << false;
        QTest::newRow("removed: made anew") << 0 << none << none << true << false << true;
        QTest::newRow("a folder in its place") << 0 << none << none << true << true << false;
    }
    void changed_file_is_not_overwritten() {
        QFETCH(int, later);
        QFETCH(std::string, city);
        QFETCH(std::string, appended);
        QFETCH(bool, removed);
        QFETCH(bool, folder_in_place);
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
        if (!city.empty()) other.replace(other.find("Graz"), city.size(), city);
        if (other + appended != file_bytes(file).toStdString())
            QVERIFY(put_file(file, other + appended));
        std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) +
                                                   std::chrono::seconds(later));
        if (removed) QVERIFY(QFile::remove(QString::fromStdString(file.string())));
        if (folder_in_place) QVERIFY(QDir(dir.path()).mkdir(DataFileName));
        const QByteArray before = file_bytes(file);
        QCOMPARE(data_file_changed(loaded, folder), !saves);

        loaded.TableModified = 1;
        loaded.set_text(1, CitySlot, "Wien");
        bool changed_by_others = false;
        const Result result = save_data_base(loaded, folder, changed_by_others);
        QCOMPARE(result.ok(), saves);
        QCOMPARE(changed_by_others, !saves);
        QCOMPARE(QFile::exists(dir.filePath(QString(DataFileName) + ".1")),
                 saves && !removed);
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
};

ZELKAV_TEST_CLASS(TestDataFileWriter)

#include "test_data_file_writer.moc"
