#pragma once

#include "entry_table.h"
#include "lookup_orders.h"
#include "result.h"

#include <QLocale>

#include <filesystem>

// What the start's loading thread hands to the window.
struct LoadedDirectory {
    Result loaded;
    PreparedOrders prepared;
};

// Reads `folder`'s data file into `table` and makes the surname look-up ready, with every other
// list when `cache` holds them; for a thread of its own while Qt starts, as nothing else may
// read the table meanwhile.
LoadedDirectory load_directory(EntryTable& table, const std::filesystem::path& folder,
                               const QLocale& locale, const OrdersCache& cache);

// Where the program keeps its lists between runs: $XDG_CACHE_HOME/zel-kav (by default
// ~/.cache/zel-kav), for this version of the program.
OrdersCache user_orders_cache();
