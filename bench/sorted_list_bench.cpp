#include "cp1252.h"
#include "entry_table.h"
#include "sorted_items.h"
#include "sorted_list.h"

#include <QApplication>
#include <QListView>
#include <QTest>

#include <random>

// How long sorting as many surnames as a directory can hold takes, once, and how long a list
// takes to show them when they are sorted.
class SortedListBench : public QObject {
    Q_OBJECT

    std::vector<std::string> surnames;
    std::vector<LookupItem> items;

  private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        std::mt19937 random(1);
        const QString letters = QStringLiteral("abcdeéfghijklmnoöpqrstuüvwxyz");
        for (int e = 1; e <= MaxEntryCount; ++e) {
            QString name(1, letters[int(random() % letters.size())].toUpper());
            const int length = 4 + int(random() % 8);
            for (int i = 0; i < length; ++i) name += letters[int(random() % letters.size())];
            surnames.push_back(to_cp1252(name).value());
        }
        for (int e = 1; e <= MaxEntryCount; ++e) items.push_back({surnames[size_t(e - 1)], e});
    }

    void sort_the_most_entries() {
        const QCollator collator = list_collator();
        QBENCHMARK {
            QCOMPARE(sort_items(items, collator).rows.size(), size_t(MaxEntryCount));
        }
    }

    void show_the_most_entries() {
        const LookupList sorted =
            std::make_shared<const SortedItems>(sort_items(items, list_collator()));
        SortedList list(true);
        list.resize(196, 233);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QBENCHMARK {
            list.set_items(sorted);
            list.view()->repaint();
        }
        QCOMPARE(list.count(), int(MaxEntryCount));
    }
};

QTEST_MAIN(SortedListBench)
#include "sorted_list_bench.moc"
