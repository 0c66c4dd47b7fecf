#include "entry_table.h"
#include "sorted_list.h"

#include <QApplication>
#include <QListView>
#include <QTest>

#include <random>

// How long a list takes to fill with as many surnames as a directory can hold, shown.
class SortedListBench : public QObject {
    Q_OBJECT

    std::vector<ListItem> surnames;

  private slots:
    void initTestCase() {
        std::mt19937 random(1);
        const QString letters = QStringLiteral("abcdeéfghijklmnoöpqrstuüvwxyz");
        for (int e = 1; e <= MaxEntryCount; ++e) {
            QString name(1, letters[int(random() % letters.size())].toUpper());
            const int length = 4 + int(random() % 8);
            for (int i = 0; i < length; ++i) name += letters[int(random() % letters.size())];
            surnames.push_back({name, e});
        }
    }

    void fill_with_the_most_entries() {
        SortedList list(true);
        list.resize(196, 233);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QBENCHMARK {
            list.set_items(surnames);
            list.view()->repaint();
        }
        QCOMPARE(list.count(), int(MaxEntryCount));
    }
};

QTEST_MAIN(SortedListBench)
#include "sorted_list_bench.moc"
