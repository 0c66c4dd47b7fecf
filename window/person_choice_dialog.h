#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

struct EntryTable;
class QWidget;

// An entry that names the person of a correction file, as the compiler tells them apart.
struct PersonCandidate {
    std::int16_t entry = 0;
    QString surname, first_names, city, country;
    QString reasons; // why it may be the person: "same e-mail, same city"
};

// Entry `e` as a candidate, without reasons.
PersonCandidate candidate_of(const EntryTable& table, std::int16_t e);

// Asks which of `candidates` the correction file `file_name` corrects; the first is chosen
// unless the compiler picks another. Gives its entry number, or 0 when the compiler cancels.
std::int16_t choose_person(QWidget* parent, const QString& file_name,
                           const std::vector<PersonCandidate>& candidates);

// What the compiler makes of a correction file whose person no entry names.
struct LikelyChoice {
    enum class Kind { Entry, AddNew, Skip };
    Kind kind = Kind::Skip;
    std::int16_t entry = 0; // for Entry
    bool operator==(const LikelyChoice&) const = default;
};

// Offers the people `candidates` (best first, each with its reasons), "Find another entry…"
// (every entry of `table`, found by typing), "Add as a new entry" and Cancel; Return gives
// `by_default`, Escape skips the file.
LikelyChoice choose_likely_person(QWidget* parent, const QString& file_name, const QString& person,
                                  const std::vector<PersonCandidate>& candidates,
                                  LikelyChoice by_default, const EntryTable& table);

// Empty hooks restore the dialogs.
using LikelyChoiceHook = std::function<LikelyChoice(const std::vector<PersonCandidate>& candidates,
                                                    LikelyChoice by_default)>;
void set_likely_choice_hook_for_testing(LikelyChoiceHook hook);

using PersonChoiceHook = std::function<std::int16_t(const std::vector<PersonCandidate>&)>;
void set_person_choice_hook_for_testing(PersonChoiceHook hook);
