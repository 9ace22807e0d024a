#pragma once

#include "capture/listing_text_parser.h"
#include "capture/page_chain.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <chrono>
#include <memory>
#include <optional>

namespace larkspan {

class TWebbrowser;

// What `larkspan capture SOURCE` was asked to do.
struct HeadlessCaptureOptions {
    QUrl source;
    QString outputPath;    // empty: standard output
    QString flattenedDir;  // empty: flattened pages are not kept
    std::optional<int> maxPages;
    std::chrono::milliseconds delay{0};  // pause before each page turn
    ServiceAddresses addresses;
};

// Captures result pages in a browser without a window: loads the source, then the page chain.
// The output holds every line captured so far after each page, so an error or an interrupt
// loses nothing; progress goes to standard error, one line per page.
class HeadlessCapture : public QObject, private CaptureHost {
    Q_OBJECT

public:
    explicit HeadlessCapture(HeadlessCaptureOptions options);
    ~HeadlessCapture() override;

    // Runs the whole capture; gives the process exit code.
    int run();

    // Ends the run at the next chance; the lines captured so far stay.
    void interrupt();

private:
    std::shared_ptr<dom::Document> currentDocument() override;
    dom::PageLoader& pageLoader() override;
    QString flattenedText(const QString& text) override;
    void pageCaptured(int pageNumber, const QStringList& resultLines) override;
    bool shouldTurnPage(int pageNumber) override;

    void loadSource();
    void writeOutput(const QStringList& newLines);
    void pauseBeforeTurn();
    int finish(const QString& cutShortReason, int exitCode);

    HeadlessCaptureOptions m_options;
    std::unique_ptr<TWebbrowser> m_browser;
    ListingTextParser m_parser;
    QStringList m_lines;
    int m_pagesCaptured = 0;
    bool m_interrupted = false;
    bool m_signatureWritten = false;
};

}  // namespace larkspan
