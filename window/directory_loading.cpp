#include "directory_loading.h"

#include "data_file.h"

LoadedDirectory load_directory(const std::filesystem::path& folder, const QLocale& locale) {
    LoadedDirectory directory;
    directory.loaded = read_data_base(directory.table, folder);
    if (directory.loaded.ok()) directory.prepared = LookupOrders::prepare(directory.table, locale);
    return directory;
}
