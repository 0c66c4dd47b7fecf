#pragma once

#include "entry_table.h"
#include "lookup_orders.h"
#include "result.h"

#include <QLocale>

#include <filesystem>
#include <optional>

// What the start's loading thread hands to the window.
struct LoadedDirectory {
    Result loaded;
    EntryTable table; // handed over to the directory whole; empty when the load failed
    PreparedOrders prepared;
    // The table's generation as the file gave it, to keep it for the next start while it has
    // not changed; none when the cache gave it, or there is no cache.
    std::optional<std::uint64_t> keep_while;
};

// Reads `folder`'s data file into a table of its own, or takes the table `cache` holds for its
// bytes, and finds its lists in `cache`; for a thread of its own while Qt starts: it shares
// nothing with the window being built.
LoadedDirectory load_directory(const std::filesystem::path& folder, const QLocale& locale,
                               const CacheFolder& cache);

// Writes `table` into `cache` on a thread of the global pool, while it is as `directory` loaded
// it; for once the application runs.
void keep_in_background(const EntryTable& table, const LoadedDirectory& directory,
                        const CacheFolder& cache);

// Where the program keeps its tables and lists between runs: $XDG_CACHE_HOME/zel-kav (by default
// ~/.cache/zel-kav), for this build of the program.
CacheFolder user_cache_folder();
