#include "sorted_items.h"

#include "cp1252.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <stdexcept>
#include <thread>

QCollator list_collator(const QLocale& locale) {
    QCollator collator{locale.language() == QLocale::C ? QLocale(QLocale::English) : locale};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

int TextPool::add_block(const char* base, std::shared_ptr<const void> owner) {
    // Sixteen blocks: the table's two, and copies in blocks that double in size.
    if (blocks_.size() == std::size_t(1) << (32 - LengthBits)) throw std::length_error("TextPool");
    blocks_.push_back(base);
    owners_.push_back(std::move(owner));
    return int(blocks_.size() - 1);
}

int TextPool::keep(std::shared_ptr<const TextBytes> block) {
    return add_block(block->data(), block);
}

std::int32_t TextPool::add(std::string_view text) {
    if (text.size() > LengthMask) throw std::length_error("TextPool");
    if (!copies_ || copies_->capacity() - copies_->size() < text.size()) {
        const std::size_t last = copies_ ? copies_->capacity() : std::size_t(32) << 10;
        copies_ = std::make_shared<std::string>();
        copies_->reserve(std::max(2 * last, text.size()));
        copies_block_ = add_block(copies_->data(), copies_);
    }
    const std::size_t at = copies_->size();
    copies_->append(text);
    return add_view(copies_block_, std::string_view(*copies_).substr(at, text.size()));
}

namespace {

// Comparing is most of the cost of a long list of different texts; two threads share it, each
// with a collator of its own, as one collator is not for two threads at once.
void sort_by_collation(std::vector<std::int32_t>& order, const std::vector<QStringView>& texts,
                       const QCollator& collator) {
    const auto by = [&texts](const QCollator& c) {
        return [&texts, &c](std::int32_t a, std::int32_t b) {
            return c.compare(texts[std::size_t(a)], texts[std::size_t(b)]) < 0;
        };
    };
    constexpr std::size_t worth_a_thread = 4096;
    if (order.size() < worth_a_thread) {
        std::sort(order.begin(), order.end(), by(collator));
        return;
    }
    const auto middle = order.begin() + std::ptrdiff_t(order.size() / 2);
    std::thread second_half([&] {
        QCollator own(collator.locale());
        own.setCaseSensitivity(collator.caseSensitivity());
        own.setNumericMode(collator.numericMode());
        own.setIgnorePunctuation(collator.ignorePunctuation());
        std::sort(middle, order.end(), by(own));
    });
    std::sort(order.begin(), middle, by(collator));
    second_half.join();
    std::inplace_merge(order.begin(), middle, order.end(), by(collator));
}

} // namespace

SortedItems sort_items(std::vector<LookupItem> items, const QCollator& collator,
                       const TextColumn* source) {
    return sort_items({items.size(),
                       [&items](const ItemSink& add) {
                           for (const LookupItem& item : items) add(item.text, item.number);
                       }},
                      collator, source);
}

SortedItems sort_items(const ItemSource& items, const QCollator& collator,
                       const TextColumn* source) {
    // Values repeat (cities, countries, interests): each distinct text is pooled and collated
    // once.
    auto texts = std::make_shared<TextPool>();
    std::array<std::shared_ptr<const TextBytes>, 2> blocks;
    std::array<int, 2> numbers{};
    if (source) {
        blocks = source->blocks();
        for (std::size_t b = 0; b < blocks.size(); ++b)
            if (blocks[b]) numbers[b] = texts->keep(blocks[b]);
    }
    const auto pooled_text = [&](std::string_view text) {
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            const TextBytes* block = blocks[b].get();
            if (block && text.data() >= block->data() &&
                text.data() + text.size() <= block->data() + block->capacity())
                return texts->add_view(numbers[b], text);
        }
        return texts->add(text);
    };
    // Open addressing over the pool's numbers: a node per text would cost more than the lists.
    std::size_t capacity = 16;
    while (capacity < 2 * items.most) capacity *= 2;
    std::vector<std::int32_t> pooled(capacity, -1);
    const std::hash<std::string_view> hash;
    // Room for the most items there may be; pages never reached cost nothing.
    std::vector<std::int32_t> text_of;
    std::vector<std::int32_t> number_of;
    text_of.reserve(items.most);
    number_of.reserve(items.most);
    std::size_t bytes = 0;
    items.give([&](std::string_view text, std::int32_t number) {
        if (text_of.size() == items.most) throw std::length_error("sort_items");
        number_of.push_back(number);
        std::size_t slot = hash(text) & (capacity - 1);
        while (pooled[slot] >= 0 && (*texts)[pooled[slot]] != text) slot = (slot + 1) & (capacity - 1);
        if (pooled[slot] < 0) {
            pooled[slot] = pooled_text(text);
            bytes += text.size();
        }
        text_of.push_back(pooled[slot]);
    });
    const std::size_t count = text_of.size();
    pooled = {};
    // Windows-1252 gives one character per byte, so one decoding serves the whole pool.
    std::string joined;
    joined.reserve(bytes);
    for (std::int32_t t = 0; t < texts->size(); ++t) joined.append((*texts)[t]);
    const QString characters = from_cp1252(joined);
    joined = {};
    std::vector<QStringView> decoded;
    decoded.reserve(std::size_t(texts->size()));
    qsizetype at = 0;
    for (std::int32_t t = 0; t < texts->size(); ++t) {
        const auto length = qsizetype((*texts)[t].size());
        decoded.push_back(QStringView(characters).sliced(at, length));
        at += length;
    }
    std::vector<std::int32_t> by_text(decoded.size());
    std::iota(by_text.begin(), by_text.end(), 0);
    sort_by_collation(by_text, decoded, collator);

    // Texts that differ only in case share a rank, so they keep the order of adding.
    std::vector<std::int32_t> rank(decoded.size());
    std::int32_t ranks = 0;
    for (std::size_t r = 0; r < by_text.size(); ++r) {
        const auto t = std::size_t(by_text[r]);
        if (r == 0 || collator.compare(decoded[std::size_t(by_text[r - 1])], decoded[t]) != 0) {
            ++ranks;
        }
        rank[t] = ranks - 1;
    }
    // Counting the items of each rank places them without comparing them again, in the order
    // of adding within a rank.
    std::vector<std::size_t> next(std::size_t(ranks) + 1);
    for (std::int32_t t : text_of) ++next[std::size_t(rank[std::size_t(t)]) + 1];
    std::partial_sum(next.begin(), next.end(), next.begin());
    SortedItems sorted;
    sorted.rows.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto t = std::size_t(text_of[i]);
        sorted.rows[next[std::size_t(rank[t])]++] = {text_of[i], number_of[i]};
    }
    sorted.texts = std::move(texts);
    return sorted;
}

SortedItems with_captions(const SortedItems& sorted, const std::vector<std::string>& captions,
                          const QCollator& collator) {
    std::vector<LookupItem> caption_items;
    for (std::size_t k = 0; k < captions.size(); ++k) {
        caption_items.push_back({captions[k], std::int32_t(k)});
    }
    const SortedItems sorted_captions = sort_items(caption_items, collator);

    auto texts = std::make_shared<TextPool>(sorted.texts);
    SortedItems merged;
    merged.rows.reserve(sorted.rows.size() + captions.size());
    auto next = sorted.rows.begin();
    for (const ListRow& caption : sorted_captions.rows) {
        const std::string_view caption_text = sorted_captions.text(caption);
        const QString shown = from_cp1252(caption_text);
        // The captions were added first, so each goes before the free texts equal to it.
        const auto at = std::partition_point(next, sorted.rows.end(), [&](const ListRow& row) {
            return collator.compare(from_cp1252(sorted.text(row)), shown) < 0;
        });
        merged.rows.insert(merged.rows.end(), next, at);
        merged.rows.push_back({texts->add(caption_text), caption.number});
        next = at;
    }
    merged.rows.insert(merged.rows.end(), next, sorted.rows.end());
    merged.texts = std::move(texts);
    return merged;
}
