#pragma once

#include <QFlags>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QUrl>

#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>

namespace larkspan::dom {

// A failed engine call: a page that went away, a stale element handle, a script error.
class DomError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Element properties that a caller can ask to be fetched ahead, in one go.
enum class ElementProperty {
    InnerText = 0x1,
    InnerHTML = 0x2,
    OuterHTML = 0x4,
    Href = 0x8,
};
Q_DECLARE_FLAGS(ElementProperties, ElementProperty)
Q_DECLARE_OPERATORS_FOR_FLAGS(ElementProperties)

class ElementCollection;

// Properties of one item of a collection to fetch ahead.
struct PrefetchRequest {
    int index;
    ElementProperties properties;
};

// A text to look for in class attributes, and the properties to fetch ahead, in the same round
// trip, of every element whose class holds it.
struct ClassTextQuery {
    QString text;
    ElementProperties readAhead = {};
};

// One element of a loaded document. A handle stays bound to the page it came from: once that
// page has gone, every call raises DomError and never reaches an element of another page.
class Element {
public:
    virtual ~Element() = default;

    // The class attribute as written (also for SVG elements); empty when there is none.
    virtual QString className() const = 0;
    // Upper case for HTML elements.
    virtual QString tagName() const = 0;
    virtual QString innerText() const = 0;
    virtual QString innerHTML() const = 0;
    virtual QString outerHTML() const = 0;
    // The absolute link target of an anchor; empty when there is none or this is no anchor.
    virtual QString href() const = 0;
    // Clicks as a user would: the page's own click handlers run and links are followed.
    // Loading goes on after the call returns.
    virtual void click() = 0;

    // Every element below this one, in document order (parents before children), for "*";
    // elements of that tag name otherwise.
    virtual std::unique_ptr<ElementCollection> getElementsByTagName(const QString& tagName) = 0;
    // What getElementsByTagName("*") gives, less the elements whose class attribute holds none
    // of the texts (anywhere in it, case-sensitive, with no word boundaries): a walk looking
    // for those classes without passing every other element across. Each element comes with
    // the read-ahead properties of every text its class holds already fetched.
    virtual std::unique_ptr<ElementCollection> descendantsWithClassContaining(
        const QList<ClassTextQuery>& queries) = 0;
};

class ElementCollection {
public:
    virtual ~ElementCollection() = default;

    virtual int length() const = 0;
    // The element at a position from 0; raises DomError outside 0 to length() - 1.
    virtual std::shared_ptr<Element> item(int index) const = 0;

    // Tells the engine that these properties of these items are about to be read, so it can
    // fetch them all in one round trip. Reading without it gives the same values, only slower.
    virtual void prefetch(const QList<PrefetchRequest>& requests) = 0;
    // The same properties of every item listed.
    void prefetch(const QList<int>& indices, ElementProperties properties);
};

inline void ElementCollection::prefetch(const QList<int>& indices, ElementProperties properties) {
    QList<PrefetchRequest> requests;
    requests.reserve(indices.size());
    for (int index : indices) {
        requests.append({index, properties});
    }
    prefetch(requests);
}

class Document {
public:
    virtual ~Document() = default;

    // False for what the browser shows in place of a web page: plain text, an image, a PDF.
    virtual bool isHtmlDocument() const = 0;
    // The body element, or null when the document has none.
    virtual std::shared_ptr<Element> body() = 0;
    // Every element of the document, the head included, in document order.
    virtual std::unique_ptr<ElementCollection> all() = 0;
    // "loading", "interactive" or "complete".
    virtual QString readyState() const = 0;
    // Runs one of the program's page scripts (by its file name in resources/) on the document,
    // with these arguments, in one engine call and out of the page's own scripts' reach; gives
    // its answer. Raises DomError when the document has gone, the script is not one the
    // engine keeps ready, or it fails.
    virtual QJsonValue runPageScript(const QString& scriptName, const QJsonValue& arguments) = 0;
};

// Too Many Requests and Service Unavailable: the server refuses the page for now, and may say
// when to come back.
inline bool isRefusedForNowStatus(int httpStatus) {
    return httpStatus == 429 || httpStatus == 503;
}

// What following a link came to.
struct LinkOutcome {
    enum class Result {
        Arrived,       // the page it leads to (maybe the same page again) has completely
                       // loaded and is shown
        NoNavigation,  // nothing started loading within ten seconds of the click
        LoadFailed,    // the page could not be loaded
    };
    Result result = Result::Arrived;
    // For LoadFailed: "ADDRESS: what went wrong", for the user.
    QString failure = {};
    // For LoadFailed: the address that failed, and the HTTP status the server answered with
    // (0 when it did not answer with one).
    QUrl address = {};
    int httpStatus = 0;
    // For a server that refuses the page for now (HTTP 429 or 503): how long it asks the
    // client to wait, when it says.
    std::optional<std::chrono::seconds> retryAfter = {};
};

// The browser side of following a link to the next page, or of loading one by its address.
class PageLoader {
public:
    virtual ~PageLoader() = default;

    // Clicks the element, then keeps the event loop running (without spinning a core) until
    // the page that the click started loading has completely loaded and is the browser's
    // document, or until it is clear that it will not be.
    virtual LinkOutcome clickAndWait(Element& element) = 0;
    // Loads the address in place of the page shown and waits the same way. Never gives
    // NoNavigation: an address the browser does not even start to load is LoadFailed.
    virtual LinkOutcome loadAndWait(const QUrl& address) = 0;
};

}  // namespace larkspan::dom
