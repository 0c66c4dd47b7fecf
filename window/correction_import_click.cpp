#include "correction_import.h"
#include "cp1252.h"
#include "directory.h"
#include "frm_ZEL.h"
#include "import_decision.h"
#include "import_review_dialog.h"
#include "lookup_orders.h"
#include "message_box.h"
#include "person_choice_dialog.h"
#include "window_snapshot.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

QString file_name(const QString& path) {
    return QFileInfo(path).fileName();
}

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
    if (review.differences.empty()) {
        const QString surname = file.Text1[SurnameSlot].trimmed();
        note = QStringLiteral("No changes for %1").arg(surname.isEmpty() ? target.person : surname);
        return ImportEnd::Unchanged;
    }
    if (entry ? !choose_entry(entry) : !settle_unstored_changes()) return ImportEnd::StopBatch;
    if (entry) highlight_current_entry();
    const ReviewAnswer answer =
        review_import(this, path, target.person, review.differences, review.notes,
                      store_warnings(table, entry, target, review));
    if (answer == ReviewAnswer::Skip) return ImportEnd::Skipped;

    if (!entry && !add_entry()) return ImportEnd::StopBatch;
    const EntryValues& settled = review.window;
    // "Edit first", or a Store refused for a text the directory cannot hold: the compiler
    // finishes this file on the screen before the next one comes.
    if (answer == ReviewAnswer::EditFirst) {
        show_snapshot(*this, settled);
        return ImportEnd::StopBatch;
    }
    lookup_orders_->forget();
    const Result stored = directory.store(settled);
    if (!stored.ok()) {
        show_snapshot(*this, settled);
        tell_failure(stored, QStringLiteral("Nothing of this entry was stored; the window shows "
                                            "the correction file's values to mend."));
        return ImportEnd::StopBatch;
    }
    show_record();
    entry_stored();
    return ImportEnd::Stored;
}

void frm_ZEL::import_correction_files(QStringList paths) {
    if (paths.isEmpty()) return;
    QCollator order;
    order.setNumericMode(true);
    order.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(paths.begin(), paths.end(), [&order](const QString& a, const QString& b) {
        return order.compare(file_name(a), file_name(b)) < 0;
    });

    int stored = 0, skipped = 0;
    QStringList refusals, unchanged;
    QString stopped_at;
    qsizetype next = 0;
    while (next < paths.size() && stopped_at.isEmpty()) {
        const QString& path = paths[next++];
        QString refusal;
        switch (import_one(path, refusal)) {
        case ImportEnd::Stored:
            ++stored;
            break;
        case ImportEnd::Skipped:
            ++skipped;
            break;
        case ImportEnd::Unchanged:
            unchanged << refusal;
            break;
        case ImportEnd::Refused:
            refusals << refusal;
            break;
        case ImportEnd::StopBatch:
            stopped_at = path;
            break;
        }
    }

    const QString nothing_stored = QStringLiteral(": the correction file holds what the "
                                                  "directory holds, so nothing was stored.");
    if (paths.size() == 1) {
        if (!refusals.isEmpty()) show_message(this, refusals.front(), true);
        if (!unchanged.isEmpty()) show_message(this, unchanged.front() + nothing_stored, false);
        return;
    }
    QString summary = QStringLiteral("%1: %2 stored, %3 unchanged, %4 skipped, %5 refused.")
                          .arg(count_of(paths.size(), "correction file", "correction files"))
                          .arg(stored)
                          .arg(unchanged.size())
                          .arg(skipped)
                          .arg(refusals.size());
    if (!unchanged.isEmpty())
        summary += QStringLiteral("\n\n") + unchanged.join(QStringLiteral("; ")) +
                   QStringLiteral(": nothing was stored.");
    if (!stopped_at.isEmpty()) {
        summary += QStringLiteral("\n\nThe round stopped at \"%1\", which the window shows: it is "
                                  "not stored.")
                       .arg(file_name(stopped_at));
        if (next < paths.size()) {
            QStringList rest;
            for (qsizetype i = next; i < paths.size(); ++i) rest << file_name(paths[i]);
            summary += QStringLiteral(" Not reviewed yet: ") + rest.join(QStringLiteral(", ")) +
                       QStringLiteral(".");
        }
    }
    if (!refusals.isEmpty())
        summary += QStringLiteral("\n\n") + refusals.join(QStringLiteral("\n\n"));
    show_message(this, summary, !refusals.isEmpty());
}
