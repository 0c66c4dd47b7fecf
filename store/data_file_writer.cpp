#include "data_file_writer.h"

#include "atomic_file.h"
#include "data_file.h"
#include "data_file_lock.h"
#include "file_identity.h"
#include "serial_date.h"
#include "version_rotation.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

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

// The bytes of the table as a file: each piece goes to `flush`, and `written` gets their size
// and hash.
void produce_table(const EntryTable& table, std::string& piece, const PieceWriter& flush,
                   FileIdentity& written) {
    FileHasher hasher;
    write_data_file(table, today(), piece, FilePieceSize, [&](std::string& bytes) {
        hasher.add(bytes);
        written.size += bytes.size();
        flush(bytes);
    });
    written.hash = hasher.finish();
}

QString time_text(std::int64_t ns) {
    return QDateTime::fromMSecsSinceEpoch(ns / 1'000'000)
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Whether `now`, what stands at the data file, is no longer the file the table was loaded from
// or last saved to; false when no file is there (a save makes it anew) and for a table that
// claims no file.
bool replaced(const EntryTable& table, const std::optional<FileIdentity>& now) {
    // Times alone do not tell: two saves within the file system's clock tick share one.
    return table.LoadedFile.known && now &&
           !(now->known && now->size == table.LoadedFile.size &&
             now->hash == table.LoadedFile.hash);
}

// What stands at `file`, its bytes hashed; nothing when nothing does.
std::optional<FileIdentity> on_disk(const fs::path& file) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(file, ec))) return std::nullopt;
    return identity_of_file(file);
}

SaveStepHook& save_step_hook() {
    static SaveStepHook hook;
    return hook;
}

bool go_on(SaveStep step) {
    return !save_step_hook() || save_step_hook()(step);
}

// The new file is written here first. A save holds the lock while it exists, so a file of this
// name outside a save was left by one that was killed.
fs::path staging_path(const fs::path& file) {
    return beside(file, ".saving");
}

void remove_leftovers(const fs::path& file) {
    std::error_code ec;
    const fs::path staging = staging_path(file);
    if (fs::is_regular_file(fs::symlink_status(staging, ec))) fs::remove(staging, ec);
    VersionRotation::remove_leftover(file);
}

} // namespace

void set_save_step_hook_for_testing(SaveStepHook hook) {
    save_step_hook() = std::move(hook);
}

bool data_file_changed(const EntryTable& table, const std::filesystem::path& folder) {
    return replaced(table, on_disk(folder / DataFileName));
}

Result save_data_base(EntryTable& table, const std::filesystem::path& folder) {
    bool changed_by_others = false;
    return save_data_base(table, folder, changed_by_others);
}

Result save_data_base(EntryTable& table, const std::filesystem::path& folder,
                      bool& changed_by_others) {
    changed_by_others = false;
    if (table.TableModified == 0) return Result::success();

    const QString shown = shown_path(folder / DataFileName);
    std::error_code ec;
    // A data file that is a link to another is saved where the link leads, as editors do.
    fs::path file = folder / DataFileName;
    if (fs::is_symlink(file, ec)) {
        if (fs::path target = fs::canonical(file, ec); !ec) file = std::move(target);
    }
    const auto refused = [&](const QString& what) {
        return Result::failure(
            QStringLiteral("The data file \"%1\" %2 The file was not changed.").arg(shown, what),
            shown);
    };
    const auto stopped = [&] {
        return refused(QStringLiteral("was not saved: a test stopped the save."));
    };

    if (const QString why = unwritable(table); !why.isEmpty()) return refused(why);
    const fs::path where = folder.empty() ? "." : folder;
    if (!fs::is_directory(where, ec))
        return refused(QStringLiteral("could not be written: \"%1\" is not an existing folder.")
                           .arg(shown_path(where)));

    DataFileLock lock(file, DataFileLock::Saving);
    switch (lock.take(SaveLockWait)) {
    case QLockFile::NoError:
        break;
    case QLockFile::PermissionError:
    case QLockFile::UnknownError: {
        const QString folder_says = folder_refuses_new_files(native(file));
        return refused(QStringLiteral("could not be written: %1.")
                           .arg(folder_says.isEmpty()
                                    ? QStringLiteral("the lock beside it could not be made")
                                    : folder_says));
    }
    default: {
        const QString holder = lock.holder();
        return refused(QStringLiteral("was not saved: another program is saving it%1, and "
                                      "did not finish within %2 seconds.")
                           .arg(holder.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(holder))
                           .arg(SaveLockWait.count() / 1000));
    }
    }

    // Under the lock nobody else can replace the file between this check and the rename.
    const std::optional<FileIdentity> now = on_disk(file);
    if (replaced(table, now)) {
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
    if (now && !fs::is_regular_file(fs::symlink_status(file, ec)))
        return refused(QStringLiteral("could not be written: something other than a file stands "
                                      "in its place."));
    if (now && ::access(file.c_str(), W_OK) != 0)
        return refused(QStringLiteral("could not be written: %1.")
                           .arg(QString::fromLocal8Bit(std::strerror(errno))));
    if (!go_on(SaveStep::Checked)) return stopped();

    remove_leftovers(file);
    std::optional<mode_t> mode;
    struct stat status {};
    if (now && ::stat(file.c_str(), &status) == 0) mode = status.st_mode & 07777;
    const fs::path staging = staging_path(file);
    FileIdentity written;
    const Result staged =
        write_synced_file(native(staging), mode, [&](std::string& piece, const PieceWriter& flush) {
            produce_table(table, piece, flush, written);
        });
    if (!staged.ok())
        return refused(QStringLiteral("could not be written: %1.").arg(staged.message));
    const auto dropped = [&](const Result& result) {
        fs::remove(staging, ec);
        return result;
    };
    if (!go_on(SaveStep::Written)) return dropped(stopped());

    // The same bytes again: nothing to keep, and the file stays as it is.
    if (now && now->known && now->size == written.size && now->hash == written.hash) {
        table.LoadedFile = *now;
        return dropped(Result::success(shown));
    }

    VersionRotation versions(file);
    if (const QString why = versions.rotate([] { return go_on(SaveStep::VersionKept); });
        !why.isEmpty())
        return dropped(refused(QStringLiteral("was not saved: before a save the file it replaces "
                                              "is kept as \"%1.1\", the earlier versions moving "
                                              "up, but %2.")
                                   .arg(QString::fromLatin1(DataFileName), why)));
    int cause = go_on(SaveStep::Replacing) ? 0 : -1;
    if (cause == 0 && ::rename(staging.c_str(), file.c_str()) != 0) cause = errno;
    if (cause != 0) {
        const QString why = cause < 0 ? QStringLiteral("a test stopped the save")
                                      : QString::fromLocal8Bit(std::strerror(cause));
        const bool restored = versions.undo();
        return dropped(refused(
            QStringLiteral("could not be replaced: %1.%2")
                .arg(why, restored ? QString()
                                   : QStringLiteral(" Some of its earlier versions (\"%1.1\" to "
                                                    "\".%2\") could not be put back as they were.")
                                         .arg(QString::fromLatin1(DataFileName))
                                         .arg(KeptVersions))));
    }
    versions.finish();
    sync_folder(QFileInfo(native(file)).absolutePath());
    table.LoadedFile = status_of_file(file);
    table.LoadedFile.hash = written.hash;
    return Result::success(shown);
}

Result save_data_base_as(const EntryTable& table, const std::filesystem::path& file) {
    const QString shown = shown_path(file);
    const auto refused = [&](const QString& what) {
        return Result::failure(
            QStringLiteral("The file \"%1\" %2 No file was changed.").arg(shown, what), shown);
    };
    if (const QString why = unwritable(table); !why.isEmpty()) return refused(why);
    FileIdentity identity;
    const Result written =
        write_file_atomically(native(file), [&](std::string& piece, const PieceWriter& flush) {
            produce_table(table, piece, flush, identity);
        });
    if (!written.ok())
        return refused(QStringLiteral("could not be written: %1.").arg(written.message));
    return Result::success(shown);
}
