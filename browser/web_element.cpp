#include "browser/web_element.h"

#include "browser/web_element_collection.h"

#include <utility>

namespace larkspan::browser {

WebElement::WebElement(std::shared_ptr<ElementSnapshot> snapshot, int index)
    : m_snapshot(std::move(snapshot)), m_index(index) {}

QString WebElement::className() const {
    return m_snapshot->className(m_index);
}

QString WebElement::tagName() const {
    return m_snapshot->tagName(m_index);
}

QString WebElement::innerText() const {
    return m_snapshot->property(m_index, dom::ElementProperty::InnerText);
}

QString WebElement::innerHTML() const {
    return m_snapshot->property(m_index, dom::ElementProperty::InnerHTML);
}

QString WebElement::outerHTML() const {
    return m_snapshot->property(m_index, dom::ElementProperty::OuterHTML);
}

QString WebElement::href() const {
    return m_snapshot->property(m_index, dom::ElementProperty::Href);
}

void WebElement::click() {
    m_snapshot->click(m_index);
}

std::unique_ptr<dom::ElementCollection> WebElement::getElementsByTagName(const QString& tagName) {
    return std::make_unique<WebElementCollection>(m_snapshot->elementsByTagName(m_index, tagName));
}

std::unique_ptr<dom::ElementCollection> WebElement::descendantsWithClassContaining(
    const QList<dom::ClassTextQuery>& queries) {
    return std::make_unique<WebElementCollection>(
        m_snapshot->descendantsWithClassContaining(m_index, queries));
}

}  // namespace larkspan::browser
