#include "test_registry.h"
#include "serial_date.h"

#include <QTest>

class TestSerialDate : public QObject {
    Q_OBJECT
  private slots:
    void known_days_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("serial");
        QTest::newRow("zero date") << 1899 << 12 << 30 << 0;
        QTest::newRow("day before zero") << 1899 << 12 << 29 << -1;
        QTest::newRow("1900 has no leap day") << 1900 << 3 << 1 << 61;
        QTest::newRow("2000 has one") << 2000 << 2 << 29 << 36585;
        QTest::newRow("example save day") << 2003 << 5 << 14 << 37755;
        QTest::newRow("first writable day") << 1 << 1 << 1 << -693593;
        QTest::newRow("last writable day") << 9999 << 12 << 31 << 2958465;
    }
    void known_days() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(int, serial);
        QCOMPARE(serial_from_civil({year, month, day}), serial);
        QCOMPARE(civil_from_serial(serial), (CivilDate{year, month, day}));
    }

    void validity_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<bool>("valid");
        QTest::newRow("leap 2004") << 2004 << 2 << 29 << true;
        QTest::newRow("leap 2000") << 2000 << 2 << 29 << true;
        QTest::newRow("no leap 1900") << 1900 << 2 << 29 << false;
        QTest::newRow("no leap 2003") << 2003 << 2 << 29 << false;
        QTest::newRow("April 31") << 2003 << 4 << 31 << false;
        QTest::newRow("December 31") << 2003 << 12 << 31 << true;
        QTest::newRow("month 13") << 2003 << 13 << 1 << false;
        QTest::newRow("month 0") << 2003 << 0 << 1 << false;
        QTest::newRow("day 0") << 2003 << 1 << 0 << false;
        QTest::newRow("year 0") << 0 << 1 << 1 << false;
        QTest::newRow("year 10000") << 10000 << 1 << 1 << false;
    }
    void validity() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(bool, valid);
        QCOMPARE(is_valid_civil({year, month, day}), valid);
    }

    // Every writable day maps to the next serial and back, so no day is lost or doubled.
    void every_day_round_trips() {
        CivilDate previous = civil_from_serial(-693594);
        for (SerialDate s = -693593; s <= 2958465; ++s) {
            const CivilDate date = civil_from_serial(s);
            if (!is_valid_civil(date) || serial_from_civil(date) != s ||
                (date.day != previous.day + 1 && date.day != 1))
                QFAIL(qPrintable(QString("serial %1 gives %2-%3-%4")
                                     .arg(s)
                                     .arg(date.year)
                                     .arg(date.month)
                                     .arg(date.day)));
            previous = date;
        }
    }
};

ZELKAV_TEST_CLASS(TestSerialDate)

#include "test_serial_date.moc"
