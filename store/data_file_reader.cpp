#include "data_file_reader.h"

#include "cp1252.h"
#include "entry_fields.h"
#include "file_mapping.h"
#include "item_scanner.h"
#include "serial_date.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct LoadError {
    std::string message;
};

// "256 MiB", "2.0 GiB": sizes as messages give them, in the program's English.
std::string size_text(std::uint64_t bytes, int decimals) {
    return QLocale::c().formattedDataSize(qint64(bytes), decimals).toStdString();
}

bool is_control(char c) {
    return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n';
}

// "0x00 (NUL)", "0x1A": a control byte as a message names it.
std::string byte_code(char c) {
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", unsigned(static_cast<unsigned char>(c)));
    return code + std::string(c == 0 ? " (NUL)" : "");
}

// The bad item itself, shortened and on one line, for a message; control bytes show as \xNN,
// so that a NUL is not taken for a blank.
std::string quote(std::string_view bytes) {
    constexpr std::size_t longest = 40;
    std::string shown;
    for (char c : bytes.substr(0, longest)) {
        if (is_control(c)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", unsigned(static_cast<unsigned char>(c)));
            shown += escaped;
        } else {
            shown += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
    std::string text = from_cp1252(shown).toStdString();
    if (bytes.size() > longest) text += "\u2026";
    return "\"" + text + "\"";
}

// Blanks after a number or a date are not part of it: "1 ," reads as 1.
std::string_view without_trailing_blanks(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Bytes already in memory, copied once into the block the table keeps and shown to the scanner
// `piece` bytes at a time.
class MemorySource : public ByteSource {
  public:
    MemorySource(std::string_view bytes, std::size_t piece)
        : block_(std::make_shared<TextBytes>(bytes.size())), piece_(std::max<std::size_t>(piece, 1)) {
        if (!bytes.empty()) std::memcpy(block_->writable_data(), bytes.data(), bytes.size());
        block_->claim(bytes.size());
        data_ = block_->data();
        more();
    }
    bool more() override {
        const std::size_t n = std::min(piece_, block_->used() - available_);
        available_ += n;
        return n > 0;
    }
    std::shared_ptr<const TextBytes> block() const { return block_; }

  private:
    std::shared_ptr<TextBytes> block_;
    std::size_t piece_;
};

// Reads the open file a piece at a time into one block of its size, so that its bytes are read
// once and become the table's texts. Reads no further than one byte past the size limit,
// whatever the file does meanwhile.
class FileSource : public ByteSource {
  public:
    FileSource(int fd, std::uint64_t size, const std::string& name)
        : fd_(fd), name_(name), block_(std::make_shared<TextBytes>(std::size_t(size) + 1)) {
        data_ = block_->data();
    }
    bool more() override {
        if (block_->used() == block_->capacity()) grow();
        const std::size_t room = std::min<std::size_t>(DataFilePieceSize,
                                                       block_->capacity() - block_->used());
        ssize_t n;
        do n = ::read(fd_, block_->writable_data() + block_->used(), room);
        while (n < 0 && errno == EINTR);
        if (n < 0)
            throw LoadError{"The data file \"" + name_ +
                            "\" could not be read: " + std::generic_category().message(errno) + "."};
        hasher_.add(block_->data() + block_->used(), std::size_t(n));
        block_->claim(std::size_t(n));
        available_ = block_->used();
        if (block_->used() > DataFileSizeLimit)
            throw LoadError{"The data file \"" + name_ + "\" grew past " +
                            size_text(DataFileSizeLimit, 0) +
                            " while it was read; a directory file holds at most " +
                            size_text(DataFileSizeLimit, 0) + "."};
        return n > 0;
    }
    std::shared_ptr<const TextBytes> block() const { return block_; }
    std::uint64_t taken() const { return block_->used(); }
    // The hash of the bytes read so far, each piece hashed while it is fresh in the cache.
    FileHash hash() const { return hasher_.finish(); }

  private:
    // The file grew since it was opened.
    void grow() {
        const std::size_t used = block_->used();
        auto larger = std::make_shared<TextBytes>(
            std::size_t(std::min<std::uint64_t>(2 * std::uint64_t(used) + 1, DataFileSizeLimit + 1)));
        std::memcpy(larger->writable_data(), block_->data(), used);
        larger->claim(used);
        block_ = std::move(larger);
        data_ = block_->data();
    }

    int fd_;
    const std::string& name_;
    std::shared_ptr<TextBytes> block_;
    FileHasher hasher_;
};

// The bytes of a mapped file, shown to the scanner a piece at a time and hashed as they are.
class MappedSource : public ByteSource {
  public:
    explicit MappedSource(std::shared_ptr<const TextBytes> block) : block_(std::move(block)) {
        data_ = block_->data();
        more();
    }
    bool more() override {
        const std::size_t n = std::min(DataFilePieceSize, block_->used() - available_);
        hasher_.add(data_ + available_, n);
        available_ += n;
        return n > 0;
    }
    std::shared_ptr<const TextBytes> block() const { return block_; }
    std::uint64_t taken() const { return available_; }
    FileHash hash() const { return hasher_.finish(); }

  private:
    std::shared_ptr<const TextBytes> block_;
    FileHasher hasher_;
};

} // namespace

// Reads items by their place in the file and says, for a bad one, where it stands and why.
// A friend of the table: it points the texts at the file's bytes instead of copying them.
class DataFileParser {
  public:
    // Where an item stands: entry 0 is the header, item 1 the count, item 2 the date.
    struct ItemPlace {
        int entry = 0;
        int item = 0;
    };

    DataFileParser(ByteSource& source, std::size_t longest_item, const std::string& file_name)
        : scanner_(source, longest_item), longest_item_(longest_item), file_(file_name) {}

    EntryTable parse(SerialDate last_update);
    // Gives the table the bytes its texts point into, once the file is read.
    static void keep_bytes(EntryTable& table, std::shared_ptr<const TextBytes> bytes) {
        table.TextSlots.use_file(std::move(bytes));
    }

  private:
    std::int16_t read_int(ItemPlace at, const char* what_ends = nullptr) {
        if (const auto number = scanner_.next_short_number()) {
            last_offset_ = number->offset;
            return std::int16_t(number->value);
        }
        const Item item = next(at, what_ends);
        if (item.quoted)
            fail(at, item, "the text " + quote(item.text) + " stands where a number belongs.");
        const std::string_view text = without_trailing_blanks(item.text);
        if (text.empty()) fail(at, item, "the item is empty where a number belongs.");
        std::int16_t value = 0;
        const char* first = text.data();
        const char* last = first + text.size();
        const auto [ptr, ec] = std::from_chars(first, last, value);
        if (ec == std::errc() && ptr == last) return value;
        refuse_control_bytes(at, item, text, "a number");
        if (ec == std::errc::result_out_of_range)
            fail(at, item, quote(text) + " is outside the range -32768 to 32767.");
        fail(at, item, quote(text) + " is not a whole number.");
    }

    SerialDate read_date(ItemPlace at) {
        const Item item = next(at);
        if (item.quoted)
            fail(at, item, "the text " + quote(item.text) + " stands where a date belongs.");
        const std::string_view t = without_trailing_blanks(item.text);
        refuse_control_bytes(at, item, t, "a date");
        if (t == "#00:00:00#") return 0;
        CivilDate date;
        if (t.size() != 12 || t[0] != '#' || t[5] != '-' || t[8] != '-' || t[11] != '#' ||
            !digits(t.substr(1, 4), date.year) || !digits(t.substr(6, 2), date.month) ||
            !digits(t.substr(9, 2), date.day))
            fail(at, item, quote(t) + " is not a date of the form #yyyy-mm-dd#.");
        if (!is_valid_civil(date)) fail(at, item, quote(t) + " is not a day of the calendar.");
        return serial_from_civil(date);
    }

    // A file of binary bytes (or NULs where a disk lost its data) would otherwise read as
    // blanks or as a number followed by nothing.
    void refuse_control_bytes(ItemPlace at, const Item& item, std::string_view text,
                              const char* what) {
        const auto bad = std::find_if(text.begin(), text.end(), is_control);
        if (bad == text.end()) return;
        fail(at, item,
             quote(text) + " holds the control byte " + byte_code(*bad) +
                 ", which has no place in " + what + ": is this a directory file?");
    }

    template <typename Row> void fill_flags(int entry, int first_item, Row& row) {
        for (std::size_t k = 0; k < row.size(); ++k) row[k] = read_int({entry, first_item + int(k)});
    }

    [[noreturn]] void fail(const std::string& what) {
        throw LoadError{"The data file \"" + file_ + "\" " + what};
    }

    [[noreturn]] void fail(ItemPlace at, const Item& item, const std::string& what) {
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

    static std::string place(ItemPlace at) {
        if (at.entry == 0)
            return at.item == 1 ? "the number of entries" : "the date of the last update";
        return "entry " + std::to_string(at.entry) + ", item " + std::to_string(at.item) + " (" +
               entry_item_name(at.item) + ")";
    }

    Item next(ItemPlace at, const char* what_ends = nullptr) {
        const std::optional<Item> item = scanner_.next();
        if (!item || item->too_long || !item->closed) refuse(at, item, what_ends);
        last_offset_ = item->offset;
        return *item;
    }

    // Why the item at `at` cannot be had: the file ends before it or inside it, or it is too
    // long. Kept out of next(), which runs for every item.
    [[noreturn]] void refuse(ItemPlace at, const std::optional<Item>& item, const char* what_ends) {
        if (!item) {
            if (what_ends) fail(what_ends);
            const std::string ends = "ends in line " +
                                     std::to_string(scanner_.line_at(scanner_.end_of_last_item())) +
                                     ", before " + place(at);
            if (at.entry == 0) fail(ends + ".");
            fail(ends + ", although line " + std::to_string(scanner_.line_at(count_offset_)) +
                 " announces " + std::to_string(announced_) +
                 (announced_ == 1 ? " entry." : " entries."));
        }
        if (item->too_long) {
            const std::string limit = size_text(longest_item_, 0);
            if (item->quoted)
                fail(at, *item,
                     "the text " + quote(item->text) + " runs on past " + limit +
                         ", the most an item may hold: is its closing double quote missing?");
            const auto bad = std::find_if(item->text.begin(), item->text.end(), is_control);
            if (bad != item->text.end())
                fail(at, *item,
                     "it holds the control byte " + byte_code(*bad) + " and runs on past " +
                         limit + " without a comma or line end: is this a directory file?");
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
    int announced_ = 0;
    std::size_t last_offset_ = 0;
    std::size_t count_offset_ = 0; // where the number of entries stands
};

EntryTable DataFileParser::parse(SerialDate last_update) {
    const std::int16_t count =
        read_int({0, 1}, "is empty: its first line should hold the number of entries.");
    count_offset_ = last_offset_;
    if (count < 0 || count > MaxEntryCount) {
        const std::string line = std::to_string(scanner_.line_at(count_offset_));
        if (count < 0)
            fail("announces a negative number of entries (" + std::to_string(count) +
                 ") in line " + line + ".");
        fail("announces " + std::to_string(count) + " entries in line " + line +
             "; the directory can hold at most " + std::to_string(MaxEntryCount) + ".");
    }
    announced_ = count;
    EntryTable table = empty_directory(count);
    table.LastUpdate = last_update;
    if (table.EntryCount == 0) return table;

    table.LastUpdate = read_date({0, 2});
    for (int e = 1; e <= table.EntryCount; ++e) {
        table.ChangeDate[e] = read_date({e, 1});
        table.Salutation[e] = read_int({e, 2});
        fill_flags(e, FirstTitleItem, table.TitleFlags[e]);
        fill_flags(e, FirstOrganizationItem, table.OrganizationFlags[e]);
        fill_flags(e, FirstEquipmentItem, table.EquipmentFlags[e]);
        for (int s = 0; s < TextSlotCount; ++s) {
            if (const auto text = scanner_.next_quoted_text()) {
                if (text->length > 0)
                    table.TextSlots.set_in_file(std::size_t(e), s, std::uint32_t(text->offset),
                                                std::uint32_t(text->length));
                continue;
            }
            const Item item = next({e, FirstTextItem + s});
            if (!item.text.empty())
                table.TextSlots.set_in_file(std::size_t(e), s, std::uint32_t(item.text_offset()),
                                            std::uint32_t(item.text.size()));
        }
    }
    return table;
}

namespace {

Result failed(const std::string& message) {
    return Result::failure(QString::fromStdString(message));
}

template <typename Source>
Result parse_source(EntryTable& table, Source& source, std::size_t longest_item,
                    const std::string& file_name) {
    try {
        DataFileParser parser(source, longest_item, file_name);
        EntryTable parsed = parser.parse(table.LastUpdate);
        DataFileParser::keep_bytes(parsed, source.block());
        table = std::move(parsed);
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
    MemorySource source(bytes, piece_size);
    return parse_source(table, source, longest_item, file_name);
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
        if (fs::is_symlink(fs::symlink_status(file, ec))) {
            const fs::path target = fs::read_symlink(file, ec);
            return refuse("is a link to \"" + target.string() +
                          "\", which does not exist.");
        }
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
    const std::unique_ptr<int, void (*)(int*)> closer(new int(fd), [](int* f) {
        ::close(*f);
        delete f;
    });
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode))
        return refuse("was replaced by something other than a file while it was opened.");
    if (std::uint64_t(opened.st_size) > DataFileSizeLimit)
        return refuse("is " + size_text(std::uint64_t(opened.st_size), 1) +
                      "; a directory file holds at most " + size_text(DataFileSizeLimit, 0) + ".");

    const auto load = [&](auto& source, const struct stat& held) {
        const Result result = parse_source(table, source, ItemLengthLimit, shown);
        if (result.ok()) {
            // What follows the last entry is part of the file a later save would replace. A
            // file that grows past the limit meanwhile keeps the hash of what was read: it no
            // longer matches, which is the truth.
            try {
                while (source.more()) {}
            } catch (const LoadError&) {
            }
            table.LoadedFile = identity_of_status(held, source.hash());
        }
        bytes_taken = source.taken();
        return result;
    };
    try {
        // Mapped where the file can be held as it is; read into memory the table owns otherwise.
        std::shared_ptr<const FileMapping> mapping = FileMapping::map(fd);
        if (mapping && mapping->size() <= DataFileSizeLimit) {
            const struct stat mapped = mapping->status();
            MappedSource source(
                std::make_shared<const TextBytes>(mapping->data(), mapping->size(), mapping));
            return load(source, mapped);
        }
        FileSource source(fd, std::uint64_t(opened.st_size), shown);
        return load(source, opened);
    } catch (const std::bad_alloc&) {
        return refuse("is too large for the memory available.");
    }
}
