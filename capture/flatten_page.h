#pragma once

#include <QString>

namespace larkspan {

namespace dom {
class Document;
}

// The listing-block text of a result page: for every element of the body, in document order,
// one labelled entry per known class name that its class attribute contains, each line ended by
// CR LF. Entries that start a listing are preceded by a "§" separator, where the text is later
// cut into blocks. Empty when no element matches.
// Throws CaptureError when there is no HTML document or it has no body; engine failures pass
// through as dom::DomError.
QString FlattenPage(dom::Document* document);

}  // namespace larkspan
