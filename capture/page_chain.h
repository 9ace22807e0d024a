#pragma once

#include "capture/run_end.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace larkspan {

class ListingTextParser;
namespace dom {
class Document;
class PageLoader;
}  // namespace dom

// What a capture run needs from whoever hosts it: the window or the headless command.
class CaptureHost {
public:
    virtual ~CaptureHost() = default;

    // The capture browser's document as it is now (null when there is none).
    virtual std::shared_ptr<dom::Document> currentDocument() = 0;
    virtual dom::PageLoader& pageLoader() = 0;

    // The flattened text of the page just read; gives the text to cut into listings. The window
    // shows it in its Parser panel and parses exactly what the panel then holds.
    virtual QString flattenedText(const QString& text) { return text; }
    // The result lines of the accepted listings of one page, in page order. An error it throws
    // ends the run, and the page does not count as captured.
    virtual void pageCaptured(int pageNumber, const QStringList& resultLines) = 0;
    // Asked after every page: false ends the run there, without looking for a next page.
    virtual bool shouldTurnPage(int pageNumber) = 0;
};

// Captures the page the host shows and every page its next-page links lead to, until there is
// no next page, the host stops it, a page repeats one captured before, a next page does not
// arrive, or an error ends the run; tells which, and after how many pages. A loop, not a
// recursion: memory stays flat over any number of pages. Pages already reported stay reported.
RunEnd capturePageChain(CaptureHost& host, ListingTextParser& parser);

}  // namespace larkspan
