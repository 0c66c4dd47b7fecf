#include "likely_people.h"

#include "cp1252.h"
#include "entry_fields.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace {

// Windows-1252 bytes as names are compared: lower case without accents; 0 for the blanks and
// dashes that join or part names.
constexpr std::array<unsigned char, 256> make_name_fold() {
    std::array<unsigned char, 256> fold{};
    for (int b = 0; b < 256; ++b) fold[std::size_t(b)] = static_cast<unsigned char>(b);
    for (int b = 'A'; b <= 'Z'; ++b) fold[std::size_t(b)] = static_cast<unsigned char>(b + 32);
    const auto range = [&fold](int from, int to, char base) {
        for (int b = from; b <= to; ++b) fold[std::size_t(b)] = static_cast<unsigned char>(base);
    };
    range(0xC0, 0xC5, 'a'), range(0xE0, 0xE5, 'a');
    range(0xC7, 0xC7, 'c'), range(0xE7, 0xE7, 'c');
    range(0xC8, 0xCB, 'e'), range(0xE8, 0xEB, 'e');
    range(0xCC, 0xCF, 'i'), range(0xEC, 0xEF, 'i');
    range(0xD0, 0xD0, 'd'), range(0xF0, 0xF0, 'd');
    range(0xD1, 0xD1, 'n'), range(0xF1, 0xF1, 'n');
    range(0xD2, 0xD6, 'o'), range(0xF2, 0xF6, 'o');
    range(0xD8, 0xD8, 'o'), range(0xF8, 0xF8, 'o');
    range(0xD9, 0xDC, 'u'), range(0xF9, 0xFC, 'u');
    range(0xDD, 0xDD, 'y'), range(0xFD, 0xFD, 'y'), range(0xFF, 0xFF, 'y'), range(0x9F, 0x9F, 'y');
    range(0x8A, 0x8A, 's'), range(0x9A, 0x9A, 's');
    range(0x8E, 0x8E, 'z'), range(0x9E, 0x9E, 'z');
    fold[0xC6] = 0xE6; // Æ
    fold[0x8C] = 0x9C; // Œ
    fold[0xDE] = 0xFE; // Þ
    for (const int b : {int(' '), int('\t'), int('\r'), int('\n'), int('-'), 0xA0, 0x96, 0x97})
        fold[std::size_t(b)] = 0;
    return fold;
}
constexpr std::array<unsigned char, 256> NameFold = make_name_fold();

// A name folded, with where its parts begin and end.
struct Folded {
    std::string whole;
    std::vector<std::pair<std::size_t, std::size_t>> parts;

    void assign(std::string_view bytes) {
        whole.clear();
        parts.clear();
        std::size_t start = 0;
        for (const char c : bytes) {
            const unsigned char f = NameFold[static_cast<unsigned char>(c)];
            if (f) {
                whole.push_back(static_cast<char>(f));
            } else {
                if (whole.size() > start) parts.emplace_back(start, whole.size());
                start = whole.size();
            }
        }
        if (whole.size() > start) parts.emplace_back(start, whole.size());
    }
    std::string_view part(std::size_t i) const {
        return std::string_view(whole).substr(parts[i].first, parts[i].second - parts[i].first);
    }
};

// A part that tells a family apart, not a particle such as "van" or "de".
bool telling(std::string_view part) {
    static constexpr std::array<std::string_view, 12> particles{
        "van", "von", "der", "den", "des", "del", "dos", "das", "ten", "ter", "zur", "the"};
    return part.size() >= 3 &&
           std::find(particles.begin(), particles.end(), part) == particles.end();
}

// One side's surname is a telling part of the other's double surname, or the two share one.
bool share_a_part(const Folded& a, const Folded& b) {
    if (a.parts.size() < 2 && b.parts.size() < 2) return false;
    // Calls `visit` on the whole name and, for a double one, on each part, until it says yes.
    const auto any_piece = [](const Folded& name, const auto& visit) {
        if (visit(std::string_view(name.whole))) return true;
        if (name.parts.size() > 1)
            for (std::size_t i = 0; i < name.parts.size(); ++i)
                if (visit(name.part(i))) return true;
        return false;
    };
    return any_piece(a, [&](std::string_view x) {
        return telling(x) && any_piece(b, [x](std::string_view y) { return x == y; });
    });
}

// Whether two long names are at most one letter apart (two for very long ones): a letter
// added, left out or changed.
bool close(std::string_view a, std::string_view b) {
    const std::size_t shorter = std::min(a.size(), b.size());
    if (shorter < 6 || std::max(a.size(), b.size()) > 63) return false;
    const std::size_t most = shorter >= 9 ? 2 : 1;
    if (std::max(a.size(), b.size()) - shorter > most) return false;
    std::array<unsigned char, 64> one, other;
    unsigned char* previous = one.data();
    unsigned char* row = other.data();
    for (std::size_t j = 0; j <= b.size(); ++j) previous[j] = static_cast<unsigned char>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = static_cast<unsigned char>(i);
        unsigned best = row[0];
        for (std::size_t j = 1; j <= b.size(); ++j) {
            row[j] = static_cast<unsigned char>(
                std::min({previous[j] + 1, row[j - 1] + 1,
                          previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)}));
            best = std::min<unsigned>(best, row[j]);
        }
        if (best > most) return false;
        std::swap(previous, row);
    }
    return previous[b.size()] <= most;
}

std::string_view trimmed(std::string_view bytes) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\xa0'; };
    while (!bytes.empty() && blank(bytes.front())) bytes.remove_prefix(1);
    while (!bytes.empty() && blank(bytes.back())) bytes.remove_suffix(1);
    return bytes;
}

bool same_email(std::string_view a, std::string_view b) {
    a = trimmed(a);
    b = trimmed(b);
    return !a.empty() && a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

// The digits of a number, "00" before a country code read as "+"; too few of them to tell
// anyone apart give none.
void digits_into(std::string_view bytes, std::string& only) {
    only.clear();
    for (const char c : bytes)
        if (c >= '0' && c <= '9') only.push_back(c);
    if (only.starts_with("00")) only.erase(0, 2);
    if (only.size() < 5) only.clear();
}

std::string digits(std::string_view bytes) {
    std::string only;
    digits_into(bytes, only);
    return only;
}

// Whether `bytes` folds to `folded`, which is not empty, without building the folded copy.
bool folds_to(std::string_view bytes, const std::string& folded) {
    if (folded.empty()) return false;
    std::size_t at = 0;
    for (const char c : bytes) {
        const unsigned char f = NameFold[static_cast<unsigned char>(c)];
        if (!f) continue;
        if (at == folded.size() || static_cast<char>(f) != folded[at]) return false;
        ++at;
    }
    return at == folded.size();
}

// Whether the name `bytes` may be a part or a near miss of `file`: folding it is worth it.
bool worth_folding(std::string_view bytes, const Folded& file) {
    if (file.parts.size() > 1 || bytes.size() + 2 >= file.whole.size()) return true;
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return NameFold[static_cast<unsigned char>(c)] == 0; });
}

std::string bytes_of(const QString& text) {
    return to_cp1252(text).value_or(std::string());
}

// The file's side, folded once.
struct FileSigns {
    std::string email, telephone, fax;
    Folded surname;
    std::string first_names, city, country;

    explicit FileSigns(const EntryValues& values)
        : email(bytes_of(values.Text1[EmailSlot])),
          telephone(digits(bytes_of(values.Text1[TelephoneSlot]))),
          fax(digits(bytes_of(values.Text1[FaxSlot]))) {
        surname.assign(bytes_of(values.Text1[SurnameSlot]));
        Folded f;
        f.assign(bytes_of(values.Text1[FirstNamesSlot]));
        first_names = f.whole;
        f.assign(bytes_of(values.Text1[CitySlot]));
        city = f.whole;
        f.assign(bytes_of(values.Text1[CountrySlot]));
        country = f.whole;
    }
};

} // namespace

std::vector<LikelyPerson> likely_people(const EntryTable& table, const EntryValues& values,
                                        std::size_t most) {
    // The signs, strongest first; a candidate's reasons are spelt out only for those kept.
    enum Sign {
        Email,
        Telephone,
        Fax,
        Surname,
        SurnamePart,
        SimilarSurname,
        FirstNames,
        City,
        Country,
        SignCount
    };
    static constexpr std::array<int, SignCount> weight{8, 6, 6, 5, 3, 3, 3, 2, 1};
    static constexpr std::array<const char*, SignCount> reason{"same e-mail",
                                                               "same telephone",
                                                               "same fax",
                                                               "same surname",
                                                               "one part of a double surname",
                                                               "a similar surname",
                                                               "same first names",
                                                               "same city",
                                                               "same country"};
    struct Scored {
        std::int16_t entry;
        int score;
        unsigned signs;
    };

    const FileSigns file(values);
    std::vector<Scored> found;
    const int last = std::min<int>(table.EntryCount, int(table.text_rows()) - 1);
    const bool numbers = !file.telephone.empty() || !file.fax.empty();
    Folded surname;
    std::string t, f; // kept from entry to entry, so that no number allocates
    for (int e = 1; e <= last; ++e) {
        unsigned signs = 0;
        if (same_email(table.text(e, EmailSlot), file.email)) signs |= 1u << Email;
        if (numbers) {
            digits_into(table.text(e, TelephoneSlot), t);
            digits_into(table.text(e, FaxSlot), f);
            const auto held = [&t, &f](const std::string& n) {
                return !n.empty() && (n == t || n == f);
            };
            if (held(file.telephone))
                signs |= 1u << Telephone;
            else if (held(file.fax))
                signs |= 1u << Fax;
        }
        const std::string_view name = table.text(e, SurnameSlot);
        if (folds_to(name, file.surname.whole)) {
            signs |= 1u << Surname;
        } else if (!file.surname.whole.empty() && worth_folding(name, file.surname)) {
            surname.assign(name);
            if (!surname.whole.empty() && share_a_part(surname, file.surname))
                signs |= 1u << SurnamePart;
            else if (!surname.whole.empty() && close(surname.whole, file.surname.whole))
                signs |= 1u << SimilarSurname;
        }
        if (folds_to(table.text(e, FirstNamesSlot), file.first_names)) signs |= 1u << FirstNames;
        if (folds_to(table.text(e, CitySlot), file.city)) signs |= 1u << City;
        constexpr unsigned Strong = (1u << FirstNames) - 1; // e-mail, a number or the surname
        constexpr unsigned FirstNamesAndCity = (1u << FirstNames) | (1u << City);
        if (!(signs & Strong) && (signs & FirstNamesAndCity) != FirstNamesAndCity) continue;
        // Where both hold a city, the country of a different one is no sign.
        if (!(signs & (1u << City)) &&
            (file.city.empty() || trimmed(table.text(e, CitySlot)).empty()) &&
            folds_to(table.text(e, CountrySlot), file.country))
            signs |= 1u << Country;
        int score = 0;
        for (int s = 0; s < SignCount; ++s)
            if (signs & (1u << s)) score += weight[std::size_t(s)];
        found.push_back({std::int16_t(e), score, signs});
    }

    const auto better = [](const Scored& a, const Scored& b) {
        return a.score != b.score ? a.score > b.score : a.entry < b.entry;
    };
    const std::size_t kept = std::min(most, found.size());
    std::partial_sort(found.begin(), found.begin() + std::ptrdiff_t(kept), found.end(), better);
    std::vector<LikelyPerson> likely;
    for (std::size_t i = 0; i < kept; ++i) {
        LikelyPerson person{found[i].entry, found[i].score, false, {}};
        int others = 0;
        for (int s = 0; s < SignCount; ++s) {
            if (!(found[i].signs & (1u << s))) continue;
            person.reasons << QLatin1String(reason[std::size_t(s)]);
            if (s != Email) ++others;
        }
        person.sure = (found[i].signs & (1u << Email)) || others >= 2;
        likely.push_back(std::move(person));
    }
    return likely;
}

QStringList differing_signs(const EntryTable& table, int entry, const EntryValues& values) {
    const FileSigns file(values);
    QStringList differing;
    bool agrees = false;
    const auto compare = [&](bool both, bool same, const char* what) {
        if (!both) return;
        if (same)
            agrees = true;
        else
            differing << QLatin1String(what);
    };
    const std::string_view email = trimmed(table.text(entry, EmailSlot));
    compare(!email.empty() && !trimmed(file.email).empty(), same_email(email, file.email),
            "the e-mail");
    const std::string t = digits(table.text(entry, TelephoneSlot));
    const std::string f = digits(table.text(entry, FaxSlot));
    const auto held = [&t, &f](const std::string& n) { return !n.empty() && (n == t || n == f); };
    compare((!t.empty() || !f.empty()) && (!file.telephone.empty() || !file.fax.empty()),
            held(file.telephone) || held(file.fax), "the telephone");
    Folded city;
    city.assign(table.text(entry, CitySlot));
    compare(!city.whole.empty() && !file.city.empty(), city.whole == file.city, "the city");
    return agrees ? QStringList{} : differing;
}
