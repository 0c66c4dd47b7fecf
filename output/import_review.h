#pragma once

#include "correction_text.h"

#include <QString>

#include <vector>

// One field in which a correction file differs from what the directory holds.
struct FieldDifference {
    QString field; // as messages name it: "City", "SEM", "Salutation"
    QString held;  // what the directory holds; a box as "ticked" or "unticked"
    QString file;  // what the file says
    // The file's text holds a character the data file cannot store (a double quote, a
    // character outside Windows-1252): Store will refuse it.
    bool unstorable = false;
    bool operator==(const FieldDifference&) const = default;
};

// Every field in which `file` differs from `held`, in the order of the window: the salutation
// and titles, the address, organisation, interests, equipment, collaboration, remarks. Texts
// keep their line ends as CR LF; a greyed box counts as unticked, as Store stores it.
std::vector<FieldDifference> import_differences(const CorrectionSnapshot& held,
                                                const CorrectionSnapshot& file);
