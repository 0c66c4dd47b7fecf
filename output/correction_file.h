#pragma once

#include "correction_text.h"
#include "desktop_folder.h"

#include <QByteArray>
#include <QString>

// The file name for a surname: the surname, then "_KAV.TXT". Characters that may not stand in
// a file name (path separators among them) become "_", so the file stays in its folder; so do
// control, format and separator characters, which would make the name show as something it
// is not, and a leading dot, which would hide the file.
QString correction_file_name(const QString& surname);

// Windows-1252 when every character has a byte there; otherwise UTF-8 with a byte-order mark,
// so that no character typed into the window is lost. So is a text whose Windows-1252 bytes
// would be taken for UTF-8 ("Ã©" is the UTF-8 of "é").
QByteArray encode_correction_text(const QString& text);

// Whether a file without a byte-order mark is read as UTF-8: it is valid UTF-8, holds some
// character beyond ASCII, and only characters that Windows-1252 has, as a file holds that a
// mail program transcoded. Windows-1252 text is rarely valid UTF-8, and when it is ("ß’" is
// the UTF-8 of U+07D2) it mostly decodes to characters Windows-1252 lacks.
bool reads_as_utf8(const QByteArray& bytes);

// Writes the correction file of `window` into the desktop folder of `platform`, replacing an
// earlier file of the same name. The result's path is the file written, or meant to be
// written; empty when no folder was found.
Result write_correction_file(const CorrectionSnapshot& window,
                                       const DesktopPlatform& platform);
