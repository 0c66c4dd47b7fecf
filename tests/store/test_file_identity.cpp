#include "file_identity.h"
#include "test_registry.h"

#include <QTest>

#include <algorithm>
#include <string>

namespace {
std::string numbered_bytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7 % 251);
    return bytes;
}
} // namespace

class TestFileIdentity : public QObject {
    Q_OBJECT
  private slots:
    void hash_does_not_depend_on_the_pieces_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("split");
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("less than a piece") << 1000 << 10;
        QTest::newRow("at a piece's end") << 600'000 << 262'144;
        QTest::newRow("inside the second piece") << 600'000 << 300'001;
        QTest::newRow("bytes one by one") << 3000 << 1;
    }
    void hash_does_not_depend_on_the_pieces() {
        QFETCH(int, size);
        QFETCH(int, split);
        std::string bytes = numbered_bytes(std::size_t(size));
        FileHasher hasher;
        for (std::size_t at = 0; at < bytes.size(); at += std::size_t(split))
            hasher.add(std::string_view(bytes).substr(at, std::size_t(split)));
        QVERIFY(hasher.finish() == file_hash(bytes));
        if (size > 0) {
            bytes.back() ^= 1;
            QVERIFY(!(hasher.finish() == file_hash(bytes)));
        }
    }

    // Bytes that differ anywhere, or only in the order of their parts, hash differently, in
    // both halves of the file's hash.
    void hash_tells_bytes_apart_data() {
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("swapped"); // bytes swapped with as many after them; 0: one changed
        QTest::newRow("a byte of the first stripe") << 3 << 0;
        QTest::newRow("the last byte of a stripe") << 63 << 0;
        QTest::newRow("a byte of the last whole stripe") << 4935 << 0;
        QTest::newRow("a byte after the last whole stripe") << 4990 << 0;
        QTest::newRow("two words of a stripe") << 0 << 8;
        QTest::newRow("two stripes") << 128 << 64;
        QTest::newRow("two blocks of stripes") << 0 << 1024;
    }
    void hash_tells_bytes_apart() {
        QFETCH(int, at);
        QFETCH(int, swapped);
        std::string bytes = numbered_bytes(5000);
        // XXH3's own values, the same on every machine.
        const FileHash before = file_hash(bytes);
        QCOMPARE(before.low, 0xce29a19460ee1bfcULL);
        QCOMPARE(before.high, 0x5ecbf80121973a82ULL);
        if (swapped == 0)
            bytes[std::size_t(at)] ^= 1;
        else
            std::swap_ranges(bytes.begin() + at, bytes.begin() + at + swapped,
                             bytes.begin() + at + swapped);
        const FileHash after = file_hash(bytes);
        QVERIFY(after.low != before.low && after.high != before.high);
    }
};

ZELKAV_TEST_CLASS(TestFileIdentity)

#include "test_file_identity.moc"
