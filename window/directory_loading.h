#pragma once

#include "entry_table.h"
#include "lookup_orders.h"
#include "result.h"

#include <QLocale>

#include <filesystem>

// What the start's loading thread hands to the window.
struct LoadedDirectory {
    Result loaded;
    EntryTable table; // handed over to the directory whole; empty when the load failed
    PreparedOrders prepared;
};

// Reads `folder`'s data file into a table of its own and prepares its lists; for a thread of
// its own while Qt starts: it shares nothing with the window being built.
LoadedDirectory load_directory(const std::filesystem::path& folder, const QLocale& locale);
