#include "lookup_orders.h"

namespace {

LookupList shared(SortedItems items) {
    return std::make_shared<const SortedItems>(std::move(items));
}

} // namespace

void LookupOrders::keep_up() {
    // Lists of an earlier state of the table would mislead.
    if (settled_ && generation_ != table_.generation()) forget();
    if (settled_) return;
    settled_ = true;
    generation_ = table_.generation();
    locale_ = QLocale();
    collator_ = list_collator(locale_);
}

void LookupOrders::sort_the_rest() {
    if (sorter_.joinable()) return;
    sorter_ = std::jthread([this](std::stop_token stop) {
        const QCollator collator = list_collator(locale_);
        // The surnames last: the start-up look-up has usually sorted them already.
        for (int index : {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, SurnameLabel}) {
            if (stop.stop_requested()) return;
            list(index, collator);
        }
    });
}

void LookupOrders::forget() {
    sorter_ = std::jthread(); // asks the thread to stop and waits for it
    lists_ = {};
    settled_ = false;
}

LookupList LookupOrders::list(int index, const QCollator& collator) {
    const auto i = std::size_t(index);
    {
        // A list the other thread is sorting is waited for rather than sorted twice.
        std::unique_lock lock(mutex_);
        sorted_.wait(lock, [&] { return !in_work_[i]; });
        if (lists_[i]) return lists_[i];
        in_work_[i] = true;
    }
    LookupList made = work_out(index, collator);
    const std::lock_guard lock(mutex_);
    lists_[i] = std::move(made);
    in_work_[i] = false;
    sorted_.notify_all();
    return lists_[i];
}

LookupList LookupOrders::work_out(int index, const QCollator& collator) {
    if (index == AllSurnames) return shared(sort_items(all_surnames(table_), collator));
    if (index == SurnameLabel) {
        const LookupList all = list(AllSurnames, collator);
        SortedItems named{all->texts, {}};
        for (const ListRow& row : all->rows) {
            if (!all->text(row).empty()) named.rows.push_back(row);
        }
        return shared(std::move(named));
    }
    switch (lookup_category(index).kind) {
    case LookupKind::Direct:
        return shared(sort_items(value_items(table_, index), collator));
    case LookupKind::TwoStep:
        return shared(sort_items(kind_items(table_, index, {}), collator));
    case LookupKind::None:
        break;
    }
    return shared({});
}

LookupList LookupOrders::values(int label_index) {
    if (lookup_category(label_index).kind != LookupKind::Direct) return shared({});
    keep_up();
    LookupList values = list(label_index, collator_);
    sort_the_rest();
    return values;
}

LookupList LookupOrders::kinds(int label_index, const std::vector<std::string>& captions) {
    if (lookup_category(label_index).kind != LookupKind::TwoStep) return shared({});
    keep_up();
    LookupList kinds = shared(with_captions(*list(label_index, collator_), captions, collator_));
    sort_the_rest();
    return kinds;
}

LookupList LookupOrders::surnames(int label_index, std::int32_t kind, std::string_view kind_text) {
    keep_up();
    const std::vector<LookupItem> matching = surname_items(table_, label_index, kind, kind_text);
    if (matching.empty()) return shared({});
    // The matching entries in the order of their surnames, each as often as it matched.
    std::vector<std::uint8_t> times(table_.text_rows());
    for (const LookupItem& item : matching) ++times[std::size_t(item.number)];
    const LookupList all = list(AllSurnames, collator_);
    SortedItems chosen{all->texts, {}};
    chosen.rows.reserve(matching.size());
    for (const ListRow& row : all->rows) {
        chosen.rows.insert(chosen.rows.end(), times[std::size_t(row.number)], row);
    }
    sort_the_rest();
    return shared(std::move(chosen));
}
