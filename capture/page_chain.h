#pragma once

#include "capture/human_check.h"
#include "capture/listing_source.h"
#include "capture/run_end.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <chrono>
#include <memory>

namespace larkspan {

namespace dom {
class PageLoader;
}  // namespace dom

// One page of a run, captured.
struct CapturedPage {
    int number = 0;
    // The result lines of its accepted listings, in page order.
    QStringList resultLines;
    // Of what the source read, so a resumed run knows the page again (see SeenPages).
    QByteArray digest;
    // The source's word on the reading of the page, for the user; empty for none.
    QString remark = {};
};

// A page the server refused for now, about to be loaded again after a wait.
struct PageRefusal {
    // "ADDRESS: the server answered with HTTP status 429"
    QString failure;
    int retry = 0;  // 1 to kRefusedPageRetries
    std::chrono::seconds wait{0};

    // For the user: "FAILURE; trying again in 14 s (2 of 5)".
    QString text() const;
};

// What a capture run needs from whoever hosts it: the window or the headless command.
class CaptureHost : public ShownPage {
public:
    virtual dom::PageLoader& pageLoader() = 0;

    // An error it throws ends the run, and the page does not count as captured.
    virtual void pageCaptured(const CapturedPage& page) = 0;
    // Asked once a page's next-page link is found, before it is followed: false ends the run
    // there. The place for the pause between pages: it comes only before a turn that happens.
    virtual bool shouldTurnPage(int pageNumber) = 0;
    // Waits before the refused page is loaded again, telling the user why; false when the run
    // was stopped meanwhile.
    virtual bool waitBeforeRetry(const PageRefusal& refusal) = 0;
    // The page shown asks whether a human is there: true once the user has passed the check in
    // the page, so it is read again; false ends the run there, the page not captured.
    virtual bool passHumanCheck(const HumanCheck& check) = 0;
};

// Where a run starts.
struct ChainStart {
    // Loaded first when given: the first result page, or the last page a resumed run had
    // captured. Otherwise the run starts on the page the host shows.
    QUrl address = {};
    // A resumed run's pages captured before, in order, by digest; the page shown is the last
    // of them, so the run turns to its next page first.
    QList<QByteArray> pagesBefore = {};
};

// Captures the page the host shows and every page its next-page links lead to, each read by the
// source, until there is
// no next page, the host stops it, a page repeats one captured before, a next page does not
// arrive, a page asks for a human check the host does not pass, or an error ends the run; tells
// which, and after how many pages. A page the server
// refuses for now is loaded again after a wait (see capture/refused_page.h). A loop, not a
// recursion: memory stays flat over any number of pages. Pages already reported stay reported.
RunEnd capturePageChain(CaptureHost& host, ListingSource& source, const ChainStart& start = {});

}  // namespace larkspan
