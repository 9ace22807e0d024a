#pragma once

#include "browser/dom.h"

#include <QHash>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

// An in-memory page behind the document interface, for tests of the capture logic. It keeps
// count of what a real engine would charge a round trip for, so tests can check that reads
// are batched.
namespace larkspan::fake {

// One element as a test writes it. The texts are given, not derived from the children, so a
// test states exactly what the engine answers.
struct Node {
    // Every member has an initializer so that tests can name just the ones they need.
    QString tag = QStringLiteral("DIV");
    QString id = {};  // names the element in assertions
    QString className = {};
    QString innerText = {};
    QString innerHTML = {};
    QString outerHTML = {};
    QString href = {};
    std::vector<Node> children = {};
    bool gone = false;  // every call raises DomError, as for an element of a page that went away
};

// One round trip: the elements it covered, and every property it fetched of any of them.
struct PrefetchCall {
    QStringList ids;
    dom::ElementProperties properties;
};

// What the page cost: every prefetch call, and reads of heavy properties that no prefetch
// covered (one round trip each on a real engine).
struct EngineLog {
    std::vector<PrefetchCall> prefetches;
    int unprefetchedReads = 0;
};

class FakeElement : public dom::Element {
public:
    FakeElement(const Node& node, std::shared_ptr<EngineLog> log);

    QString className() const override;
    QString tagName() const override;
    QString innerText() const override;
    QString innerHTML() const override;
    QString outerHTML() const override;
    QString href() const override;
    void click() override;
    std::unique_ptr<dom::ElementCollection> getElementsByTagName(const QString& tagName) override;
    std::unique_ptr<dom::ElementCollection> descendantsWithClassContaining(
        const QList<dom::ClassTextQuery>& queries) override;

    const QString& id() const { return m_node.id; }
    const std::vector<std::shared_ptr<FakeElement>>& children() const { return m_children; }
    // Heavy properties read so far, and those a prefetch announced.
    dom::ElementProperties readProperties() const { return m_read; }
    dom::ElementProperties prefetchedProperties() const { return m_prefetched; }
    void notePrefetch(dom::ElementProperties properties) { m_prefetched |= properties; }

    // This element and everything below it, in document order.
    void collect(std::vector<std::shared_ptr<FakeElement>>& into,
                 const std::shared_ptr<FakeElement>& self) const;

private:
    void checkAlive() const;
    const QString& read(dom::ElementProperty property, const QString& value) const;

    Node m_node;  // without children; those are m_children
    std::vector<std::shared_ptr<FakeElement>> m_children;
    std::shared_ptr<EngineLog> m_log;
    mutable dom::ElementProperties m_read;
    dom::ElementProperties m_prefetched;
};

class FakeCollection : public dom::ElementCollection {
public:
    FakeCollection(std::vector<std::shared_ptr<FakeElement>> elements,
                   std::shared_ptr<EngineLog> log);

    int length() const override;
    std::shared_ptr<dom::Element> item(int index) const override;
    using dom::ElementCollection::prefetch;
    void prefetch(const QList<dom::PrefetchRequest>& requests) override;

private:
    std::vector<std::shared_ptr<FakeElement>> m_elements;
    std::shared_ptr<EngineLog> m_log;
};

// HTML holding HEAD (with the given elements) and, when there is one, the given node as BODY.
class FakeDocument : public dom::Document {
public:
    explicit FakeDocument(std::optional<Node> body, std::vector<Node> head = {});

    bool isHtmlDocument() const override { return m_htmlDocument; }
    std::shared_ptr<dom::Element> body() override { return m_body; }
    std::unique_ptr<dom::ElementCollection> all() override;
    QString readyState() const override { return QStringLiteral("complete"); }
    // The answer set for the script; DomError for any other, as the bridge gives. An ordinary
    // page asks for no human check unless told.
    QJsonValue runPageScript(const QString& scriptName, const QJsonValue& arguments) override;

    void setHtmlDocument(bool html) { m_htmlDocument = html; }
    void setPageScriptAnswer(const QString& scriptName, const QJsonValue& answer) {
        m_scriptAnswers.insert(scriptName, answer);
    }
    // The element with this id; null when there is none.
    const FakeElement* element(const QString& id) const;
    const EngineLog& log() const { return *m_log; }

private:
    std::vector<std::shared_ptr<FakeElement>> allElements() const;

    std::shared_ptr<EngineLog> m_log = std::make_shared<EngineLog>();
    std::shared_ptr<FakeElement> m_root;
    std::shared_ptr<FakeElement> m_body;
    bool m_htmlDocument = true;
    QHash<QString, QJsonValue> m_scriptAnswers{{QStringLiteral("human_check.js"), -1}};
};

// Records the ids of the elements it was asked to click and answers with a set outcome.
class FakePageLoader : public dom::PageLoader {
public:
    explicit FakePageLoader(dom::LinkOutcome outcome = {}) : m_outcome(std::move(outcome)) {}

    dom::LinkOutcome clickAndWait(dom::Element& element) override;
    dom::LinkOutcome loadAndWait(const QUrl& address) override;

    const QStringList& clicks() const { return m_clicks; }

private:
    dom::LinkOutcome m_outcome;
    QStringList m_clicks;
};

}  // namespace larkspan::fake
