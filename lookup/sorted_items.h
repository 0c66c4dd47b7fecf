#pragma once

#include "lookup_items.h"
#include "text_column.h"

#include <QCollator>
#include <QLocale>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Texts as stored (Windows-1252 bytes), numbered from 0. A text is a place in a block of bytes
// the pool keeps alive: a block of the table's texts, which never change where they stand, or
// one of the pool's own copies. A pool is never changed once filled, so lists can share it.
class TextPool {
  public:
    TextPool() = default;
    // A pool that holds `base`'s texts under the same numbers, without copying them, and
    // numbers what it adds after them.
    explicit TextPool(std::shared_ptr<const TextPool> base)
        : base_size_(base->size()), base_(std::move(base)) {}
    TextPool(const TextPool&) = delete;
    TextPool& operator=(const TextPool&) = delete;

    // Copies `text` into the pool.
    std::int32_t add(std::string_view text);
    // Keeps `block` as long as the pool lives; the number it returns is for add_view().
    int keep(std::shared_ptr<const TextBytes> block);
    // Adds `text` where it stands, in block number `block` of keep().
    std::int32_t add_view(int block, std::string_view text) {
        places_.push_back({std::uint32_t(text.data() - blocks_[std::size_t(block)]),
                           std::uint32_t(text.size()) | std::uint32_t(block) << LengthBits});
        return size() - 1;
    }

    std::string_view operator[](std::int32_t i) const {
        if (i < base_size_) return (*base_)[i];
        const TextPlace place = places_[std::size_t(i - base_size_)];
        return std::string_view(blocks_[place.length >> LengthBits] + place.offset,
                                place.length & LengthMask);
    }
    std::int32_t size() const { return base_size_ + std::int32_t(places_.size()); }

  private:
    // A place packs its block's number above a length of up to 256 MiB, the largest data file.
    static constexpr int LengthBits = 28;
    static constexpr std::uint32_t LengthMask = (std::uint32_t(1) << LengthBits) - 1;
    int add_block(const char* base, std::shared_ptr<const void> owner);

    const std::int32_t base_size_ = 0;
    const std::shared_ptr<const TextPool> base_;
    std::vector<TextPlace> places_;
    std::vector<const char*> blocks_;
    std::vector<std::shared_ptr<const void>> owners_;
    std::shared_ptr<std::string> copies_; // the block add() writes into, never reallocated
    int copies_block_ = 0;
};

// One item of a list: which text of the pool it shows and the number kept beside it.
struct ListRow {
    std::int32_t text = 0;
    std::int32_t number = 0;
};

// A list's items in the order the list shows them. The pool is never changed once filled, so
// lists can share it, and a list shows what it was filled with whatever happens to the table.
struct SortedItems {
    std::shared_ptr<const TextPool> texts = std::make_shared<const TextPool>();
    std::vector<ListRow> rows;

    std::string_view text(const ListRow& row) const { return (*texts)[row.text]; }
};

using LookupList = std::shared_ptr<const SortedItems>;

// How the lists sort: the locale's collation with case ignored. The C locale (LANG=C, as on
// many servers) would compare code units; it sorts as English instead.
QCollator list_collator(const QLocale& locale = QLocale());

// `items` in the order of the lists: by `collator`, equal texts in the order of `items`. The
// texts that stand in `source`'s blocks are viewed there, the others copied.
SortedItems sort_items(std::vector<LookupItem> items, const QCollator& collator,
                       const TextColumn* source = nullptr);
// The same for items given one at a time, so that they are never all held.
SortedItems sort_items(const ItemSource& items, const QCollator& collator,
                       const TextColumn* source = nullptr);

// `sorted` (free texts, sorted by `collator`) with `captions` added before them, numbered 0, 1,
// ... and sorted in among them.
SortedItems with_captions(const SortedItems& sorted, const std::vector<std::string>& captions,
                          const QCollator& collator);
