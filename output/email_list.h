#pragma once

#include "entry_table.h"

#include <QByteArray>
#include <QString>

#include <filesystem>

inline constexpr const char* EmailListFileName = "ZEL-KAV_e-mail";

// One line per entry, 1 to EntryCount: the stored e-mail text, bytes unchanged, and CR LF.
QByteArray email_list_bytes(const EntryTable& table);

struct EmailListResult {
    QString path;    // the file written, or meant to be written
    QString message; // empty on success; else what went wrong, for the user
    bool ok() const { return message.isEmpty(); }
};

// Writes the list to `folder`/ZEL-KAV_e-mail, replacing an earlier list.
EmailListResult write_email_list(const EntryTable& table, const std::filesystem::path& folder);
