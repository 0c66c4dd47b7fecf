#include "list_filter.h"

#include "cp1252.h"

#include <algorithm>
#include <array>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <functional>
#include <utility>

namespace {

// Letters that no decomposition splits, written as they are typed without the accent.
QString spelled_plain(QString text) {
    text.replace(u'ß', QStringLiteral("ss"));
    text.replace(u'æ', QStringLiteral("ae"));
    text.replace(u'œ', QStringLiteral("oe"));
    text.replace(u'ø', u'o');
    text.replace(u'đ', u'd');
    text.replace(u'ð', u'd');
    text.replace(u'þ', QStringLiteral("th"));
    text.replace(u'ł', u'l');
    text.replace(u'ƒ', u'f');
    return text;
}

// The fold of each Windows-1252 byte, worked out once with the same fold as a typed text, so
// that a stored text and the same text typed fold alike.
const std::array<std::string, 256>& byte_folds() {
    static const std::array<std::string, 256> folds = [] {
        std::array<std::string, 256> table;
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            table[std::size_t(b)] = fold_text(from_cp1252(std::string_view(&byte, 1)));
        }
        return table;
    }();
    return folds;
}

// What `single_folds()` gives a byte that does not fold to one ASCII byte. UTF-8 never holds
// it, so it matches no byte of a folded needle.
constexpr char NotOneByte = '\xff';

// The fold of each byte when it is one ASCII byte, taken from `byte_folds()`.
const std::array<char, 256>& single_folds() {
    static const std::array<char, 256> singles = [] {
        std::array<char, 256> table{};
        for (std::size_t b = 0; b < 256; ++b) {
            const std::string& fold = byte_folds()[b];
            const bool one = fold.size() == 1 && static_cast<unsigned char>(fold[0]) < 0x80;
            table[b] = one ? fold[0] : NotOneByte;
        }
        return table;
    }();
    return singles;
}

} // namespace

std::string fold_text(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString bare;
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const QChar::Category category = c.category();
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
            category == QChar::Mark_Enclosing) {
            continue;
        }
        bare.append(c);
    }
    return spelled_plain(bare.toCaseFolded()).toUtf8().toStdString();
}

void append_folded(std::string_view stored, std::string& out) {
    const auto& folds = byte_folds();
    // Plain ASCII, most of every text, folds byte for byte to lower case: runs of it are
    // copied in one go, the other bytes through the table.
    std::size_t i = 0;
    while (i < stored.size()) {
        std::size_t run = i;
        while (run < stored.size() && static_cast<unsigned char>(stored[run]) < 0x80) ++run;
        const std::size_t at = out.size();
        out.resize(at + (run - i));
        std::transform(stored.begin() + std::ptrdiff_t(i), stored.begin() + std::ptrdiff_t(run),
                       out.begin() + std::ptrdiff_t(at),
                       [](char c) { return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c; });
        if (run == stored.size()) break;
        out.append(folds[static_cast<unsigned char>(stored[run])]);
        i = run + 1;
    }
}

std::vector<std::string> folded_spellings(const QString& typed) {
    const std::string folded = fold_text(typed);
    std::vector<std::string> spellings{folded};
    // Where "ae", "oe" or "ue" may stand for a letter with an umlaut; the first few only, as
    // each doubles the spellings.
    constexpr std::size_t MostPairs = 4;
    std::vector<std::size_t> pairs;
    for (std::size_t i = 0; i + 1 < folded.size() && pairs.size() < MostPairs; ++i) {
        if (folded[i + 1] == 'e' && (folded[i] == 'a' || folded[i] == 'o' || folded[i] == 'u')) {
            pairs.push_back(i + 1);
            ++i;
        }
    }
    for (std::size_t chosen = 1; chosen < (std::size_t(1) << pairs.size()); ++chosen) {
        std::string spelling;
        std::size_t from = 0;
        for (std::size_t p = 0; p < pairs.size(); ++p) {
            if (!(chosen & (std::size_t(1) << p))) continue;
            spelling.append(folded, from, pairs[p] - from);
            from = pairs[p] + 1; // the 'e' left out
        }
        spelling.append(folded, from);
        spellings.push_back(std::move(spelling));
    }
    return spellings;
}

FoldedSearch::FoldedSearch(std::string folded_needle)
    : FoldedSearch(std::vector<std::string>{std::move(folded_needle)}) {}

namespace {

char upper_case(char c) {
    return c >= 'a' && c <= 'z' ? char(c - ('a' - 'A')) : c;
}

} // namespace

FoldedSearch::FoldedSearch(std::vector<std::string> spellings)
    : needles_(std::move(spellings)), folds_(single_folds()) {
    first_ = {needles_.front()[0], upper_case(needles_.front()[0])};
    const char second = needles_.front().size() > 1 ? needles_.front()[1] : '\0';
    with_second_ = std::all_of(needles_.begin(), needles_.end(), [second](const std::string& n) {
        return n.size() > 1 && n[1] == second;
    });
    second_ = {second, upper_case(second)};
    for (std::size_t b = 0; b < 256; ++b) {
        stops_[b] = folds_[b] == NotOneByte;
        for (const std::string& needle : needles_) stops_[b] = stops_[b] || folds_[b] == needle[0];
    }
}

std::size_t FoldedSearch::next_stop(std::string_view stored, std::size_t i) const {
#ifdef __SSE2__
    // Sixteen places at a time: a match can begin only at the first letter in either case,
    // followed by the second where all needles share it; a byte above ASCII may fold to either
    // of them or to more than a byte, and the table below settles whether it stops the search.
    const auto each = [](char c) { return _mm_set1_epi8(c); };
    const auto load = [&stored](std::size_t at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(stored.data() + at));
    };
    const auto either = [](__m128i bytes, __m128i a, __m128i b) {
        return _mm_or_si128(_mm_cmpeq_epi8(bytes, a), _mm_cmpeq_epi8(bytes, b));
    };
    const __m128i first = each(first_[0]), upper_first = each(first_[1]);
    const __m128i second = each(second_[0]), upper_second = each(second_[1]);
    const std::size_t ahead = with_second_ ? 1 : 0;
    while (i + 16 + ahead <= stored.size()) {
        const __m128i bytes = load(i);
        __m128i maybe = either(bytes, first, upper_first);
        if (with_second_) {
            const __m128i next = load(i + 1);
            maybe = _mm_and_si128(maybe, _mm_or_si128(either(next, second, upper_second), next));
        }
        const int mask = _mm_movemask_epi8(_mm_or_si128(maybe, bytes));
        if (mask == 0) {
            i += 16;
            continue;
        }
        i += std::size_t(__builtin_ctz(unsigned(mask)));
        if (stops_[static_cast<unsigned char>(stored[i])]) return i;
        ++i;
    }
#endif
    while (i < stored.size() && !stops_[static_cast<unsigned char>(stored[i])]) ++i;
    return i;
}

bool FoldedSearch::found_in(std::string_view stored) {
    const Place whole{0, stored.size()};
    return first_found_in(stored, {&whole, 1}) == 0;
}

std::size_t FoldedSearch::first_found_in(std::string_view run, std::span<const Place> texts) {
    const auto fold = [this](char c) { return folds_[static_cast<unsigned char>(c)]; };
    std::size_t t = 0; // the text the scan is in, or the next one
    // Up to the first byte that folds to other than one ASCII byte, the fold of a text is the
    // fold of each byte in turn, so a match over the stored bytes is a match in the fold.
    for (std::size_t i = next_stop(run, texts.empty() ? run.size() : texts[0].begin);
         i < run.size(); i = next_stop(run, i + 1)) {
        while (t < texts.size() && i >= texts[t].end) ++t;
        if (t == texts.size()) break;
        if (i < texts[t].begin) {
            i = texts[t].begin - 1; // between two texts
            continue;
        }
        const std::string_view text = run.substr(texts[t].begin, texts[t].end - texts[t].begin);
        const std::size_t at = i - texts[t].begin;
        if (fold(run[i]) == NotOneByte) {
            scratch_.clear();
            append_folded(text, scratch_);
            if (std::any_of(needles_.begin(), needles_.end(), [this](const std::string& n) {
                    return scratch_.find(n) != std::string::npos;
                })) {
                return t;
            }
            i = texts[t].end - 1; // on with the next text
            continue;
        }
        for (const std::string& needle : needles_) {
            if (needle[0] == fold(text[at]) && needle.size() <= text.size() - at &&
                std::equal(needle.begin() + 1, needle.end(), text.begin() + std::ptrdiff_t(at + 1),
                           [&fold](char n, char s) { return fold(s) == n; })) {
                return t;
            }
        }
    }
    return texts.size();
}

void FoldedTexts::reserve(std::size_t texts, std::size_t bytes) {
    starts_.reserve(texts);
    // A few letters fold to two bytes; most fold to one.
    block_.reserve(bytes + bytes / 8 + texts);
}

void FoldedTexts::add(std::string_view stored) {
    starts_.push_back(std::uint32_t(block_.size()));
    append_folded(stored, block_);
    block_.push_back('\0');
}

void FoldedTexts::find(const std::vector<std::string>& spellings,
                       const std::function<void(std::int32_t)>& hit) const {
    if (spellings.size() == 1) {
        find(spellings.front(), hit);
        return;
    }
    std::vector<char> holds(std::size_t(size()), 0);
    for (const std::string& spelling : spellings) {
        find(spelling, [&holds](std::int32_t t) { holds[std::size_t(t)] = 1; });
    }
    for (std::int32_t t = 0; t < size(); ++t) {
        if (holds[std::size_t(t)]) hit(t);
    }
}

void FoldedTexts::find(std::string_view needle,
                       const std::function<void(std::int32_t)>& hit) const {
    if (needle.empty()) {
        for (std::int32_t t = 0; t < size(); ++t) hit(t);
        return;
    }
    const std::string_view block(block_);
    const auto end_of = [&](std::size_t t) {
        return t + 1 < starts_.size() ? std::size_t(starts_[t + 1]) - 1 : block.size() - 1;
    };
    // Skipping by the needle's last bytes pays once the needle is a few letters long.
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    std::size_t from = 0;
    while (from < block.size()) {
        std::size_t at;
        if (needle.size() < 3) {
            at = block.find(needle, from);
        } else {
            const auto found = std::search(block.begin() + std::ptrdiff_t(from), block.end(), searcher);
            at = found == block.end() ? std::string_view::npos : std::size_t(found - block.begin());
        }
        if (at == std::string_view::npos) return;
        const auto t = std::size_t(
            std::upper_bound(starts_.begin(), starts_.end(), std::uint32_t(at)) - starts_.begin() - 1);
        if (at + needle.size() <= end_of(t)) hit(std::int32_t(t));
        // One hit is enough for a text: go on with the next one.
        from = end_of(t) + 1;
    }
}

LookupList ListFilter::filter(const LookupList& all, const QString& typed) {
    if (!all || typed.isEmpty()) return all;
    if (folded_for_ != all->texts) {
        folded_ = FoldedTexts{};
        for (std::int32_t t = 0; t < all->texts->size(); ++t) folded_.add((*all->texts)[t]);
        folded_for_ = all->texts;
    }
    std::vector<char> holds(std::size_t(folded_.size()), 0);
    folded_.find(folded_spellings(typed), [&holds](std::int32_t t) { holds[std::size_t(t)] = 1; });

    auto narrowed = std::make_shared<SortedItems>();
    narrowed->texts = all->texts;
    for (const ListRow& row : all->rows) {
        if (holds[std::size_t(row.text)]) narrowed->rows.push_back(row);
    }
    return narrowed;
}
