#include "capture/capture_error.h"

#include "browser/dom.h"

namespace larkspan {

dom::Document& htmlDocumentOf(dom::Document* document) {
    if (!document || !document->isHtmlDocument()) {
        throw CaptureError("Couldn't convert the wb.Document to an IHTMLDocument2");
    }
    return *document;
}

}  // namespace larkspan
