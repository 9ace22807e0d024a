#include "fake_dom.h"

#include <algorithm>
#include <utility>

namespace larkspan::fake {

FakeElement::FakeElement(const Node& node, std::shared_ptr<EngineLog> log)
    : m_node(node), m_log(std::move(log)) {
    m_node.children.clear();
    for (const Node& child : node.children) {
        m_children.push_back(std::make_shared<FakeElement>(child, m_log));
    }
}

void FakeElement::checkAlive() const {
    if (m_node.gone) {
        throw dom::DomError("The element's page has gone");
    }
}

const QString& FakeElement::read(dom::ElementProperty property, const QString& value) const {
    checkAlive();
    m_read |= property;
    if (!m_prefetched.testFlag(property)) {
        ++m_log->unprefetchedReads;
    }
    return value;
}

QString FakeElement::className() const {
    checkAlive();
    return m_node.className;
}

QString FakeElement::tagName() const {
    checkAlive();
    return m_node.tag;
}

QString FakeElement::innerText() const {
    return read(dom::ElementProperty::InnerText, m_node.innerText);
}

QString FakeElement::innerHTML() const {
    return read(dom::ElementProperty::InnerHTML, m_node.innerHTML);
}

QString FakeElement::outerHTML() const {
    return read(dom::ElementProperty::OuterHTML, m_node.outerHTML);
}

QString FakeElement::href() const {
    return read(dom::ElementProperty::Href, m_node.href);
}

// Navigation belongs to the page loader, which records its clicks; a direct click is a fault.
void FakeElement::click() {
    throw dom::DomError("Clicked without a page loader");
}

std::unique_ptr<dom::ElementCollection> FakeElement::getElementsByTagName(const QString& tagName) {
    checkAlive();
    std::vector<std::shared_ptr<FakeElement>> below;
    for (const std::shared_ptr<FakeElement>& child : m_children) {
        child->collect(below, child);
    }
    if (tagName != u"*") {
        std::erase_if(below, [&tagName](const std::shared_ptr<FakeElement>& element) {
            return element->m_node.tag.compare(tagName, Qt::CaseInsensitive) != 0;
        });
    }
    return std::make_unique<FakeCollection>(std::move(below), m_log);
}

std::unique_ptr<dom::ElementCollection> FakeElement::descendantsWithClassContaining(
    const QList<dom::ClassTextQuery>& queries) {
    checkAlive();
    std::vector<std::shared_ptr<FakeElement>> below;
    for (const std::shared_ptr<FakeElement>& child : m_children) {
        child->collect(below, child);
    }
    // The search and its read-ahead are one round trip.
    PrefetchCall call;
    std::erase_if(below, [&queries, &call](const std::shared_ptr<FakeElement>& element) {
        bool held = false;
        for (const dom::ClassTextQuery& query : queries) {
            if (element->m_node.className.contains(query.text)) {
                held = true;
                element->notePrefetch(query.readAhead);
                call.properties |= query.readAhead;
            }
        }
        if (held) {
            call.ids.append(element->id());
        }
        return !held;
    });
    m_log->prefetches.push_back(std::move(call));
    return std::make_unique<FakeCollection>(std::move(below), m_log);
}

void FakeElement::collect(std::vector<std::shared_ptr<FakeElement>>& into,
                          const std::shared_ptr<FakeElement>& self) const {
    into.push_back(self);
    for (const std::shared_ptr<FakeElement>& child : m_children) {
        child->collect(into, child);
    }
}

FakeCollection::FakeCollection(std::vector<std::shared_ptr<FakeElement>> elements,
                               std::shared_ptr<EngineLog> log)
    : m_elements(std::move(elements)), m_log(std::move(log)) {}

int FakeCollection::length() const {
    return static_cast<int>(m_elements.size());
}

std::shared_ptr<dom::Element> FakeCollection::item(int index) const {
    if (index < 0 || index >= length()) {
        throw dom::DomError("No item at this index");
    }
    return m_elements[static_cast<size_t>(index)];
}

void FakeCollection::prefetch(const QList<dom::PrefetchRequest>& requests) {
    PrefetchCall call;
    for (const dom::PrefetchRequest& request : requests) {
        auto element = std::static_pointer_cast<FakeElement>(item(request.index));
        element->notePrefetch(request.properties);
        call.ids.append(element->id());
        call.properties |= request.properties;
    }
    m_log->prefetches.push_back(std::move(call));
}

FakeDocument::FakeDocument(std::optional<Node> body, std::vector<Node> head) {
    Node root{.tag = QStringLiteral("HTML"),
              .children = {Node{.tag = QStringLiteral("HEAD"), .children = std::move(head)}}};
    if (body) {
        body->tag = QStringLiteral("BODY");
        root.children.push_back(std::move(*body));
    }
    m_root = std::make_shared<FakeElement>(root, m_log);
    if (body) {
        m_body = m_root->children().back();
    }
}

std::vector<std::shared_ptr<FakeElement>> FakeDocument::allElements() const {
    std::vector<std::shared_ptr<FakeElement>> elements;
    m_root->collect(elements, m_root);
    return elements;
}

std::unique_ptr<dom::ElementCollection> FakeDocument::all() {
    return std::make_unique<FakeCollection>(allElements(), m_log);
}

QJsonValue FakeDocument::runPageScript(const QString& scriptName, const QJsonValue&) {
    const auto answer = m_scriptAnswers.constFind(scriptName);
    if (answer == m_scriptAnswers.constEnd()) {
        throw dom::DomError(
            ("The page's document bridge failed: no page script " + scriptName).toStdString());
    }
    return *answer;
}

const FakeElement* FakeDocument::element(const QString& id) const {
    for (const std::shared_ptr<FakeElement>& element : allElements()) {
        if (element->id() == id) {
            return element.get();
        }
    }
    return nullptr;
}

dom::LinkOutcome FakePageLoader::clickAndWait(dom::Element& element) {
    m_clicks.append(static_cast<FakeElement&>(element).id());
    return m_outcome;
}

dom::LinkOutcome FakePageLoader::loadAndWait(const QUrl& address) {
    m_clicks.append(address.toString());
    return m_outcome;
}

}  // namespace larkspan::fake
