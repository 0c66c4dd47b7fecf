#pragma once

#include "entry_table.h"

#include <QString>

#include <cstdint>
#include <vector>

// The entries that name the person a correction file names: first those whose surname and
// first names are exactly the file's; when there are none, those that differ only in case and
// blanks. In entry order; empty when the names cannot be stored or nobody matches.
std::vector<std::int16_t> find_person(const EntryTable& table, const QString& surname,
                                      const QString& first_names);
