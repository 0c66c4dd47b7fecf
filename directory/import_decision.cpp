#include "import_decision.h"

#include "person_lookup.h"

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
    if (!file.Text1[FirstNamesSlot].trimmed().isEmpty())
        target.found = find_person(table, file.Text1[SurnameSlot], file.Text1[FirstNamesSlot]);
    if (target.found.empty()) {
        target.likely = likely_people(table, file);
    } else if (target.found.size() == 1) {
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
