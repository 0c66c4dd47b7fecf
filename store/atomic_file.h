#pragma once

#include "result.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include <sys/types.h>

// How many bytes a large file is written (and read) in at a time.
inline constexpr std::size_t FilePieceSize = std::size_t(1) << 18;

// Writes a file whole or not at all, and durably: the bytes go to a temporary file beside
// `path`, which is synced to the disk and replaces `path` only when every byte is written;
// then the folder is synced, so that after a power cut the new file is there, not the old one.
// A failure leaves an earlier file of that name as it was and no half-written one; the result's message then gives the reason in
// words ("No space left on device"), without naming the file: callers say which file it is.
// `produce` is called with a piece buffer and a function that writes what the buffer holds
// and empties it; it writes its bytes piece by piece, so large files are never twice in
// memory.
using PieceWriter = std::function<void(std::string&)>;
Result write_file_atomically(const QString& path,
                             const std::function<void(std::string& piece, const PieceWriter& flush)>& produce);

// The same for bytes already in memory.
Result write_file_atomically(const QString& path, const QByteArray& bytes);

// The first half of a replacement that has more to do before the new file takes the old one's
// place: writes a new file at `path`, which must not exist, the same way, and syncs it to the
// disk; the caller renames it into place. `mode` gives it those permission bits exactly, else
// the umask's. A failure removes what was written.
Result write_synced_file(
    const QString& path, std::optional<mode_t> mode,
    const std::function<void(std::string& piece, const PieceWriter& flush)>& produce);

// Why no new file can be made beside `path` when its folder lets none be made, in words;
// empty when it does.
QString folder_refuses_new_files(const QString& path);

// Syncs `folder` to the disk after a file in it was renamed. Tests replace it to see the call;
// an empty function puts the real one back.
using FolderSync = std::function<void(const QString& folder)>;
void set_folder_sync_for_testing(FolderSync sync);
void sync_folder(const QString& folder);
