#pragma once

#include "entry_table.h"

#include <QString>

#include <cstdint>
#include <vector>

// The stored e-mail addresses of `entries`, in their order, each once, separated by ", " as
// the address fields of mail programs take them; entries without one are passed over.
QString email_addresses(const EntryTable& table, const std::vector<std::int32_t>& entries);
