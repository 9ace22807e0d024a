#include "browser/web_document.h"

#include "browser/element_snapshot.h"
#include "browser/web_element.h"
#include "browser/web_element_collection.h"

#include <QJsonObject>

#include <utility>

namespace larkspan::browser {

std::shared_ptr<WebDocument> WebDocument::open(const std::shared_ptr<DomBridge>& bridge) {
    std::optional<OpenedDocument> opened = bridge->openDocument();
    if (!opened) {
        return nullptr;
    }
    return std::make_shared<WebDocument>(bridge, std::move(*opened));
}

WebDocument::WebDocument(std::shared_ptr<DomBridge> bridge, OpenedDocument opened)
    : m_bridge(std::move(bridge)), m_opened(std::move(opened)) {}

bool WebDocument::isHtmlDocument() const {
    m_bridge->checkCurrent(m_opened.key);
    return m_opened.isHtml;
}

std::shared_ptr<dom::Element> WebDocument::body() {
    std::shared_ptr<ElementSnapshot> snapshot = ElementSnapshot::take(
        m_bridge, m_opened.key, QJsonObject{{QStringLiteral("op"), QStringLiteral("body")}});
    if (!snapshot) {
        return nullptr;
    }
    return std::make_shared<WebElement>(std::move(snapshot), 0);
}

std::unique_ptr<dom::ElementCollection> WebDocument::all() {
    return std::make_unique<WebElementCollection>(ElementSnapshot::take(
        m_bridge, m_opened.key, QJsonObject{{QStringLiteral("op"), QStringLiteral("all")}}));
}

QString WebDocument::readyState() const {
    return m_bridge
        ->call(m_opened.key, QJsonObject{{QStringLiteral("op"), QStringLiteral("readyState")}})
        .toString();
}

void WebDocument::scrollTo(int x, int y) {
    m_bridge->call(m_opened.key, QJsonObject{{QStringLiteral("op"), QStringLiteral("scrollTo")},
                                             {QStringLiteral("x"), x},
                                             {QStringLiteral("y"), y}});
}

void WebDocument::replaceLocation(const QUrl& url) {
    m_bridge->callExpectingNavigation(
        m_opened.key, QJsonObject{{QStringLiteral("op"), QStringLiteral("replaceLocation")},
                                  {QStringLiteral("url"), url.toString()}});
}

void WebDocument::write(const QString& markup) {
    m_bridge->call(m_opened.key, QJsonObject{{QStringLiteral("op"), QStringLiteral("write")},
                                             {QStringLiteral("markup"), markup}});
}

}  // namespace larkspan::browser
