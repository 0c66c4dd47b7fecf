#pragma once

#include "entry_table.h"
#include "lookup_items.h"
#include "sorted_items.h"

#include <QCollator>
#include <QLocale>

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// The sorted lists of the look-up over one table, each worked out once and kept until the table
// changes. Sorting tens of thousands of texts takes longer than a click may, so the first
// look-up also starts a thread that sorts every other category in the background.
// That thread reads the table: whatever changes the table calls forget() first.
class LookupOrders {
  public:
    explicit LookupOrders(const EntryTable& table) : table_(table) {}
    LookupOrders(const LookupOrders&) = delete;
    LookupOrders& operator=(const LookupOrders&) = delete;

    // The lower box of a direct look-up; empty for the other labels.
    LookupList values(int label_index);
    // The upper box of a two-step look-up: `captions` (kinds 0, 1, ...) and the free texts.
    LookupList kinds(int label_index, const std::vector<std::string>& captions);
    // The lower box after a choice of `kind`, whose item reads `kind_text`, in the upper box.
    LookupList surnames(int label_index, std::int32_t kind, std::string_view kind_text);

    // Stops the background sorting and drops every list kept.
    void forget();

  private:
    // Lists by label index; the last one holds every entry's surname, empty ones too.
    static constexpr int AllSurnames = LabelCount;

    // Before a list is taken: drops the lists of an old table, settles the collation.
    void keep_up();
    // After: the lists not yet taken are sorted in the background, once per table.
    void sort_the_rest();
    LookupList list(int index, const QCollator& collator);
    LookupList work_out(int index, const QCollator& collator);

    const EntryTable& table_;
    bool settled_ = false;        // the lists kept were drawn from the table's state
    std::uint64_t generation_ = 0; // ... of this generation
    QLocale locale_;
    QCollator collator_;
    std::mutex mutex_;
    std::condition_variable sorted_;
    std::array<LookupList, AllSurnames + 1> lists_{};
    std::array<bool, AllSurnames + 1> in_work_{};
    std::jthread sorter_; // declared last: it stops before the rest goes
};
