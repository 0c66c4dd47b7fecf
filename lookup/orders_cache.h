#pragma once

#include "sorted_items.h"
#include "table_cache.h"
#include "text_column.h"

#include <QCollator>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// The look-up's sorted lists, kept between runs so that a start on an unchanged directory finds
// them ready. A cache file holds, per list, where each of its texts stands in the data file's
// bytes and the list's rows; nothing of the texts themselves. It is used only when it was
// written for the same bytes (their hash and size), the same collation (its locale and how it
// orders a set of probe texts), the same program version and this format; anything else, or a
// file that is damaged, is passed over and replaced after the next sort. Deleting the cache is
// always safe: it only saves sorting.
using OrdersCache = CacheFolder;

// Lists by their index in the look-up (a label index, or the list of all surnames).
using IndexedLists = std::vector<std::pair<int, LookupList>>;

// The cache file kept for a table, when one fits it in every respect; its lists are read one
// at a time, when they are asked for, so that a start reads no more than the list it shows.
class KeptOrders {
  public:
    // The cache file kept for `texts`, a table's texts just as its data file gave them, whose
    // file block has the file_hash() `file_bytes_hash` (the load records it); null when none
    // fits.
    static std::shared_ptr<const KeptOrders> find(const OrdersCache& cache,
                                                  const QCollator& collator,
                                                  const TextColumn& texts,
                                                  FileHash file_bytes_hash);
    ~KeptOrders();
    KeptOrders(const KeptOrders&) = delete;
    KeptOrders& operator=(const KeptOrders&) = delete;

    bool holds(int index) const {
        return index >= 0 && index <= LabelCount && lists_[std::size_t(index)].second > 0;
    }
    // List `index` as kept, viewing the texts' file block; null when the file holds no such
    // list or it is damaged (each list carries a hash of its own). Any thread may ask.
    LookupList list(int index) const;

  private:
    explicit KeptOrders(int fd) : fd_(fd) {}

    int fd_; // the cache file, open as long as it may be read
    std::shared_ptr<const TextBytes> file_;
    std::uint32_t rows_ = 0;
    // Where each list stands in the cache file, and its size; 0 for a list it does not hold.
    std::array<std::pair<std::uint64_t, std::size_t>, LabelCount + 1> lists_{};
};

// Keeps `lists` for the next start, written whole or not at all; only the newest few cache
// files are kept. Nothing is written when a list holds a text that does not stand in `texts`'s
// file block (the table changed since it was loaded). False when nothing was written: the cache
// only saves time, so a failure is not told.
bool write_orders_cache(const OrdersCache& cache, const QCollator& collator,
                        const TextColumn& texts, const IndexedLists& lists);
