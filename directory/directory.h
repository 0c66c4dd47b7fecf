#pragma once

#include "entry_table.h"
#include "entry_values.h"
#include "result.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The loaded directory: the one owner of the table. A load hands its table over by value;
// everyone else reads it through table(), and every change goes through a method here that
// gives the table a new generation, so no look-up ever reads a changed table as the one it
// knew.
class Directory {
  public:
    Directory() = default;
    explicit Directory(EntryTable table) : table_(std::move(table)) {}
    // Look-ups hold on to the table: it stays where it is for the directory's life.
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;

    const EntryTable& table() const { return table_; }

    // Takes over the table a load made, as it stands (its generation included).
    void adopt(EntryTable table) {
        table_ = std::move(table);
        forget_history();
    }
    // Loads `folder`'s data file; a failed load leaves the directory as it was.
    Result load(const std::filesystem::path& folder);
    // Saves when an entry was stored since the last save; see save_data_base.
    Result save(const std::filesystem::path& folder, bool& changed_by_others);
    Result save_as(const std::filesystem::path& file) const;
    // An entry was stored since the last load or save.
    bool modified() const { return table_.TableModified != 0; }

    // The entry the window shows or will show: not a change of the directory.
    std::int16_t current() const { return table_.CurrentEntry; }
    void choose(std::int16_t entry) { table_.CurrentEntry = entry; }

    // Stores `values` into the current entry with today's change date: the salutation chosen
    // (-1 when none is), a tick as 1 and a clear or greyed box as 0, the collaboration into
    // its flag, and the texts. A text given in `bytes` is stored as it stands (a text the
    // window shows cut short, unchanged). Every text is checked first, so a refusal (a text the
    // data file cannot hold) stores nothing.
    using TextBytes = std::array<std::optional<std::string>, TextSlotCount>;
    Result store(const EntryValues& values, const TextBytes& bytes = {});

    enum class Added {
        Added,     // the new, empty entry is the current one
        Full,      // the directory holds MaxEntryCount entries, the most its data file can hold
        NoSpareRow // the table's spare rows are used up: save and load again, then add
    };
    Added add();

    // What undo() did: on failure nothing changed, and `message` says why; on success `entry`
    // is the entry to show, and `message` what the compiler should know about it.
    struct Undone {
        bool ok = false;
        QString message;
        std::int16_t entry = 0;
    };
    // Takes back the last store of this session: the entry gets back exactly what it held, its
    // change date included. An entry that store made out of an added row goes again, but only
    // while it is the last entry. A load drops the history, and undo says so.
    Undone undo();

  private:
    // A row as a store found it, to be given back.
    struct Replaced {
        std::int16_t entry = 0;
        SerialDate change_date = 0;
        std::int16_t salutation = -1;
        std::array<std::int16_t, TitleFlagCount> titles{};
        std::array<std::int16_t, OrganizationFlagCount> organizations{};
        std::array<std::int16_t, EquipmentFlagCount> equipment{};
        RowTexts texts;
        std::int16_t table_modified = 0;
        int saves = 0;                // saves before the store: a later one means the file holds it
        bool added = false;           // the first store into a row add() made
        std::int16_t shown_before = 0; // for an added entry: the entry current before the add
    };
    struct AddedRow {
        std::int16_t entry = 0;
        std::int16_t shown_before = 0;
    };
    void forget_history();

    EntryTable table_;
    std::vector<Replaced> history_;
    std::vector<AddedRow> added_unstored_; // rows add() made that no store has filled yet
    int saves_ = 0;
    bool history_dropped_ = false; // a load dropped stores that could have been taken back
};
