#pragma once

#include "entry_table.h"

// A made-up directory of `count` entries with every text filled, in lengths a real directory
// has: multi-line addresses and remarks, commas, Windows-1252 accented letters. The same
// `seed` gives the same directory. TableModified is 1, so save_data_base writes it.
EntryTable generate_directory(int count, unsigned seed = 1);
