#pragma once

#include "entry_table.h"
#include "result.h"

#include <QByteArray>
#include <QString>

#include <filesystem>

inline constexpr const char* EmailListFileName = "ZEL-KAV_e-mail";

// One line per entry, 1 to EntryCount: the stored e-mail text, bytes unchanged, and CR LF.
QByteArray email_list_bytes(const EntryTable& table);

// Writes the list to `folder`/ZEL-KAV_e-mail, replacing an earlier list.
Result write_email_list(const EntryTable& table, const std::filesystem::path& folder);
