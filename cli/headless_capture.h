#pragma once

#include "capture/listing_sources.h"
#include "capture/listing_text_parser.h"
#include "capture/page_chain.h"
#include "capture/profile_folder.h"
#include "cli/headless_capture_options.h"
#include "cli/parallel_searches.h"
#include "journal/run_recorder.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace larkspan {

class ResultsWriter;
class RunJournal;
class TWebbrowser;

// Captures result pages in a browser without a window: loads the source, then the page chain.
// The output holds every line captured so far after each page, so an error or an interrupt
// loses nothing; every page also goes to the run journal, from which a run that did not end
// can be resumed. Progress goes to standard error, one line per page. The last line gives the
// count, or, when the run did not end as it should, why it was cut short.
class HeadlessCapture : public QObject, private CaptureHost {
    Q_OBJECT

public:
    // Without a journal (one that could not be opened) the run cannot be resumed.
    HeadlessCapture(HeadlessCaptureOptions options, RunJournal* journal);
    ~HeadlessCapture() override;

    // Runs the whole capture; gives the process exit code: 0 for a run that reached its last
    // page, its page limit or a page it had already captured; 1 for any other end; 130 when
    // interrupted.
    int run();
    // Takes up a run of the journal that did not end, at its first page not yet captured; the
    // output gets the lines of its first part again, unless it is a stream, which has them.
    int resume(const JournalRun& run);

    // Ends the run at the next chance; the lines captured so far stay.
    void interrupt();
    // Asked between the listings of a page, whose parse keeps the event loop waiting: a true
    // answer interrupts the run there.
    void setInterruptCheck(std::function<bool()> interruptRaised);

private:
    std::shared_ptr<dom::Document> currentDocument() override;
    QUrl currentAddress() override;
    dom::PageLoader& pageLoader() override;
    QString flattenedText(const QString& text) override;
    void pageCaptured(const CapturedPage& page) override;
    bool shouldTurnPage(int pageNumber) override;
    bool waitBeforeRetry(const PageRefusal& refusal) override;
    bool passHumanCheck(const HumanCheck& check) override;

    int capture(const ChainStart& start);
    // The searches of a batch not done yet, one after another into the one output (see
    // capture/search_batch.h).
    RunEnd captureSearches(const ChainStart& start);
    // The same, several searches at once (see cli/parallel_searches.h).
    RunEnd captureSearchesInParallel(const ChainStart& start);
    // After a search of a batch that lets the batch go on; `said` is what to tell of its end.
    void searchEnded(const QString& said);
    // Writes the page to the output and the journal and tells its progress line; the page's
    // remark is the line's remarks. A search's number from 1, or 0 outside a batch.
    void keepPage(int searchNumber, const CapturedPage& page, const QString& address);
    // The first result page of the search at the index (the source of a single search).
    QUrl searchAddress(int index) const;
    void sourceTaken(const ListingSourceChoice& taken);
    // What the progress line of the page adds in brackets; empty for nothing.
    QString pageRemarks(const CapturedPage& page, const ListingSource& source,
                        bool chosenAutomatically) const;
    bool pause(std::chrono::milliseconds duration);
    void tellJournalProblem();
    int finish(const RunEnd& end);
    void tellTotals();
    int cutShort(int pagesCaptured, const QString& reason);
    void recordEnd(const RunEnd& end);

    HeadlessCaptureOptions m_options;
    std::unique_ptr<TWebbrowser> m_browser;
    ListingTextParser m_parser;
    ProfileFolder m_profileFolder;
    ListingSources m_sources;
    std::unique_ptr<ListingSource> m_source;
    RunRecorder m_recorder;
    std::unique_ptr<ResultsWriter> m_results;
    // Lines of the run in all, those of a resumed run's first part included.
    qint64 m_linesCaptured = 0;
    int m_pagesFlattened = 0;
    bool m_interrupted = false;
};

}  // namespace larkspan
