#include "directory_loading.h"

#include "build_identity.h"
#include "data_file.h"

#include <QStandardPaths>
#include <QThreadPool>

LoadedDirectory load_directory(const std::filesystem::path& folder, const QLocale& locale,
                               const CacheFolder& cache) {
    LoadReport report;
    LoadedDirectory directory;
    EntryTable& table = directory.table;
    directory.loaded = read_data_base(table, folder, cache, report);
    if (!directory.loaded.ok()) return directory;
    if (!cache.folder.isEmpty() && !report.from_cache) directory.keep_while = table.generation();
    directory.prepared = LookupOrders::prepare(table, locale, cache);
    return directory;
}

void keep_in_background(const EntryTable& table, const LoadedDirectory& directory,
                        const CacheFolder& cache) {
    if (!directory.keep_while || table.generation() != *directory.keep_while) return;
    // A copy shares the table's texts; only its numbers are copied. The global pool is waited
    // for when the application ends.
    QThreadPool::globalInstance()->start([loaded = std::make_shared<EntryTable>(table), cache] {
        try {
            KeptTables::keep(cache, std::move(*loaded));
        } catch (...) {
            // The next start reads the file again.
        }
    });
}

CacheFolder user_cache_folder() {
    return {QStandardPaths::writableLocation(QStandardPaths::CacheLocation), build_identity()};
}
