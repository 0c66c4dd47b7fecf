#pragma once

#include "entry_table.h"
#include "lookup_items.h"
#include "sorted_items.h"

#include <QFuture>
#include <QLocale>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct PreparedOrders;

// The sorted lists of the look-up over one table, each worked out once and kept until the table
// changes. Sorting tens of thousands of texts takes longer than a click may, so the first
// look-up also sorts every other category in the background. The background work reads a
// snapshot of the table's texts taken on this thread, never the table itself; what it sorts
// for an earlier state of the table is dropped, and nothing here ever waits for it to stop.
class LookupOrders {
  public:
    explicit LookupOrders(const EntryTable& table) : table_(table) {}
    ~LookupOrders();
    LookupOrders(const LookupOrders&) = delete;
    LookupOrders& operator=(const LookupOrders&) = delete;

    // The lower box of a direct look-up; empty for the other labels.
    LookupList values(int label_index);
    // The upper box of a two-step look-up: `captions` (kinds 0, 1, ...) and the free texts.
    LookupList kinds(int label_index, const std::vector<std::string>& captions);
    // The lower box after a choice of `kind`, whose item reads `kind_text`, in the upper box.
    LookupList surnames(int label_index, std::int32_t kind, std::string_view kind_text);

    // Drops every list kept and lets the background work run out on its own.
    void forget();

    struct Sorting;
    // Takes the snapshot of `table`'s texts that its lists are sorted from, with `locale`'s
    // collation, for a thread that loaded the table while nothing else may read it; the table
    // must not change until this returns.
    static PreparedOrders prepare(const EntryTable& table, const QLocale& locale);
    // Takes the lists of `prepared` when they were made for the table as it is now.
    void adopt(PreparedOrders prepared);
    // Sorts the surnames on a thread of the global pool, so that
    // the window need not wait for them; finished once they are, or failed to be.
    QFuture<void> surnames_sorted();
    // Keeps the background sorting from starting until release_background(): while the window
    // is being shown, it would take the cores the start needs.
    void hold_background() { background_held_ = true; }
    void release_background();

    // Called by the background work (the surnames' sorting set off ahead too) before it sorts
    // list `index`, so that tests can make it fail or hold it up; empty in the program.
    static void set_background_hook_for_testing(std::function<void(int index)> hook);

    // Lists by label index; the last one holds every entry's surname, empty ones too.
    static constexpr int AllSurnames = LabelCount;

  private:
    // Before a list is taken: starts over when the table changed since the lists were drawn.
    void follow_table_changes();
    // After: the lists not yet taken are sorted in the background, once per table state.
    void sort_the_rest_in_background();

    const EntryTable& table_;
    std::shared_ptr<Sorting> sorting_;
    bool background_started_ = false;
    bool background_held_ = false;
    bool background_wanted_ = false;
};

// The lists of one state of a table, found ahead by whichever thread loaded it.
struct PreparedOrders {
    std::shared_ptr<LookupOrders::Sorting> sorting;
};
