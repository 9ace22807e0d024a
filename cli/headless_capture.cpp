#include "cli/headless_capture.h"

#include "browser/local_wait.h"
#include "browser/twebbrowser.h"
#include "capture/results_workbook.h"
#include "capture/scraped_message.h"
#include "cli/headless_page.h"
#include "cli/output_file_mark.h"
#include "cli/results_output.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringEncoder>

#include <cstdio>
#include <stdexcept>

namespace larkspan {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitInterrupted = 130;

void printLine(const QString& line) {
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        throw std::runtime_error(
            QStringLiteral("cannot write %1: %2").arg(path, file.errorString()).toStdString());
    }
}

}  // namespace

HeadlessCapture::HeadlessCapture(HeadlessCaptureOptions options, RunJournal* journal)
    : m_options(std::move(options)),
      m_browser(headlessPage(m_options.pageTimeout)),
      m_parser(m_options.addresses),
      m_sources(m_parser, m_options.addresses,
                {[this](std::chrono::milliseconds duration) { return pause(duration); },
                 m_options.pageTimeout},
                m_profileFolder),
      m_source(m_sources.make(m_options.sourceInUse(),
                              [this](const ListingSourceChoice& taken) { sourceTaken(taken); })),
      m_recorder(journal, m_options.dropRepeatedListings),
      m_results(makeResultsWriter(m_options.format,
                                  m_options.outputPath.isEmpty() ? OutputFile::standardOutput()
                                                                 : OutputFile(m_options.outputPath),
                                  m_options.guardFormulas)) {
    // A file that is replaced as a whole is the one a resume would write again.
    if (!m_options.outputPath.isEmpty() && isReplaceable(m_options.outputPath)) {
        m_recorder.setOutputMark(
            [path = m_options.outputPath] { return OutputFileMark::of(path).toText(); });
    }
}

HeadlessCapture::~HeadlessCapture() = default;

int HeadlessCapture::run() {
    if (!m_options.searches.isEmpty()) {
        m_options.source = m_options.searches.front();
    }
    m_recorder.start(JournalRun::Kind::Command, m_options.source.toString(), m_options.toJson());
    tellJournalProblem();
    return capture({.address = m_options.source});
}

int HeadlessCapture::resume(const JournalRun& run) {
    // Its settings from now on: the output may be another file.
    JournalRun takenUp = run;
    takenUp.settings = m_options.toJson();
    const RunRecorder::ResumePoint resumed = m_recorder.resume(
        takenUp, searchAddress(m_options.batch.searchesDone), m_options.batch.pagesDone);
    m_linesCaptured = resumed.lines.size();
    m_pagesFlattened = resumed.pages;
    printLine(QStringLiteral("Resuming run %1 of %2 after %3, %4 lines so far")
                  .arg(QString::number(run.id),
                       run.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                       pageCountText(resumed.pages), QString::number(m_linesCaptured)));
    try {
        // Standard output, a device or a named pipe already has what was written to it.
        if (m_options.format == ResultsFormat::Workbook ||
            (!m_options.outputPath.isEmpty() && isReplaceable(m_options.outputPath))) {
            m_results->writePage(resumed.lines);
            m_recorder.noteOutput();
        } else if (resumed.pages > 0) {
            m_results->continueOutput(resumed.lines.size());
        }
    } catch (const std::exception& error) {
        m_recorder.end(JournalRun::Ending::Interrupted);
        return cutShort(resumed.pages, QString::fromUtf8(error.what()));
    }
    return capture(resumed.start);
}

int HeadlessCapture::capture(const ChainStart& start) {
    const RunEnd end = m_options.searches.isEmpty()  ? capturePageChain(*this, *m_source, start)
                       : m_options.parallelPages > 1 ? captureSearchesInParallel(start)
                                                     : captureSearches(start);
    // Written before the end is recorded, so the journal knows the file the run leaves.
    QString unwritten;
    try {
        m_results->finish();
        m_recorder.noteOutput();
        if (m_results->cellsCut() > 0) {
            printLine(cellsCutText(m_results->cellsCut()));
        }
    } catch (const std::exception& error) {
        unwritten = QString::fromUtf8(error.what());
    }
    recordEnd(end);
    if (!unwritten.isEmpty()) {
        return cutShort(
            end.pagesCaptured,
            unwritten + QStringLiteral("; larkspan runs export writes the lines again"));
    }
    return finish(end);
}

QUrl HeadlessCapture::searchAddress(int index) const {
    return m_options.searches.isEmpty() ? m_options.source : m_options.searches.value(index);
}

RunEnd HeadlessCapture::captureSearches(const ChainStart& start) {
    const SearchBatchHost batchHost{
        .newSource = [this]() -> ListingSource& {
            m_source =
                m_sources.make(m_options.sourceInUse(),
                               [this](const ListingSourceChoice& taken) { sourceTaken(taken); });
            return *m_source;
        },
        .searchStarts =
            [this, first = m_options.batch.searchesDone](const BatchProgress& progress) {
                m_recorder.setPagesBefore(progress.pagesDone);
                // The next search's first page is a page load like a page turn: the pause
                // keeps the searches of one site apart too.
                if (progress.searchesDone > first) {
                    pause(m_options.delay.pick());
                }
            },
        .searchEnded = [this](const BatchProgress&, const QString& said) { searchEnded(said); },
        .stopped = [this] { return m_interrupted; },
    };
    return larkspan::captureSearches(*this, m_options.searches, m_options.batch, start, batchHost);
}

RunEnd HeadlessCapture::captureSearchesInParallel(const ChainStart& start) {
    const ParallelSearchesHost host{
        .newSource =
            [this, resumedWith = m_options.sourceInUse()](bool first, SourceTaken taken) {
                return m_sources.make(first ? resumedWith : m_options.listingSource,
                                      std::move(taken));
            },
        .remarks =
            [this](const CapturedPage& page, const ListingSource& source,
                   bool chosenAutomatically) {
                return pageRemarks(page, source, chosenAutomatically);
            },
        .flattenedText = [this](const QString& text) { return flattenedText(text); },
        .keepPage =
            [this](int searchNumber, const CapturedPage& page, const PageOrigin& origin) {
                if (origin.taken && !m_options.takenSource) {
                    sourceTaken(*origin.taken);
                }
                m_recorder.setPagesBefore(m_options.batch.pagesDone);
                keepPage(searchNumber, page, origin.address);
            },
        .searchEnded = [this](const BatchProgress&, const QString& said) { searchEnded(said); },
        .newPage = [this] { return headlessPage(m_options.pageTimeout); },
        .pause = [this](std::chrono::milliseconds duration) { return pause(duration); },
        .tell = printLine,
        .stopped = [this] { return m_interrupted; },
    };
    return larkspan::captureSearchesInParallel(m_options.searches, m_options.batch, start,
                                               {.pages = m_options.parallelPages,
                                                .delay = m_options.delay,
                                                .maxPages = m_options.maxPages},
                                               host);
}

void HeadlessCapture::searchEnded(const QString& said) {
    if (!said.isEmpty()) {
        printLine(said);
    }
    m_options.takenSource.reset();
    m_recorder.noteSettings(m_options.toJson());
    tellJournalProblem();
}

void HeadlessCapture::interrupt() {
    m_interrupted = true;
    // Every wait in progress ends; the run unwinds from there.
    QCoreApplication::exit(kExitInterrupted);
}

void HeadlessCapture::setInterruptCheck(std::function<bool()> interruptRaised) {
    m_parser.setStopRequest([this, raised = std::move(interruptRaised)] {
        if (raised()) {
            interrupt();
        }
        return m_interrupted;
    });
}

std::shared_ptr<dom::Document> HeadlessCapture::currentDocument() {
    return shownDocument(*m_browser);
}

QUrl HeadlessCapture::currentAddress() {
    return QUrl(m_browser->LocationURL());
}

void HeadlessCapture::sourceTaken(const ListingSourceChoice& taken) {
    m_options.takenSource = taken;
    m_recorder.noteSettings(m_options.toJson());
}

QString HeadlessCapture::pageRemarks(const CapturedPage& page, const ListingSource& source,
                                     bool chosenAutomatically) const {
    QStringList remarks;
    if (page.number == 1 && (chosenAutomatically || m_options.listingSource.kind !=
                                                        ListingSourceChoice::Kind::Directory)) {
        remarks.append(
            QStringLiteral("listings from ") + source.name() +
            (chosenAutomatically ? QStringLiteral(", chosen automatically") : QString()));
    }
    if (!page.remark.isEmpty()) {
        remarks.append(page.remark);
    }
    return remarks.join(QStringLiteral("; "));
}

dom::PageLoader& HeadlessCapture::pageLoader() {
    return *m_browser;
}

QString HeadlessCapture::flattenedText(const QString& text) {
    ++m_pagesFlattened;
    if (!m_options.flattenedDir.isEmpty()) {
        const QString name = QStringLiteral("page%1.txt").arg(m_pagesFlattened);
        writeFile(QDir(m_options.flattenedDir).filePath(name),
                  QStringEncoder(QStringConverter::Utf8).encode(text));
    }
    return text;
}

void HeadlessCapture::pageCaptured(const CapturedPage& page) {
    CapturedPage told = page;
    told.remark = pageRemarks(page, *m_source, m_options.takenSource.has_value());
    keepPage(m_options.searches.isEmpty() ? 0 : m_options.batch.searchesDone + 1, told,
             m_browser->LocationURL());
}

void HeadlessCapture::keepPage(int searchNumber, const CapturedPage& page, const QString& address) {
    // The output first: the journal then knows the file as the page left it.
    const QStringList lines = m_recorder.keep(
        page, address, [this](const QStringList& kept) { m_results->writePage(kept); });
    tellJournalProblem();
    m_linesCaptured += lines.size();
    const QString dropped = m_recorder.dropsRepeatedListings()
                                ? QStringLiteral(" (%1 repeated ones dropped)")
                                      .arg(page.resultLines.size() - lines.size())
                                : QString();
    const QString& remarks = page.remark;
    const QString where = searchNumber == 0
                              ? QStringLiteral("page ") + QString::number(page.number)
                              : searchName(searchNumber, m_options.searches.size()) +
                                    QStringLiteral(", page ") + QString::number(page.number);
    // A batch's totals grow large: grouped digits read better there.
    const QString total = m_options.searches.isEmpty()
                              ? QString::number(m_linesCaptured)
                              : QLocale(QLocale::English).toString(m_linesCaptured);
    printLine(QStringLiteral("%1: %2: %3 listings%4, %5 in all%6")
                  .arg(where, address, QString::number(lines.size()), dropped, total,
                       remarks.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(remarks)));
}

bool HeadlessCapture::shouldTurnPage(int pageNumber) {
    if (m_interrupted || (m_options.maxPages && pageNumber >= *m_options.maxPages)) {
        return false;
    }
    return pause(m_options.delay.pick());
}

// Nobody is there to pass it: the run ends, to be resumed once the user has passed the check
// in the window, or waited.
bool HeadlessCapture::passHumanCheck(const HumanCheck&) {
    return false;
}

bool HeadlessCapture::waitBeforeRetry(const PageRefusal& refusal) {
    printLine(refusal.text());
    return pause(refusal.wait);
}

// False when interrupted meanwhile.
bool HeadlessCapture::pause(std::chrono::milliseconds duration) {
    if (duration.count() > 0) {
        browser::LocalWait pause(this);
        pause.setTimeLimit(duration);
        pause.exec();
    }
    return !m_interrupted;
}

void HeadlessCapture::tellJournalProblem() {
    const QString problem = m_recorder.takeJournalProblem();
    if (!problem.isEmpty()) {
        printLine(QStringLiteral("larkspan: ") + problem);
    }
}

void HeadlessCapture::recordEnd(const RunEnd& end) {
    if (m_interrupted) {
        m_recorder.end(JournalRun::Ending::Interrupted);
    } else {
        m_recorder.endAfter(end, JournalRun::Ending::PageLimit);
    }
    tellJournalProblem();
}

int HeadlessCapture::finish(const RunEnd& end) {
    // A batch that went through, some of its searches cut short: those are its last lines.
    if (!m_options.searches.isEmpty() && !m_interrupted && end.cause != RunEnd::Cause::Error &&
        !m_options.batch.failures.isEmpty()) {
        tellTotals();
        printLine(QStringLiteral("%1; they were:").arg(end.failure));
        for (const QString& failure : m_options.batch.failures) {
            printLine(QStringLiteral("  ") + failure);
        }
        return kExitFailure;
    }
    switch (end.cause) {
        case RunEnd::Cause::TurnFailed:
        case RunEnd::Cause::HumanCheck:
        case RunEnd::Cause::Error:
            return cutShort(end.pagesCaptured, end.failure);
        case RunEnd::Cause::HostStopped:
            if (m_interrupted) {
                return cutShort(end.pagesCaptured, {});
            }
            break;
        case RunEnd::Cause::RepeatedPage:
            printLine(QStringLiteral("%1 (%2); the run ends here")
                          .arg(repetitionText(end), m_browser->LocationURL()));
            break;
        case RunEnd::Cause::LastPage:
            break;
    }
    tellTotals();
    return 0;
}

void HeadlessCapture::tellTotals() {
    if (m_recorder.dropsRepeatedListings()) {
        printLine(QStringLiteral("%1 repeated listings dropped").arg(m_recorder.dropped()));
    }
    printLine(scrapedMessage(m_linesCaptured));
}

// An interrupt is the reason whatever error it caused on its way through the run.
int HeadlessCapture::cutShort(int pagesCaptured, const QString& reason) {
    tellTotals();
    QString line =
        cutShortText(pagesCaptured, m_interrupted ? QStringLiteral("interrupted") : reason);
    if (const std::optional<qint64> run = m_recorder.resumableRun()) {
        line += QStringLiteral("; to resume: larkspan capture --resume ") + QString::number(*run);
    }
    printLine(line);
    return m_interrupted ? kExitInterrupted : kExitFailure;
}

}  // namespace larkspan
