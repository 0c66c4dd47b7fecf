#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QWidget;

// An entry that names the person of a correction file, as the compiler tells them apart.
struct PersonCandidate {
    std::int16_t entry = 0;
    QString surname, first_names, city, country;
};

// Asks which of `candidates` the correction file `file_name` corrects; the first is chosen
// unless the compiler picks another. Gives its entry number, or 0 when the compiler cancels.
std::int16_t choose_person(QWidget* parent, const QString& file_name,
                           const std::vector<PersonCandidate>& candidates);

// An empty hook restores the dialog.
using PersonChoiceHook = std::function<std::int16_t(const std::vector<PersonCandidate>&)>;
void set_person_choice_hook_for_testing(PersonChoiceHook hook);
