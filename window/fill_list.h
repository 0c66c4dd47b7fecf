#pragma once

#include "lookup_items.h"

#include <vector>

class SortedList;

// Replaces the items of `list` with `items`, their stored bytes decoded for display; the list
// sorts them once.
void fill_list(SortedList& list, const std::vector<LookupItem>& items);
