#pragma once

#include "correction_text.h"
#include "result.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// A correction file read back: what the file means, or why it cannot be read.
//
// Texts are written as they stand, so a file can mean more than one window: a box written
// "..." is empty or holds "...", and a line inside a text that reads as the line after the
// text may end it or belong to it. `window` is the first reading (an empty box, each text as
// short as the file allows); `other_readings` holds what else the file can mean, field by
// field: a field read differently in any of them can be read more than one way, and each of
// its values there is a reading of it. They need not be readings of the whole file at once.
// The review (import_review.h) settles each field against what the directory holds.
struct CorrectionImport {
    Result result;                            // on failure: which file, which line, what is wrong
    std::optional<CorrectionSnapshot> window; // only when the whole file was read
    std::vector<CorrectionSnapshot> other_readings;
    // The marks a reply put before every line ("> ", ">> "), taken off to read the file it
    // quotes; empty when the file was not quoted.
    QString quote_marks;
};

// Reads the bytes of a correction file as correction_text writes them for the captions of
// `window`, and gives `window` with the values the file describes. UTF-8 with a byte-order
// mark is UTF-8; any other file is Windows-1252, unless it is valid UTF-8 that holds some
// character beyond ASCII and only characters Windows-1252 has (a file a mail program
// transcoded). Lines end with CR LF, LF or CR, as the file's first line does. A greyed box
// comes back clear, as the file says "no" for it. A text the data file cannot store (a double
// quote, a character beyond Windows-1252) comes back as it stands, for the window to mark.
// Files of the version that closed the file with an end line and put a ">" before lines that
// read as the next line are read both as that version meant them and as they stand.
// `file_name` names the file in messages. A file that does not fit the layout gives a
// failure and no window at all.
CorrectionImport import_correction(const QByteArray& bytes, const QString& file_name,
                                   const CorrectionSnapshot& window);

// The same for the file at `path`; what is not a file, or far too large to be a correction
// file, is refused before it is read.
CorrectionImport read_correction_file(const QString& path, const CorrectionSnapshot& window);
