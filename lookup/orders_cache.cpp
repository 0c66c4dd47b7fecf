#include "orders_cache.h"

#include "atomic_file.h"
#include "hashed_parts.h"
#include "file_identity.h"
#include "lookup_items.h"

#include <QDir>
#include <QFile>
#include <QLibraryInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>

#include <unistd.h>

namespace {

constexpr std::uint32_t Magic = 0x4f4c4b5a; // "ZKLO" in a little-endian file
constexpr std::uint32_t FormatVersion = 4;
const QString NamePrefix = QStringLiteral("lookup-orders-");
const QString NameSuffix = QStringLiteral(".bin");

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
    return bytes_hash(described.constData(), std::size_t(described.size()) * sizeof(QChar));
}

struct Header {
    std::uint32_t magic = Magic;
    std::uint32_t format = FormatVersion;
    std::uint64_t fingerprint = 0;
    FileHash file_hash;
    std::uint64_t file_size = 0;
    std::uint32_t rows = 0;
    std::uint32_t lists = 0;
};

Header header_for(const QCollator& collator, const TextBytes& file, FileHash hash,
                  std::size_t rows) {
    Header header;
    header.fingerprint = collation_fingerprint(collator);
    header.file_hash = hash;
    header.file_size = file.used();
    header.rows = std::uint32_t(rows);
    return header;
}

QString cache_path(const OrdersCache& cache, const Header& header) {
    return QDir(cache.folder).filePath(NamePrefix + QString::number(header.file_hash.low, 16) +
                                       NameSuffix);
}

// Reads fields from a cache file's bytes in order, each into the running hash of its part.
class FieldReader {
  public:
    FieldReader(const char* bytes, std::size_t size) : at_(bytes), end_(bytes + size) {}
    bool read(void* to, std::size_t size) {
        if (size > std::size_t(end_ - at_)) return false;
        if (size > 0) std::memcpy(to, at_, size);
        hash_ = bytes_hash(at_, size, hash_);
        at_ += size;
        return true;
    }
    template <typename T> bool read(T& value) { return read(&value, sizeof value); }
    // Reads the hash written after a part and checks it against the part's; the next part
    // starts a hash of its own.
    bool part_ends() {
        const std::uint64_t hash = hash_;
        std::uint64_t written = 0;
        if (std::size_t(end_ - at_) < sizeof written) return false;
        std::memcpy(&written, at_, sizeof written);
        at_ += sizeof written;
        hash_ = 0;
        return written == hash;
    }
    const char* at() const { return at_; }

  private:
    const char* at_;
    const char* end_;
    std::uint64_t hash_ = 0; // bytes_hash of the part's fields so far, as HashedParts writes it
};

// Whether `number` can stand beside an item of list `index` over a table of `rows` rows.
bool plausible_number(int index, std::int32_t number, std::uint32_t rows) {
    const LookupCategoryRow& category = lookup_category(index);
    if (category.kind != LookupKind::TwoStep) return number >= 1 && std::uint32_t(number) < rows;
    return number >= category.check_box_kinds &&
           std::uint64_t(number) < category.check_box_kinds + std::uint64_t(rows) * TextSlotCount;
}

} // namespace

std::shared_ptr<const KeptOrders> KeptOrders::find(const OrdersCache& cache,
                                                  const QCollator& collator,
                                                  const TextColumn& texts,
                                                  FileHash file_bytes_hash) {
    const std::shared_ptr<const TextBytes> file = texts.blocks()[0];
    if (cache.folder.isEmpty() || !file) return nullptr;
    try {
        const Header expected = header_for(collator, *file, file_bytes_hash, texts.rows());
        // Only a regular file: opening a named pipe put in its place would wait for a writer.
        struct stat status {};
        const int fd = open_regular_file(
            QFile::encodeName(cache_path(cache, expected)).toStdString(), status);
        if (fd < 0) return nullptr;
        std::shared_ptr<KeptOrders> kept(new KeptOrders(fd));
        kept->file_ = file;
        kept->rows_ = expected.rows;

        // The first part: the header, the program's version and their hash.
        std::array<char, sizeof(Header) + sizeof(std::uint32_t) + 256 + sizeof(std::uint64_t)> first{};
        const std::uint64_t size = std::uint64_t(status.st_size);
        const std::size_t first_size = std::size_t(std::min<std::uint64_t>(first.size(), size));
        if (!read_file_at(fd, 0, first.data(), first_size)) return nullptr;
        FieldReader in(first.data(), first_size);
        Header header;
        std::uint32_t version_length = 0;
        if (!in.read(header) || header.magic != expected.magic ||
            header.format != expected.format || header.fingerprint != expected.fingerprint ||
            header.file_hash != expected.file_hash || header.file_size != expected.file_size ||
            header.rows != expected.rows || !in.read(version_length) || version_length > 256)
            return nullptr;
        QByteArray version(qsizetype(version_length), '\0');
        if (!in.read(version.data(), version_length) || !in.part_ends() ||
            QString::fromUtf8(version) != cache.program_version)
            return nullptr;
        // Where each list stands; its contents are checked when it is read.
        const std::uint64_t most = std::uint64_t(header.rows) * TextSlotCount;
        std::uint64_t at = std::uint64_t(in.at() - first.data());
        for (std::uint32_t l = 0; l < header.lists; ++l) {
            std::int32_t index = 0;
            std::uint32_t text_count = 0;
            std::uint32_t row_count = 0;
            if (!read_file_at(fd, at, &index, sizeof index) || index < 0 || index > LabelCount ||
                kept->holds(index) || !read_file_at(fd, at + sizeof index, &text_count, sizeof text_count) ||
                text_count > most)
                return nullptr;
            const std::uint64_t rows_at = at + sizeof index + sizeof text_count + text_count * sizeof(TextPlace);
            if (!read_file_at(fd, rows_at, &row_count, sizeof row_count) || row_count > most) return nullptr;
            const std::uint64_t ends =
                rows_at + sizeof row_count + row_count * sizeof(ListRow) + sizeof(std::uint64_t);
            if (ends > size) return nullptr;
            kept->lists_[std::size_t(index)] = {at, std::size_t(ends - at)};
            at = ends;
        }
        if (at != size) return nullptr;
        return kept;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

KeptOrders::~KeptOrders() {
    ::close(fd_);
}

LookupList KeptOrders::list(int index) const {
    if (index < 0 || index > LabelCount) return nullptr;
    const auto [offset, size] = lists_[std::size_t(index)];
    if (size == 0) return nullptr;
    try {
        std::vector<char> record(size);
        if (!read_file_at(fd_, offset, record.data(), size)) return nullptr;
        FieldReader in(record.data(), size);
        std::int32_t stored_index = 0;
        std::uint32_t texts = 0;
        std::uint32_t rows = 0;
        // The counts were checked when the list was found.
        if (!in.read(stored_index) || !in.read(texts)) return nullptr;
        std::vector<TextPlace> refs(texts);
        if (!in.read(refs.data(), refs.size() * sizeof(TextPlace)) || !in.read(rows)) return nullptr;
        auto list = std::make_shared<SortedItems>();
        list->rows.resize(rows);
        if (!in.read(list->rows.data(), list->rows.size() * sizeof(ListRow)) || !in.part_ends())
            return nullptr;

        auto pool = std::make_shared<TextPool>();
        const int block = pool->keep(file_);
        for (const TextPlace& ref : refs) {
            if (ref.offset > file_->used() || ref.length > file_->used() - ref.offset)
                return nullptr;
            pool->add_view(block, std::string_view(file_->data() + ref.offset, ref.length));
        }
        for (const ListRow& row : list->rows) {
            if (row.text < 0 || row.text >= pool->size() ||
                !plausible_number(index, row.number, rows_))
                return nullptr;
        }
        list->texts = std::move(pool);
        return list;
    } catch (const std::bad_alloc&) {
        return nullptr;
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
            HashedParts out(piece, flush);
            out.put_value(header);
            out.put_value(std::uint32_t(version.size()));
            out.put(version.constData(), std::size_t(version.size()));
            out.end_part();
            std::vector<TextPlace> refs;
            for (const auto& [index, list] : lists) {
                out.put_value(std::int32_t(index));
                refs.clear();
                for (std::int32_t t = 0; t < list->texts->size(); ++t) {
                    const std::string_view text = (*list->texts)[t];
                    refs.push_back({text.empty() ? 0 : std::uint32_t(text.data() - begin),
                                    std::uint32_t(text.size())});
                }
                out.put_value(std::uint32_t(refs.size()));
                out.put(refs.data(), refs.size() * sizeof(TextPlace));
                out.put_value(std::uint32_t(list->rows.size()));
                out.put(list->rows.data(), list->rows.size() * sizeof(ListRow));
                out.end_part();
            }
            flush(piece);
        });
    if (!written.ok()) return false;
    cache.keep_newest(NamePrefix + u'*' + NameSuffix);
    return true;
}
