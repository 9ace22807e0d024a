#pragma once

#include "browser/dom.h"
#include "browser/dom_bridge.h"

#include <QUrl>

#include <memory>

namespace larkspan::browser {

// The document a page of the engine shows, as it was when it was opened: once the page has moved
// on, every call raises dom::DomError.
class WebDocument : public dom::Document {
public:
    // The page's current document, or null while it has none.
    static std::shared_ptr<WebDocument> open(const std::shared_ptr<DomBridge>& bridge);

    WebDocument(std::shared_ptr<DomBridge> bridge, OpenedDocument opened);

    bool isHtmlDocument() const override;
    std::shared_ptr<dom::Element> body() override;
    std::unique_ptr<dom::ElementCollection> all() override;
    QString readyState() const override;

    void scrollTo(int x, int y);
    // Loads the address in place of this document, which it also replaces in the history.
    void replaceLocation(const QUrl& url);

    // Replaces the document's content with the markup, which may be of any size; the address
    // and the history stay. The markup's scripts run.
    void write(const QString& markup);

private:
    std::shared_ptr<DomBridge> m_bridge;
    OpenedDocument m_opened;
};

}  // namespace larkspan::browser
