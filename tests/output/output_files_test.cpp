#include "test_registry.h"
#include "correction_file.h"
#include "correction_import.h"
#include "correction_text.h"
#include "desktop_folder.h"
#include "email_list.h"
#include "import_review.h"
#include "correction_window.h"
#include "empty_window_lines.h"
#include "file_bytes.h"
#include "table_builder.h"
#include "temporary_home.h"

#include <QDir>
#include <QRandomGenerator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <optional>

namespace {

// Sets one control of the snapshot, named as in the window: "Text1(3)", "chk_titel(1)" ...
// Boxes take "ticked", "greyed" or "clear", option buttons are chosen, labels take a caption.
void set_control(CorrectionSnapshot& w, const QString& control, const QString& value) {
    const auto match = QRegularExpression(R"(^(\w+)\((\d+)\)$)").match(control);
    QVERIFY2(match.hasMatch(), qPrintable(control));
    const QString array = match.captured(1);
    const int i = match.captured(2).toInt();
    const Qt::CheckState state = value == "greyed"  ? Qt::PartiallyChecked
                                 : value == "clear" ? Qt::Unchecked
                                                    : Qt::Checked;
    if (array == "Text1")
        w.Text1[i] = value;
    else if (array == "label1")
        w.label1[i] = value;
    else if (array == "Opt_Mr_Mrs")
        w.Opt_Mr_Mrs[i].chosen = true;
    else if (array == "Option1")
        w.Option1[i] = true;
    else if (array == "chk_titel")
        w.chk_titel[i].state = state;
    else if (array == "Chk_organ")
        w.Chk_organ[i].state = state;
    else if (array == "Chh_equipm")
        w.Chh_equipm[i].state = state;
    else
        QFAIL(qPrintable("unknown control " + control));
}

// The control name of text box `slot`, as set_control takes it.
QString box(int slot) {
    return QStringLiteral("Text1(%1)").arg(slot);
}

// The window's snapshot with "control=value" settings, as set_control takes them.
CorrectionSnapshot window_with(const QStringList& settings,
                               CorrectionSnapshot w = window_snapshot()) {
    for (const QString& setting : settings)
        set_control(w, setting.section(u'=', 0, 0), setting.section(u'=', 1));
    return w;
}

// The bytes of the empty window's correction file with line `n` (from 1) replaced.
QByteArray empty_file_with(int n, const QString& text) {
    QStringList lines = empty_window_lines();
    lines[n - 1] = text;
    return encode_correction_text(with_line_ends(lines));
}

// The lines of a file's text; fails unless the last line, too, ends with CR LF.
QStringList file_lines(const QString& text) {
    QStringList lines = text.split("\r\n");
    if (lines.takeLast() != "") return {"(no CR LF at the end)"};
    return lines;
}

std::string buffer(const QByteArray& answer, int size) {
    std::string text = answer.toStdString();
    text += '\0';
    text.resize(std::size_t(size), ' ');
    return text;
}

class FixedDesktop final : public DesktopPlatform {
  public:
    explicit FixedDesktop(Result folder) : folder_(std::move(folder)) {}
    Result desktop_folder() const override { return folder_; }

  private:
    Result folder_;
};

} // namespace

class OutputFilesTest : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> dir_;
    TemporaryHome home_;

  private slots:
    // Nothing here may reach the real desktop: HOME points into the test's own folder.
    void init() {
        dir_.emplace();
        QVERIFY(dir_->isValid());
        home_.use(dir_->path());
    }

    void empty_window_gives_83_lines() {
        const QString text = correction_text(window_snapshot());
        QCOMPARE(file_lines(text).size(), 83);
        QCOMPARE(file_lines(text), empty_window_lines());
        QCOMPARE(text, with_line_ends(empty_window_lines()));
    }

    void correction_lines_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("first_line");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("line_count");

        QTest::newRow("Mr chosen")
            << "Opt_Mr_Mrs(0)"
            << "" << 1 << QStringList{"Mr:  yes", "Mrs:  no", "Ms:  no"} << 83;
        QTest::newRow("Prof. ticked")
            << "chk_titel(0)"
            << "ticked" << 6 << QStringList{"  Prof.:  yes", "  Dr.:  no"} << 83;
        QTest::newRow("Dr. greyed") << "chk_titel(1)"
                                    << "greyed" << 7 << QStringList{"  Dr.:  no"} << 83;
        QTest::newRow("free title")
            << box(OtherTitleSlot) << "Dipl.-Ing." << 8 << QStringList{"  Other:  Dipl.-Ing."}
            << 83;
        QTest::newRow("surname") << box(SurnameSlot) << "Castell" << 10
                                 << QStringList{"Surname:  Castell", "First Name (s):  ..."} << 83;
        QTest::newRow("surname of blanks")
            << box(SurnameSlot) << "   " << 10 << QStringList{"Surname:     "} << 83;
        QTest::newRow("caption read from the label")
            << "label1(2)"
            << "Vorname" << 11 << QStringList{"Vorname:  ..."} << 83;
        QTest::newRow("address of two lines")
            << box(AddressSlot) << "Main St 1\r\nFlat 2" << 13
            << QStringList{"Mailing Address:  ", "Main St 1", "Flat 2", "...", "City:  ..."} << 84;
        QTest::newRow("fax") << box(FaxSlot) << "+43 1" << 21 << QStringList{"Fax:  +43 1"} << 83;
        QTest::newRow("position") << box(PositionSlot) << "Curator" << 23
                                  << QStringList{"", "Position:  Curator", ""} << 83;
        QTest::newRow("Museum ticked") << "Chk_organ(1)"
                                       << "ticked" << 28 << QStringList{"  Museum:  yes"} << 83;
        QTest::newRow("private greyed") << "Chk_organ(5)"
                                        << "greyed" << 32 << QStringList{"  private:  no"} << 83;
        QTest::newRow("other organisation")
            << box(OtherOrganizationSlot) << "Mining Co." << 33
            << QStringList{"  other:  Mining Co."} << 83;
        QTest::newRow("field F") << box(FirstInterestSlot + 5) << "Gold" << 40
                                 << QStringList{"  E:  ...", "  F:  Gold", ""} << 83;
        QTest::newRow("caption-less box ticked")
            << "Chh_equipm(25)"
            << "ticked" << 69 << QStringList{"  :  yes", "  :  no"} << 83;
        QTest::newRow("polished sections greyed")
            << "Chh_equipm(27)"
            << "greyed" << 71
            << QStringList{"  I have access to a considerable collection of polished sections:  no"}
            << 83;
        QTest::newRow("other equipment C")
            << box(FirstOtherEquipmentSlot + 2) << "Ion probe" << 74
            << QStringList{"  other C:  Ion probe", ""} << 83;
        QTest::newRow("some chosen") << "Option1(1)"
                                     << "" << 77 << QStringList{"  all:  no", "  some:  yes"} << 83;
        QTest::newRow("filled remarks: 81 lines")
            << box(RemarksSlot) << "Retired 2001" << 80 << QStringList{"Remarks", "Retired 2001"}
            << 81;
        QTest::newRow("remarks of blanks") << box(RemarksSlot) << "  " << 81 << QStringList{"  "}
                                           << 81;
        QTest::newRow("lines that read as captions are written as they stand")
            << box(AddressSlot) << "Main St 1\r\n...\r\n>...\r\nCity:  Graz" << 14
            << QStringList{"Main St 1", "...", ">...", "City:  Graz", "...", "City:  ..."} << 86;
        QTest::newRow("a box of three dots is written as it stands")
            << box(FirstNamesSlot) << "..." << 11 << QStringList{"First Name (s):  ..."} << 83;
        QTest::newRow("remarks of three lines")
            << box(RemarksSlot) << "one\r\ntwo\r\nthree" << 81
            << QStringList{"one", "two", "three"} << 83;
        const QString hiding = QString::fromUtf16(u"\u202Etxt.exe\u200B\u2028\u2029");
        QTest::newRow("characters a file name may not hold")
            << box(SurnameSlot) << hiding << 10 << QStringList{"Surname:  " + hiding} << 83;
    }
    void correction_lines() {
        QFETCH(QString, control);
        QFETCH(QString, value);
        QFETCH(int, first_line);
        QFETCH(QStringList, lines);
        QFETCH(int, line_count);

        CorrectionSnapshot w = window_snapshot();
        set_control(w, control, value);
        const QStringList written = file_lines(correction_text(w));
        QCOMPARE(written.size(), line_count);
        QCOMPARE(written.mid(first_line - 1, lines.size()), lines);
    }

    void file_name_data() {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("file_name");
        QTest::newRow("plain") << "Castell"
                               << "Castell_KAV.TXT";
        QTest::newRow("empty") << ""
                               << "_KAV.TXT";
        QTest::newRow("blanks kept") << " van Dyk "
                                     << " van Dyk _KAV.TXT";
        QTest::newRow("accents kept") << "Müller-Łukasz"
                                      << "Müller-Łukasz_KAV.TXT";
        QTest::newRow("climbing out") << "../../x"
                                      << "_._.._x_KAV.TXT";
        QTest::newRow("hidden file") << ".profile"
                                     << "_profile_KAV.TXT";
        QTest::newRow("backslash and drive") << "C:\\x"
                                             << "C__x_KAV.TXT";
        QTest::newRow("wildcards and quotes") << "a*b?c\"d<e>f|g"
                                              << "a_b_c_d_e_f_g_KAV.TXT";
        QTest::newRow("control characters") << "a\tb\nc\x7f"
                                               "d"
                                            << "a_b_c_d_KAV.TXT";
        QTest::newRow("direction override")
            << QString::fromUtf16(u"\u202Etxt.exe") << "_txt.exe_KAV.TXT";
        QTest::newRow("zero-width space")
            << QString::fromUtf16(u"Ca\u200Bstell") << "Ca_stell_KAV.TXT";
        QTest::newRow("line and paragraph separators")
            << QString::fromUtf16(u"a\u2028b\u2029c") << "a_b_c_KAV.TXT";
        QTest::newRow("language tag beyond 16 bits")
            << QString::fromUtf16(u"x\U000E0041y") << "x_y_KAV.TXT";
        QTest::newRow("longer than a file name holds")
            << "A" + QString(16 << 20, u'b') << "A" + QString(59, u'b') + "_KAV.TXT";
        QTest::newRow("cut between the halves of a character")
            << QString(59, u'c') + QString::fromUtf16(u"\U0001D49Cz")
            << QString(59, u'c') + QString::fromUtf16(u"\U0001D49C_KAV.TXT");
    }
    void file_name() {
        QFETCH(QString, surname);
        QFETCH(QString, file_name);
        QCOMPARE(correction_file_name(surname), file_name);
    }

    void encoding_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("plain") << "Surname:  Smith\r\n" << QByteArray("Surname:  Smith\r\n");
        QTest::newRow("Western characters") << "Müller 5 €\r\n"
                                            << QByteArray("M\xfcller 5 \x80\r\n");
        QTest::newRow("a character beyond Windows-1252")
            << "Łukasz\r\n"
            << QByteArray("\xef\xbb\xbf\xc5\x81ukasz\r\n");
        QTest::newRow("the whole file follows")
            << "Müller Łukasz" << QByteArray("\xef\xbb\xbfM\xc3\xbcller \xc5\x81ukasz");
    }
    void encoding() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(encode_correction_text(text), bytes);
    }

    void windows_desktop_data() {
        QTest::addColumn<QByteArray>("system_directory");
        QTest::addColumn<int>("platform");
        QTest::addColumn<QByteArray>("user_name"); // null: the query left the buffer blank
        QTest::addColumn<QString>("folder");       // null: no folder can be named
        QTest::newRow("95/98 family") << QByteArray("C:\\WINDOWS\\SYSTEM") << 1
                                      << QByteArray("jsmith") << "C:\\WINDOWS\\Desktop\\";
        QTest::newRow("NT family") << QByteArray("C:\\WINNT\\system32") << 2 << QByteArray("jsmith")
                                   << "C:\\WINNT\\Profiles\\jsmith\\Desktop\\";
        QTest::newRow("unknown platform takes the profile")
            << QByteArray("D:\\OS\\SYS") << 0 << QByteArray("ann")
            << "D:\\OS\\Profiles\\ann\\Desktop\\";
        QTest::newRow("no backslash") << QByteArray("SYSTEM") << 1 << QByteArray() << "Desktop\\";
        QTest::newRow("longest user name")
            << QByteArray("C:\\WINNT\\system32") << 2 << QByteArray(29, 'u')
            << "C:\\WINNT\\Profiles\\" + QString(29, 'u') + "\\Desktop\\";
        QTest::newRow("blank user buffer")
            << QByteArray("C:\\WINNT\\system32") << 2 << QByteArray() << QString();
    }
    void windows_desktop() {
        QFETCH(QByteArray, system_directory);
        QFETCH(int, platform);
        QFETCH(QByteArray, user_name);
        QFETCH(QString, folder);
        const std::string user = user_name.isNull() ? std::string(30, ' ') : buffer(user_name, 30);
        const auto found =
            windows_desktop_folder(buffer(system_directory, 256), std::int16_t(platform), user);
        QCOMPARE(found ? QString::fromStdString(*found) : QString(), folder);
    }

    void standard_desktop_is_created() {
        const Result desktop = StandardDesktop().desktop_folder();
        QCOMPARE(desktop.message, QString());
        QCOMPARE(desktop.path, dir_->filePath("Desktop") + "/");
        QVERIFY(QFileInfo(desktop.path).isDir());
    }
    void standard_desktop_follows_user_dirs() {
        QVERIFY(QDir(dir_->path()).mkpath(".config"));
        QFile dirs(dir_->filePath(".config/user-dirs.dirs"));
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
        dirs.close();
        QCOMPARE(StandardDesktop().desktop_folder().path, dir_->filePath("Schreibtisch") + "/");
    }
    void standard_desktop_that_is_a_file() {
        QFile blocker(dir_->filePath("Desktop"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const Result desktop = StandardDesktop().desktop_folder();
        QCOMPARE(desktop.path, QString());
        QVERIFY2(desktop.message.contains(dir_->filePath("Desktop")), qPrintable(desktop.message));
        QVERIFY(QFileInfo(dir_->filePath("Desktop")).isFile());
    }
    // "$DIR" in a row stands for the test's folder.
    void standard_desktop_refused_data() {
        QTest::addColumn<QString>("home"); // null: HOME unset
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("desktop_dir"); // as the user's folder settings name it
        QTest::newRow("HOME unset") << QString() << QString("HOME is not set") << QString();
        QTest::newRow("HOME empty") << QString("") << QString("HOME is not set") << QString();
        QTest::newRow("HOME relative")
            << QString("relative-home") << QString("\"relative-home\" (the") << QString();
        QTest::newRow("dangling link")
            << QString("$DIR") << QString("\"$DIR/Desktop\" is a link to \"$DIR/gone\"")
            << QString();
        QTest::newRow("desktop outside the home")
            << QString("$DIR/home") << QString("\"$DIR/gone\" lies outside the home folder")
            << QString("$DIR/gone");
        QTest::newRow("HOME is the root") << QString("/") << QString("the file system's root")
                                          << QString();
        QTest::newRow("HOME does not exist")
            << QString("$DIR/missing") << QString("\"$DIR/missing\" (the variable HOME) does not exist")
            << QString();
        QTest::newRow("HOME is a file")
            << QString("$DIR/a-file") << QString("\"$DIR/a-file\" (the variable HOME) is a file")
            << QString();
        QTest::newRow("desktop inside a missing folder")
            << QString("$DIR") << QString("\"$DIR/missing/Desktop\" could not be created")
            << QString("$DIR/missing/Desktop");
    }
    void standard_desktop_refused() {
        QFETCH(QString, home);
        QFETCH(QString, message);
        QFETCH(QString, desktop_dir);
        const auto in_dir = [this](QString text) { return text.replace("$DIR", dir_->path()); };
        const bool root_desktop_before = QFileInfo::exists("/Desktop");
        QVERIFY(QFile::link(dir_->filePath("gone"), dir_->filePath("Desktop")));
        QVERIFY(QDir(dir_->path()).mkpath("home"));
        QFile a_file(dir_->filePath("a-file"));
        QVERIFY(a_file.open(QIODevice::WriteOnly));
        a_file.close();
        if (!desktop_dir.isEmpty()) {
            QVERIFY(QDir(dir_->path()).mkpath(".config"));
            QFile dirs(dir_->filePath(".config/user-dirs.dirs"));
            QVERIFY(dirs.open(QIODevice::WriteOnly));
            dirs.write(QFile::encodeName("XDG_DESKTOP_DIR=\"" + in_dir(desktop_dir) + "\"\n"));
        }
        if (home.isNull())
            qunsetenv("HOME");
        else
            qputenv("HOME", QFile::encodeName(in_dir(home)));
        const Result desktop = StandardDesktop().desktop_folder();
        QCOMPARE(desktop.path, QString());
        QVERIFY2(desktop.message.contains(in_dir(message)), qPrintable(desktop.message));
        QCOMPARE(QFileInfo::exists("/Desktop"), root_desktop_before);
        QVERIFY(!QFileInfo::exists("relative-home") && !QFileInfo::exists(dir_->filePath("gone")));
        QVERIFY(!QFileInfo::exists(dir_->filePath("missing")));
    }
    void correction_file_replaced_and_added() {
        const FixedDesktop desktop(Result::success(dir_->path() + "/"));
        CorrectionSnapshot w = window_snapshot();
        w.Text1[SurnameSlot] = "Castell";
        w.Text1[TelephoneSlot] = "111";
        QVERIFY(write_correction_file(w, desktop).ok());
        w.Text1[TelephoneSlot] = "222";
        const Result second = write_correction_file(w, desktop);
        QVERIFY(second.ok());
        QCOMPARE(second.path, dir_->filePath("Castell_KAV.TXT"));
        QVERIFY(file_bytes(second.path).contains("\r\nTelephone:  222\r\n"));

        w.Text1[SurnameSlot] = "Berg";
        QVERIFY(write_correction_file(w, desktop).ok());
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files),
                 (QStringList{"Berg_KAV.TXT", "Castell_KAV.TXT"}));
    }
    void correction_file_stays_in_desktop() {
        QVERIFY(QDir(dir_->path()).mkpath("home/Desktop"));
        const FixedDesktop desktop(Result::success(dir_->filePath("home/Desktop") + "/"));
        CorrectionSnapshot w = window_snapshot();
        w.Text1[SurnameSlot] = "../../x";
        const Result result = write_correction_file(w, desktop);
        QVERIFY(result.ok());
        QCOMPARE(QDir(dir_->filePath("home/Desktop")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"_._.._x_KAV.TXT"});
        QVERIFY(!QFile::exists(dir_->filePath("x_KAV.TXT")));
        QVERIFY(file_bytes(result.path).contains("\r\nSurname:  ../../x\r\n"));
    }
    void correction_file_keeps_every_character() {
        const FixedDesktop desktop(Result::success(dir_->path() + "/"));
        CorrectionSnapshot w = window_snapshot();
        w.Text1[SurnameSlot] = "Wiśniewski";
        w.Text1[FirstNamesSlot] = "Łukasz";
        const Result result = write_correction_file(w, desktop);
        QVERIFY(result.ok());
        const QByteArray bytes = file_bytes(result.path);
        QVERIFY(bytes.startsWith("\xef\xbb\xbf"));
        QVERIFY(QString::fromUtf8(bytes).contains("\r\nFirst Name (s):  Łukasz\r\n"));
    }
    void correction_file_not_writable() {
        QVERIFY(QDir(dir_->path()).mkdir("Castell_KAV.TXT")); // even root cannot replace it
        const FixedDesktop desktop(Result::success(dir_->path() + "/"));
        CorrectionSnapshot w = window_snapshot();
        w.Text1[SurnameSlot] = "Castell";
        const Result result = write_correction_file(w, desktop);
        QVERIFY(!result.ok());
        QVERIFY2(result.message.contains(dir_->filePath("Castell_KAV.TXT")),
                 qPrintable(result.message));
        QVERIFY(QFileInfo(dir_->filePath("Castell_KAV.TXT")).isDir());
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList());
    }
    void correction_file_without_desktop() {
        const FixedDesktop desktop(
            Result::failure("The desktop folder \"/nowhere\" is a file, not a folder."));
        const Result result = write_correction_file(window_snapshot(), desktop);
        QVERIFY(!result.ok());
        QVERIFY2(result.message.contains("/nowhere"), qPrintable(result.message));
    }

    // Each window written and read back. Against the entry it showed, the file changes
    // nothing; against another entry, a field the file can be read in as what that entry
    // holds keeps it (`kept`), and is marked when no reading is what it holds (`two_ways`).
    void import_round_trip_data() {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QStringList>("held");       // the other entry, on the empty window
        QTest::addColumn<QStringList>("comes_back"); // where the window differs after the trip
        QTest::addColumn<QList<int>>("kept");
        QTest::addColumn<QList<int>>("two_ways");

        QStringList every_flag{"Opt_Mr_Mrs(2)=", "chk_titel(0)=ticked", "chk_titel(1)=ticked",
                               "Option1(0)="};
        for (int i = 0; i < 6; ++i) every_flag << QString("Chk_organ(%1)=ticked").arg(i);
        for (int i = 0; i < 28; ++i) every_flag << QString("Chh_equipm(%1)=ticked").arg(i);
        const QStringList none;
        const QList<int> no_slots;
        const auto set = [](int slot, const QString& text) { return box(slot) + "=" + text; };
        const int interest_b = FirstInterestSlot + 1, interest_c = FirstInterestSlot + 2;

        QTest::newRow("empty window") << none << "cp1252" << none << none << no_slots << no_slots;
        QTest::newRow("every flag")
            << every_flag << "cp1252" << QStringList{"Option1(1)="} << none << no_slots << no_slots;
        QTest::newRow("greyed boxes come back clear")
            << QStringList{"chk_titel(1)=greyed", "Chk_organ(0)=greyed", "Chh_equipm(26)=greyed"}
            << "cp1252" << none
            << QStringList{"chk_titel(1)=clear", "Chk_organ(0)=clear", "Chh_equipm(26)=clear"}
            << no_slots << no_slots;
        QTest::newRow("several-line texts")
            << QStringList{set(AddressSlot, "Main St 1\r\n...\r\n\r\nFlat 2"),
                           set(PositionSlot, "Curator\r\n\r\nof ores"),
                           set(RemarksSlot, "one\r\n\r\nthree\r\n")}
            << "cp1252" << none << none << no_slots << no_slots;
        QTest::newRow("blanks, Western characters, the window's captions")
            << QStringList{set(SurnameSlot, "   "), set(RemarksSlot, "  "),
                           set(FirstNamesSlot, " Jürgen €"), "label1(2)=Vorname"}
            << "cp1252" << none << none << no_slots << no_slots;
        QTest::newRow("a box written ... is empty or holds ...")
            << QStringList{set(FirstNamesSlot, "..."), set(RemarksSlot, "  ...\r\n  ...\r\n  ...")}
            << "cp1252"
            << QStringList{set(FirstNamesSlot, "Jo"), set(CitySlot, "Graz"),
                           set(RemarksSlot, "x")}
            << none << QList<int>{FirstNamesSlot, CitySlot, RemarksSlot}
            << QList<int>{FirstNamesSlot, CitySlot, RemarksSlot};
        QTest::newRow("the reading the entry holds wins")
            << QStringList{set(FirstNamesSlot, "..."), set(CitySlot, "")} << "cp1252"
            << QStringList{set(CitySlot, "...")} << none
            << QList<int>{FirstNamesSlot, CitySlot} << no_slots;
        QTest::newRow("a line that reads as the next box's line")
            << QStringList{set(SurnameSlot, "Smith\r\nFirst Name (s):  Jo")} << "cp1252" << none
            << none << QList<int>{SurnameSlot, FirstNamesSlot} << QList<int>{SurnameSlot};
        QTest::newRow("an address line that reads as its end")
            << QStringList{set(AddressSlot, "a\r\n...\r\nCity:  b")} << "cp1252" << none << none
            << QList<int>{AddressSlot, CitySlot} << QList<int>{AddressSlot};
        QTest::newRow("two boxes read two ways")
            << QStringList{set(interest_b, "\r\n  C:  y")} << "cp1252"
            << QStringList{set(interest_b, "b"), set(interest_c, "c")} << none
            << QList<int>{interest_b, interest_c} << QList<int>{interest_b, interest_c};
        QTest::newRow("a > is part of the text")
            << QStringList{set(OtherOrganizationSlot, ">..."), set(PositionSlot, "x\r\n\r\n>"),
                           set(RemarksSlot, ">  ...\r\n  ...\r\n  ...")}
            << "cp1252" << none << none << no_slots << no_slots;
        QTest::newRow("remarks that end with the earlier version's last line")
            << QStringList{set(RemarksSlot, "End of the correction file\r\nEnd of the correction file")}
            << "cp1252" << none << none << QList<int>{RemarksSlot} << QList<int>{RemarksSlot};
        QTest::newRow("lone LF and CR stay")
            << QStringList{set(SurnameSlot, "a\nb"), set(AddressSlot, "\rx\r"),
                           set(RemarksSlot, "\n"), set(EmailSlot, "\r\r\n")}
            << "cp1252" << none << none << no_slots << no_slots;
        QTest::newRow("Windows-1252 bytes that are valid UTF-8")
            << QStringList{set(PositionSlot, "Strauß’s lab"), set(CitySlot, "Ã©cole")} << "cp1252"
            << none << none << no_slots << no_slots;
        QTest::newRow("texts the directory cannot store come back as they stand")
            << QStringList{set(AddressSlot, "Ul. 1\r\nŁódź"), set(SurnameSlot, "O\"Brien")}
            << "cp1252" << none << none << no_slots << no_slots;
        QTest::newRow("no line end after the last line")
            << QStringList{set(RemarksSlot, "a\r\nb")} << "no last line end" << none << none
            << no_slots << no_slots;
        QTest::newRow("CR alone ends the lines")
            << QStringList{set(AddressSlot, "a\r\nb"), set(RemarksSlot, "c\r\nd")} << "cr" << none
            << none << no_slots << no_slots;
        QTest::newRow("UTF-8 with the mark")
            << QStringList{set(AddressSlot, "Köln\r\nb")} << "utf8" << none << none << no_slots
            << no_slots;
        QTest::newRow("UTF-8 without it")
            << QStringList{set(CitySlot, "Köln")} << "bare utf8" << none << none << no_slots
            << no_slots;
        QTest::newRow("through a mail program: LF only, end blanks and last line end cut")
            << QStringList{set(AddressSlot, "a\r\nb"), set(RemarksSlot, "c\r\nd")} << "mail"
            << none << none << no_slots << no_slots;
        QTest::newRow("quoted in a reply")
            << QStringList{set(AddressSlot, "a\r\nb"), set(RemarksSlot, "> c\r\n\r\nd")}
            << "quoted" << none << none << no_slots << no_slots;
        QTest::newRow("quoted twice, without blanks")
            << QStringList{set(SurnameSlot, "Berg"), set(RemarksSlot, ">c\r\n\r\n d")}
            << "quoted twice" << none << none << no_slots << no_slots;
    }
    void import_round_trip() {
        QFETCH(QStringList, settings);
        QFETCH(QString, encoding);
        QFETCH(QStringList, held);
        QFETCH(QStringList, comes_back);
        QFETCH(QList<int>, kept);
        QFETCH(QList<int>, two_ways);
        const CorrectionSnapshot window = window_with(settings);
        const QString text = correction_text(window);
        QByteArray bytes = encoding == "utf8"        ? "\xEF\xBB\xBF" + text.toUtf8()
                           : encoding == "bare utf8" ? text.toUtf8()
                                                     : encode_correction_text(text);
        if (encoding == "mail") bytes.replace(":  \r\n", ":\n").replace("\r\n", "\n").chop(1);
        if (encoding == "cr") bytes.replace("\r\n", "\r");
        if (encoding == "no last line end") bytes.chop(2);
        if (encoding.startsWith("quoted")) {
            const QByteArray marks = encoding == "quoted" ? "> " : ">>";
            QByteArrayList lines = bytes.split('\n');
            lines.removeLast();
            for (QByteArray& line : lines) {
                line = (marks + line.chopped(1));
                while (line.endsWith(' ')) line.chop(1); // as mail programs do
            }
            bytes = lines.join('\n') + '\n';
        }

        // What stood in the window before must not matter.
        const CorrectionImport imported = import_correction(
            bytes, "x_KAV.TXT",
            window_with({box(FirstNamesSlot) + "=old", "Chk_organ(1)=greyed"}, window));
        QVERIFY2(imported.window, qPrintable(imported.result.message));
        QCOMPARE(imported.quote_marks,
                 QString(encoding == "quoted" ? "> " : encoding == "quoted twice" ? ">>" : ""));

        const ImportReview same = review_correction(window, imported);
        QCOMPARE(same.differences, std::vector<FieldDifference>{});
        QVERIFY(same.window == window);

        const CorrectionSnapshot other = window_with(held);
        const ImportReview review = review_correction(other, imported);
        CorrectionSnapshot expected = window_with(comes_back, window);
        for (const int slot : kept) expected.Text1[slot] = other.Text1[slot];
        QVERIFY(review.window == expected);
        QStringList marked, expected_marked;
        for (const FieldDifference& d : review.differences) {
            if (!d.two_ways()) continue;
            marked << d.field;
            QVERIFY2(d.readings.contains(d.file) && d.readings.size() >= 2, qPrintable(d.field));
        }
        for (const int slot : two_ways)
            expected_marked << QString::fromStdString(text_slot_caption(slot));
        QCOMPARE(marked, expected_marked);
    }

    // Files of the version that ended the file with a line of its own and put a ">" before a
    // text's lines that read as the line after it, read first as that version meant them.
    void earlier_version_imports_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("settings"); // the first reading
        QTest::addColumn<QList<int>>("two_ways");  // against the empty entry
        const QStringList empty = empty_window_lines();
        const QString end = "End of the correction file";
        QStringList escaped = empty;
        escaped[9] = "Surname:  Smith";
        escaped[10] = "First Name (s):  >...";
        escaped.insert(10, ">First Name (s):  Jo");
        QStringList remarks = empty.mid(0, 80);
        remarks << "Retired";

        QTest::newRow("the end line") << empty + QStringList{end} << QStringList{} << QList<int>{};
        QTest::newRow("blank lines after it")
            << empty + QStringList{end, "", "  "} << QStringList{} << QList<int>{};
        QTest::newRow("escapes")
            << escaped + QStringList{end}
            << QStringList{box(SurnameSlot) + "=Smith\r\nFirst Name (s):  Jo",
                           box(FirstNamesSlot) + "=..."}
            << QList<int>{SurnameSlot, FirstNamesSlot};
        QTest::newRow("remarks before the end line")
            << remarks + QStringList{end} << QStringList{box(RemarksSlot) + "=Retired"}
            << QList<int>{RemarksSlot};
        QTest::newRow("text below the end line belongs to the remarks")
            << empty + QStringList{end, "-- ", "Jo"}
            << QStringList{box(RemarksSlot) +
                           "=  ...\r\n  ...\r\n  ...\r\nEnd of the correction file\r\n-- \r\nJo"}
            << QList<int>{};
    }
    void earlier_version_imports() {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, settings);
        QFETCH(QList<int>, two_ways);
        const CorrectionImport imported = import_correction(
            encode_correction_text(with_line_ends(lines)), "x_KAV.TXT", window_snapshot());
        QVERIFY2(imported.window, qPrintable(imported.result.message));
        QVERIFY(*imported.window == window_with(settings));
        QStringList marked, expected_marked;
        for (const FieldDifference& d : review_correction(window_snapshot(), imported).differences)
            if (d.two_ways()) marked << d.field;
        for (const int slot : two_ways)
            expected_marked << QString::fromStdString(text_slot_caption(slot));
        QCOMPARE(marked, expected_marked);
    }

    // Random windows made of the pieces that trouble a reader: line breaks of every kind,
    // lines that read as the next caption or as an empty box, the earlier version's end line
    // and escapes, and characters whose Windows-1252 bytes are valid UTF-8. Reviewed against
    // the window, a file changes nothing; against an entry none of whose texts the file can
    // mean, each field takes the window's value, or is marked with it among its readings.
    void import_round_trip_of_random_windows() {
        const QStringList pieces{"a", "Zürich", "\r\n", "\r\n", "\n", "\r", ">", "...",
                                 "  ...", "First Name (s):  ", "City:  ", "ZIP Code:  ", "  B:  ",
                                 "  other C:  ", "End of the correction file", "ß’", "Ã©", "\"",
                                 "Ł", " ", "", "Mr:  no"};
        QRandomGenerator random(15);
        const CorrectionSnapshot empty = window_snapshot();
        CorrectionSnapshot unlike = empty;
        for (QString& text : unlike.Text1) text = QString::fromUtf16(u"\u2603");
        const auto tick = [&random] { return random.bounded(2) ? Qt::Checked : Qt::Unchecked; };
        int marked = 0;
        for (int round = 0; round < 3000; ++round) {
            CorrectionSnapshot w = empty;
            for (QString& text : w.Text1)
                for (int n = int(random.bounded(5)); n > 0; --n)
                    text += pieces[random.bounded(pieces.size())];
            w.Opt_Mr_Mrs[random.bounded(3)].chosen = random.bounded(2);
            w.Option1[random.bounded(2)] = random.bounded(2);
            for (auto& box : w.chk_titel) box.state = tick();
            for (auto& box : w.Chk_organ) box.state = tick();
            for (auto& box : w.Chh_equipm) box.state = tick();

            const QByteArray bytes = encode_correction_text(correction_text(w));
            const CorrectionImport imported = import_correction(bytes, "random", empty);
            const auto fail = [&](const char* what) {
                qWarning().noquote() << "round" << round << imported.result.message << "\n"
                                     << QString::fromUtf8(bytes);
                QFAIL(what);
            };
            if (!imported.window) return fail("a written window was refused");
            const ImportReview same = review_correction(w, imported);
            if (!same.differences.empty() || !(same.window == w))
                return fail("a window's own file changed it");

            const ImportReview review = review_correction(unlike, imported);
            for (int s = 0; s < TextSlotCount; ++s) {
                const QString caption = QString::fromStdString(text_slot_caption(s));
                const auto d = std::find_if(
                    review.differences.begin(), review.differences.end(),
                    [&caption](const FieldDifference& f) { return f.field == caption; });
                if (d == review.differences.end()) return fail("a text was left out");
                if (!d->two_ways() && review.window.Text1[s] == w.Text1[s]) continue;
                if (!d->two_ways() || !d->readings.contains(w.Text1[s]) ||
                    review.window.Text1[s] != unlike.Text1[s])
                    return fail("a text read two ways was not marked so");
                ++marked;
            }
        }
        QVERIFY(marked > 0); // the pieces make some texts read two ways
    }

    void import_refused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("fragment");
        const QStringList lines = empty_window_lines();

        QTest::newRow("another file")
            << QByteArray("%PDF-1.4\n") << 1
            << "is not a correction file: line 1 should read \"Mr:  yes\"";
        QTest::newRow("maybe") << empty_file_with(48, "  VHN-Tester:  maybe") << 48
                               << "has a line out of place: line 48 should read \"  VHN-Tester:  "
                                  "yes\" or \"  VHN-Tester:  no\", not \"  VHN-Tester:  maybe\".";
        QTest::newRow("other caption")
            << empty_file_with(10, "Nachname:  Smith") << 10
            << "should begin with \"Surname:  \", not \"Nachname:  Smith\"";
        QTest::newRow("missing empty line")
            << encode_correction_text(with_line_ends(lines.mid(0, 18) + lines.mid(19))) << 19
            << "line 19 should be empty, not \"Telephone:  ...\"";
        QTest::newRow("cut short")
            << encode_correction_text(with_line_ends(lines.mid(0, 40))) << 40
            << "is cut short: it ends with line 40, \"  E:  ...\", where line 41 should begin "
               "with \"  F:  \"";
        QTest::newRow("cut short before the remarks")
            << encode_correction_text(with_line_ends(lines.mid(0, 80))) << 80
            << "is cut short: it ends with line 80, \"Remarks\", where line 81 should hold the "
               "Remarks";
        QTest::newRow("cut inside a line")
            << encode_correction_text(with_line_ends(lines.mid(0, 43)) + "  Sample Prep.Lab.:  n")
            << 44
            << "is cut short: its last line, line 44, breaks off at \"  Sample Prep.Lab.:  n\", "
               "where it should read \"  Sample Prep.Lab.:  yes\" or";
        QTest::newRow("cut inside a caption")
            << encode_correction_text(with_line_ends(lines.mid(0, 9)) + "Surn\r\n") << 10
            << "is cut short: its last line, line 10, breaks off at \"Surn\"";
        QTest::newRow("two salutations")
            << empty_file_with(2, "Mrs:  yes").replace("Mr:  no", "Mr:  yes") << 2
            << "line 2 reads \"Mrs:  yes\", but line 1 already";
        QByteArray quoted = "> " + encode_correction_text(with_line_ends(lines));
        quoted.replace("\r\n", "\r\n> ").chop(2);
        QTest::newRow("quoted, but a line otherwise")
            << QByteArray(quoted).replace("> Title", ">Title") << 5
            << "is quoted in a reply, every line beginning with \">\", but line 5 does not "
               "begin with \"> \" as line 1 does: \">Title\"";
        QTest::newRow("not UTF-8 after the mark")
            << QByteArray("\xEF\xBB\xBF" + empty_file_with(10, "Surname:  Mx"))
                   .replace("Mx", "M\xC3(")
            << 10 << "begins as UTF-8, but line 10 holds bytes that are not UTF-8";
    }
    void import_refused() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, fragment);
        const CorrectionImport imported =
            import_correction(bytes, "/home/u/Desktop/Smith_KAV.TXT", window_snapshot());
        const QString& message = imported.result.message;
        QVERIFY(!imported.window);
        QVERIFY2(message.contains(fragment) &&
                     message.contains("\"/home/u/Desktop/Smith_KAV.TXT\"") &&
                     message.endsWith(" The window was not changed.") &&
                     message.contains(QRegularExpression(QString("\\bline %1\\b").arg(line))),
                 qPrintable(message));
    }

    void correction_file_read_back() {
        const CorrectionSnapshot w = window_with({"Text1(1)=Castell", "Chh_equipm(9)=ticked"});
        const Result written =
            write_correction_file(w, FixedDesktop(Result::success(dir_->path() + "/")));
        QVERIFY(read_correction_file(written.path, window_snapshot()).window == w);
        const CorrectionImport folder = read_correction_file(dir_->path(), w);
        QVERIFY2(!folder.window && folder.result.message.contains(dir_->path()),
                 qPrintable(folder.result.message));
    }

    void email_list_data() {
        QTest::addColumn<QByteArrayList>("emails");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("no entries") << QByteArrayList{} << QByteArray("");
        QTest::newRow("middle entry without address")
            << QByteArrayList{"a@b.org", "", "c@d.at"} << QByteArray("a@b.org\r\n\r\nc@d.at\r\n");
        QTest::newRow("blanks and two addresses kept")
            << QByteArrayList{" a@b.org; c@d.at "} << QByteArray(" a@b.org; c@d.at \r\n");
        QTest::newRow("bytes as stored") << QByteArrayList{"jos\xe9@mine.fr", "x\x80y"}
                                         << QByteArray("jos\xe9@mine.fr\r\nx\x80y\r\n");
    }
    void email_list() {
        QFETCH(QByteArrayList, emails);
        QFETCH(QByteArray, file);
        QFile earlier(dir_->filePath("ZEL-KAV_e-mail"));
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("an earlier, longer list\r\n\r\n\r\n");
        earlier.close();

        const Result result =
            write_email_list(entries_with_emails(emails), dir_->path().toStdString());
        QVERIFY2(result.ok(), qPrintable(result.message));
        QCOMPARE(result.path, dir_->filePath("ZEL-KAV_e-mail"));
        QCOMPARE(file_bytes(result.path), file);
    }
    void email_list_with_fewer_rows_than_entries() {
        EntryTable table = entries_with_emails({"a@b.org"});
        table.EntryCount = 40;
        QCOMPARE(email_list_bytes(table).count("\r\n"), qsizetype(table.text_rows() - 1));
    }
    void email_list_not_writable() {
        QVERIFY(QDir(dir_->path()).mkdir("ZEL-KAV_e-mail"));
        const Result result =
            write_email_list(entries_with_emails({"a@b.org"}), dir_->path().toStdString());
        QVERIFY(!result.ok());
        QVERIFY2(result.message.contains(dir_->filePath("ZEL-KAV_e-mail")),
                 qPrintable(result.message));
        QVERIFY(QFileInfo(dir_->filePath("ZEL-KAV_e-mail")).isDir());
    }
};

ZELKAV_TEST_CLASS(OutputFilesTest)
#include "output_files_test.moc"
