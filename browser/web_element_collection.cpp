#include "browser/web_element_collection.h"

#include "browser/web_element.h"

#include <utility>

namespace larkspan::browser {

WebElementCollection::WebElementCollection(std::shared_ptr<ElementSnapshot> snapshot)
    : m_snapshot(std::move(snapshot)) {}

int WebElementCollection::length() const {
    m_snapshot->checkDocument();
    return m_snapshot->size();
}

std::shared_ptr<dom::Element> WebElementCollection::item(int index) const {
    m_snapshot->checkIndex(index);
    return std::make_shared<WebElement>(m_snapshot, index);
}

void WebElementCollection::prefetch(const QList<dom::PrefetchRequest>& requests) {
    m_snapshot->prefetch(requests);
}

}  // namespace larkspan::browser
