#pragma once

#include "lookup_items.h"

#include <QCollator>
#include <QLocale>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Texts as stored (Windows-1252 bytes), kept one after another in one block and numbered from 0.
class TextPool {
  public:
    std::int32_t add(std::string_view text) {
        bytes_.append(text);
        ends_.push_back(std::uint32_t(bytes_.size()));
        return std::int32_t(ends_.size() - 1);
    }
    std::string_view operator[](std::int32_t i) const {
        const std::uint32_t begin = i == 0 ? 0 : ends_[std::size_t(i - 1)];
        return std::string_view(bytes_).substr(begin, ends_[std::size_t(i)] - begin);
    }
    std::int32_t size() const { return std::int32_t(ends_.size()); }
    std::string_view bytes() const { return bytes_; }

  private:
    std::string bytes_;
    std::vector<std::uint32_t> ends_;
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

// `items` in the order of the lists: by `collator`, equal texts in the order of `items`.
SortedItems sort_items(const std::vector<LookupItem>& items, const QCollator& collator);

// `sorted` (free texts, sorted by `collator`) with `captions` added before them, numbered 0, 1,
// ... and sorted in among them.
SortedItems with_captions(const SortedItems& sorted, const std::vector<std::string>& captions,
                          const QCollator& collator);
