#pragma once

#include "result.h"

#include <QDateTime>
#include <QString>

struct RoundFile;

// The log of one import round, a text file the compiler can open later: when each file was
// taken, which entry it went to, how it ended, and each field it changed, old → new. It is
// written as the round goes, so a round cut short still leaves its log.
class RoundLog {
  public:
    // Where the logs go: "rounds" in the program's data folder, readable by its owner only.
    static QString folder();

    // Starts a new log in `folder` named after `start`; a failure leaves the log closed (the
    // round goes on without it) and says why.
    Result open(const QString& folder, const QDateTime& start);
    bool is_open() const { return !path_.isEmpty(); }
    // The log's file; empty when it could not be opened.
    const QString& path() const { return path_; }
    // Adds `file`'s lines; a failure to write closes the log.
    void record(const RoundFile& file);

  private:
    bool append(const QString& text);
    QString path_;
};
