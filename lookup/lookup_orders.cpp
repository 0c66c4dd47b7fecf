#include "lookup_orders.h"

#include <QPromise>
#include <QThreadPool>

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <iterator>
#include <mutex>

namespace {

LookupList shared(SortedItems items) {
    return std::make_shared<const SortedItems>(std::move(items));
}

std::mutex hook_mutex;
std::function<void(int)> background_hook;

void run_background_hook(int index) {
    std::function<void(int)> hook;
    {
        const std::lock_guard lock(hook_mutex);
        hook = background_hook;
    }
    if (hook) hook(index);
}

} // namespace

// One state of the table and the lists sorted from it, shared by the GUI thread and the
// background work; everything the background reads is in here and never changes.
struct LookupOrders::Sorting {
    Sorting(const EntryTable& table, const QLocale& user_locale)
        : generation(table.generation()), texts(table), locale(user_locale),
          collator(list_collator(user_locale)) {}

    // Sorts list `index` unless it is sorted or being sorted; a list another thread is on is
    // waited for.
    LookupList list(int index, const QCollator& by);
    LookupList sort_list(int index, const QCollator& by);

    const std::uint64_t generation;
    const LookupTexts texts;
    const QLocale locale;
    const QCollator collator; // the GUI thread's; a collator is not for two threads at once
    std::atomic<bool> dropped{false};
    std::mutex mutex;
    std::condition_variable sorted;
    std::array<LookupList, AllSurnames + 1> lists{};
    std::array<bool, AllSurnames + 1> in_work{};
};

LookupList LookupOrders::Sorting::list(int index, const QCollator& by) {
    const auto i = std::size_t(index);
    {
        std::unique_lock lock(mutex);
        sorted.wait(lock, [&] { return !in_work[i]; });
        if (lists[i]) return lists[i];
        in_work[i] = true;
    }
    LookupList made;
    try {
        made = sort_list(index, by);
    } catch (...) {
        const std::lock_guard lock(mutex);
        in_work[i] = false;
        sorted.notify_all();
        throw;
    }
    const std::lock_guard lock(mutex);
    lists[i] = std::move(made);
    in_work[i] = false;
    sorted.notify_all();
    return lists[i];
}

LookupList LookupOrders::Sorting::sort_list(int index, const QCollator& by) {
    if (index == AllSurnames) return shared(sort_items(all_surnames(texts), by, &texts.texts));
    if (index == SurnameLabel) {
        const LookupList all = list(AllSurnames, by);
        const auto unnamed = [&all](const ListRow& row) { return all->text(row).empty(); };
        // Where every entry has a surname, both lists are one.
        if (std::none_of(all->rows.begin(), all->rows.end(), unnamed)) return all;
        SortedItems named{all->texts, {}};
        std::remove_copy_if(all->rows.begin(), all->rows.end(), std::back_inserter(named.rows),
                            unnamed);
        return shared(std::move(named));
    }
    switch (lookup_category(index).kind) {
    case LookupKind::Direct:
        return shared(sort_items(value_item_source(texts, index), by, &texts.texts));
    case LookupKind::TwoStep: {
        const std::vector<std::string> no_captions;
        return shared(sort_items(kind_item_source(texts, index, no_captions), by, &texts.texts));
    }
    case LookupKind::None:
        break;
    }
    return shared({});
}

LookupOrders::~LookupOrders() {
    forget();
}

void LookupOrders::set_background_hook_for_testing(std::function<void(int)> hook) {
    const std::lock_guard lock(hook_mutex);
    background_hook = std::move(hook);
}

void LookupOrders::forget() {
    if (sorting_) sorting_->dropped = true;
    sorting_.reset();
}

PreparedOrders LookupOrders::prepare(const EntryTable& table, const QLocale& locale) {
    return {std::make_shared<Sorting>(table, locale)};
}

QFuture<void> LookupOrders::surnames_sorted() {
    follow_table_changes();
    // A click that needs the list before it is ready waits for it in Sorting::list().
    auto sorted = std::make_shared<QPromise<void>>();
    QFuture<void> future = sorted->future();
    sorted->start();
    QThreadPool::globalInstance()->start([sorting = sorting_, sorted] {
        try {
            run_background_hook(SurnameLabel);
            sorting->list(SurnameLabel, list_collator(sorting->locale));
        } catch (...) {
            // The look-up sorts them when it is opened.
        }
        sorted->finish();
    });
    return future;
}

void LookupOrders::adopt(PreparedOrders prepared) {
    if (!prepared.sorting || prepared.sorting->generation != table_.generation()) return;
    forget();
    sorting_ = std::move(prepared.sorting);
    background_started_ = false;
}

void LookupOrders::release_background() {
    background_held_ = false;
    if (background_wanted_) sort_the_rest_in_background();
}

void LookupOrders::follow_table_changes() {
    if (sorting_ && sorting_->generation == table_.generation()) return;
    forget();
    sorting_ = std::make_shared<Sorting>(table_, QLocale());
    background_started_ = false;
}

void LookupOrders::sort_the_rest_in_background() {
    if (background_started_) return;
    background_wanted_ = background_held_;
    if (background_held_) return;
    background_started_ = true;
    // The global pool is waited for when the application ends, after the window has gone.
    QThreadPool::globalInstance()->start([sorting = sorting_] {
        const QCollator collator = list_collator(sorting->locale);
        // First the lists of mostly different texts (mailing addresses, e-mail addresses,
        // telephone and fax numbers), whose sorting takes the most scratch memory, while few
        // other lists are held beside it; then the longest lists; the surnames last: the
        // start-up look-up has usually sorted them already.
        for (int index : {3, 9, 7, 8, 12, 13, 11, 0, 2, 4, 5, 6, 10, 14, SurnameLabel}) {
            if (sorting->dropped) return;
            try {
                run_background_hook(index);
                sorting->list(index, collator);
            } catch (...) {
                // The list is sorted when it is asked for instead.
            }
        }
    });
}

LookupList LookupOrders::values(int label_index) {
    if (lookup_category(label_index).kind != LookupKind::Direct) return shared({});
    follow_table_changes();
    LookupList values = sorting_->list(label_index, sorting_->collator);
    sort_the_rest_in_background();
    return values;
}

LookupList LookupOrders::kinds(int label_index, const std::vector<std::string>& captions) {
    if (lookup_category(label_index).kind != LookupKind::TwoStep) return shared({});
    follow_table_changes();
    const QCollator& collator = sorting_->collator;
    LookupList kinds =
        shared(with_captions(*sorting_->list(label_index, collator), captions, collator));
    sort_the_rest_in_background();
    return kinds;
}

LookupList LookupOrders::surnames(int label_index, std::int32_t kind, std::string_view kind_text) {
    follow_table_changes();
    const std::vector<LookupItem> matching = surname_items(table_, label_index, kind, kind_text);
    if (matching.empty()) return shared({});
    // The matching entries in the order of their surnames, each as often as it matched.
    std::vector<std::uint8_t> times(table_.text_rows());
    for (const LookupItem& item : matching) ++times[std::size_t(item.number)];
    const LookupList all = sorting_->list(AllSurnames, sorting_->collator);
    SortedItems chosen{all->texts, {}};
    chosen.rows.reserve(matching.size());
    for (const ListRow& row : all->rows) {
        chosen.rows.insert(chosen.rows.end(), times[std::size_t(row.number)], row);
    }
    sort_the_rest_in_background();
    return shared(std::move(chosen));
}
