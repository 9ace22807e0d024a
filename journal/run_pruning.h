#pragma once

#include "journal/journal_run.h"

#include <QDateTime>
#include <QList>

#include <optional>

namespace larkspan {

class RunJournal;

inline constexpr qint64 kBytesPerMegabyte = 1'000'000;

// "41 kB", "12.3 MB"
QString sizeText(qint64 bytes);
// "1 run (41 lines)", "3 runs (120 lines)"
QString runsAndLinesText(qint64 runs, qint64 lines);

// What a tidy-up of the journal did.
struct PruneOutcome {
    int runs = 0;
    qint64 lines = 0;
    // Runs it would have deleted, had they ended.
    int unfinishedKept = 0;
    qint64 sizeBefore = 0;
    qint64 sizeAfter = 0;
};

// Tidies the run journal up by deleting runs that ended, the oldest first. A run that did
// not end (one that can be resumed, one the user chose not to resume, one under way) is
// never deleted here: its lines may be nowhere else.
class RunPruning {
public:
    explicit RunPruning(RunJournal& journal);

    // The runs that ended and are outside every limit given: not among the `keep` latest
    // runs, started more than `olderThanDays` days before `now`.
    PruneOutcome beyond(std::optional<int> keep, std::optional<int> olderThanDays,
                        const QDateTime& now);
    // The oldest runs that ended, until the journal takes at most `bytes`.
    PruneOutcome downTo(qint64 bytes);

    // Whether a tidy-up may delete the run.
    static bool hasEnded(const JournalRun& run);

private:
    // A run outside the limits, counted as one to delete when it ended, or as one kept; true
    // for one to delete.
    bool count(const JournalRun& run, PruneOutcome& outcome);

    RunJournal& m_journal;
};

}  // namespace larkspan
