#include "data_file_writer.h"

#include "atomic_file.h"
#include "data_file.h"
#include "serial_date.h"

#include <QFile>

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

Result save_data_base(const EntryTable& table, const std::filesystem::path& folder) {
    if (table.TableModified == 0) return Result::success();

    const std::filesystem::path file = folder / DataFileName;
    std::error_code ec;
    const QString shown =
        QString::fromStdString(std::filesystem::absolute(file, ec).lexically_normal().string());
    const auto refused = [&](const QString& what) {
        return Result::failure(QStringLiteral("The data file \"%1\" %2 The file was not changed.")
                                   .arg(shown, what),
                               shown);
    };

    if (table.EntryCount < 0 || !holds_row(table, table.EntryCount))
        return refused(QStringLiteral("was not written: the directory in memory holds fewer rows "
                                      "than its %1 entries.")
                           .arg(table.EntryCount));
    for (int e = 1; e <= table.EntryCount; ++e)
        if (!writable_date(table.ChangeDate[e]))
            return refused(QStringLiteral("was not written: entry %1 has a date of last change "
                                          "outside the years 1 to 9999.")
                               .arg(e));

    const std::filesystem::path where = folder.empty() ? "." : folder;
    if (!std::filesystem::is_directory(where, ec))
        return refused(
            QStringLiteral("could not be written: \"%1\" is not an existing folder.")
                .arg(QString::fromStdString(
                    std::filesystem::absolute(where, ec).lexically_normal().string())));

    const Result written = write_file_atomically(
        QFile::decodeName(file.c_str()), [&](std::string& piece, const PieceWriter& flush) {
            write_data_file(table, today(), piece, FilePieceSize, flush);
        });
    if (!written.ok()) return refused(QStringLiteral("could not be written: %1.").arg(written.message));
    return Result::success(shown);
}
