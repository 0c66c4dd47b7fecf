#include "item_scanner.h"

#include <algorithm>
#include <cstring>

namespace {
bool is_blank(char c) {
    return c == ' ' || c == '\t';
}
bool is_line_end(char c) {
    return c == '\r' || c == '\n';
}
bool is_separator(char c) {
    return c == ',' || is_line_end(c);
}
} // namespace

ItemScanner::ItemScanner(ByteSource& source, std::size_t piece_size, std::size_t longest_item)
    : source_(source), longest_item_(longest_item),
      // The opening quote and one byte past the limit are all an item ever needs beyond it.
      largest_buffer_(std::max(piece_size, longest_item + 2)),
      buffer_(std::max<std::size_t>(piece_size, 1)) {
    p_ = end_ = buffer_.data();
}

// Keeps the bytes from p_ on, at the front of the buffer, and reads more behind them. The
// buffer only grows for an item longer than itself, and next() stops an item before it would
// need more than largest_buffer_.
bool ItemScanner::refill() {
    const std::size_t kept = std::size_t(end_ - p_);
    dropped_ += std::size_t(p_ - buffer_.data());
    std::memmove(buffer_.data(), p_, kept);
    if (kept == buffer_.size()) buffer_.resize(std::min(buffer_.size() * 2, largest_buffer_));
    const std::size_t got = source_.read(buffer_.data() + kept, buffer_.size() - kept);
    p_ = buffer_.data();
    end_ = p_ + kept + got;
    return got > 0;
}

std::optional<Item> ItemScanner::next() {
    if (separator_pending_) {
        do {
            while (p_ < end_ && !is_separator(*p_)) ++p_;
        } while (p_ == end_ && refill());
        if (p_ < end_) ++p_;
        separator_pending_ = false;
    }
    do {
        while (p_ < end_ && (is_blank(*p_) || is_line_end(*p_))) ++p_;
    } while (p_ == end_ && refill());
    if (p_ == end_) return std::nullopt;

    Item item;
    item.offset = dropped_ + std::size_t(p_ - buffer_.data());
    separator_pending_ = true;
    // Whether an item is too long must not depend on how the file came in pieces: every test
    // is on the bytes seen so far, all of which belong to the item.
    if (*p_ == '"') {
        item.quoted = true;
        std::size_t searched = 1;
        const void* close = nullptr;
        while (!(close = std::memchr(p_ + searched, '"', std::size_t(end_ - p_) - searched))) {
            searched = std::size_t(end_ - p_);
            if (searched - 1 > longest_item_) return too_long(item, searched - 1);
            if (!refill()) {
                item.closed = false;
                item.text = std::string_view(p_ + 1, std::size_t(end_ - p_) - 1);
                p_ = end_;
                return item;
            }
        }
        const char* closing = static_cast<const char*>(close);
        const std::size_t length = std::size_t(closing - p_) - 1;
        if (length > longest_item_) return too_long(item, length);
        item.text = std::string_view(p_ + 1, length);
        p_ = closing + 1;
        end_of_last_item_ = dropped_ + std::size_t(p_ - buffer_.data());
        return item;
    }
    std::size_t length = 0;
    for (;;) {
        while (p_ + length < end_ && !is_separator(p_[length])) ++length;
        if (p_ + length < end_ || length > longest_item_ || !refill()) break;
    }
    if (length > longest_item_) return too_long(item, length);
    item.text = std::string_view(p_, length);
    p_ += length;
    end_of_last_item_ = dropped_ + std::size_t(p_ - buffer_.data());
    return item;
}

Item ItemScanner::too_long(Item item, std::size_t length) {
    item.too_long = true;
    item.text = std::string_view(p_ + (item.quoted ? 1 : 0), length);
    p_ = end_;
    return item;
}

int ItemScanner::line_at(std::size_t offset) {
    source_.rewind();
    std::vector<char> piece(1 << 16);
    int line = 1;
    char previous = 0;
    for (std::size_t seen = 0; seen < offset;) {
        const std::size_t got = source_.read(piece.data(), std::min(piece.size(), offset - seen));
        if (got == 0) break;
        for (std::size_t i = 0; i < got; ++i) {
            const char c = piece[i];
            if (c == '\r' || (c == '\n' && previous != '\r')) ++line;
            previous = c;
        }
        seen += got;
    }
    return line;
}
