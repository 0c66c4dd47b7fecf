#include "directory_loading.h"

#include "data_file.h"

#include <QCoreApplication>
#include <QStandardPaths>

LoadedDirectory load_directory(EntryTable& table, const std::filesystem::path& folder,
                               const QLocale& locale, const OrdersCache& cache) {
    LoadedDirectory directory{read_data_base(table, folder), {}};
    if (directory.loaded.ok()) directory.prepared = LookupOrders::prepare(table, locale, cache);
    return directory;
}

OrdersCache user_orders_cache() {
    return {QStandardPaths::writableLocation(QStandardPaths::CacheLocation),
            QCoreApplication::applicationVersion()};
}
