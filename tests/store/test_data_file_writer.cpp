#include "test_registry.h"
#include "data_file_reader.h"
#include "data_file_writer.h"
#include "store_fixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
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
        const Result result = save_data_base(example_table(), dir.path().toStdString());
        QVERIFY2(result.ok(), qPrintable(result.message));
        QCOMPARE(file_bytes(data_path(dir.path())), QByteArray::fromStdString(example_bytes()));
    }

    void round_trip_data() {
        QTest::addColumn<EntryTable>("table");
        EntryTable t = table_of(1);
        t.set_text(1, 3, "Hauptplatz 1, 2. Stock\r\nA-8010 Graz\r\n");
        t.set_text(1, 20, "first line\r\n\r\nthird, with comma");
        t.set_text(1, 11, ",");
        QTest::newRow("commas and line ends") << t;

        t = table_of(1);
        t.set_text(1, 1, "M\xFCller-\xC9lise");
        t.set_text(1, 6, "Danmark \xD8");
        t.set_text(1, 20, "\x80 \x9F \xFF");
        QTest::newRow("Windows-1252 letters") << t;

        t = table_of(1);
        t.EquipmentFlags[1][28] = 5;
        t.EquipmentFlags[1][29] = -1;
        t.EquipmentFlags[1][30] = 2;
        t.TitleFlags[1] = {2, 1};
        t.OrganizationFlags[1] = {2, -32768, 32767, 1, 0, 1};
        t.Salutation[1] = -1;
        QTest::newRow("flags as the file holds them") << t;

        t = table_of(3);
        t.ChangeDate[1] = serial_from_civil({1, 1, 1});
        t.ChangeDate[3] = serial_from_civil({9999, 12, 31});
        t.set_text(1, 1, "first");
        t.set_text(3, 1, "third");
        QTest::newRow("a new entry never stored between two") << t;

        t = table_of(1);
        t.set_texts(1, {"  lead", "trail  ", "   ", "\t", "x"});
        QTest::newRow("blanks inside texts") << t;

        t = table_of(300);
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
        QVERIFY(save_data_base(example_table(), dir.path().toStdString()).ok());
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
        QVERIFY(save_data_base(table_of(0), dir.path().toStdString()).ok());
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

    void failed_save_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("disk full") << "full";
        QTest::newRow("file name taken by a folder") << "folder";
        QTest::newRow("folder is a file") << "not a folder";
    }
    void failed_save() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        std::filesystem::path folder = dir.path().toStdString();
        const std::string old = example_bytes();
        if (kind == "folder")
            QVERIFY(QDir(dir.path()).mkdir(DataFileName));
        else
            QVERIFY(put_file(data_path(dir.path()), old));
        if (kind == "not a folder") folder /= DataFileName;

        // Large enough to be written in several pieces, so the disk fills after the first.
        EntryTable table = table_of(4000);
        Result result;
        if (kind == "full") {
            FileSizeLimit limit(300 * 1024);
            result = save_data_base(table, folder);
        } else {
            result = save_data_base(table, folder);
        }
        QVERIFY(!result.ok());
        const QString message = result.message;
        QVERIFY2(message.contains(QString::fromStdString((folder / DataFileName).string())),
                 qPrintable(message));
        QVERIFY2(message.endsWith("The file was not changed."), qPrintable(message));

        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{DataFileName});
        if (kind == "folder")
            QVERIFY(QFileInfo(dir.path() + "/" + DataFileName).isDir());
        else
            QCOMPARE(file_bytes(data_path(dir.path())), QByteArray::fromStdString(old));
    }
};

ZELKAV_TEST_CLASS(TestDataFileWriter)

#include "test_data_file_writer.moc"
