#pragma once

#include "correction_import.h"
#include "correction_text.h"

#include <QString>
#include <QStringList>

#include <vector>

// One field in which a correction file differs from what the directory holds.
struct FieldDifference {
    QString field; // as messages name it: "City", "SEM", "Salutation"
    QString held;  // what the directory holds; a box as "ticked" or "unticked"
    QString file;  // what the file says; for a field read two ways, its first reading
    // The file's text holds a character the data file cannot store (a double quote, a
    // character outside Windows-1252): Store will refuse it.
    bool unstorable = false;
    // A field the file can be read two ways in, neither of them what the directory holds:
    // every reading, `file` first. The entry keeps `held` unless the compiler edits it.
    QStringList readings = {};

    bool two_ways() const { return !readings.isEmpty(); }
    bool operator==(const FieldDifference&) const = default;
};

// Every field in which `file` differs from `held`, in the order of the window: the salutation
// and titles, the address, organisation, interests, equipment, collaboration, remarks. Texts
// keep their line ends as CR LF; a greyed box counts as unticked, as Store stores it.
std::vector<FieldDifference> import_differences(const CorrectionSnapshot& held,
                                                const CorrectionSnapshot& file);

// What an import does to an entry that holds `held`.
struct ImportReview {
    // What to show and store: the file's values, but where the file can be read two ways,
    // the value held (whether a reading matches it or not).
    CorrectionSnapshot window;
    std::vector<FieldDifference> differences; // as import_differences, with fields read two ways
    QStringList notes; // about the file as a whole: it was quoted; some fields read two ways
};

// Settles each field of a file that was read (`file.window` is set) against `held`: a field
// with one reading takes it; of several readings, the one that is what the directory holds
// wins and nothing changes; otherwise the field is listed as read two ways and keeps `held`.
ImportReview review_correction(const CorrectionSnapshot& held, const CorrectionImport& file);

// A text as the review shows it: a "¶" at each line break, so a break that a mail program
// put into a remark shows as one, not as the table's own wrapping of a long line.
QString with_break_marks(const QString& text);
