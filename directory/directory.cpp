#include "directory.h"

#include "data_file.h"

Result Directory::load(const std::filesystem::path& folder) {
    // Read into a table of its own, so that a failure leaves this one whole.
    EntryTable loaded;
    Result result = read_data_base(loaded, folder);
    if (result.ok()) {
        table_ = std::move(loaded);
        forget_history();
    }
    return result;
}

Result Directory::save(const std::filesystem::path& folder, bool& changed_by_others) {
    Result saved = save_data_base(table_, folder, changed_by_others);
    if (saved.ok()) ++saves_;
    return saved;
}

Result Directory::save_as(const std::filesystem::path& file) const {
    return save_data_base_as(table_, file);
}
