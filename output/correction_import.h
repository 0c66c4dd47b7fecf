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
// `window` (Windows-1252, or UTF-8 with a byte-order mark; CR LF or LF alone) and gives
// `window` with the values the file describes. A greyed box comes back clear, as the file
// says "no" for it. A box holding exactly "..." cannot be told from an empty one and comes
// back empty; so do Remarks of exactly three lines "  ...". `file_name` names the file in
// messages. A file that does not fit, or holds a text the data file cannot store, gives a
// failure and no window at all.
CorrectionImport import_correction(const QByteArray& bytes, const QString& file_name,
                                   const CorrectionSnapshot& window);

// The same for the file at `path`; what is not a file, or far too large to be a correction
// file, is refused before it is read.
CorrectionImport read_correction_file(const QString& path, const CorrectionSnapshot& window);

// What an import changed in the window, for a short message: "Changed: City, Telephone.
// Ticked: SEM. Unticked: TEM.", or "The file matches the window.". The salutation and the
// collaboration choice count as "Salutation" and "Collaboration" changed.
QString describe_import(const CorrectionSnapshot& before, const CorrectionSnapshot& after);
