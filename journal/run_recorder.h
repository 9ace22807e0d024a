#pragma once

#include "capture/listing_dedupe.h"
#include "capture/page_chain.h"
#include "journal/journal_run.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace larkspan {

class JournalError;
class RunJournal;

// Said after a journal problem that a run carries on from.
inline constexpr QLatin1StringView kCannotBeResumed{"; the run goes on, but cannot be resumed"};

// The bookkeeping of a capture run that the window and the command share: repeated listings
// left out when asked, and every page written to the journal so the run can be resumed. A
// journal that fails costs only the resume: the problem is kept for the user, and the run goes
// on without it.
class RunRecorder {
public:
    // Without a journal (one that could not be opened) only the listings are looked after.
    RunRecorder(RunJournal* journal, bool dropRepeatedListings);

    // How the run's output file is now, in words the journal keeps with every page, so that a
    // resume can tell whether the file is still the one the run left. Without it, nothing is kept.
    void setOutputMark(std::function<QString()> outputMark);

    void start(JournalRun::Kind kind, const QString& source, const QJsonObject& settings);
    // Where a resumed run takes up: the lines of the pages it recorded, and the page chain's
    // start after the last of them (at its source when it has none), knowing them again.
    struct ResumePoint {
        ChainStart start;
        QStringList lines;
        int pages = 0;
    };
    // Takes up a run that did not end; its listings so far count as captured. The page chain
    // takes up after the pages numbered above `pagesBefore` (a batch's earlier searches have the
    // others), at `source` when there are none. Throws JournalError: a resume without its
    // journal would lose the first part.
    ResumePoint resume(const JournalRun& run, const QUrl& source, int pagesBefore = 0);

    // The lines of the page that go on to the output: all of them, or the listings not
    // captured before in the run. `output` takes them first; what it throws leaves the page out
    // of the journal too, so a resume captures it again.
    QStringList keep(const CapturedPage& page, const QString& address,
                     const std::function<void(const QStringList&)>& output = {});
    // Pages a batch's earlier searches captured: the journal numbers the run's pages on from
    // there, while each search numbers its own from 1.
    void setPagesBefore(int pages) { m_pagesBefore = pages; }
    // The output file changed between pages.
    void noteOutput();
    // The run's settings changed while it went on.
    void noteSettings(const QJsonObject& settings);
    void end(JournalRun::Ending ending, const QString& text = {});
    // How the page chain ended; the host says what its own stop was (a page limit, Stop).
    void endAfter(const RunEnd& end, JournalRun::Ending hostStop);

    bool dropsRepeatedListings() const { return m_dropRepeated; }
    // The run, once the journal knows that it ended without reaching its own end: it can be
    // resumed.
    std::optional<qint64> resumableRun() const { return m_resumable; }
    qint64 dropped() const { return m_droppedBefore + m_dedupe.dropped(); }
    // The journal's problem since the last call, for the user; empty when there was none.
    QString takeJournalProblem();

private:
    void record(const std::function<void(RunJournal&, qint64)>& write);
    QString outputMark() const;
    // The run goes on without its journal; the problem is kept for the user.
    void loseJournal(const JournalError& error);

    RunJournal* m_journal;
    std::optional<qint64> m_runId;
    std::optional<qint64> m_resumable;
    std::function<QString()> m_outputMark;
    bool m_dropRepeated;
    int m_pagesBefore = 0;
    ListingDedupe m_dedupe;
    // Left out by the first part of a resumed run.
    qint64 m_droppedBefore = 0;
    QString m_problem;
};

}  // namespace larkspan
