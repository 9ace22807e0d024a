#pragma once

#include "browser/dom.h"

#include <QString>

namespace larkspan {

// What following a result page's "NEXT »" link came to.
struct PageTurn {
    enum class Result {
        Turned,      // the link was clicked and the next page has loaded
        NoNextLink,  // the page has no such link; nothing was clicked
        Failed,      // the link was clicked but no next page arrived
    };
    Result result = Result::NoNextLink;
    // For Failed: why, in words for the user; when the page could not be loaded, its address,
    // the server's HTTP status and how long the server asks to wait (see dom::LinkOutcome).
    QString failure = {};
    QUrl address = {};
    int httpStatus = 0;
    std::optional<std::chrono::seconds> retryAfter = {};
};

// What a page load that followed a link or an address came to.
PageTurn pageTurnOf(const dom::LinkOutcome& outcome);

// Follows the result page's "NEXT »" link through the loader, which clicks it and waits for the
// next page.
// Throws CaptureError when there is no HTML document; engine failures pass through as
// dom::DomError.
PageTurn TurnToNextPage(dom::Document* document, dom::PageLoader& loader);

}  // namespace larkspan
