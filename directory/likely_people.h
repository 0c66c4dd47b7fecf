#pragma once

#include "entry_table.h"
#include "entry_values.h"

#include <QStringList>

#include <cstdint>
#include <vector>

// An entry that may be the person of a correction file, and why.
struct LikelyPerson {
    std::int16_t entry = 0;
    int score = 0;       // orders the candidates: higher is likelier
    bool sure = false;   // same e-mail, or two other signs: safe to offer as the default
    QStringList reasons; // "same e-mail", "same telephone", ...
};

// Every entry that shares with the file's `values` an e-mail, a telephone or fax number, a
// surname (equal when case, accents, blanks and hyphens are ignored, one part of a double
// surname, or a long one a letter or two apart), or first names together with the city; best
// first, at most `most` of them. Blank first names or places are never a sign.
std::vector<LikelyPerson> likely_people(const EntryTable& table, const EntryValues& values,
                                        std::size_t most = 8);

// For an entry of the file's person by name: the signs the two sides both hold (e-mail,
// telephone, city) when every one of them differs, as "the e-mail", "the telephone", "the city";
// empty when one agrees or neither side holds any.
QStringList differing_signs(const EntryTable& table, int entry, const EntryValues& values);
