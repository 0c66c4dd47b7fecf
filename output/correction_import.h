#pragma once

#include "correction_text.h"
#include "result.h"

#include <QByteArray>
#include <QString>

#include <optional>

// A correction file read back: either the window filled from the file, or why not.
struct CorrectionImport {
    Result result;                            // on failure: which file, which line, what is wrong
    std::optional<CorrectionSnapshot> window; // only when the whole file was read
};

// Reads the bytes of a correction file as correction_text writes them for the captions of
// `window` and gives `window` with the values the file describes. UTF-8 with a byte-order
// mark is UTF-8; any other file is Windows-1252, unless it is valid UTF-8 that holds some
// character beyond ASCII and only characters Windows-1252 has (a file a mail program
// transcoded). Lines end with CR LF, LF or CR, as the file's first line does. Every file
// correction_text writes comes back as the window it was written from, but that a greyed
// box comes back clear, as the file says "no" for it. A text the data file cannot store (a
// double quote, a character beyond Windows-1252) comes back as it stands, for the window to
// mark. `file_name` names the file in messages. A file that does not fit the layout, or has
// text below its end line, gives a failure and no window at all.
CorrectionImport import_correction(const QByteArray& bytes, const QString& file_name,
                                   const CorrectionSnapshot& window);

// The same for the file at `path`; what is not a file, or far too large to be a correction
// file, is refused before it is read.
CorrectionImport read_correction_file(const QString& path, const CorrectionSnapshot& window);
