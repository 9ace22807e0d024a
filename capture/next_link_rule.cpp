#include "capture/next_link_rule.h"

#include "browser/dom.h"
#include "capture/capture_error.h"

#include <QJsonObject>

namespace larkspan {
namespace {

const QString kPageScript = QStringLiteral("next_link.js");

// The page script names the element by its place in the document; the element taken from the
// engine's list must be the one it named, or the page changed in between.
std::shared_ptr<dom::Element> elementNamed(dom::Document* document, const QJsonObject& rule) {
    const QJsonObject found = htmlDocumentOf(document).runPageScript(kPageScript, rule).toObject();
    if (found.isEmpty()) {
        return nullptr;
    }
    const int index = found.value(QLatin1String("index")).toInt(-1);
    const std::unique_ptr<dom::ElementCollection> elements = document->all();
    if (index < 0 || index >= elements->length()) {
        return nullptr;
    }
    std::shared_ptr<dom::Element> element = elements->item(index);
    if (element->href() != found.value(QLatin1String("href")).toString()) {
        throw CaptureError("the page changed while its next-page link was looked for");
    }
    return element;
}

}  // namespace

std::shared_ptr<dom::Element> findElementBySelector(dom::Document* document,
                                                    const QString& selector) {
    return elementNamed(document, {{QStringLiteral("selector"), selector}});
}

std::shared_ptr<dom::Element> findLinkByText(dom::Document* document, const QString& text) {
    return elementNamed(document, {{QStringLiteral("text"), text}});
}

}  // namespace larkspan
