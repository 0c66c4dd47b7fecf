#include "import_round.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const char* word(FileOutcome outcome) {
    switch (outcome) {
    case FileOutcome::Stored: return "stored";
    case FileOutcome::Added: return "added";
    case FileOutcome::Unchanged: return "unchanged";
    case FileOutcome::Skipped: return "skipped";
    case FileOutcome::Refused: return "refused";
    case FileOutcome::NotReviewed: return "not reviewed";
    }
    return "";
}

QString count_of(qsizetype n, const char* one, const char* many) {
    return n == 1 ? QStringLiteral("1 ") + QLatin1String(one)
                  : QString::number(n) + u' ' + QLatin1String(many);
}

} // namespace

QString round_file_name(const QString& path) {
    return QFileInfo(path).fileName();
}

QString outcome_line(const RoundFile& file) {
    QString line = round_file_name(file.path) + QStringLiteral(": ") + QLatin1String(word(file.outcome));
    if (file.entry)
        line += QStringLiteral(", entry %1%2").arg(file.entry).arg(
            file.surname.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(file.surname));
    if (!file.note.isEmpty()) line += QStringLiteral(": ") + file.note;
    return line;
}

ImportRound::ImportRound(QStringList paths, const QString& log_folder) : paths_(std::move(paths)) {
    // Mail programs number second copies: "Name_KAV (1).TXT" comes after "Name_KAV.TXT".
    QCollator order;
    order.setNumericMode(true);
    order.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(paths_.begin(), paths_.end(), [&order](const QString& a, const QString& b) {
        return order.compare(round_file_name(a), round_file_name(b)) < 0;
    });
    if (log_folder.isEmpty()) return;
    const Result opened = log_.open(log_folder, QDateTime::currentDateTime());
    if (!opened.ok()) log_failure_ = opened.message;
}

QString ImportRound::next() {
    if (waiting_ || next_ >= paths_.size()) return {};
    return paths_[next_++];
}

void ImportRound::record(RoundFile file) {
    if (!file.time.isValid()) file.time = QDateTime::currentDateTime();
    log_.record(file);
    done_.push_back(std::move(file));
}

void ImportRound::wait(RoundFile file) {
    waiting_ = std::move(file);
}

void ImportRound::settle(bool stored) {
    if (!waiting_) return;
    RoundFile file = std::move(*waiting_);
    waiting_.reset();
    if (stored) {
        file.outcome = file.entry ? FileOutcome::Stored : FileOutcome::Added;
    } else {
        file.outcome = FileOutcome::Skipped;
        file.note = QStringLiteral("its changes were discarded");
        file.changes.clear();
    }
    file.time = {};
    record(std::move(file));
}

void ImportRound::stop() {
    if (waiting_) {
        RoundFile file = std::move(*waiting_);
        waiting_.reset();
        file.outcome = FileOutcome::NotReviewed;
        file.note = QStringLiteral("the round was cancelled while it was shown");
        file.changes.clear();
        record(std::move(file));
    }
    while (next_ < paths_.size()) {
        RoundFile file;
        file.path = paths_[next_++];
        record(std::move(file));
    }
}

bool ImportRound::any_refused() const {
    return std::any_of(done_.begin(), done_.end(),
                       [](const RoundFile& f) { return f.outcome == FileOutcome::Refused; });
}

QString ImportRound::summary() const {
    QStringList counts;
    for (const FileOutcome outcome :
         {FileOutcome::Stored, FileOutcome::Added, FileOutcome::Unchanged, FileOutcome::Skipped,
          FileOutcome::Refused, FileOutcome::NotReviewed}) {
        const auto n = std::count_if(done_.begin(), done_.end(),
                                     [outcome](const RoundFile& f) { return f.outcome == outcome; });
        if (n) counts << QStringLiteral("%1 %2").arg(n).arg(QLatin1String(word(outcome)));
    }
    QString text = count_of(paths_.size(), "correction file", "correction files") +
                   QStringLiteral(": ") + counts.join(QStringLiteral(", ")) + u'.';
    for (const RoundFile& file : done_) text += QStringLiteral("\n\n") + outcome_line(file);
    if (log_.is_open())
        text += QStringLiteral("\n\nThe round's log: %1").arg(QDir::toNativeSeparators(log_.path()));
    else if (!log_failure_.isEmpty())
        text += QStringLiteral("\n\nNo log of this round was kept: %1").arg(log_failure_);
    return text;
}
