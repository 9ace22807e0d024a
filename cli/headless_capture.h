#pragma once

#include "capture/listing_text_parser.h"
#include "capture/page_chain.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace larkspan {

class ResultsWriter;
class TWebbrowser;

// What `larkspan capture SOURCE` was asked to do.
struct HeadlessCaptureOptions {
    QUrl source;
    QString outputPath;    // empty: standard output
    QString flattenedDir;  // empty: flattened pages are not kept
    std::optional<int> maxPages;
    std::chrono::milliseconds delay{0};  // pause before each page turn
    std::chrono::milliseconds pageTimeout{std::chrono::seconds(120)};
    ServiceAddresses addresses;
};

// Captures result pages in a browser without a window: loads the source, then the page chain.
// The output holds every line captured so far after each page, so an error or an interrupt
// loses nothing; progress goes to standard error, one line per page. The last line gives the
// count, or, when the run did not end as it should, why it was cut short.
class HeadlessCapture : public QObject, private CaptureHost {
    Q_OBJECT

public:
    explicit HeadlessCapture(HeadlessCaptureOptions options);
    ~HeadlessCapture() override;

    // Runs the whole capture; gives the process exit code: 0 for a run that reached its last
    // page, its page limit or a page it had already captured; 1 for any other end; 130 when
    // interrupted.
    int run();

    // Ends the run at the next chance; the lines captured so far stay.
    void interrupt();
    // Asked between the listings of a page, whose parse keeps the event loop waiting: a true
    // answer interrupts the run there.
    void setInterruptCheck(std::function<bool()> interruptRaised);

private:
    std::shared_ptr<dom::Document> currentDocument() override;
    dom::PageLoader& pageLoader() override;
    QString flattenedText(const QString& text) override;
    void pageCaptured(int pageNumber, const QStringList& resultLines) override;
    bool shouldTurnPage(int pageNumber) override;

    void loadSource();
    void pauseBeforeTurn();
    int finish(const RunEnd& end);
    int cutShort(int pagesCaptured, const QString& reason);

    HeadlessCaptureOptions m_options;
    std::unique_ptr<TWebbrowser> m_browser;
    ListingTextParser m_parser;
    std::unique_ptr<ResultsWriter> m_results;
    int m_pagesFlattened = 0;
    bool m_interrupted = false;
};

}  // namespace larkspan
