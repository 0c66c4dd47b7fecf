#include "text_column.h"

#include <algorithm>
#include <cstring>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

namespace {

// Touching fresh memory costs more than reading the file into it; huge pages cut the faults to
// one per 2 MiB where the system grants them on request.
char* allocate(std::size_t capacity) {
    constexpr std::size_t huge = std::size_t(2) << 20;
    void* p = nullptr;
    if (capacity < 2 * huge) {
        p = std::malloc(std::max<std::size_t>(capacity, 1));
    } else {
        const std::size_t rounded = (capacity + huge - 1) / huge * huge;
        p = std::aligned_alloc(huge, rounded);
        // Not the last, partly used page: a huge one would be resident whole.
        if (p) ::madvise(p, capacity / huge * huge, MADV_HUGEPAGE);
    }
    if (!p) throw std::bad_alloc();
    return static_cast<char*>(p);
}

} // namespace

TextBytes::TextBytes(std::size_t capacity)
    : own_(allocate(capacity)), bytes_(own_.get()), capacity_(capacity) {}

TextBytes::TextBytes(const char* bytes, std::size_t size, std::shared_ptr<const void> keeper)
    : bytes_(bytes), keeper_(std::move(keeper)), capacity_(size), used_(size) {}

void TextBytes::Free::operator()(char* p) const {
    std::free(p);
}

std::size_t TextBytes::claim(std::size_t n) {
    std::size_t at = used_.load(std::memory_order_relaxed);
    do {
        if (n > capacity_ - at) return std::string::npos;
    } while (!used_.compare_exchange_weak(at, at + n, std::memory_order_relaxed));
    return at;
}

TextColumn::TextColumn(const TextColumn& other)
    : rows_(other.rows_), chunks_(other.chunks_), own_(other.own_.size(), false),
      file_(other.file_), edited_(other.edited_) {
    other.own_.assign(other.own_.size(), false);
}

TextColumn& TextColumn::operator=(const TextColumn& other) {
    if (this != &other) *this = TextColumn(other);
    return *this;
}

void TextColumn::reset(std::size_t rows, std::shared_ptr<const TextBytes> file) {
    rows_ = rows;
    file_ = std::move(file);
    edited_.reset();
    chunks_.clear();
    chunks_.reserve((rows + RowsPerChunk - 1) / RowsPerChunk);
    for (std::size_t r = 0; r < rows; r += RowsPerChunk) chunks_.push_back(std::make_shared<Chunk>());
    own_.assign(chunks_.size(), true);
}

TextPlace& TextColumn::writable_place(std::size_t row, int slot) {
    const std::size_t c = row / RowsPerChunk;
    std::shared_ptr<Chunk>& chunk = chunks_[c];
    if (!own_[c]) {
        chunk = std::make_shared<Chunk>(*chunk);
        own_[c] = true;
    }
    return (*chunk)[(row % RowsPerChunk) * TextSlotCount + std::size_t(slot)];
}

std::uint32_t TextColumn::append(std::string_view bytes) {
    std::size_t at = edited_ ? edited_->claim(bytes.size()) : std::string::npos;
    if (at == std::string::npos) {
        // A larger block takes over what the old one holds; copies still reading the old one
        // keep it alive.
        const std::size_t used = edited_ ? edited_->used() : 0;
        const std::size_t capacity = std::max({std::size_t(64) << 10, 2 * used, used + bytes.size()});
        if (capacity >= Edited) throw std::bad_alloc();
        auto grown = std::make_shared<TextBytes>(capacity);
        if (used > 0) std::memcpy(grown->writable_data(), edited_->data(), used);
        grown->claim(used);
        edited_ = std::move(grown);
        at = edited_->claim(bytes.size());
    }
    std::memcpy(edited_->writable_data() + at, bytes.data(), bytes.size());
    return std::uint32_t(at);
}

void TextColumn::set(std::size_t row, int slot, std::string_view bytes) {
    if (get(row, slot) == bytes) return;
    if (bytes.size() >= Edited) throw std::bad_alloc();
    const std::uint32_t offset = bytes.empty() ? 0 : append(bytes);
    writable_place(row, slot) = {offset, bytes.empty() ? 0 : std::uint32_t(bytes.size()) | Edited};
}

bool TextColumn::operator==(const TextColumn& other) const {
    if (rows_ != other.rows_) return false;
    for (std::size_t r = 0; r < rows_; ++r)
        for (int s = 0; s < TextSlotCount; ++s)
            if (get(r, s) != other.get(r, s)) return false;
    return true;
}
