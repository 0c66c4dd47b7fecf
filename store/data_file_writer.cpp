#include "data_file_writer.h"

#include "data_file.h"
#include "serial_date.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <charconv>

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
void put_text(std::string& out, const std::string& text) {
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

// Rows the columns must hold so every entry can be written without reading past them.
bool columns_hold(const EntryTable& t, std::size_t rows) {
    return t.ChangeDate.size() >= rows && t.Salutation.size() >= rows &&
           t.TitleFlags.size() >= rows && t.TextSlots.size() >= rows &&
           t.OrganizationFlags.size() >= rows && t.EquipmentFlags.size() >= rows;
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
        for (const std::string& text : t.TextSlots[e]) put_text(out, text);
        if (out.size() >= piece_size) flush(out);
    }
    flush(out);
}

std::string data_file_bytes(const EntryTable& table, SerialDate saved_on) {
    std::string all;
    write_data_file(table, saved_on, all, std::string::npos, [](std::string&) {});
    return all;
}

FileResult save_data_base(const EntryTable& table, const std::filesystem::path& folder) {
    if (table.TableModified == 0) return {};

    const std::filesystem::path file = folder / DataFileName;
    std::error_code ec;
    const std::string shown = std::filesystem::absolute(file, ec).lexically_normal().string();
    const std::string unchanged = " The file was not changed.";

    if (table.EntryCount < 0 || !columns_hold(table, std::size_t(table.EntryCount) + 1))
        return {false, "The data file \"" + shown +
                           "\" was not written: the directory in memory "
                           "holds fewer rows than its " +
                           std::to_string(table.EntryCount) + " entries." + unchanged};
    for (int e = 1; e <= table.EntryCount; ++e)
        if (!writable_date(table.ChangeDate[e]))
            return {false,
                    "The data file \"" + shown + "\" was not written: entry " + std::to_string(e) +
                        " has a date of last change outside the years 1 to 9999." + unchanged};

    const std::filesystem::path where = folder.empty() ? "." : folder;
    if (!std::filesystem::is_directory(where, ec))
        return {false, "The data file \"" + shown + "\" could not be written: \"" +
                           std::filesystem::absolute(where, ec).lexically_normal().string() +
                           "\" is not an existing folder." + unchanged};

    // Unbuffered: commit() does not notice a buffer that failed to flush (disk full) and
    // would put a truncated file in place; a direct write reports the short count instead.
    QSaveFile out(QFile::decodeName(file.c_str()));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, "The data file \"" + shown + "\" could not be written: " +
                           out.errorString().toStdString() + "." + unchanged};

    // Written in pieces, so the largest directory is never a second time in memory.
    constexpr std::size_t piece_size = std::size_t(1) << 18;
    std::string piece;
    piece.reserve(piece_size + 4096);
    std::string failure;
    write_data_file(table, today(), piece, piece_size, [&](std::string& bytes) {
        if (failure.empty() && !bytes.empty()) {
            const qint64 size = qint64(bytes.size());
            const qint64 written = out.write(bytes.data(), size);
            if (written < 0)
                failure = out.errorString().toStdString();
            else if (written < size)
                failure = "only part of it fit (" + std::to_string(out.pos()) +
                          " bytes); the disk may be full";
        }
        bytes.clear();
    });
    if (failure.empty() && !out.commit()) failure = out.errorString().toStdString();
    if (!failure.empty())
        return {false, "The data file \"" + shown + "\" could not be written: " + failure + "." +
                           unchanged};
    return {};
}
