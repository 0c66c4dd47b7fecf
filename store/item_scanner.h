#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// The data file's bytes as far as they have been read, in one block that only grows at its end.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // The bytes read so far; the address holds until the next call of more().
    const char* data() const { return data_; }
    std::size_t available() const { return available_; }
    // Reads on; false at the end of the file. May throw when the file cannot be read.
    virtual bool more() = 0;

  protected:
    const char* data_ = nullptr;
    std::size_t available_ = 0;
};

struct Item {
    std::string_view text; // valid until the scanner reads on
    bool quoted = false;
    bool closed = true;    // false when the file ends inside a quoted text
    bool too_long = false; // longer than the scanner's longest item; `text` is its start
    std::size_t offset = 0;
    // Where the text stands in the file: past the opening quote of a quoted item.
    std::size_t text_offset() const { return offset + (quoted ? 1 : 0); }
};

// Splits the data file into items: blanks and line ends before an item are skipped, a quoted
// text runs to the next double quote (commas and line ends included) and whatever follows it
// up to the separator is dropped; any other item runs to the next comma or line end, blanks
// at its end included. It reads no further than an item needs, and an item longer than
// `longest_item` is given up on as soon as that is certain, so a file of one endless item
// costs no more than the limit.
class ItemScanner {
  public:
    ItemScanner(ByteSource& source, std::size_t longest_item);

    // nullopt at the end of the file.
    std::optional<Item> next();

    // Most items of a data file are short whole numbers standing right after the previous
    // item's comma: such an item, of at most four digits after an optional minus, with the
    // separator already read, is returned and read past. For anything else nothing is read and
    // nullopt returned; next() then reads the item as usual.
    struct ShortNumber {
        int value = 0;
        std::size_t offset = 0; // where it stands in the file
    };
    std::optional<ShortNumber> next_short_number();

    // Likewise for a quoted text that stands right after the previous item's comma and is
    // followed by its own separator, all within the bytes read so far: its place in the file.
    struct QuotedText {
        std::size_t offset = 0; // of the text, past the opening quote
        std::size_t length = 0;
    };
    std::optional<QuotedText> next_quoted_text();

    // The line, counted from 1, of the byte at `offset` (one already read); for messages.
    int line_at(std::size_t offset) const;

    // The offset just past the last item returned, where a file that ends too soon ends.
    std::size_t end_of_last_item() const { return end_of_last_item_; }

  private:
    // Where the next item may begin without skipping anything: here, or right past the comma
    // that ends the last item; npos when another byte stands there.
    std::size_t right_after_comma() const;
    // Skips bytes while `skip` holds, reading on as needed.
    template <typename Skip> void skip_while(Skip skip);
    Item too_long(Item item, std::size_t length);

    ByteSource& source_;
    const std::size_t longest_item_;
    std::size_t at_ = 0;
    std::size_t end_of_last_item_ = 0;
    bool separator_pending_ = false;
};
