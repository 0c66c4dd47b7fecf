#include "fill_list.h"

#include "cp1252.h"
#include "sorted_list.h"

void fill_list(SortedList& list, const std::vector<LookupItem>& items) {
    std::vector<ListItem> list_items;
    list_items.reserve(items.size());
    for (const LookupItem& item : items) {
        list_items.push_back({from_cp1252(item.text), item.number});
    }
    list.set_items(std::move(list_items));
}
