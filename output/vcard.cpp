#include "vcard.h"

#include "atomic_file.h"
#include "cp1252.h"
#include "entry_fields.h"

#include <QDir>

#include <array>
#include <initializer_list>
#include <string_view>

namespace {

constexpr std::size_t LineOctets = 75;

// Each Windows-1252 byte as UTF-8, worked out once.
const std::array<std::string, 256>& utf8_of_bytes() {
    static const std::array<std::string, 256> table = [] {
        std::array<std::string, 256> utf8;
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            utf8[std::size_t(b)] = from_cp1252(std::string_view(&byte, 1)).toUtf8().toStdString();
        }
        return utf8;
    }();
    return table;
}

// A stored text as a vCard value: UTF-8, with backslash, comma, semicolon and line ends
// escaped, so that it reads back as one value of one component. Other control characters,
// which a vCard may not hold, become blanks.
void append_value(std::string_view stored, std::string& line) {
    const auto& utf8 = utf8_of_bytes();
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const char c = stored[i];
        switch (c) {
        case '\\': line += "\\\\"; break;
        case ',': line += "\\,"; break;
        case ';': line += "\\;"; break;
        case '\r':
            if (i + 1 < stored.size() && stored[i + 1] == '\n') ++i;
            [[fallthrough]];
        case '\n': line += "\\n"; break;
        case '\t': line += c; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == '\x7f') {
                line += ' ';
            } else if (static_cast<unsigned char>(c) < 0x80) {
                line += c;
            } else {
                line += utf8[static_cast<unsigned char>(c)];
            }
        }
    }
}

// Ends a content line: folded into lines of at most 75 octets, each continuation begun with a
// blank, never inside a character's UTF-8 bytes.
void append_folded_line(std::string_view line, std::string& out) {
    std::size_t room = LineOctets;
    while (line.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        room = LineOctets - 1;
    }
    out.append(line);
    out += "\r\n";
}

// A content line "NAME:part;part;..." with each part escaped on its own; nothing when every
// part is empty.
void append_property(const char* name, std::initializer_list<std::string_view> parts,
                     std::string& line, std::string& out) {
    bool any = false;
    for (std::string_view part : parts) any = any || !part.empty();
    if (!any) return;
    line = name;
    line += ':';
    bool first = true;
    for (std::string_view part : parts) {
        if (!first) line += ';';
        first = false;
        append_value(part, line);
    }
    append_folded_line(line, out);
}

} // namespace

void append_vcard(const EntryTable& table, std::int32_t entry, std::string& out) {
    if (entry < 1 || entry > table.EntryCount || !holds_row(table, entry)) return;
    const auto e = std::size_t(entry);
    const auto text = [&](int slot) { return table.text(entry, slot); };
    std::string line;
    const auto property = [&](const char* name, std::initializer_list<std::string_view> parts) {
        append_property(name, parts, line, out);
    };
    append_folded_line("BEGIN:VCARD", out);
    append_folded_line("VERSION:4.0", out);

    // FN is required: the name, else whatever names the entry best.
    std::string name(text(FirstNamesSlot));
    if (!name.empty() && !text(SurnameSlot).empty()) name += ' ';
    name += text(SurnameSlot);
    if (name.empty()) name = text(OtherOrganizationSlot);
    if (name.empty()) name = text(EmailSlot);
    if (name.empty()) name = "Entry " + std::to_string(entry);
    property("FN", {name});

    // N: surname; given names; additional names; prefixes; suffixes. The prefixes (salutation,
    // titles) are a list, each escaped on its own.
    line = "N:";
    append_value(text(SurnameSlot), line);
    line += ';';
    append_value(text(FirstNamesSlot), line);
    line += ";;";
    std::vector<std::string_view> prefixes;
    const std::int16_t salutation = table.Salutation[e];
    if (salutation >= 0 && salutation < std::int16_t(SalutationCaptions.size()))
        prefixes.push_back(SalutationCaptions[std::size_t(salutation)]);
    for (std::size_t t = 0; t < TitleCaptions.size(); ++t) {
        if (table.TitleFlags[e][t] == 1) prefixes.push_back(TitleCaptions[t]);
    }
    if (!text(OtherTitleSlot).empty()) prefixes.push_back(text(OtherTitleSlot));
    for (std::size_t p = 0; p < prefixes.size(); ++p) {
        if (p > 0) line += ',';
        append_value(prefixes[p], line);
    }
    line += ';';
    append_folded_line(line, out);

    property("TITLE", {text(PositionSlot)});
    property("ORG", {text(OtherOrganizationSlot)});
    property("ADR;TYPE=work", {{}, {}, text(AddressSlot), text(CitySlot), {}, text(ZipSlot),
                               text(CountrySlot)});
    property("TEL;TYPE=work,voice", {text(TelephoneSlot)});
    property("TEL;TYPE=work,fax", {text(FaxSlot)});
    property("EMAIL;TYPE=work", {text(EmailSlot)});

    std::string note(text(RemarksSlot));
    std::string interests;
    for (int s = FirstInterestSlot; s < FirstInterestSlot + InterestSlotCount; ++s) {
        if (text(s).empty()) continue;
        if (!interests.empty()) interests += "; ";
        interests += text(s);
    }
    if (!interests.empty()) {
        if (!note.empty()) note += "\r\n";
        note += std::string(LabelCaptions[InterestsLabel]) + ": " + interests;
    }
    property("NOTE", {note});
    append_folded_line("END:VCARD", out);
}

QByteArray vcards(const EntryTable& table, const std::vector<std::int32_t>& entries) {
    std::string out;
    out.reserve(entries.size() * 512);
    for (std::int32_t entry : entries) append_vcard(table, entry, out);
    return QByteArray::fromStdString(out);
}

Result write_vcards(const EntryTable& table, const std::vector<std::int32_t>& entries,
                    const QString& path) {
    const Result written = write_file_atomically(path, vcards(table, entries));
    if (!written.ok()) {
        return Result::failure(
            QStringLiteral("The vCard file \"%1\" could not be written: %2.\n"
                           "An earlier file of that name, if any, is unchanged.")
                .arg(QDir::toNativeSeparators(path), written.message),
            path);
    }
    return Result::success(path);
}
