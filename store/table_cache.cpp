#include "table_cache.h"

#include "atomic_file.h"
#include "file_identity.h"
#include "hashed_parts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <new>
#include <span>
#include <string>
#include <type_traits>

#include <unistd.h>

namespace {

constexpr std::uint32_t Magic = 0x425a4b5a; // "ZKZB" in a little-endian file
constexpr std::uint32_t FormatVersion = 4;
constexpr int KeptFiles = 4; // of each kind of cache file
constexpr std::size_t LongestVersion = 256;
const QString NamePrefix = QStringLiteral("table-");
const QString NameSuffix = QStringLiteral(".bin");

// The first part of a kept table, followed by the program's version and the part's hash; the
// columns follow, with a hash of their own.
struct Header {
    std::uint32_t magic = Magic;
    std::uint32_t format = FormatVersion;
    FileHash file_hash;
    std::uint64_t file_size = 0;
    std::int32_t entries = 0;
    SerialDate last_update = 0;
    std::uint32_t version_length = 0;
    std::uint32_t unused = 0;
    FileStamp stamp; // all zero when the file was not settled as it was loaded
};

// Named by the file's size first, so that a start can tell without hashing whether there may
// be a table for its file.
QString size_prefix(std::uint64_t file_size) {
    return NamePrefix + QString::number(file_size) + u'-';
}

QString cache_path(const CacheFolder& cache, std::uint64_t file_size, FileHash file_hash) {
    return QDir(cache.folder).filePath(size_prefix(file_size) + QString::number(file_hash.low, 16) +
                                       NameSuffix);
}

// Whether every column holds the rows a load of the table's entries gives it.
bool rows_as_loaded(const EntryTable& table) {
    const std::size_t rows = std::size_t(table.EntryCount) + 11;
    return table.TableCapacity == table.EntryCount + 10 && table.ChangeDate.size() == rows &&
           table.Salutation.size() == rows && table.TitleFlags.size() == rows &&
           table.OrganizationFlags.size() == rows && table.EquipmentFlags.size() == rows &&
           table.text_rows() == rows;
}

// A kept table open for reading, closed with this.
struct OpenTable {
    struct stat status {}; // before `fd`, which fills it
    int fd = -1;

    explicit OpenTable(const QString& path)
        : fd(open_regular_file(QFile::encodeName(path).toStdString(), status)) {}
    ~OpenTable() {
        if (fd >= 0) ::close(fd);
    }
    OpenTable(const OpenTable&) = delete;
    OpenTable& operator=(const OpenTable&) = delete;
};

} // namespace

void CacheFolder::keep_newest(const QString& pattern) const {
    const QFileInfoList files = QDir(folder).entryInfoList({pattern}, QDir::Files, QDir::Time);
    for (qsizetype i = KeptFiles; i < files.size(); ++i) QFile::remove(files[i].filePath());
}

QStringList KeptTables::kept_for_size(const CacheFolder& cache, std::uint64_t file_size) {
    if (cache.folder.isEmpty()) return {};
    const QDir folder(cache.folder);
    QStringList kept = folder.entryList({size_prefix(file_size) + u'*' + NameSuffix}, QDir::Files);
    for (QString& name : kept) name = folder.filePath(name);
    return kept;
}

bool KeptTables::read_open(int fd, const struct stat& status, const CacheFolder& cache,
                           const std::shared_ptr<const TextBytes>& file,
                           const FileIdentity& loaded, EntryTable& table) {
    if (fd < 0 || !file || !loaded.known || file->used() != loaded.size) return false;
    try {
        Header header;
        const QByteArray version = cache.program_version.toUtf8();
        QByteArray stored_version(version.size(), '\0');
        std::uint64_t written = 0;
        if (!read_file_at(fd, 0, &header, sizeof header) || header.magic != Magic ||
            header.format != FormatVersion || header.file_hash != loaded.hash ||
            header.file_size != loaded.size || header.entries <= 0 ||
            header.entries > MaxEntryCount || header.version_length != std::uint32_t(version.size()) ||
            !read_file_at(fd, sizeof header, stored_version.data(), std::size_t(version.size())) ||
            stored_version != version ||
            !read_file_at(fd, sizeof header + std::size_t(version.size()), &written, sizeof written))
            return false;
        if (written != bytes_hash(version.constData(), std::size_t(version.size()),
                                  bytes_hash(&header, sizeof header)))
            return false;

        EntryTable kept = empty_directory(std::int16_t(header.entries));
        kept.LastUpdate = header.last_update;
        kept.LoadedFile = loaded;
        kept.TextSlots.use_file(file);
        std::uint64_t at = sizeof header + std::size_t(version.size()) + sizeof written;
        std::uint64_t hash = 0;
        const auto take = [&](void* to, std::size_t size) {
            if (!read_file_at(fd, at, to, size)) return false;
            hash = bytes_hash(to, size, hash);
            at += size;
            return true;
        };
        const auto take_column = [&](auto& column) {
            return take(column.data(), column.size() * sizeof column[0]);
        };
        if (!take_column(kept.ChangeDate) || !take_column(kept.Salutation) ||
            !take_column(kept.TitleFlags) || !take_column(kept.OrganizationFlags) ||
            !take_column(kept.EquipmentFlags))
            return false;
        // The texts' places go straight into the column, a run of rows at a time, and each
        // must stand within the file.
        const std::size_t rows = kept.text_rows();
        for (std::size_t row = 0; row < rows;) {
            const std::span<TextPlace> places = kept.TextSlots.writable_places_from(row);
            if (!take(places.data(), places.size_bytes())) return false;
            for (const TextPlace& place : places) {
                if (place.length > file->used() || place.offset > file->used() - place.length)
                    return false;
            }
            row += places.size() / TextSlotCount;
        }
        if (!read_file_at(fd, at, &written, sizeof written) || written != hash ||
            at + sizeof written != std::uint64_t(status.st_size))
            return false;
        table = std::move(kept);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool KeptTables::read(const CacheFolder& cache, std::shared_ptr<const TextBytes> file,
                      const FileIdentity& loaded, EntryTable& table) {
    if (cache.folder.isEmpty()) return false;
    const OpenTable kept(cache_path(cache, loaded.size, loaded.hash));
    return read_open(kept.fd, kept.status, cache, file, loaded, table);
}

bool KeptTables::read_unchanged(const CacheFolder& cache, const QStringList& kept,
                                std::shared_ptr<const TextBytes> file, const struct stat& status,
                                EntryTable& table) {
    const FileStamp stamp = stamp_of_status(status);
    if (stamp == FileStamp{}) return false;
    for (const QString& path : kept) {
        const OpenTable open(path);
        Header header;
        if (open.fd >= 0 && read_file_at(open.fd, 0, &header, sizeof header) &&
            header.magic == Magic && header.format == FormatVersion && header.stamp == stamp)
            return read_open(open.fd, open.status, cache, file,
                             identity_of_status(status, header.file_hash), table);
    }
    return false;
}

bool KeptTables::keep(const CacheFolder& cache, EntryTable table,
                      const std::optional<FileStamp>& settled_stamp) {
    const std::shared_ptr<const TextBytes> file = table.TextSlots.blocks()[0];
    const QByteArray version = cache.program_version.toUtf8();
    // Only a table that holds its file's bytes and numbers as they were read: nothing stored
    // since, nothing set apart from the file; the bytes are checked against the load's hash
    // below.
    if (cache.folder.isEmpty() || !file || !table.LoadedFile.known || table.TableModified != 0 ||
        table.EntryCount <= 0 || version.size() > qsizetype(LongestVersion) ||
        table.TextSlots.blocks()[1] || !rows_as_loaded(table) ||
        file->used() != table.LoadedFile.size || !QDir().mkpath(cache.folder))
        return false;
    Header header;
    header.file_hash = table.LoadedFile.hash;
    header.file_size = table.LoadedFile.size;
    header.entries = table.EntryCount;
    header.last_update = table.LastUpdate;
    header.version_length = std::uint32_t(version.size());
    if (settled_stamp && settled_stamp->size == table.LoadedFile.size &&
        settled_stamp->modified_ns == table.LoadedFile.modified_ns)
        header.stamp = *settled_stamp;
    struct NotAsLoaded {};
    try {
        const Result written = write_file_atomically(
            cache_path(cache, header.file_size, header.file_hash),
            [&](std::string& piece, const PieceWriter& flush) {
                HashedParts out(piece, flush);
                out.put_value(header);
                out.put(version.constData(), std::size_t(version.size()));
                out.end_part();
                // The numbers first, each column let go of once written: the caller's copy of
                // them is all this costs in memory.
                const auto put_column = [&](auto& column) {
                    out.put(column.data(), column.size() * sizeof column[0]);
                    std::decay_t<decltype(column)>().swap(column);
                };
                put_column(table.ChangeDate);
                put_column(table.Salutation);
                put_column(table.TitleFlags);
                put_column(table.OrganizationFlags);
                put_column(table.EquipmentFlags);
                if (file_hash({file->data(), file->used()}) != table.LoadedFile.hash)
                    throw NotAsLoaded{};
                const std::size_t rows = table.text_rows();
                for (std::size_t row = 0; row < rows;) {
                    const std::span<const TextPlace> places = table.TextSlots.places_from(row);
                    out.put(places.data(), places.size_bytes());
                    row += places.size() / TextSlotCount;
                }
                out.end_part();
                flush(piece);
            });
        if (!written.ok()) return false;
    } catch (const NotAsLoaded&) {
        // The file written so far was never put in place.
        return false;
    }
    cache.keep_newest(NamePrefix + u'*' + NameSuffix);
    return true;
}
