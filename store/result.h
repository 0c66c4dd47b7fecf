#pragma once

#include <QString>

// The outcome of anything that can fail: loading or saving the directory, writing the
// correction file or the e-mail list, finding the desktop folder. On failure `message` says,
// for the user, what failed, where, and what still holds; `path` names the file or folder
// the operation wrote or found (or meant to), when it has one. The state is explicit, so a
// failure whose cause has no words (an empty errorString()) still reads as a failure.
struct Result {
    bool succeeded = true;
    QString message;
    QString path;

    bool ok() const { return succeeded; }
    static Result success(QString path = {}) { return {true, {}, std::move(path)}; }
    static Result failure(QString message, QString path = {}) {
        if (message.isEmpty()) message = QStringLiteral("The operation failed for a reason the system did not name.");
        return {false, std::move(message), std::move(path)};
    }
};
