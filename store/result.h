#pragma once

#include <QString>

// The outcome of anything that can fail: loading or saving the directory, writing the
// correction file or the e-mail list, finding the desktop folder. On failure `message` says,
// for the user, what failed, where, and what still holds; `path` names the file or folder
// the operation wrote or found (or meant to), when it has one.
struct Result {
    QString message;
    QString path;

    bool ok() const { return message.isEmpty(); }
    static Result success(QString path = {}) { return {{}, std::move(path)}; }
    static Result failure(QString message, QString path = {}) {
        return {std::move(message), std::move(path)};
    }
};
