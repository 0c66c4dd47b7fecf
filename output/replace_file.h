#pragma once

#include <QByteArray>
#include <QString>

// Writes `bytes` to a temporary file beside `path` and renames it over `path`, so a failure
// leaves an earlier file of that name as it was and no half-written one. On failure returns
// false and puts the reason, for the user, into `reason`.
bool replace_file(const QString& path, const QByteArray& bytes, QString* reason);
