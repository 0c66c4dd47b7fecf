#include "data_file_writer.h"

#include "atomic_file.h"
#include "data_file.h"
#include "file_identity.h"
#include "serial_date.h"

#include <QDateTime>
#include <QFile>

#include <algorithm>
#include <charconv>
#include <optional>

namespace {

void put_int(std::string& out, int value) {
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
    out += ',';
}

void put_date(std::string& out, SerialDate serial) {
    const CivilDate date = civil_from_serial(serial);
    char text[] = "#0000-00-00#";
    const auto put = [&](int value, int last, int width) {
        for (int i = 0; i < width; ++i, value /= 10) text[last - i] = char('0' + value % 10);
    };
    put(date.year, 4, 4);
    put(date.month, 7, 2);
    put(date.day, 10, 2);
    out.append(text, 12);
}

// The format has no escape for a double quote; a quote inside a text would end it early and
// shift every later item, so it becomes an apostrophe.
void put_text(std::string& out, std::string_view text) {
    out += '"';
    const std::size_t first = out.size();
    out += text;
    if (text.find('"') != std::string::npos)
        std::replace(out.begin() + std::ptrdiff_t(first), out.end(), '"', '\'');
    out += "\",";
}

bool writable_date(SerialDate serial) {
    const CivilDate date = civil_from_serial(serial);
    return date.year >= 1 && date.year <= 9999;
}

} // namespace

void write_data_file(const EntryTable& t, SerialDate saved_on, std::string& out,
                     std::size_t piece_size, const std::function<void(std::string&)>& flush) {
    put_int(out, t.EntryCount);
    out.back() = '\r';
    out += '\n';
    put_date(out, saved_on);
    out += "\r\n";
    for (int e = 1; e <= t.EntryCount; ++e) {
        put_date(out, t.ChangeDate[e]);
        out += ',';
        put_int(out, t.Salutation[e]);
        for (const std::int16_t flag : t.TitleFlags[e]) put_int(out, flag);
        for (const std::int16_t flag : t.OrganizationFlags[e]) put_int(out, flag);
        for (const std::int16_t flag : t.EquipmentFlags[e]) put_int(out, flag);
        for (int s = 0; s < TextSlotCount; ++s) put_text(out, t.text(e, s));
        if (out.size() >= piece_size) flush(out);
    }
    flush(out);
}

std::string data_file_bytes(const EntryTable& table, SerialDate saved_on) {
    std::string all;
    write_data_file(table, saved_on, all, std::string::npos, [](std::string&) {});
    return all;
}

namespace {

namespace fs = std::filesystem;

QString shown_path(const fs::path& path) {
    std::error_code ec;
    return QString::fromStdString(fs::absolute(path, ec).lexically_normal().string());
}

QString native(const fs::path& path) {
    return QFile::decodeName(path.c_str());
}

// Why the table cannot be written at all, as the end of a sentence; empty when it can.
QString unwritable(const EntryTable& table) {
    if (table.EntryCount < 0 || !holds_row(table, table.EntryCount))
        return QStringLiteral("was not written: the directory in memory holds fewer rows than "
                              "its %1 entries.")
            .arg(table.EntryCount);
    for (int e = 1; e <= table.EntryCount; ++e)
        if (!writable_date(table.ChangeDate[e]))
            return QStringLiteral("was not written: entry %1 has a date of last change outside "
                                  "the years 1 to 9999.")
                .arg(e);
    return {};
}

// Writes the table to `file`; `hash` gets the hash of the bytes written.
Result write_table(const EntryTable& table, const fs::path& file, FileHash& hash) {
    FileHasher hasher;
    const Result written =
        write_file_atomically(native(file), [&](std::string& piece, const PieceWriter& flush) {
            write_data_file(table, today(), piece, FilePieceSize, [&](std::string& bytes) {
                hasher.add(bytes);
                flush(bytes);
            });
        });
    hash = hasher.finish();
    return written;
}

fs::path version_path(const fs::path& file, int version) {
    fs::path kept = file;
    kept += '.';
    kept += std::to_string(version);
    return kept;
}

struct CopyFailed {
    QString reason;
};

// Keeps `file` as version 1, the earlier versions moving up one and the oldest dropped, each
// by a rename, so a crash between two steps loses no version but the oldest. The data file
// itself is only read. Gives why it failed, empty when it did not.
QString keep_earlier_version(const fs::path& file) {
    std::error_code ec;
    if (!fs::exists(file, ec)) return {};
    for (int v = KeptVersions - 1; v >= 1; --v) {
        const fs::path from = version_path(file, v);
        if (!fs::exists(fs::symlink_status(from, ec))) continue;
        fs::rename(from, version_path(file, v + 1), ec);
        if (ec)
            return QStringLiteral("the earlier version \"%1\" could not be renamed to \"%2\": %3")
                .arg(shown_path(from), shown_path(version_path(file, v + 1)),
                     QString::fromLocal8Bit(ec.message().c_str()));
    }

    const fs::path first = version_path(file, 1);
    QFile old(native(file));
    if (!old.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return QStringLiteral("it could not be read to keep a copy: %1").arg(old.errorString());
    try {
        const Result copied =
            write_file_atomically(native(first), [&](std::string& piece, const PieceWriter& flush) {
                piece.resize(FilePieceSize);
                qint64 got = 0;
                while ((got = old.read(piece.data(), qint64(piece.size()))) > 0) {
                    piece.resize(std::size_t(got));
                    flush(piece);
                    piece.resize(FilePieceSize);
                }
                piece.clear();
                // Leaving without a commit drops the half-made copy.
                if (got < 0) throw CopyFailed{old.errorString()};
            });
        if (!copied.ok())
            return QStringLiteral("the copy \"%1\" could not be written: %2")
                .arg(shown_path(first), copied.message);
    } catch (const CopyFailed& failed) {
        return QStringLiteral("it could not be read to keep a copy: %1").arg(failed.reason);
    }
    return {};
}

QString time_text(std::int64_t ns) {
    return QDateTime::fromMSecsSinceEpoch(ns / 1'000'000).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// What stands at `file` when it is no longer the file the table was loaded from or last saved
// to; nothing when it still is, when no file is there (a save makes it anew) and for a table
// that claims no file.
std::optional<FileIdentity> replaced_file(const EntryTable& table, const fs::path& file) {
    if (!table.LoadedFile.known) return std::nullopt;
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(file, ec))) return std::nullopt;
    const FileIdentity now = identity_of_file(file);
    // Times alone do not tell: two saves within the file system's clock tick share one.
    if (now.known && now.size == table.LoadedFile.size && now.hash == table.LoadedFile.hash)
        return std::nullopt;
    return now;
}

} // namespace

bool data_file_changed(const EntryTable& table, const std::filesystem::path& folder) {
    return replaced_file(table, folder / DataFileName).has_value();
}

Result save_data_base(EntryTable& table, const std::filesystem::path& folder) {
    bool changed_by_others = false;
    return save_data_base(table, folder, changed_by_others);
}

Result save_data_base(EntryTable& table, const std::filesystem::path& folder,
                      bool& changed_by_others) {
    changed_by_others = false;
    if (table.TableModified == 0) return Result::success();

    const fs::path file = folder / DataFileName;
    const QString shown = shown_path(file);
    const auto refused = [&](const QString& what) {
        return Result::failure(QStringLiteral("The data file \"%1\" %2 The file was not changed.")
                                   .arg(shown, what),
                               shown);
    };

    if (const QString why = unwritable(table); !why.isEmpty()) return refused(why);
    const fs::path where = folder.empty() ? "." : folder;
    std::error_code ec;
    if (!fs::is_directory(where, ec))
        return refused(QStringLiteral("could not be written: \"%1\" is not an existing folder.")
                           .arg(shown_path(where)));

    if (const std::optional<FileIdentity> now = replaced_file(table, file)) {
        changed_by_others = true;
        if (!now->known)
            return refused(QStringLiteral("was not saved: what stands there now cannot be read "
                                          "as the file this program loaded, and saving would "
                                          "replace it."));
        return refused(QStringLiteral("was not saved: someone else changed it since this program "
                                      "loaded it (last changed %1), and saving would overwrite "
                                      "their changes.")
                           .arg(time_text(now->modified_ns)));
    }

    if (const QString why = keep_earlier_version(file); !why.isEmpty())
        return refused(QStringLiteral("was not saved: before a save the file it replaces is kept "
                                      "as \"%1.1\", but %2.")
                           .arg(QString::fromLatin1(DataFileName), why));

    FileHash hash;
    const Result written = write_table(table, file, hash);
    if (!written.ok())
        return refused(QStringLiteral("could not be written: %1.").arg(written.message));
    table.LoadedFile = status_of_file(file);
    table.LoadedFile.hash = hash;
    return Result::success(shown);
}

Result save_data_base_as(const EntryTable& table, const std::filesystem::path& file) {
    const QString shown = shown_path(file);
    const auto refused = [&](const QString& what) {
        return Result::failure(
            QStringLiteral("The file \"%1\" %2 No file was changed.").arg(shown, what), shown);
    };
    if (const QString why = unwritable(table); !why.isEmpty()) return refused(why);
    FileHash hash;
    const Result written = write_table(table, file, hash);
    if (!written.ok())
        return refused(QStringLiteral("could not be written: %1.").arg(written.message));
    return Result::success(shown);
}
