#include "correction_import.h"
#include "cp1252.h"
#include "directory.h"
#include "frm_ZEL.h"
#include "import_decision.h"
#include "import_review_dialog.h"
#include "import_round.h"
#include "lookup_orders.h"
#include "message_box.h"
#include "person_choice_dialog.h"
#include "window_snapshot.h"

#include <QDir>

namespace {

QString count_of(qsizetype n, const char* one, const char* many) {
    return n == 1 ? QStringLiteral("1 ") + QLatin1String(one)
                  : QString::number(n) + u' ' + QLatin1String(many);
}

} // namespace

frm_ZEL::ImportEnd frm_ZEL::import_one(const QString& path, QString& note) {
    const CorrectionImport imported = read_correction_file(path, blank_entry());
    if (!imported.window) {
        note = imported.result.message;
        return ImportEnd::Refused;
    }
    const EntryValues& file = *imported.window;

    // The file lands on the entry of its person, never on whatever the window shows.
    const ImportTarget target = import_target(table, file);
    std::int16_t entry = target.found.size() == 1 ? target.found.front() : 0;
    if (target.found.size() > 1) {
        std::vector<PersonCandidate> candidates;
        for (const std::int16_t e : target.found) candidates.push_back(candidate_of(table, e));
        entry = choose_person(this, path, candidates);
        if (!entry) return ImportEnd::Skipped;
    } else if (target.found.empty()) {
        std::vector<PersonCandidate> candidates;
        for (const LikelyPerson& likely : target.likely) {
            candidates.push_back(candidate_of(table, likely.entry));
            candidates.back().reasons = likely.reasons.join(QStringLiteral(", "));
        }
        // Return takes a likely person only where the signs make it safe; a new entry only
        // where nobody is likely at all.
        using Kind = LikelyChoice::Kind;
        const LikelyChoice by_default =
            target.likely.empty()        ? LikelyChoice{Kind::AddNew, 0}
            : target.likely.front().sure ? LikelyChoice{Kind::Entry, target.likely.front().entry}
                                         : LikelyChoice{Kind::Skip, 0};
        const LikelyChoice choice =
            choose_likely_person(this, path, target.person, candidates, by_default, table);
        if (choice.kind == Kind::Skip) return ImportEnd::Skipped;
        entry = choice.entry;
    }

    // A file that changes nothing stores nothing: the entry keeps its change date. Where the
    // file can be read two ways, the entry keeps what it holds.
    const ImportReview review = import_changes(table, entry, imported);
    const QString surname = file.Text1[SurnameSlot].trimmed();
    const QString named = surname.isEmpty() ? target.person : surname;
    if (review.differences.empty()) {
        note = QStringLiteral("No changes for %1").arg(named);
        return ImportEnd::Unchanged;
    }
    if (entry ? !choose_entry(entry) : !settle_unstored_changes()) return ImportEnd::StopBatch;
    if (entry) highlight_current_entry();
    imported_ = std::make_unique<RoundFile>(RoundFile{
        path, entry ? FileOutcome::Stored : FileOutcome::Added, entry, named, {}, review.differences, {}});
    const ReviewAnswer answer =
        review_import(this, path, target.person, review.differences, review.notes,
                      store_warnings(table, entry, target, review));
    if (answer == ReviewAnswer::Skip) return ImportEnd::Skipped;

    if (!entry && !add_entry()) return ImportEnd::StopBatch;
    imported_->entry = table.CurrentEntry;
    const EntryValues& settled = review.window;
    // "Edit first", or a Store refused for a text the directory cannot hold: the compiler
    // finishes this file on the screen, and the next one waits.
    if (answer == ReviewAnswer::EditFirst) {
        show_snapshot(*this, settled);
        return ImportEnd::Waits;
    }
    lookup_orders_->forget();
    const Result stored = directory.store(settled);
    if (!stored.ok()) {
        show_snapshot(*this, settled);
        tell_failure(stored, QStringLiteral("Nothing of this entry was stored; the window shows "
                                            "the correction file's values to mend."));
        return ImportEnd::Waits;
    }
    show_record();
    entry_stored();
    return entry ? ImportEnd::Stored : ImportEnd::Added;
}

void frm_ZEL::import_correction_files(QStringList paths) {
    if (paths.isEmpty()) return;
    // A batch that waits ends here, with its summary, before the new one starts.
    if (round_) {
        round_->stop();
        go_on_with_round();
    }
    round_ = std::make_unique<ImportRound>(std::move(paths), RoundLog::folder());
    go_on_with_round();
}

void frm_ZEL::go_on_with_round() {
    while (round_ && !round_->waiting()) {
        const QString path = round_->next();
        if (path.isEmpty()) break;
        QString note;
        imported_.reset();
        const ImportEnd end = import_one(path, note);
        RoundFile file = imported_ ? std::move(*imported_) : RoundFile{};
        imported_.reset();
        file.path = path;
        file.note = note;
        switch (end) {
        case ImportEnd::Stored:
        case ImportEnd::Added:
            round_->record(std::move(file));
            break;
        case ImportEnd::Waits:
            round_->wait(std::move(file));
            break;
        case ImportEnd::Unchanged:
        case ImportEnd::Skipped:
        case ImportEnd::Refused:
            file.outcome = end == ImportEnd::Unchanged ? FileOutcome::Unchanged
                           : end == ImportEnd::Skipped ? FileOutcome::Skipped
                                                       : FileOutcome::Refused;
            file.changes.clear();
            round_->record(std::move(file));
            break;
        case ImportEnd::StopBatch:
            file.outcome = FileOutcome::NotReviewed;
            file.note = QStringLiteral("the round was cancelled here");
            file.changes.clear();
            round_->record(std::move(file));
            round_->stop();
            break;
        }
    }
    show_files_left();
    if (!round_ || round_->waiting()) return;

    const std::unique_ptr<ImportRound> done = std::move(round_);
    show_files_left();
    if (done->size() == 1) {
        const RoundFile& only = done->files().front();
        if (only.outcome == FileOutcome::Refused) show_message(this, only.note, true);
        if (only.outcome == FileOutcome::Unchanged)
            show_message(this,
                         only.note + QStringLiteral(": the correction file holds what the "
                                                    "directory holds, so nothing was stored."),
                         false);
        return;
    }
    show_message(this, done->summary(),
                 done->any_refused() ? QMessageBox::Critical : QMessageBox::Information);
}

void frm_ZEL::round_file_settled(bool stored) {
    round_->settle(stored);
    // The store or the choice that settled it finishes first.
    QMetaObject::invokeMethod(this, [this] { go_on_with_round(); }, Qt::QueuedConnection);
}

void frm_ZEL::show_files_left() {
    QString title = QString(37, u' ') + window_title();
    if (round_ && round_->waiting())
        title += QStringLiteral(" \u2013 import: this entry, then %1")
                     .arg(count_of(round_->left(), "more correction file", "more correction files"));
    setWindowTitle(title);
}
