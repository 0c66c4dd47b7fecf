#pragma once

#include "sorted_items.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Finding ignores case and accents: "lind" finds "Lindén" and "LINDQVIST", "o" finds "Ø",
// "sigurdardottir" finds "Sigurðardóttir". Letters that no accent makes are spelled out: ß as
// "ss", æ as "ae", œ as "oe", þ as "th"; ð, đ as "d", ø as "o", ł as "l", ƒ as "f".
// Texts are folded once into UTF-8 and searched as bytes, so a keystroke costs one pass over
// the folded bytes, not a collation per item.
std::string fold_text(const QString& text);
// The same fold of a stored text (Windows-1252 bytes), appended to `out`.
void append_folded(std::string_view stored, std::string& out);
// The folds a typed text is sought as: its own, and each way of reading a typed "ae", "oe" or
// "ue" as ä, ö or ü, which fold to "a", "o" and "u" ("brueck" is also sought as "bruck", which
// Brückner holds). They all begin with the same byte.
std::vector<std::string> folded_spellings(const QString& typed);

// A folded text sought in stored texts (Windows-1252 bytes), each matched as if it were folded
// first. Nearly every byte folds to one ASCII byte, and a text of such bytes alone is searched
// where it stands; a text with another ("ß" to "ss") is folded first, into room kept here.
class FoldedSearch {
  public:
    // `folded_needle` must not be empty.
    explicit FoldedSearch(std::string folded_needle);
    // Any of `spellings` (from folded_spellings(), none empty).
    explicit FoldedSearch(std::vector<std::string> spellings);
    bool found_in(std::string_view stored);

    // A text that stands in a run of bytes, from `begin` to `end`.
    struct Place {
        std::size_t begin = 0;
        std::size_t end = 0;
    };
    // The first of `texts` that holds a needle, or texts.size(). They stand in `run` one
    // behind the other without overlapping, and the bytes between them are passed over: one
    // scan of many short texts costs far less than a scan of each.
    std::size_t first_found_in(std::string_view run, std::span<const Place> texts);

  private:
    // The first place from `i` on where a match may begin or the fold takes more than a byte.
    std::size_t next_stop(std::string_view stored, std::size_t i) const;

    std::vector<std::string> needles_;
    // The first byte of the needles and the second where they all share it, each in lower and
    // upper case.
    std::array<char, 2> first_{};
    std::array<char, 2> second_{};
    bool with_second_ = false;
    std::array<char, 256> folds_; // each byte's fold where it is one ASCII byte
    // The bytes a match can begin with, and those that do not fold to one ASCII byte.
    std::array<bool, 256> stops_{};
    std::string scratch_;
};

// Texts folded once, numbered from 0 in the order they were added.
class FoldedTexts {
  public:
    // Room for `texts` texts of `bytes` stored bytes in all, before they are added.
    void reserve(std::size_t texts, std::size_t bytes);
    void add(std::string_view stored);
    std::int32_t size() const { return std::int32_t(starts_.size()); }

    // Calls `hit` once for each text that holds `folded_needle`, in ascending order. An empty
    // needle is held by every text.
    void find(std::string_view folded_needle, const std::function<void(std::int32_t)>& hit) const;
    // The same for texts that hold any of `spellings`.
    void find(const std::vector<std::string>& spellings,
              const std::function<void(std::int32_t)>& hit) const;

  private:
    std::string block_;                // the folded texts, each followed by a NUL
    std::vector<std::uint32_t> starts_; // where each text begins in `block_`
};

// Narrows a list to the items that hold what the user typed, in the list's own order. The
// folded texts are kept for the list last filtered, so only the first keystroke folds.
class ListFilter {
  public:
    // `all` when `typed` is empty; otherwise a list that shares `all`'s texts and holds only
    // its matching items, each with its own number.
    LookupList filter(const LookupList& all, const QString& typed);

  private:
    std::shared_ptr<const TextPool> folded_for_;
    FoldedTexts folded_;
};
