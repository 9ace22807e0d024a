#pragma once

#include <QString>

#include <memory>

namespace larkspan {

namespace dom {
class Document;
class Element;
}  // namespace dom

// The first element the selector finds on the page, or null. Throws CaptureError when there is
// no HTML document; engine failures pass through as dom::DomError.
std::shared_ptr<dom::Element> findElementBySelector(dom::Document* document,
                                                    const QString& selector);
// The first link whose shown text (white space collapsed, trimmed) is exactly the text, or null.
std::shared_ptr<dom::Element> findLinkByText(dom::Document* document, const QString& text);

}  // namespace larkspan
