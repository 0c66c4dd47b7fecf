#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

// Where the data file's bytes come from, a piece at a time.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Up to `size` bytes into `into`; 0 only at the end. May throw when the file cannot be read.
    virtual std::size_t read(char* into, std::size_t size) = 0;
    // Starts again from the first byte.
    virtual void rewind() = 0;
};

struct Item {
    std::string_view text; // valid until the next call of ItemScanner::next
    bool quoted = false;
    bool closed = true;    // false when the file ends inside a quoted text
    bool too_long = false; // longer than the scanner's longest item; `text` is its start
    std::size_t offset = 0;
};

// Splits the data file into items: blanks and line ends before an item are skipped, a quoted
// text runs to the next double quote (commas and line ends included) and whatever follows it
// up to the separator is dropped; any other item runs to the next comma or line end, blanks
// at its end included. Only a piece of the file is held at a time, so a large directory is
// never twice in memory, and an item longer than `longest_item` is given up on as soon as that
// is certain, so the buffer never grows past it.
class ItemScanner {
  public:
    ItemScanner(ByteSource& source, std::size_t piece_size, std::size_t longest_item);

    // nullopt at the end of the file.
    std::optional<Item> next();

    // The line, counted from 1, of the byte at `offset`. Reads the source again; for messages.
    int line_at(std::size_t offset);

    // The offset just past the last item returned, where a file that ends too soon ends.
    std::size_t end_of_last_item() const { return end_of_last_item_; }

  private:
    bool refill();
    // Gives up on `item`, of which `length` bytes are seen.
    Item too_long(Item item, std::size_t length);

    ByteSource& source_;
    const std::size_t longest_item_;
    const std::size_t largest_buffer_;
    std::vector<char> buffer_;
    const char* p_ = nullptr;
    const char* end_ = nullptr;
    std::size_t dropped_ = 0; // bytes of the file before buffer_
    std::size_t end_of_last_item_ = 0;
    bool separator_pending_ = false;
};
