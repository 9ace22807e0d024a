#pragma once

#include "browser/dom.h"

#include <QString>

namespace larkspan {

// What following a result page's "NEXT »" link, or loading a page by its address, came to.
struct PageTurn {
    enum class Result {
        Turned,  // the page has loaded
        Failed,  // no page arrived
    };
    Result result = Result::Turned;
    // For Failed: why, in words for the user; when the page could not be loaded, its address,
    // the server's HTTP status and how long the server asks to wait (see dom::LinkOutcome).
    QString failure = {};
    QUrl address = {};
    int httpStatus = 0;
    std::optional<std::chrono::seconds> retryAfter = {};
};

// What a page load that followed a link or an address came to.
PageTurn pageTurnOf(const dom::LinkOutcome& outcome);

// The result page's "NEXT »" link, or null when it has none. Found first and followed only
// then, so a run pauses only before a page turn that will happen.
// Throws CaptureError when there is no HTML document; engine failures pass through as
// dom::DomError.
std::shared_ptr<dom::Element> FindNextPageLink(dom::Document* document);

// Follows the next-page link through the loader, which clicks it and waits for the next page.
PageTurn TurnToNextPage(dom::Element& link, dom::PageLoader& loader);

}  // namespace larkspan
