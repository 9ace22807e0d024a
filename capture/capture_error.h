#pragma once

#include <stdexcept>

namespace larkspan {

namespace dom {
class Document;
}

// A page that the capture engine cannot work on. The message is shown to the user as it stands;
// failures of the browser engine itself arrive as dom::DomError instead.
class CaptureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The document, when it is an HTML one; throws CaptureError when there is none, or the browser
// shows plain text, an image or a PDF in its place.
dom::Document& htmlDocumentOf(dom::Document* document);

}  // namespace larkspan
