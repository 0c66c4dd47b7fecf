#include "data_file_reader.h"

#include "cp1252.h"
#include "entry_fields.h"
#include "item_scanner.h"
#include "serial_date.h"

#include <QFile>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Where an item stands: entry 0 is the header, item 1 the count, item 2 the date.
struct Place {
    int entry = 0;
    int item = 0;
};

struct LoadError {
    std::string message;
};

// "256 MiB", "2.0 GiB": sizes as messages give them, in the program's English.
std::string size_text(std::uint64_t bytes, int decimals) {
    return QLocale::c().formattedDataSize(qint64(bytes), decimals).toStdString();
}

// The bad item itself, shortened and on one line, for a message.
std::string quote(std::string_view bytes) {
    constexpr std::size_t longest = 40;
    std::string shown(bytes.substr(0, longest));
    std::replace_if(
        shown.begin(), shown.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; },
        ' ');
    std::string text = from_cp1252(shown).toStdString();
    if (bytes.size() > longest) text += "\u2026";
    return "\"" + text + "\"";
}

// Blanks after a number or a date are not part of it: "1 ," reads as 1.
std::string_view without_trailing_blanks(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

class MemorySource : public ByteSource {
  public:
    explicit MemorySource(std::string_view bytes) : all_(bytes), rest_(bytes) {}
    std::size_t read(char* into, std::size_t size) override {
        const std::size_t n = std::min(size, rest_.size());
        if (n > 0) std::memcpy(into, rest_.data(), n);
        rest_.remove_prefix(n);
        return n;
    }
    void rewind() override { rest_ = all_; }

  private:
    std::string_view all_;
    std::string_view rest_;
};

// Reads no further than one byte past the size limit, whatever the file does meanwhile.
class FileSource : public ByteSource {
  public:
    FileSource(QFile& file, const std::string& name) : file_(file), name_(name) {}
    std::size_t read(char* into, std::size_t size) override {
        size = std::size_t(std::min<std::uint64_t>(size, DataFileSizeLimit + 1 - position_));
        const qint64 n = file_.read(into, qint64(size));
        if (n < 0)
            throw LoadError{"The data file \"" + name_ +
                            "\" could not be read: " + file_.errorString().toStdString() + "."};
        // Only the first pass counts: a second one is for the line of a message.
        if (position_ == taken) hasher.add(into, std::size_t(n));
        position_ += std::uint64_t(n);
        taken = std::max(taken, position_);
        if (position_ > DataFileSizeLimit)
            throw LoadError{"The data file \"" + name_ + "\" grew past " +
                            size_text(DataFileSizeLimit, 0) +
                            " while it was read; a directory file holds at most " +
                            size_text(DataFileSizeLimit, 0) + "."};
        return std::size_t(n);
    }
    void rewind() override {
        file_.seek(0);
        position_ = 0;
    }

    std::uint64_t taken = 0; // the furthest the file was read
    FileHasher hasher;       // of the bytes up to `taken`

  private:
    QFile& file_;
    const std::string& name_;
    std::uint64_t position_ = 0;
};

class Parser {
  public:
    Parser(ByteSource& source, std::size_t piece_size, std::size_t longest_item,
           const std::string& file_name)
        : scanner_(source, piece_size, longest_item), longest_item_(longest_item),
          file_(file_name) {}

    std::int16_t read_int(Place at, const char* what_ends = nullptr) {
        const Item item = next(at, what_ends);
        if (item.quoted)
            fail(at, item, "the text " + quote(item.text) + " stands where a number belongs.");
        const std::string_view text = without_trailing_blanks(item.text);
        if (text.empty()) fail(at, item, "the item is empty where a number belongs.");
        std::int16_t value = 0;
        const char* first = text.data();
        const char* last = first + text.size();
        const auto [ptr, ec] = std::from_chars(first, last, value);
        if (ec == std::errc::result_out_of_range)
            fail(at, item, quote(text) + " is outside the range -32768 to 32767.");
        if (ec != std::errc() || ptr != last)
            fail(at, item, quote(text) + " is not a whole number.");
        return value;
    }

    SerialDate read_date(Place at) {
        const Item item = next(at);
        if (item.quoted)
            fail(at, item, "the text " + quote(item.text) + " stands where a date belongs.");
        const std::string_view t = without_trailing_blanks(item.text);
        if (t == "#00:00:00#") return 0;
        CivilDate date;
        if (t.size() != 12 || t[0] != '#' || t[5] != '-' || t[8] != '-' || t[11] != '#' ||
            !digits(t.substr(1, 4), date.year) || !digits(t.substr(6, 2), date.month) ||
            !digits(t.substr(9, 2), date.day))
            fail(at, item, quote(t) + " is not a date of the form #yyyy-mm-dd#.");
        if (!is_valid_civil(date)) fail(at, item, quote(t) + " is not a day of the calendar.");
        return serial_from_civil(date);
    }

    void read_text(Place at, std::string& out) {
        const Item item = next(at);
        out.assign(item.text.data(), item.text.size());
    }

    [[noreturn]] void fail(const std::string& what) {
        throw LoadError{"The data file \"" + file_ + "\" " + what};
    }

    // For messages only: it reads the file again.
    int line_at(std::size_t offset) { return scanner_.line_at(offset); }

    std::size_t last_offset() const { return last_offset_; }

    int announced = 0;
    std::size_t count_offset = 0; // where the number of entries stands

  private:
    [[noreturn]] void fail(Place at, const Item& item, const std::string& what) {
        const std::string line = "line " + std::to_string(scanner_.line_at(item.offset));
        const std::string where = at.entry == 0 ? "in " + line + " (" + place(at) + ")"
                                                : "at " + place(at) + ", in " + line;
        fail("has a bad item " + where + ": " + what);
    }

    static bool digits(std::string_view text, int& value) {
        if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        std::from_chars(text.data(), text.data() + text.size(), value);
        return true;
    }

    static std::string place(Place at) {
        if (at.entry == 0)
            return at.item == 1 ? "the number of entries" : "the date of the last update";
        return "entry " + std::to_string(at.entry) + ", item " + std::to_string(at.item) + " (" +
               entry_item_name(at.item) + ")";
    }

    Item next(Place at, const char* what_ends = nullptr) {
        const std::optional<Item> item = scanner_.next();
        if (!item || item->too_long || !item->closed) refuse(at, item, what_ends);
        last_offset_ = item->offset;
        return *item;
    }

    // Why the item at `at` cannot be had: the file ends before it or inside it, or it is too
    // long. Kept out of next(), which runs for every item.
    [[noreturn]] void refuse(Place at, const std::optional<Item>& item, const char* what_ends) {
        if (!item) {
            if (what_ends) fail(what_ends);
            const std::string ends = "ends in line " +
                                     std::to_string(scanner_.line_at(scanner_.end_of_last_item())) +
                                     ", before " + place(at);
            if (at.entry == 0) fail(ends + ".");
            fail(ends + ", although line " + std::to_string(scanner_.line_at(count_offset)) +
                 " announces " + std::to_string(announced) +
                 (announced == 1 ? " entry." : " entries."));
        }
        if (item->too_long) {
            const std::string limit = size_text(longest_item_, 0);
            if (item->quoted)
                fail(at, *item,
                     "the text " + quote(item->text) + " runs on past " + limit +
                         ", the most an item may hold: is its closing double quote missing?");
            fail(at, *item,
                 quote(item->text) + " runs on past " + limit +
                     " without a comma or line end; an item holds at most " + limit + ".");
        }
        fail("ends inside the text of " + place(at) + ", which begins in line " +
             std::to_string(scanner_.line_at(item->offset)) + " with " + quote(item->text) +
             ": its closing double quote is missing.");
    }

    ItemScanner scanner_;
    const std::size_t longest_item_;
    const std::string& file_;
    std::size_t last_offset_ = 0;
};

template <typename Row> void fill_flags(Parser& in, int entry, int first_item, Row& row) {
    for (std::size_t k = 0; k < row.size(); ++k) row[k] = in.read_int({entry, first_item + int(k)});
}

EntryTable parse(ByteSource& source, std::size_t piece_size, std::size_t longest_item,
                 const std::string& file_name, SerialDate last_update) {
    Parser in(source, piece_size, longest_item, file_name);
    const std::int16_t count = in.read_int({0, 1}, "is empty: its first line should hold the "
                                                   "number of entries.");
    in.count_offset = in.last_offset();
    if (count < 0 || count > MaxEntryCount) {
        const std::string line = std::to_string(in.line_at(in.count_offset));
        if (count < 0)
            in.fail("announces a negative number of entries (" + std::to_string(count) +
                    ") in line " + line + ".");
        in.fail("announces " + std::to_string(count) + " entries in line " + line +
                "; the directory can hold at most " + std::to_string(MaxEntryCount) + ".");
    }
    in.announced = count;
    EntryTable table = empty_directory(count);
    table.LastUpdate = last_update;
    if (table.EntryCount == 0) return table;

    table.LastUpdate = in.read_date({0, 2});
    std::string text;
    for (int e = 1; e <= table.EntryCount; ++e) {
        table.ChangeDate[e] = in.read_date({e, 1});
        table.Salutation[e] = in.read_int({e, 2});
        fill_flags(in, e, FirstTitleItem, table.TitleFlags[e]);
        fill_flags(in, e, FirstOrganizationItem, table.OrganizationFlags[e]);
        fill_flags(in, e, FirstEquipmentItem, table.EquipmentFlags[e]);
        for (int s = 0; s < TextSlotCount; ++s) {
            in.read_text({e, FirstTextItem + s}, text);
            table.set_text(e, s, text);
        }
    }
    return table;
}

Result failed(const std::string& message) {
    return Result::failure(QString::fromStdString(message));
}

Result parse_source(EntryTable& table, ByteSource& source, std::size_t piece_size,
                    std::size_t longest_item, const std::string& file_name) {
    try {
        table = parse(source, piece_size, longest_item, file_name, table.LastUpdate);
        return Result::success();
    } catch (const LoadError& error) {
        return failed(error.message + " Nothing was loaded.");
    } catch (const std::bad_alloc&) {
        return failed("The data file \"" + file_name +
                           "\" is too large for the memory available. Nothing was loaded.");
    }
}

// What stands where the data file should be, for a message.
std::string what_is_there(std::filesystem::file_type type) {
    using std::filesystem::file_type;
    switch (type) {
    case file_type::directory:
        return "a folder";
    case file_type::fifo:
        return "a named pipe (FIFO)";
    case file_type::block:
    case file_type::character:
        return "a device";
    case file_type::socket:
        return "a socket";
    default:
        return "something other than a file";
    }
}
} // namespace

Result parse_data_base(EntryTable& table, std::string_view bytes, const std::string& file_name,
                       std::size_t piece_size, std::size_t longest_item) {
    MemorySource source(bytes);
    return parse_source(table, source, piece_size, longest_item, file_name);
}

Result read_data_base(EntryTable& table, const std::filesystem::path& folder) {
    std::uint64_t taken = 0;
    return read_data_base(table, folder, taken);
}

Result read_data_base(EntryTable& table, const std::filesystem::path& folder,
                      std::uint64_t& bytes_taken) {
    namespace fs = std::filesystem;
    bytes_taken = 0;
    const fs::path file = folder / DataFileName;
    std::error_code ec;
    const std::string shown = fs::absolute(file, ec).lexically_normal().string();
    const auto refuse = [&](const std::string& what) {
        return failed("The data file \"" + shown + "\" " + what + " Nothing was loaded.");
    };

    // Only a regular file is opened at all: opening a FIFO waits for a writer, and a device
    // may never end.
    const fs::file_status status = fs::status(file, ec);
    if (status.type() == fs::file_type::not_found) {
        const std::string where = fs::absolute(folder, ec).lexically_normal().string();
        return failed(std::string("The data file \"") + DataFileName +
                      "\" was not found in the folder \"" + where + "\". Nothing was loaded.");
    }
    if (ec) return refuse("could not be opened: " + ec.message() + ".");
    if (status.type() != fs::file_type::regular) {
        const std::string what = what_is_there(status.type());
        if (!fs::is_symlink(fs::symlink_status(file, ec)))
            return refuse("is " + what + ", not a file.");
        const fs::path target = fs::canonical(file, ec);
        return refuse("is a link to " +
                      (ec ? std::string() : "\"" + target.string() + "\", which is ") + what +
                      ", not a file.");
    }

    // Something else may take the file's place between the look above and the open: O_NONBLOCK
    // keeps open() from waiting on a FIFO, and fstat() then judges what was really opened.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return refuse("could not be opened: " + std::generic_category().message(errno) + ".");
    QFile in;
    // Unbuffered: the scanner reads large pieces itself.
    if (!in.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return refuse("could not be opened: " + in.errorString().toStdString() + ".");
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode))
        return refuse("was replaced by something other than a file while it was opened.");
    if (std::uint64_t(opened.st_size) > DataFileSizeLimit)
        return refuse("is " + size_text(std::uint64_t(opened.st_size), 1) +
                      "; a directory file holds at most " + size_text(DataFileSizeLimit, 0) + ".");

    FileSource source(in, shown);
    const Result result = parse_source(table, source, DataFilePieceSize, ItemLengthLimit, shown);
    if (result.ok()) {
        // What follows the last entry is part of the file a later save would replace. A file
        // that grows past the limit meanwhile keeps the hash of what was read: it no longer
        // matches, which is the truth.
        try {
            std::string rest(DataFilePieceSize, '\0');
            while (source.read(rest.data(), rest.size()) > 0) {}
        } catch (const LoadError&) {
        }
        table.LoadedFile = {true, std::uint64_t(opened.st_size),
                            std::int64_t(opened.st_mtim.tv_sec) * 1'000'000'000 +
                                opened.st_mtim.tv_nsec,
                            source.hasher.finish()};
    }
    bytes_taken = source.taken;
    return result;
}
