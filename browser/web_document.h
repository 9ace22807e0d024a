#pragma once

#include "browser/dom.h"
#include "browser/dom_bridge.h"

#include <QByteArray>
#include <QUrl>

#include <chrono>
#include <memory>
#include <optional>

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
    QJsonValue runPageScript(const QString& scriptName, const QJsonValue& arguments) override;

    void scrollTo(int x, int y);
    // Loads the address in place of this document, which it also replaces in the history.
    void replaceLocation(const QUrl& url);

    // Replaces the document's content with the markup, which may be of any size; the address
    // and the history stay. The markup's scripts run.
    void write(const QString& markup);
    // Raises dom::DomError when the document has no body.
    void setBodyInnerHTML(const QString& markup);
    // The cookies that the page's scripts can read, as "name=value; name=value".
    QString cookie() const;
    // Whether an editing command ("Copy", "Cut", "Paste", or another the engine knows) can run
    // on the document as it is now: its selection and the element with the focus.
    bool commandEnabled(const QString& name) const;
    // The bytes at the document's address, asked for again (from the cache where it still has
    // them); nothing when that fails or takes longer than the time limit.
    std::optional<QByteArray> fetchSource(std::chrono::milliseconds timeLimit);
    // Sends a request of the bridge's protocol (resources/dom_bridge.js) about this document and
    // gives the answer's value.
    QJsonValue ask(const QJsonObject& request);

private:
    std::shared_ptr<DomBridge> m_bridge;
    OpenedDocument m_opened;
};

}  // namespace larkspan::browser
