#pragma once

#include "entry_table.h"
#include "result.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// Directory entries as vCards that address books read: version 4.0, UTF-8, CR LF line ends,
// lines folded at 75 octets, with FN, N, TITLE (the position), ORG (the organisation's
// name), ADR, TEL (telephone and fax), EMAIL and NOTE (remarks and fields of interest).
// Empty fields are left out; the entry's stored texts are taken as they are.

// Appends the vCard of `entry` to `out`.
void append_vcard(const EntryTable& table, std::int32_t entry, std::string& out);

// The vCards of `entries`, one after another, in their order.
QByteArray vcards(const EntryTable& table, const std::vector<std::int32_t>& entries);

// Writes the vCards of `entries` to `path`, replacing an earlier file of that name whole.
Result write_vcards(const EntryTable& table, const std::vector<std::int32_t>& entries,
                    const QString& path);
