#pragma once

#include <QString>

namespace larkspan {

namespace dom {
class Document;
class PageLoader;
}  // namespace dom

// What following a result page's "NEXT »" link came to.
struct PageTurn {
    enum class Result {
        Turned,      // the link was clicked and the next page has loaded
        NoNextLink,  // the page has no such link; nothing was clicked
        Failed,      // the link was clicked but no next page arrived
    };
    Result result = Result::NoNextLink;
    // For Failed: why, in words for the user.
    QString failure = {};
};

// Follows the result page's "NEXT »" link through the loader, which clicks it and waits for the
// next page.
// Throws CaptureError when there is no HTML document; engine failures pass through as
// dom::DomError.
PageTurn TurnToNextPage(dom::Document* document, dom::PageLoader& loader);

}  // namespace larkspan
