#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int TextSlotCount = 22;

// The texts of one row, in slot order.
using RowTexts = std::array<std::string, TextSlotCount>;

// Bytes that never change once written: the data file as it was read, or the texts set since,
// each written once behind the others. Readers on other threads see only what was written before
// they were given the block, so appending behind it is safe while they read.
class TextBytes {
  public:
    explicit TextBytes(std::size_t capacity);
    // `size` bytes held elsewhere, all of them in use, kept as long as `keeper` lives; nothing
    // can be claimed behind them.
    TextBytes(const char* bytes, std::size_t size, std::shared_ptr<const void> keeper);
    // Only for a block of its own capacity: null for bytes held elsewhere.
    char* writable_data() { return own_.get(); }
    const char* data() const { return bytes_; }
    std::size_t capacity() const { return capacity_; }
    // Claims `n` bytes behind those claimed so far; npos when they do not fit.
    std::size_t claim(std::size_t n);
    std::size_t used() const { return used_.load(std::memory_order_relaxed); }

  private:
    struct Free {
        void operator()(char* p) const;
    };
    std::unique_ptr<char, Free> own_;
    const char* bytes_;
    std::shared_ptr<const void> keeper_;
    std::size_t capacity_;
    std::atomic<std::size_t> used_{0};
};

// Where a text stands: in the data file's bytes, or with the Edited bit in the texts set since.
struct TextPlace {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

// Every text of a table, 22 slots per row, held compactly: an offset and a length per slot into
// one of two blocks of bytes. Copying a column is cheap and gives an immutable snapshot: rows are
// held in shared chunks, copied only when a text of theirs is set while a copy shares them, and
// the blocks are never changed where a text already stands.
class TextColumn {
  public:
    static constexpr std::uint32_t Edited = 0x80000000u;

    TextColumn() = default;
    // A copy shares every chunk; from then on neither side writes into a shared chunk.
    TextColumn(const TextColumn& other);
    TextColumn& operator=(const TextColumn& other);
    TextColumn(TextColumn&&) noexcept = default;
    TextColumn& operator=(TextColumn&&) noexcept = default;

    // `rows` rows of empty texts over `file` (may be null).
    void reset(std::size_t rows, std::shared_ptr<const TextBytes> file = {});
    std::size_t rows() const { return rows_; }

    std::string_view get(std::size_t row, int slot) const {
        const TextPlace place = place_of(row, slot);
        const std::uint32_t length = place.length & ~Edited;
        if (length == 0) return {};
        const TextBytes& block = (place.length & Edited) ? *edited_ : *file_;
        return std::string_view(block.data() + place.offset, length);
    }
    // Copies `bytes` into the column's own block.
    void set(std::size_t row, int slot, std::string_view bytes);
    // The block set_in_file() points into; set once the reader has all of it, or before the
    // places are read back whole.
    void use_file(std::shared_ptr<const TextBytes> file) { file_ = std::move(file); }
    // Points the slot at bytes of the file block; the reader's way, without a copy.
    void set_in_file(std::size_t row, int slot, std::uint32_t offset, std::uint32_t length) {
        writable_place(row, slot) = {offset, length};
    }

    bool operator==(const TextColumn& other) const;

    // The blocks the texts stand in: the file's bytes and the texts set since (either may be
    // null). A text never moves or changes within its block, so whoever keeps a block may keep
    // views of the texts in it, however the column changes later.
    std::array<std::shared_ptr<const TextBytes>, 2> blocks() const { return {file_, edited_}; }

  private:
    static constexpr std::size_t RowsPerChunk = 128;
    using Chunk = std::array<TextPlace, RowsPerChunk * TextSlotCount>;

    TextPlace place_of(std::size_t row, int slot) const {
        return (*chunks_[row / RowsPerChunk])[(row % RowsPerChunk) * TextSlotCount +
                                              std::size_t(slot)];
    }
    TextPlace& writable_place(std::size_t row, int slot);
    std::uint32_t append(std::string_view bytes);

    std::size_t rows_ = 0;
    std::vector<std::shared_ptr<Chunk>> chunks_;
    // Whether this column alone holds the chunk. Kept apart from the count of owners, which
    // would need to be read with a barrier to be trusted once a copy on another thread goes.
    mutable std::vector<bool> own_;
    std::shared_ptr<const TextBytes> file_;
    std::shared_ptr<TextBytes> edited_;
};
