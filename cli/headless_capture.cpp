#include "cli/headless_capture.h"

#include "cli/standard_output.h"
#include "browser/local_wait.h"
#include "browser/twebbrowser.h"
#include "capture/results_file.h"
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

}  // namespace

HeadlessCapture::HeadlessCapture(HeadlessCaptureOptions options)
    : m_options(std::move(options)),
      m_browser(std::make_unique<TWebbrowser>()),
      m_parser(m_options.addresses) {
    // Nobody could answer a page's own message boxes.
    m_browser->setSilent(true);
}

HeadlessCapture::~HeadlessCapture() = default;

int HeadlessCapture::run() {
    try {
        loadSource();
        capturePageChain(*this, m_parser);
        return m_interrupted ? finish(QStringLiteral("interrupted"), kExitInterrupted)
                             : finish({}, 0);
    } catch (const std::exception& error) {
        if (m_interrupted) {
            return finish(QStringLiteral("interrupted"), kExitInterrupted);
        }
        const QString message = QString::fromUtf8(error.what());
        printLine(QStringLiteral("larkspan: ") + message);
        return finish(message, kExitFailure);
    }
}

void HeadlessCapture::interrupt() {
    m_interrupted = true;
    // Every wait in progress ends; the run unwinds from there.
    QCoreApplication::exit(kExitInterrupted);
}

void HeadlessCapture::loadSource() {
    m_browser->Navigate(m_options.source);
    if (!m_browser->waitUntilComplete()) {
        throw std::runtime_error("the browser went away while loading the first page");
    }
    if (!m_browser->lastLoadSucceeded()) {
        throw std::runtime_error(
            QStringLiteral("cannot load %1").arg(m_options.source.toDisplayString()).toStdString());
    }
}

std::shared_ptr<dom::Document> HeadlessCapture::currentDocument() {
    return m_browser->Document();
}

dom::PageLoader& HeadlessCapture::pageLoader() {
    return *m_browser;
}

QString HeadlessCapture::flattenedText(const QString& text) {
    if (!m_options.flattenedDir.isEmpty()) {
        const QString name = QStringLiteral("page%1.txt").arg(m_pagesCaptured + 1);
        writeFile(QDir(m_options.flattenedDir).filePath(name),
                  QStringEncoder(QStringConverter::Utf8).encode(text));
    }
    return text;
}

void HeadlessCapture::pageCaptured(int pageNumber, const QStringList& resultLines) {
    m_lines += resultLines;
    m_pagesCaptured = pageNumber;
    writeOutput(resultLines);
    printLine(QStringLiteral("page %1: %2: %3 listings, %4 in all")
                  .arg(pageNumber)
                  .arg(m_browser->LocationURL())
                  .arg(resultLines.size())
                  .arg(m_lines.size()));
}

void HeadlessCapture::writeOutput(const QStringList& newLines) {
    if (!m_options.outputPath.isEmpty()) {
        // The whole file again, atomically: a failure keeps the previous page's file.
        writeResultsFile(m_options.outputPath, m_lines);
        return;
    }
    const QByteArray bytes =
        (m_signatureWritten ? QByteArray() : resultsFileSignature()) + encodeResultLines(newLines);
    m_signatureWritten = true;
    if (!writeStandardOutput(bytes)) {
        throw std::runtime_error("cannot write to standard output");
    }
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

int HeadlessCapture::finish(const QString& cutShortReason, int exitCode) {
    QString line = scrapedMessage(m_lines.size());
    if (!cutShortReason.isEmpty()) {
        line += QStringLiteral(" Cut short after %1 pages: %2")
                    .arg(m_pagesCaptured)
                    .arg(cutShortReason);
    }
    printLine(line);
    return exitCode;
}

}  // namespace larkspan
