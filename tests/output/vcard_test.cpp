#include "email_addresses.h"
#include "table_builder.h"
#include "test_registry.h"
#include "vcard.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The content lines of vCard bytes, unfolded, after checking the physical lines against the
// rules of the format: CR LF after each, at most 75 octets, a continuation begun with one
// blank and never inside a character.
QByteArrayList unfolded_lines(const QByteArray& bytes) {
    QByteArrayList lines;
    const qsizetype ends = bytes.count("\r\n");
    if (!bytes.endsWith("\r\n") || bytes.count('\r') != ends || bytes.count('\n') != ends) {
        QTest::qFail("a line does not end with CR LF", __FILE__, __LINE__);
        return {};
    }
    for (QByteArray line : bytes.chopped(1).split('\n')) {
        line.chop(1); // the CR
        if (line.size() > 75) QTest::qFail("over 75 octets: " + line, __FILE__, __LINE__);
        QStringDecoder utf8(QStringDecoder::Utf8);
        (void)utf8.decode(line);
        if (utf8.hasError()) QTest::qFail("a character split: " + line.toHex(), __FILE__, __LINE__);
        if (line.startsWith(' ') && !lines.isEmpty()) {
            lines.last() += line.mid(1);
        } else {
            lines << line;
        }
    }
    return lines;
}

// The parts of a property's value, unescaped ("N" gives five), or {} when there is none.
QStringList value_of(const QByteArrayList& lines, const QByteArray& name) {
    for (const QByteArray& line : lines) {
        if (!line.startsWith(name + ':')) continue;
        const QString value = QString::fromUtf8(line.mid(name.size() + 1));
        QStringList parts{QString()};
        for (qsizetype i = 0; i < value.size(); ++i) {
            if (value[i] == u'\\' && i + 1 < value.size()) {
                const QChar next = value[++i];
                parts.last() += next == u'n' || next == u'N' ? QChar(u'\n') : next;
            } else if (value[i] == u';') {
                parts << QString();
            } else {
                parts.last() += value[i];
            }
        }
        return parts;
    }
    return {};
}

} // namespace

class VcardTest : public QObject {
    Q_OBJECT
  private slots:
    void fields_come_back_data();
    void fields_come_back();
    void a_card_is_framed_and_empty_fields_left_out();
    void long_lines_are_folded_data();
    void long_lines_are_folded();
    void a_file_holds_every_card_given();
    void email_addresses_once_each();
};

void VcardTest::fields_come_back_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<QByteArray>("stored"); // Windows-1252
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QStringList>("value");

    QTest::newRow("position") << PositionSlot << QByteArray("Curator") << QByteArray("TITLE")
                              << QStringList{"Curator"};
    QTest::newRow("a comma, a semicolon and a backslash")
        << OtherOrganizationSlot << QByteArray("Ores, Ltd; \\branch\\") << QByteArray("ORG")
        << QStringList{"Ores, Ltd; \\branch\\"};
    QTest::newRow("a two-line address, with city, ZIP code and country")
        << AddressSlot << QByteArray("Box 12\r\nMain St. 4") << QByteArray("ADR;TYPE=work")
        << QStringList{"", "", "Box 12\nMain St. 4", "G\u00f6teborg", "", "", "Sweden"};
    QTest::newRow("accented letters as UTF-8") << RemarksSlot << QByteArray("Caf\xe9 \x80 \x9c")
                                               << QByteArray("NOTE")
                                               << QStringList{"Café € œ"};
    QTest::newRow("remarks and fields of interest")
        << FirstInterestSlot << QByteArray("Pyrite") << QByteArray("NOTE")
        << QStringList{"Fields of Interest: Pyrite"};
    QTest::newRow("a control character becomes a blank")
        << TelephoneSlot << QByteArray("+46\x01 31") << QByteArray("TEL;TYPE=work,voice")
        << QStringList{"+46  31"};
    QTest::newRow("fax") << FaxSlot << QByteArray("+46 32") << QByteArray("TEL;TYPE=work,fax")
                         << QStringList{"+46 32"};
    QTest::newRow("e-mail") << EmailSlot << QByteArray("a@b.se") << QByteArray("EMAIL;TYPE=work")
                            << QStringList{"a@b.se"};
    QTest::newRow("a name with a comma")
        << FirstNamesSlot << QByteArray("Anna, Maria") << QByteArray("N")
        << QStringList{"\u00d6berg", "Anna, Maria", "", "Mrs,Dr.", ""};
    QTest::newRow("formatted name") << FirstNamesSlot << QByteArray("Anna") << QByteArray("FN")
                                    << QStringList{"Anna \u00d6berg"};
}

void VcardTest::fields_come_back() {
    QFETCH(int, slot);
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, property);
    QFETCH(QStringList, value);

    EntryTable table = empty_entries(1);
    table.Salutation[1] = 1;   // Mrs
    table.TitleFlags[1][1] = 1; // Dr.
    table.set_text(1, SurnameSlot, "\xd6" "berg");
    table.set_text(1, CitySlot, "G\xf6teborg");
    table.set_text(1, CountrySlot, "Sweden");
    table.set_text(1, slot, stored.toStdString());
    std::string card;
    append_vcard(table, 1, card);
    const QByteArrayList lines = unfolded_lines(QByteArray::fromStdString(card));
    QCOMPARE(value_of(lines, property), value);
}

void VcardTest::a_card_is_framed_and_empty_fields_left_out() {
    EntryTable table = empty_entries(2);
    table.Salutation[2] = -1;
    table.set_text(2, EmailSlot, "only@mail.org");
    std::string card;
    append_vcard(table, 2, card);
    const QByteArrayList lines = unfolded_lines(QByteArray::fromStdString(card));
    // An entry with nothing but an address is named by it; N stays, as readers expect it.
    QCOMPARE(lines, (QByteArrayList{"BEGIN:VCARD", "VERSION:4.0", "FN:only@mail.org", "N:;;;;",
                                    "EMAIL;TYPE=work:only@mail.org", "END:VCARD"}));
    std::string none;
    append_vcard(table, 3, none); // beyond the directory
    QVERIFY(none.empty());
}

void VcardTest::long_lines_are_folded_data() {
    QTest::addColumn<QByteArray>("remarks");
    QTest::addColumn<QString>("expected");

    QTest::newRow("ASCII") << QByteArray(300, 'x') << QString(300, u'x');
    // Two-byte characters at every offset, so some would straddle each cut.
    QTest::newRow("two-byte letters") << QByteArray(301, '\xe9') << QString(301, u'é');
    QTest::newRow("three-byte euro signs, after one letter")
        << QByteArray("a") + QByteArray(200, '\x80') << "a" + QString(200, u'€');
    QTest::newRow("escapes across the cut")
        << QByteArray("abcd") + QByteArray(100, ',') << "abcd" + QString(100, u',');
}

void VcardTest::long_lines_are_folded() {
    QFETCH(QByteArray, remarks);
    QFETCH(QString, expected);

    EntryTable table = empty_entries(1);
    table.set_text(1, RemarksSlot, remarks.toStdString());
    std::string card;
    append_vcard(table, 1, card);
    QCOMPARE(value_of(unfolded_lines(QByteArray::fromStdString(card)), "NOTE"),
             QStringList{expected});
}

void VcardTest::a_file_holds_every_card_given() {
    EntryTable table = named_entries(3);
    QTemporaryDir dir;
    const QString path = dir.filePath("people.vcf");
    QVERIFY(write_vcards(table, {3, 1}, path).ok());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArrayList lines = unfolded_lines(file.readAll());
    QCOMPARE(lines.count("BEGIN:VCARD"), 2);
    QByteArrayList names;
    for (const QByteArray& line : lines) {
        if (line.startsWith("FN:")) names << line;
    }
    QCOMPARE(names, (QByteArrayList{"FN:Name 3", "FN:Name 1"}));

    // A folder that is not there: the message names the file and says nothing was written.
    const Result failed = write_vcards(table, {1}, dir.filePath("missing/people.vcf"));
    QVERIFY(!failed.ok());
    QVERIFY2(failed.message.contains("people.vcf"), qPrintable(failed.message));
}

void VcardTest::email_addresses_once_each() {
    const EntryTable table = entries_with_emails(
        {"a@x.org", "", " b@y.org\r\n", "A@X.org", "c@z.org"});
    QCOMPARE(email_addresses(table, {5, 1, 2, 3, 4, 6}), QString("c@z.org, a@x.org, b@y.org"));
    QCOMPARE(email_addresses(table, {}), QString());
}

ZELKAV_TEST_CLASS(VcardTest)
#include "vcard_test.moc"
