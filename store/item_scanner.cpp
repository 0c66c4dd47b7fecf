#include "item_scanner.h"

#include <cstring>
#include <string>

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

ItemScanner::ItemScanner(ByteSource& source, std::size_t longest_item)
    : source_(source), longest_item_(longest_item) {}

template <typename Skip> void ItemScanner::skip_while(Skip skip) {
    do {
        const char* bytes = source_.data();
        const std::size_t end = source_.available();
        while (at_ < end && skip(bytes[at_])) ++at_;
    } while (at_ == source_.available() && source_.more());
}

std::optional<Item> ItemScanner::next() {
    if (separator_pending_) {
        skip_while([](char c) { return !is_separator(c); });
        if (at_ < source_.available()) ++at_;
        separator_pending_ = false;
    }
    skip_while([](char c) { return is_blank(c) || is_line_end(c); });
    if (at_ == source_.available()) return std::nullopt;

    Item item;
    item.offset = at_;
    separator_pending_ = true;
    // Whether an item is too long must not depend on how far the file was read: every test is
    // on the bytes seen so far, all of which belong to the item.
    if (source_.data()[at_] == '"') {
        item.quoted = true;
        const std::size_t first = at_ + 1;
        std::size_t searched = first;
        for (;;) {
            const char* bytes = source_.data();
            const std::size_t end = source_.available();
            const void* close = std::memchr(bytes + searched, '"', end - searched);
            if (close) {
                const std::size_t closing = std::size_t(static_cast<const char*>(close) - bytes);
                if (closing - first > longest_item_) return too_long(item, closing - first);
                item.text = std::string_view(bytes + first, closing - first);
                at_ = end_of_last_item_ = closing + 1;
                return item;
            }
            searched = end;
            if (end - first > longest_item_) return too_long(item, end - first);
            if (!source_.more()) {
                item.closed = false;
                item.text = std::string_view(source_.data() + first, end - first);
                at_ = end;
                return item;
            }
        }
    }
    std::size_t end_of_item = at_;
    for (;;) {
        const char* bytes = source_.data();
        const std::size_t end = source_.available();
        while (end_of_item < end && !is_separator(bytes[end_of_item])) ++end_of_item;
        if (end_of_item < end || end_of_item - at_ > longest_item_ || !source_.more()) break;
    }
    if (end_of_item - at_ > longest_item_) return too_long(item, end_of_item - at_);
    item.text = std::string_view(source_.data() + at_, end_of_item - at_);
    at_ = end_of_last_item_ = end_of_item;
    return item;
}

std::size_t ItemScanner::right_after_comma() const {
    if (!separator_pending_) return at_;
    if (at_ >= source_.available() || source_.data()[at_] != ',') return std::string::npos;
    return at_ + 1;
}

std::optional<ItemScanner::ShortNumber> ItemScanner::next_short_number() {
    const char* bytes = source_.data();
    const std::size_t end = source_.available();
    const std::size_t at = right_after_comma();
    if (at == std::string::npos) return std::nullopt;
    const bool negative = at < end && bytes[at] == '-';
    const std::size_t first = at + (negative ? 1 : 0);
    int value = 0;
    std::size_t digit = first;
    for (; digit < end && digit - first < 5 && bytes[digit] >= '0' && bytes[digit] <= '9'; ++digit)
        value = value * 10 + (bytes[digit] - '0');
    if (digit == first || digit - first > 4 || digit == end || !is_separator(bytes[digit]))
        return std::nullopt;
    at_ = end_of_last_item_ = digit;
    separator_pending_ = true;
    return ShortNumber{negative ? -value : value, at};
}

std::optional<ItemScanner::QuotedText> ItemScanner::next_quoted_text() {
    const char* bytes = source_.data();
    const std::size_t end = source_.available();
    const std::size_t at = right_after_comma();
    if (at >= end || bytes[at] != '"') return std::nullopt;
    const std::size_t first = at + 1;
    const void* close = std::memchr(bytes + first, '"', end - first);
    if (!close) return std::nullopt;
    const std::size_t closing = std::size_t(static_cast<const char*>(close) - bytes);
    if (closing - first > longest_item_ || closing + 1 == end || !is_separator(bytes[closing + 1]))
        return std::nullopt;
    at_ = end_of_last_item_ = closing + 1;
    separator_pending_ = true;
    return QuotedText{first, closing - first};
}

Item ItemScanner::too_long(Item item, std::size_t length) {
    item.too_long = true;
    item.text = std::string_view(source_.data() + item.text_offset(), length);
    at_ = source_.available();
    return item;
}

int ItemScanner::line_at(std::size_t offset) const {
    const char* bytes = source_.data();
    int line = 1;
    char previous = 0;
    for (std::size_t i = 0; i < offset && i < source_.available(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || (c == '\n' && previous != '\r')) ++line;
        previous = c;
    }
    return line;
}
