#pragma once

namespace larkspan {

namespace dom {
class Document;
class PageLoader;
}  // namespace dom

// Follows the result page's "NEXT »" link through the loader, which clicks it and waits for the
// next page. True when a link was clicked and the next page loaded; false when the page has no
// such link (nothing is clicked) or the loader saw no next page arrive.
// Throws CaptureError when there is no HTML document; engine failures pass through as
// dom::DomError.
bool TurnToNextPage(dom::Document* document, dom::PageLoader& loader);

}  // namespace larkspan
