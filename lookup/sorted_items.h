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

// Texts as stored (Windows-1252 bytes), numbered from 0. A text is a view of bytes the pool
// keeps alive: a block of the table's texts, which never change where they stand, or a copy
// the pool made itself. A pool is never changed once filled, so lists can share it.
class TextPool {
  public:
    TextPool() = default;
    // A copy views the same texts; what it adds later goes into blocks of its own.
    TextPool(const TextPool& other) : views_(other.views_), owners_(other.owners_) {}
    TextPool& operator=(const TextPool&) = delete;

    // Copies `text` into the pool.
    std::int32_t add(std::string_view text);
    // Views `text` where it stands, in a block the pool keeps (see keep()).
    std::int32_t add_view(std::string_view text) {
        views_.push_back(text);
        return std::int32_t(views_.size() - 1);
    }
    // Keeps `owner` as long as the pool lives, for the views into it.
    void keep(std::shared_ptr<const void> owner) { owners_.push_back(std::move(owner)); }

    std::string_view operator[](std::int32_t i) const { return views_[std::size_t(i)]; }
    std::int32_t size() const { return std::int32_t(views_.size()); }

  private:
    std::vector<std::string_view> views_;
    std::vector<std::shared_ptr<const void>> owners_;
    std::shared_ptr<std::string> copies_; // the block add() writes into, never reallocated
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
SortedItems sort_items(const std::vector<LookupItem>& items, const QCollator& collator,
                       const TextColumn* source = nullptr);

// `sorted` (free texts, sorted by `collator`) with `captions` added before them, numbered 0, 1,
// ... and sorted in among them.
SortedItems with_captions(const SortedItems& sorted, const std::vector<std::string>& captions,
                          const QCollator& collator);
