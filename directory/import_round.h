#pragma once

#include "import_review.h"
#include "round_log.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

// How one correction file of a round ended.
enum class FileOutcome { Stored, Added, Unchanged, Skipped, Refused, NotReviewed };

struct RoundFile {
    QString path;
    FileOutcome outcome = FileOutcome::NotReviewed;
    std::int16_t entry = 0; // the entry it went to, 0 when none
    QString surname;
    QString note; // a refusal's reason (with its line), or why a file was skipped or unchanged
    std::vector<FieldDifference> changes; // for a stored or added file: old → new
    QDateTime time;
};

// A round of correction files, taken one after another in file-name order. A file the
// compiler finishes on the screen ("Edit first") waits there, and the round with it, until its
// entry is stored or its changes are discarded. Every file ends in the summary and the log.
class ImportRound {
  public:
    // `log_folder` empty: no log is kept.
    ImportRound(QStringList paths, const QString& log_folder);

    qsizetype size() const { return paths_.size(); }
    // The next file to take, or empty when every file was taken or the round stopped.
    QString next();
    // Files not taken yet.
    qsizetype left() const { return paths_.size() - next_; }
    bool finished() const { return !waiting_ && left() == 0; }

    void record(RoundFile file);
    // The file taken last waits on the screen, as `file` says, for the compiler to finish it.
    void wait(RoundFile file);
    bool waiting() const { return waiting_.has_value(); }
    // The waiting file ends: stored into its entry (added, when it made a new one), or with its
    // changes discarded.
    void settle(bool stored);
    // Cancelled: the waiting file and every file not taken are not reviewed.
    void stop();

    const std::vector<RoundFile>& files() const { return done_; }
    bool any_refused() const;
    // One line per file with its outcome, counts first, and where the log is.
    QString summary() const;
    const RoundLog& log() const { return log_; }

  private:
    QStringList paths_;
    qsizetype next_ = 0;
    std::optional<RoundFile> waiting_;
    std::vector<RoundFile> done_;
    RoundLog log_;
    QString log_failure_;
};

// The file's name as the summary and the log show it.
QString round_file_name(const QString& path);
// "Name_KAV.TXT: stored, entry 12 (Huber)", and the note, if any.
QString outcome_line(const RoundFile& file);
