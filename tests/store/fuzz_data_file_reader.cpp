#include "data_file_reader.h"
#include "data_file_writer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
void check(bool condition) {
    if (!condition) std::abort();
}
} // namespace

// Any input either loads into a consistent table that the writer reproduces, or fails with a
// message and leaves the table alone.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    EntryTable table;
    table.LastUpdate = 7;
    const Result result = parse_data_base(table, bytes, "fuzz");

    // Read in small pieces, items straddle pieces; the outcome must not change.
    EntryTable in_pieces;
    in_pieces.LastUpdate = 7;
    const Result pieced = parse_data_base(in_pieces, bytes, "fuzz", 1 + size % 13);
    check(pieced.ok() == result.ok() && pieced.message == result.message &&
          in_pieces.EntryCount == table.EntryCount && in_pieces.same_texts(table) &&
          in_pieces.EquipmentFlags == table.EquipmentFlags &&
          in_pieces.OrganizationFlags == table.OrganizationFlags &&
          in_pieces.TitleFlags == table.TitleFlags && in_pieces.Salutation == table.Salutation &&
          in_pieces.ChangeDate == table.ChangeDate);

    // A limit on the item length only ever adds a refusal; what loads under it loads the same.
    EntryTable limited;
    limited.LastUpdate = 7;
    const std::size_t longest_item = size % 97;
    const Result short_items =
        parse_data_base(limited, bytes, "fuzz", 1 + size % 13, longest_item);
    check(short_items.ok()
              ? result.ok() && limited.same_texts(table)
              : !result.ok() || short_items.message.contains(QStringLiteral(" runs on past ")));

    if (!result.ok()) {
        check(!result.message.isEmpty() && table.EntryCount == 0 && table.text_rows() == 0);
        return 0;
    }
    const std::size_t rows = std::size_t(table.TableCapacity) + 1;
    check(table.EntryCount >= 0 && table.TableCapacity == table.EntryCount + 10);
    check(table.ChangeDate.size() == rows && table.text_rows() == rows &&
          table.EquipmentFlags.size() == rows);

    // Written and read again, the entries come back; only a double quote inside an unquoted
    // item turns into an apostrophe.
    EntryTable again;
    check(parse_data_base(again, data_file_bytes(table, 1), "fuzz").ok());
    for (int e = 1; e <= table.EntryCount; ++e) {
        RowTexts texts = table.texts(e);
        for (std::string& text : texts) std::replace(text.begin(), text.end(), '"', '\'');
        check(again.ChangeDate[e] == table.ChangeDate[e] &&
              again.Salutation[e] == table.Salutation[e] &&
              again.TitleFlags[e] == table.TitleFlags[e] &&
              again.OrganizationFlags[e] == table.OrganizationFlags[e] &&
              again.EquipmentFlags[e] == table.EquipmentFlags[e] &&
              again.texts(e) == texts);
    }
    return 0;
}
