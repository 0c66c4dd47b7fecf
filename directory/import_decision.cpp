#include "import_decision.h"

#include "cp1252.h"
#include "person_lookup.h"

#include <algorithm>

namespace {

// "a", "a and b", "a, b and c".
QString join_as_words(const QStringList& items) {
    if (items.size() < 2) return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           items.back();
}

} // namespace

ImportTarget import_target(const EntryTable& table, const EntryValues& file) {
    ImportTarget target{person_of(file), {}, {}, {}};
    target.found = find_person(table, file.Text1[SurnameSlot], file.Text1[FirstNamesSlot]);
    const bool nameless = file.Text1[FirstNamesSlot].trimmed().isEmpty();
    if (target.found.empty() || nameless) {
        target.likely = likely_people(table, file);
        const auto& found = target.found;
        const bool likelier = !target.likely.empty() &&
                              std::find(found.begin(), found.end(),
                                        target.likely.front().entry) == found.end();
        if (likelier) target.found.clear();
        if (!target.found.empty()) target.likely.clear();
    }
    if (target.found.size() == 1) {
        const QStringList differing = differing_signs(table, target.found.front(), file);
        if (!differing.isEmpty())
            target.notes << QStringLiteral("This may be another person of the same name: %1 %2.")
                                .arg(join_as_words(differing),
                                     differing.size() == 1 ? QStringLiteral("differs")
                                                           : QStringLiteral("differ"));
    }
    return target;
}

ImportReview import_changes(const EntryTable& table, std::int16_t entry,
                            const CorrectionImport& imported) {
    return review_correction(entry ? entry_values(table, entry) : blank_entry(), imported);
}

QStringList store_warnings(const EntryTable& table, std::int16_t entry, const ImportTarget& target,
                           const ImportReview& review) {
    QStringList warnings = target.notes;
    if (entry && empties_entry(table, entry, review.window)) {
        const QString surname = from_cp1252(table.text(entry, SurnameSlot)).trimmed();
        warnings << (surname.isEmpty() ? QStringLiteral("This empties the entry.")
                                       : QStringLiteral("This empties the entry of %1.").arg(surname));
    }
    return warnings;
}
