#include "shell/journal_size_limit.h"

#include "journal/run_pruning.h"

namespace larkspan {

QString keepJournalUnder(RunJournal& journal, int megabytes) {
    const qint64 limit = qint64(megabytes) * kBytesPerMegabyte;
    const PruneOutcome outcome = RunPruning(journal).downTo(limit);
    const QString limitText = QString::number(megabytes) + QStringLiteral(" MB");
    const QString done =
        outcome.runs == 0
            ? QStringLiteral("The run journal takes ") + sizeText(outcome.sizeAfter) +
                  QStringLiteral(", over ") + limitText
            : QStringLiteral("The run journal was over ") + limitText +
                  QStringLiteral(": deleted ") + runsAndLinesText(outcome.runs, outcome.lines) +
                  QStringLiteral(" that ended, the oldest first; it takes ") +
                  sizeText(outcome.sizeAfter) + QStringLiteral(" now");
    if (outcome.sizeAfter > limit) {
        return done + QStringLiteral(", and holds only runs that did not end");
    }
    return outcome.runs == 0 ? QString() : done;
}

}  // namespace larkspan
