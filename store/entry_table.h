#pragma once

#include "text_column.h"
#include "file_identity.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A calendar day counted from 1899-12-30; day 0 is the zero date of an entry never stored.
using SerialDate = std::int32_t;

inline constexpr int TitleFlagCount = 2;
inline constexpr int OrganizationFlagCount = 6;
inline constexpr int EquipmentFlagCount = 31;

// The most entries a directory can hold: EntryCount + 10 spare rows must fit in 16 bits.
inline constexpr std::int16_t MaxEntryCount = 32757;

// Equipment flag index of the collaboration choice: 0 none, 1 "all", 2 "some".
inline constexpr int CollaborationFlag = 30;

// The whole directory in memory. One instance lives for the program's run; rows 0 to
// TableCapacity exist in every column, entries are rows 1 to EntryCount. Texts are the data
// file's bytes (Windows-1252, CR LF inside a text kept as it is), read and written only through
// the accessors below, so that how they are held stays the table's own affair.
struct EntryTable {
    std::int16_t TableModified = 0;
    std::int16_t EntryCount = 0;
    std::int16_t TableCapacity = 0;
    std::int16_t CurrentEntry = 0;
    SerialDate LastUpdate = 0;

    std::vector<SerialDate> ChangeDate;
    std::vector<std::int16_t> Salutation;
    std::vector<std::array<std::int16_t, TitleFlagCount>> TitleFlags;
    std::vector<std::array<std::int16_t, OrganizationFlagCount>> OrganizationFlags;
    std::vector<std::array<std::int16_t, EquipmentFlagCount>> EquipmentFlags;

    // The data file as the last load or save left it, so a save can tell whether someone else
    // has replaced it since.
    FileIdentity LoadedFile;

    // Text `s` of row `e`; valid until the text or the table changes.
    std::string_view text(int e, int s) const { return TextSlots.get(std::size_t(e), s); }
    void set_text(int e, int s, std::string_view bytes);
    // Every text of row `e`, as copies.
    RowTexts texts(int e) const;
    void set_texts(int e, const RowTexts& texts);
    // How many rows the text column holds.
    std::size_t text_rows() const { return TextSlots.rows(); }
    bool same_texts(const EntryTable& other) const { return TextSlots == other.TextSlots; }
    // The texts as they are now, for another thread to read however this table changes later.
    TextColumn text_snapshot() const { return TextSlots; }
    // The blocks the texts stand in (TextColumn::blocks), without the snapshot's copy of rows
    // that the next edit would make.
    std::array<std::shared_ptr<const TextBytes>, 2> text_blocks() const {
        return TextSlots.blocks();
    }

    // A number no other table state of this run has had: it changes with every text the
    // accessors set and every mark_changed(), and a table made anew gets a new one. Whoever
    // changes the other columns in place calls mark_changed().
    std::uint64_t generation() const { return Generation; }
    void mark_changed();

  private:
    friend EntryTable empty_directory(std::int16_t count);
    friend class DataFileParser;
    TextColumn TextSlots;
    std::uint64_t Generation = 0;
};

// Whether every column holds row `e`. A table built by hand may hold fewer rows than
// EntryCount claims; nothing reads or writes a row it does not hold.
bool holds_row(const EntryTable& table, int e);

// A table as a load leaves it: `count` entries and ten spare rows, every row zero or empty,
// CurrentEntry 1, TableModified 0. `count` must lie within 0 to MaxEntryCount.
EntryTable empty_directory(std::int16_t count);
