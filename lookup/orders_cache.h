#pragma once

#include "sorted_items.h"
#include "text_column.h"

#include <QCollator>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

// The look-up's sorted lists, kept between runs so that a start on an unchanged directory finds
// them ready. A cache file holds, per list, where each of its texts stands in the data file's
// bytes and the list's rows; nothing of the texts themselves. It is used only when it was
// written for the same bytes (their hash and size), the same collation (its locale and how it
// orders a set of probe texts), the same program version and this format; anything else, or a
// file that is damaged, is passed over and replaced after the next sort. Deleting the cache is
// always safe: it only saves sorting.
struct OrdersCache {
    QString folder;          // where the cache files go; empty: nothing is read or written
    QString program_version; // a new version may sort differently
};

// Lists by their index in the look-up (a label index, or the list of all surnames).
using IndexedLists = std::vector<std::pair<int, LookupList>>;

// The lists kept for `texts`, a table's texts just as its data file gave them, whose file
// block has the file_hash() `file_bytes_hash` (the load records it); empty when no cache file
// fits in every respect. The lists view `texts`'s file block.
IndexedLists read_orders_cache(const OrdersCache& cache, const QCollator& collator,
                               const TextColumn& texts, std::uint64_t file_bytes_hash);

// Keeps `lists` for the next start, written whole or not at all; only the newest few cache
// files are kept. Nothing is written when a list holds a text that does not stand in `texts`'s
// file block (the table changed since it was loaded). False when nothing was written: the cache
// only saves time, so a failure is not told.
bool write_orders_cache(const OrdersCache& cache, const QCollator& collator,
                        const TextColumn& texts, const IndexedLists& lists);
