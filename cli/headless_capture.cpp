#include "cli/headless_capture.h"

#include "browser/local_wait.h"
#include "browser/twebbrowser.h"
#include "capture/capture_error.h"
#include "capture/csv_results_writer.h"
#include "capture/scraped_message.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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

std::unique_ptr<ResultsWriter> resultsWriterFor(const QString& outputPath) {
    return std::make_unique<CsvResultsWriter>(outputPath.isEmpty() ? OutputFile::standardOutput()
                                                                   : OutputFile(outputPath));
}

}  // namespace

HeadlessCapture::HeadlessCapture(HeadlessCaptureOptions options)
    : m_options(std::move(options)),
      m_browser(std::make_unique<TWebbrowser>()),
      m_parser(m_options.addresses),
      m_results(resultsWriterFor(m_options.outputPath)) {
    // Nobody could answer a page's own message boxes.
    m_browser->setSilent(true);
    // Nobody could press Stop either.
    m_browser->setLoadTimeLimit(m_options.pageTimeout);
}

HeadlessCapture::~HeadlessCapture() = default;

int HeadlessCapture::run() {
    try {
        loadSource();
    } catch (const std::exception& error) {
        return cutShort(0, QString::fromUtf8(error.what()));
    }
    return finish(capturePageChain(*this, m_parser));
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

void HeadlessCapture::loadSource() {
    m_browser->Navigate(m_options.source);
    if (!m_browser->waitUntilComplete()) {
        throw std::runtime_error("the browser went away while loading the first page");
    }
    if (!m_browser->lastLoadSucceeded()) {
        throw CaptureError(m_browser->lastLoadFailure().toStdString());
    }
}

std::shared_ptr<dom::Document> HeadlessCapture::currentDocument() {
    std::shared_ptr<dom::Document> document = m_browser->Document();
    // A page whose renderer has ended shows nothing; that is the reason to give.
    if (!document && !m_browser->lastLoadSucceeded()) {
        throw CaptureError(m_browser->lastLoadFailure().toStdString());
    }
    return document;
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

void HeadlessCapture::pageCaptured(int pageNumber, const QStringList& resultLines) {
    m_results->writePage(resultLines);
    printLine(QStringLiteral("page %1: %2: %3 listings, %4 in all")
                  .arg(pageNumber)
                  .arg(m_browser->LocationURL())
                  .arg(resultLines.size())
                  .arg(m_results->linesWritten()));
}

bool HeadlessCapture::shouldTurnPage(int pageNumber) {
    if (m_interrupted || (m_options.maxPages && pageNumber >= *m_options.maxPages)) {
        return false;
    }
    pauseBeforeTurn();
    return !m_interrupted;
}

void HeadlessCapture::pauseBeforeTurn() {
    if (m_options.delay.count() <= 0) {
        return;
    }
    browser::LocalWait pause(this);
    pause.setTimeLimit(m_options.delay);
    pause.exec();
}

int HeadlessCapture::finish(const RunEnd& end) {
    switch (end.cause) {
        case RunEnd::Cause::TurnFailed:
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
    printLine(scrapedMessage(m_results->linesWritten()));
    return 0;
}

// An interrupt is the reason whatever error it caused on its way through the run.
int HeadlessCapture::cutShort(int pagesCaptured, const QString& reason) {
    printLine(scrapedMessage(m_results->linesWritten()));
    printLine(cutShortText(pagesCaptured, m_interrupted ? QStringLiteral("interrupted") : reason));
    return m_interrupted ? kExitInterrupted : kExitFailure;
}

}  // namespace larkspan
