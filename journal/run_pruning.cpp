#include "journal/run_pruning.h"

#include "journal/run_journal.h"

#include <algorithm>
#include <limits>

namespace larkspan {
namespace {

QList<JournalRun> allRunsLatestFirst(RunJournal& journal) {
    return journal.recentRuns(std::numeric_limits<int>::max());
}

}  // namespace

QString sizeText(qint64 bytes) {
    constexpr qint64 kBytesPerKilobyte = 1000;
    if (bytes < kBytesPerMegabyte) {
        return QString::number((bytes + kBytesPerKilobyte / 2) / kBytesPerKilobyte) +
               QStringLiteral(" kB");
    }
    return QString::number(double(bytes) / kBytesPerMegabyte, 'f', 1) + QStringLiteral(" MB");
}

QString runsAndLinesText(qint64 runs, qint64 lines) {
    return QString::number(runs) + (runs == 1 ? QStringLiteral(" run (") : QStringLiteral(" runs (")) +
           QString::number(lines) + (lines == 1 ? QStringLiteral(" line)") : QStringLiteral(" lines)"));
}

RunPruning::RunPruning(RunJournal& journal) : m_journal(journal) {}

bool RunPruning::hasEnded(const JournalRun& run) {
    return run.ending != JournalRun::Ending::None &&
           run.ending != JournalRun::Ending::NotResumed && !run.canResume();
}

PruneOutcome RunPruning::beyond(std::optional<int> keep, std::optional<int> olderThanDays,
                                const QDateTime& now) {
    PruneOutcome outcome;
    outcome.sizeBefore = m_journal.size();
    const QList<JournalRun> latestFirst = allRunsLatestFirst(m_journal);
    QList<qint64> doomed;
    for (qsizetype i = 0; i < latestFirst.size(); ++i) {
        const JournalRun& run = latestFirst[i];
        const bool kept = keep && i < *keep;
        const bool recent = olderThanDays && run.started >= now.addDays(-*olderThanDays);
        if (!kept && !recent && count(run, outcome)) {
            doomed.append(run.id);
        }
    }
    // One deletion, so that the space comes back once.
    if (!doomed.isEmpty()) {
        m_journal.deleteRuns(doomed);
    }
    outcome.sizeAfter = m_journal.size();
    return outcome;
}

PruneOutcome RunPruning::downTo(qint64 bytes) {
    PruneOutcome outcome;
    outcome.sizeBefore = m_journal.size();
    outcome.sizeAfter = outcome.sizeBefore;
    QList<JournalRun> oldestFirst = allRunsLatestFirst(m_journal);
    std::reverse(oldestFirst.begin(), oldestFirst.end());
    for (const JournalRun& run : oldestFirst) {
        if (outcome.sizeAfter <= bytes) {
            break;
        }
        // One at a time: what a run takes is known only once it is gone.
        if (count(run, outcome)) {
            m_journal.deleteRuns({run.id});
            outcome.sizeAfter = m_journal.size();
        }
    }
    return outcome;
}

bool RunPruning::count(const JournalRun& run, PruneOutcome& outcome) {
    if (!hasEnded(run) || m_journal.isUnderWay(run.id)) {
        ++outcome.unfinishedKept;
        return false;
    }
    ++outcome.runs;
    outcome.lines += run.lines;
    return true;
}

}  // namespace larkspan
