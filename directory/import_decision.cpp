#include "import_decision.h"

#include "person_lookup.h"

ImportTarget import_target(const EntryTable& table, const EntryValues& file) {
    return {person_of(file),
            find_person(table, file.Text1[SurnameSlot], file.Text1[FirstNamesSlot])};
}

ImportReview import_changes(const EntryTable& table, std::int16_t entry,
                            const CorrectionImport& imported) {
    return review_correction(entry ? entry_values(table, entry) : blank_entry(), imported);
}
