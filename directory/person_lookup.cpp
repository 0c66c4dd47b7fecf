#include "person_lookup.h"

#include "cp1252.h"
#include "entry_fields.h"

#include <array>
#include <string>
#include <string_view>

namespace {

// Windows-1252 letters folded to lower case: ASCII, the accented block, and the four pairs
// that live among the punctuation (Š, Œ, Ž, Ÿ).
constexpr std::array<unsigned char, 256> make_fold() {
    std::array<unsigned char, 256> fold{};
    for (int b = 0; b < 256; ++b) fold[std::size_t(b)] = static_cast<unsigned char>(b);
    for (int b = 'A'; b <= 'Z'; ++b) fold[std::size_t(b)] = static_cast<unsigned char>(b + 32);
    for (int b = 0xC0; b <= 0xDE; ++b)
        if (b != 0xD7) fold[std::size_t(b)] = static_cast<unsigned char>(b + 32);
    fold[0x8A] = 0x9A;
    fold[0x8C] = 0x9C;
    fold[0x8E] = 0x9E;
    fold[0x9F] = 0xFF;
    return fold;
}
constexpr std::array<unsigned char, 256> Fold = make_fold();

bool is_blank(unsigned char b) {
    return b == ' ' || b == 0xA0 || b == '\t' || b == '\r' || b == '\n';
}

// The bytes a loose comparison looks at: letters folded, blanks left out.
std::string loose(std::string_view bytes) {
    std::string folded;
    folded.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (!is_blank(b)) folded.push_back(static_cast<char>(Fold[b]));
    }
    return folded;
}

// Whether `bytes` folds to `want` without building the folded copy.
bool loosely_equal(std::string_view bytes, std::string_view want) {
    std::size_t at = 0;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (is_blank(b)) continue;
        if (at == want.size() || static_cast<char>(Fold[b]) != want[at]) return false;
        ++at;
    }
    return at == want.size();
}

} // namespace

std::vector<std::int16_t> find_person(const EntryTable& table, const QString& surname,
                                      const QString& first_names) {
    std::vector<std::int16_t> found;
    const auto surname_bytes = to_cp1252(surname);
    const auto first_bytes = to_cp1252(first_names);
    if (!surname_bytes || !first_bytes) return found;
    const int last = std::min<int>(table.EntryCount, int(table.text_rows()) - 1);

    for (int e = 1; e <= last; ++e)
        if (table.text(e, SurnameSlot) == *surname_bytes &&
            table.text(e, FirstNamesSlot) == *first_bytes)
            found.push_back(std::int16_t(e));
    if (!found.empty()) return found;

    const std::string want_surname = loose(*surname_bytes);
    const std::string want_first = loose(*first_bytes);
    for (int e = 1; e <= last; ++e)
        if (loosely_equal(table.text(e, SurnameSlot), want_surname) &&
            loosely_equal(table.text(e, FirstNamesSlot), want_first))
            found.push_back(std::int16_t(e));
    return found;
}
