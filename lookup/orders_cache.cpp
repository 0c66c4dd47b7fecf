#include "orders_cache.h"

#include "atomic_file.h"
#include "file_identity.h"
#include "lookup_items.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <string>

#include <unistd.h>

namespace {

constexpr std::uint32_t Magic = 0x4f4c4b5a; // "ZKLO" in a little-endian file
constexpr std::uint32_t FormatVersion = 1;
constexpr int KeptFiles = 4;
const QString NamePrefix = QStringLiteral("lookup-orders-");
const QString NameSuffix = QStringLiteral(".bin");

// Where a pooled text stands in the file block.
struct TextRef {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

// How `collator` orders texts where languages differ, with its locale and settings: a new
// collation library that sorts otherwise gives another value.
std::uint64_t collation_fingerprint(const QCollator& collator) {
    QStringList probes =
        QStringLiteral("a|A|\u00e4|\u00c4|ae|\u00e6|b|ch|c|h|ss|\u00df|o|\u00f8|\u00f6|oe|z|"
                       "\u00e5|aa|y|\u00fc|ll|l|-| |1|10|2|e|\u00e9")
            .split(u'|');
    std::stable_sort(probes.begin(), probes.end(),
                     [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    const QString described = collator.locale().bcp47Name() + u'|' +
                              QString::number(int(collator.caseSensitivity())) + u'|' +
                              QString::number(int(collator.numericMode())) + u'|' +
                              QString::number(int(collator.ignorePunctuation())) + u'|' +
                              QLibraryInfo::version().toString() + u'|' + probes.join(u'\n');
    return stable_hash(described.constData(), std::size_t(described.size()) * sizeof(QChar));
}

// Every field of a cache file goes into one running hash, written last, so that a file cut
// short or changed anywhere is passed over.
class FieldHash {
  public:
    void add(const void* bytes, std::size_t size) {
        value_ = stable_hash(bytes, size, value_);
    }
    std::uint64_t value() const { return value_; }

  private:
    std::uint64_t value_ = 0;
};

struct Header {
    std::uint32_t magic = Magic;
    std::uint32_t format = FormatVersion;
    std::uint64_t fingerprint = 0;
    std::uint64_t file_hash = 0;
    std::uint64_t file_size = 0;
    std::uint32_t rows = 0;
    std::uint32_t lists = 0;
};

Header header_for(const QCollator& collator, const TextBytes& file, std::uint64_t hash,
                  std::size_t rows) {
    Header header;
    header.fingerprint = collation_fingerprint(collator);
    header.file_hash = hash;
    header.file_size = file.used();
    header.rows = std::uint32_t(rows);
    return header;
}

QString cache_path(const OrdersCache& cache, const Header& header) {
    return QDir(cache.folder).filePath(NamePrefix + QString::number(header.file_hash, 16) +
                                       NameSuffix);
}

class CacheReader {
  public:
    explicit CacheReader(QFile& file) : file_(file) {}
    bool read(void* to, std::size_t size) {
        if (file_.read(static_cast<char*>(to), qint64(size)) != qint64(size)) return false;
        hash_.add(to, size);
        return true;
    }
    template <typename T> bool read(T& value) { return read(&value, sizeof value); }
    template <typename T> bool read(std::vector<T>& values, std::uint32_t count) {
        values.resize(count);
        return read(values.data(), count * sizeof(T));
    }
    std::uint64_t hash() const { return hash_.value(); }

  private:
    QFile& file_;
    FieldHash hash_;
};

// Whether `number` can stand beside an item of list `index` over a table of `rows` rows.
bool plausible_number(int index, std::int32_t number, std::uint32_t rows) {
    const LookupCategoryRow& category = lookup_category(index);
    if (category.kind != LookupKind::TwoStep) return number >= 1 && std::uint32_t(number) < rows;
    return number >= category.check_box_kinds &&
           std::uint64_t(number) < category.check_box_kinds + std::uint64_t(rows) * TextSlotCount;
}

IndexedLists read_lists(CacheReader& in, const Header& header,
                        const std::shared_ptr<const TextBytes>& file) {
    IndexedLists lists;
    // No list holds more items than the table has slots.
    const std::uint64_t most = std::uint64_t(header.rows) * TextSlotCount;
    std::vector<TextRef> refs;
    for (std::uint32_t l = 0; l < header.lists; ++l) {
        std::int32_t index = 0;
        std::uint32_t texts = 0;
        std::uint32_t rows = 0;
        if (!in.read(index) || index < 0 || index > LabelCount || !in.read(texts) ||
            texts > most || !in.read(refs, texts) || !in.read(rows) || rows > most)
            return {};
        auto pool = std::make_shared<TextPool>();
        const int block = pool->keep(file);
        for (const TextRef& ref : refs) {
            if (ref.offset > file->used() || ref.length > file->used() - ref.offset) return {};
            pool->add_view(block, std::string_view(file->data() + ref.offset, ref.length));
        }
        auto list = std::make_shared<SortedItems>();
        if (!in.read(list->rows, rows)) return {};
        for (const ListRow& row : list->rows) {
            if (row.text < 0 || row.text >= pool->size() ||
                !plausible_number(index, row.number, header.rows))
                return {};
        }
        list->texts = std::move(pool);
        lists.emplace_back(index, std::move(list));
    }
    return lists;
}

// Drops all but the newest cache files.
void prune(const QString& folder) {
    const QFileInfoList files =
        QDir(folder).entryInfoList({NamePrefix + u'*' + NameSuffix}, QDir::Files, QDir::Time);
    for (qsizetype i = KeptFiles; i < files.size(); ++i) QFile::remove(files[i].filePath());
}

} // namespace

IndexedLists read_orders_cache(const OrdersCache& cache, const QCollator& collator,
                               const TextColumn& texts, std::uint64_t file_bytes_hash) {
    const std::shared_ptr<const TextBytes> file = texts.blocks()[0];
    if (cache.folder.isEmpty() || !file) return {};
    try {
        const Header expected = header_for(collator, *file, file_bytes_hash, texts.rows());
        // Only a regular file: opening a named pipe put in its place would wait for a writer.
        struct stat status {};
        const int fd = open_regular_file(
            QFile::encodeName(cache_path(cache, expected)).toStdString(), status);
        if (fd < 0) return {};
        QFile stored;
        if (!stored.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered,
                         QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            return {};
        }
        CacheReader in(stored);
        Header header;
        QByteArray version;
        std::uint32_t version_length = 0;
        if (!in.read(header) || header.magic != expected.magic ||
            header.format != expected.format || header.fingerprint != expected.fingerprint ||
            header.file_hash != expected.file_hash || header.file_size != expected.file_size ||
            header.rows != expected.rows || !in.read(version_length) || version_length > 256)
            return {};
        version.resize(qsizetype(version_length));
        if (!in.read(version.data(), version_length) ||
            QString::fromUtf8(version) != cache.program_version)
            return {};
        IndexedLists lists = read_lists(in, header, file);
        std::uint64_t written_hash = 0;
        const std::uint64_t hash = in.hash();
        if (lists.empty() || stored.read(reinterpret_cast<char*>(&written_hash),
                                         sizeof written_hash) != sizeof written_hash ||
            written_hash != hash || !stored.atEnd())
            return {};
        return lists;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

bool write_orders_cache(const OrdersCache& cache, const QCollator& collator,
                        const TextColumn& texts, const IndexedLists& lists) {
    const std::shared_ptr<const TextBytes> file = texts.blocks()[0];
    if (cache.folder.isEmpty() || !file || lists.empty()) return false;
    // Every text must stand in the file's bytes, where the next start finds it again.
    const char* const begin = file->data();
    const char* const end = begin + file->used();
    for (const auto& [index, list] : lists) {
        for (std::int32_t t = 0; t < list->texts->size(); ++t) {
            const std::string_view text = (*list->texts)[t];
            if (!text.empty() && (text.data() < begin || text.data() + text.size() > end))
                return false;
        }
    }
    Header header = header_for(collator, *file, file_hash({file->data(), file->used()}),
                               texts.rows());
    header.lists = std::uint32_t(lists.size());
    if (!QDir().mkpath(cache.folder)) return false;
    const QByteArray version = cache.program_version.toUtf8();
    const Result written = write_file_atomically(
        cache_path(cache, header), [&](std::string& piece, const PieceWriter& flush) {
            FieldHash hash;
            const auto put = [&](const void* bytes, std::size_t size) {
                hash.add(bytes, size);
                if (size > 0) piece.append(static_cast<const char*>(bytes), size);
                if (piece.size() >= FilePieceSize) flush(piece);
            };
            const auto put_value = [&](const auto& value) { put(&value, sizeof value); };
            put_value(header);
            put_value(std::uint32_t(version.size()));
            put(version.constData(), std::size_t(version.size()));
            std::vector<TextRef> refs;
            for (const auto& [index, list] : lists) {
                put_value(std::int32_t(index));
                refs.clear();
                for (std::int32_t t = 0; t < list->texts->size(); ++t) {
                    const std::string_view text = (*list->texts)[t];
                    refs.push_back({text.empty() ? 0 : std::uint32_t(text.data() - begin),
                                    std::uint32_t(text.size())});
                }
                put_value(std::uint32_t(refs.size()));
                put(refs.data(), refs.size() * sizeof(TextRef));
                put_value(std::uint32_t(list->rows.size()));
                put(list->rows.data(), list->rows.size() * sizeof(ListRow));
            }
            const std::uint64_t total = hash.value();
            piece.append(reinterpret_cast<const char*>(&total), sizeof total);
            flush(piece);
        });
    if (!written.ok()) return false;
    prune(cache.folder);
    return true;
}
