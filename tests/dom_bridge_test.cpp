#include "browser/dom.h"
#include "browser/twebbrowser.h"

#include "browser_test_helpers.h"
#include "browser_test_suites.h"
#include "tests/support/test_http_server.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

namespace larkspan {
namespace {

using namespace std::chrono_literals;
using test::domErrorOf;
using test::elementByClass;
using test::loadPage;

const QString Gone = QStringLiteral("The document has gone: the browser no longer shows it");
const QString Closed = QStringLiteral("The document has gone: its browser was closed");

// Tag and class attribute of each element, as "TAG.class".
QStringList tagsAndClasses(const dom::ElementCollection& elements) {
    QStringList list;
    for (int i = 0; i < elements.length(); ++i) {
        const std::shared_ptr<dom::Element> element = elements.item(i);
        list.append(element->tagName() + u'.' + element->className());
    }
    return list;
}

// Every property of every element, as "innerText|innerHTML|outerHTML|href".
QStringList propertiesOf(const dom::ElementCollection& elements) {
    QStringList list;
    for (int i = 0; i < elements.length(); ++i) {
        const std::shared_ptr<dom::Element> element = elements.item(i);
        list.append(QStringList{element->innerText(), element->innerHTML(), element->outerHTML(),
                                element->href()}
                        .join(u'|'));
    }
    return list;
}

QList<int> allIndices(const dom::ElementCollection& elements) {
    QList<int> indices;
    for (int i = 0; i < elements.length(); ++i) {
        indices.append(i);
    }
    return indices;
}

const dom::ElementProperties AllProperties = dom::ElementProperty::InnerText
    | dom::ElementProperty::InnerHTML | dom::ElementProperty::OuterHTML
    | dom::ElementProperty::Href;

const QStringList ElementsBody{
    QStringLiteral("DIV.listing-details outer"),
    QStringLiteral("H2.listing-name"),
    QStringLiteral("P.listing-short-description"),
    QStringLiteral("BR."),
    QStringLiteral("SPAN.hidden"),
    QStringLiteral("A.next-link"),
    QStringLiteral("A.no-target"),
    QStringLiteral("A.absolute"),
    QStringLiteral("MAP."),
    QStringLiteral("AREA.area-link"),
    QStringLiteral("svg.icon star"),
    QStringLiteral("a.svg-link"),
    QStringLiteral("circle.dot"),
    QStringLiteral("UL."),
    QStringLiteral("LI.next-item"),
};

// Handles into elements.html, taken while it was shown.
struct OldHandles {
    std::shared_ptr<dom::Document> document;
    std::unique_ptr<dom::ElementCollection> elements;
    std::shared_ptr<dom::Element> link;
};

using HandleOperation = std::function<void(OldHandles&)>;

}  // namespace
}  // namespace larkspan

Q_DECLARE_METATYPE(larkspan::HandleOperation)

namespace larkspan {

class DomBridgeTest : public QObject {
    Q_OBJECT

public:
    DomBridgeTest() : m_server(test::browserPagesFolder()) {}

private slots:
    void initTestCase();
    void walkOfTheBody();
    void allIncludesTheHead();
    void elementProperties_data();
    void elementProperties();
    void prefetchGivesTheValuesOfPlainReads();
    void textsArriveWhole();
    void roundTripsOfAWalk();
    void handlesOutliveAnyNumberOfListsTakenSince();
    void documentWithoutBody();
    void documentKinds_data();
    void documentKinds();
    void staleHandles_data();
    void staleHandles();
    void handleOfADocumentReplacedDuringItsLoad();
    void handleOfADocumentOpenedDuringItsLoad();
    void waitForAnAnswerEnds_data();
    void waitForAnAnswerEnds();

private:
    std::shared_ptr<dom::Document> show(const QString& path);

    test::TestHttpServer m_server;
    TWebbrowser m_browser;
};

void DomBridgeTest::initTestCase() {
    QVERIFY(m_server.listen());
    m_server.setContentType(QStringLiteral("/markup-as-text.html"), "text/plain; charset=utf-8");
}

std::shared_ptr<dom::Document> DomBridgeTest::show(const QString& path) {
    if (!loadPage(m_browser, m_server.url(path))) {
        return nullptr;
    }
    return m_browser.Document();
}

void DomBridgeTest::walkOfTheBody() {
    const std::shared_ptr<dom::Document> document = show(QStringLiteral("/elements.html"));
    QVERIFY(document);
    const std::shared_ptr<dom::Element> body = document->body();
    QVERIFY(body);
    QCOMPARE(body->tagName(), QStringLiteral("BODY"));
    QCOMPARE(tagsAndClasses(*body->getElementsByTagName(QStringLiteral("*"))), ElementsBody);
    // A tag name picks out the elements of that tag only, also below another element.
    QCOMPARE(tagsAndClasses(*body->getElementsByTagName(QStringLiteral("a"))),
             (QStringList{QStringLiteral("A.next-link"), QStringLiteral("A.no-target"),
                          QStringLiteral("A.absolute"), QStringLiteral("a.svg-link")}));
    const std::shared_ptr<dom::Element> details =
        elementByClass(*document, QStringLiteral("listing-details outer"));
    QVERIFY(details);
    QCOMPARE(tagsAndClasses(*details->getElementsByTagName(QStringLiteral("*"))),
             ElementsBody.mid(1, 4));
    // Texts anywhere in the class attribute, case-sensitive, SVG elements included.
    QCOMPARE(tagsAndClasses(*body->descendantsWithClassContaining(
                 {{QStringLiteral("listing-")}, {QStringLiteral("star")}, {QStringLiteral("Dot")}})),
             (QStringList{QStringLiteral("DIV.listing-details outer"),
                          QStringLiteral("H2.listing-name"),
                          QStringLiteral("P.listing-short-description"),
                          QStringLiteral("svg.icon star")}));
    QCOMPARE(tagsAndClasses(*details->descendantsWithClassContaining({{QStringLiteral("i")}})),
             (QStringList{QStringLiteral("H2.listing-name"),
                          QStringLiteral("P.listing-short-description"),
                          QStringLiteral("SPAN.hidden")}));
    // Values read ahead (the union over the texts a class holds) are those read one by one.
    const dom::ElementProperties markup = dom::ElementProperty::InnerHTML
        | dom::ElementProperty::OuterHTML | dom::ElementProperty::Href;
    QCOMPARE(propertiesOf(*body->descendantsWithClassContaining(
                 {{QStringLiteral("listing-name"), dom::ElementProperty::InnerText},
                  {QStringLiteral("listing-"), markup}})),
             propertiesOf(*body->getElementsByTagName(QStringLiteral("*"))).first(3));
}

void DomBridgeTest::allIncludesTheHead() {
    const std::shared_ptr<dom::Document> document = show(QStringLiteral("/elements.html"));
    QVERIFY(document);
    const QStringList head{QStringLiteral("HTML."), QStringLiteral("HEAD."), QStringLiteral("META."),
                           QStringLiteral("TITLE."), QStringLiteral("STYLE."),
                           QStringLiteral("BODY.")};
    QCOMPARE(tagsAndClasses(*document->all()), head + ElementsBody);
}

void DomBridgeTest::elementProperties_data() {
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("expected");

    // "{base}" stands for the test server's address.
    QTest::newRow("tag name of an HTML element")
        << "listing-name" << "tagName" << "H2";
    QTest::newRow("tag name of an SVG element") << "icon star" << "tagName" << "svg";
    QTest::newRow("class of an SVG element") << "icon star" << "className" << "icon star";
    QTest::newRow("text with entities") << "listing-name" << "innerText" << "Caf\u00e9 \u00a7 Bar";
    QTest::newRow("markup with entities")
        << "listing-name" << "innerHTML" << "Caf\u00e9 \u00a7 Bar";
    QTest::newRow("outer markup")
        << "listing-name" << "outerHTML" << "<h2 class=\"listing-name\">Caf\u00e9 \u00a7 Bar</h2>";
    QTest::newRow("text across a line break")
        << "listing-short-description" << "innerText" << "Line one\nline two";
    QTest::newRow("markup with a line break")
        << "listing-short-description" << "innerHTML" << "Line one<br>line two";
    QTest::newRow("rendered text leaves hidden elements out")
        << "listing-details outer" << "innerText" << "Caf\u00e9 \u00a7 Bar\n\nLine one\nline two";
    QTest::newRow("text of an element that is not rendered")
        << "hidden" << "innerText" << "not rendered";
    QTest::newRow("text of a next-page link") << "next-link" << "innerText" << "NEXT \u00bb";
    QTest::newRow("relative link target")
        << "next-link" << "href" << "{base}/next.html?page=2";
    QTest::newRow("absolute link target")
        << "absolute" << "href" << "https://directory.example/listing.html#top";
    QTest::newRow("anchor without target") << "no-target" << "href" << "";
    QTest::newRow("area target") << "area-link" << "href" << "{base}/map/area.html";
    QTest::newRow("element that is no anchor") << "next-item" << "href" << "";
    QTest::newRow("SVG link") << "svg-link" << "href" << "";
    QTest::newRow("text of an SVG element") << "icon star" << "innerText" << "";
    QTest::newRow("outer markup of an SVG element")
        << "dot" << "outerHTML" << "<circle class=\"dot\" r=\"4\" cx=\"5\" cy=\"5\"></circle>";
}

void DomBridgeTest::elementProperties() {
    QFETCH(QString, className);
    QFETCH(QString, property);
    QFETCH(QString, expected);
    const std::shared_ptr<dom::Document> document = show(QStringLiteral("/elements.html"));
    QVERIFY(document);
    const std::shared_ptr<dom::Element> element = elementByClass(*document, className);
    QVERIFY(element);

    const QHash<QString, std::function<QString(const dom::Element&)>> readers{
        {QStringLiteral("tagName"), &dom::Element::tagName},
        {QStringLiteral("className"), &dom::Element::className},
        {QStringLiteral("innerText"), &dom::Element::innerText},
        {QStringLiteral("innerHTML"), &dom::Element::innerHTML},
        {QStringLiteral("outerHTML"), &dom::Element::outerHTML},
        {QStringLiteral("href"), &dom::Element::href},
    };
    QCOMPARE(readers.value(property)(*element),
             QString(expected).replace(QStringLiteral("{base}"), m_server.url({}).toString()));
}

void DomBridgeTest::prefetchGivesTheValuesOfPlainReads() {
    const std::shared_ptr<dom::Document> document = show(QStringLiteral("/elements.html"));
    QVERIFY(document);
    const std::unique_ptr<dom::ElementCollection> plain = document->all();
    const std::unique_ptr<dom::ElementCollection> prefetched = document->all();
    prefetched->prefetch(allIndices(*prefetched), AllProperties);
    const QStringList expected = propertiesOf(*plain);
    QCOMPARE(expected.size(), 21);
    QCOMPARE(propertiesOf(*prefetched), expected);
}

// Many values come in one answer, cut by their lengths: none may spill into the next.
void DomBridgeTest::textsArriveWhole() {
    const std::shared_ptr<dom::Document> document = show(QStringLiteral("/texts.html"));
    QVERIFY(document);
    const std::unique_ptr<dom::ElementCollection> paragraphs =
        document->body()->getElementsByTagName(QStringLiteral("P"));
    paragraphs->prefetch({{0, dom::ElementProperty::InnerHTML},
                          {1, dom::ElementProperty::InnerText | dom::ElementProperty::InnerHTML},
                          {2, dom::ElementProperty::InnerText},
                          {3, dom::ElementProperty::InnerHTML},
                          {4, dom::ElementProperty::InnerHTML}});
    const QStringList expected{QStringLiteral("lone \uFFFD surrogate"),
                               QString(),
                               QString(),
                               QStringLiteral("line\nfeed {\"json\": [1]}"),
                               QStringLiteral("astral \U0001F600"),
                               QStringLiteral("nul ") + QChar(0) + QStringLiteral(" end")};
    QCOMPARE((QStringList{paragraphs->item(0)->innerHTML(), paragraphs->item(1)->innerText(),
                          paragraphs->item(1)->innerHTML(), paragraphs->item(2)->innerText(),
                          paragraphs->item(3)->innerHTML(), paragraphs->item(4)->innerHTML()}),
             expected);
}

void DomBridgeTest::roundTripsOfAWalk() {
    QVERIFY(loadPage(m_browser, m_server.url(QStringLiteral("/elements.html"))));
    struct Step {
        const char* what;
        std::function<void()> run;
        quint64 roundTrips;
    };
    std::shared_ptr<dom::Document> document;
    std::shared_ptr<dom::Element> body;
    std::unique_ptr<dom::ElementCollection> elements;
    const std::vector<Step> steps{
        {"open the document", [&] { document = m_browser.Document(); }, 1},
        {"take the body", [&] { body = document->body(); }, 1},
        {"take every element below it", [&] { elements = body->getElementsByTagName("*"); }, 1},
        {"read every tag and class", [&] { tagsAndClasses(*elements); }, 0},
        {"prefetch everything of every element",
         [&] { elements->prefetch(allIndices(*elements), AllProperties); }, 1},
        {"read everything of every element", [&] { propertiesOf(*elements); }, 0},
        {"take the elements of a class with everything of theirs read ahead",
         [&] { elements = body->descendantsWithClassContaining({{"listing-", AllProperties}}); },
         1},
        {"read everything of them", [&] { propertiesOf(*elements); }, 0},
        {"open the document again", [&] { document = m_browser.Document(); }, 0},
        {"prefetch other properties of other elements, in one go",
         [&] {
             document->all()->prefetch({{0, dom::ElementProperty::InnerText},
                                        {1, dom::ElementProperty::OuterHTML},
                                        {2, dom::ElementProperty::Href}});
         },
         2},
        {"read without a prefetch", [&] { document->all()->item(0)->innerText(); }, 2},
    };
    for (const Step& step : steps) {
        const quint64 before = m_browser.engineCallCount();
        step.run();
        QVERIFY2(m_browser.engineCallCount() - before == step.roundTrips, step.what);
    }
}

// The page keeps a list for as long as a handle uses it, not just the newest few, and takes
// word that a list has been dropped along with the next request.
void DomBridgeTest::handlesOutliveAnyNumberOfListsTakenSince() {
    const std::shared_ptr<dom::Document> document = show(QStringLiteral("/elements.html"));
    QVERIFY(document);
    const std::unique_ptr<dom::ElementCollection> all = document->all();
    const std::shared_ptr<dom::Element> link =
        elementByClass(*document, QStringLiteral("next-link"));
    QVERIFY(link);
    const std::shared_ptr<dom::Element> body = document->body();
    std::vector<std::unique_ptr<dom::ElementCollection>> kept;
    for (int list = 0; list < 100; ++list) {
        std::unique_ptr<dom::ElementCollection> dropped = body->getElementsByTagName("*");
        kept.push_back(body->getElementsByTagName("P"));
    }
    const quint64 before = m_browser.engineCallCount();
    QCOMPARE(link->innerText(), QStringLiteral("NEXT \u00BB"));
    QCOMPARE(all->item(0)->innerHTML().isEmpty(), false);
    QCOMPARE(kept.front()->item(0)->innerText(), QStringLiteral("Line one\nline two"));
    QCOMPARE(m_browser.engineCallCount() - before, quint64(3));
}

void DomBridgeTest::documentWithoutBody() {
    const std::shared_ptr<dom::Document> document = show(QStringLiteral("/nobody.xhtml"));
    QVERIFY(document);
    QVERIFY(document->isHtmlDocument());
    QVERIFY(document->body() == nullptr);
    QCOMPARE(tagsAndClasses(*document->all()),
             (QStringList{QStringLiteral("HTML."), QStringLiteral("HEAD."), QStringLiteral("TITLE.")}));
}

void DomBridgeTest::documentKinds_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("isHtml");

    QTest::newRow("HTML page") << "/elements.html" << true;
    QTest::newRow("XHTML page") << "/nobody.xhtml" << true;
    QTest::newRow("plain text file") << "/notes.txt" << false;
    QTest::newRow("markup served as plain text") << "/markup-as-text.html" << false;
    QTest::newRow("PNG image") << "/dot.png" << false;
    QTest::newRow("SVG image") << "/picture.svg" << false;
}

void DomBridgeTest::documentKinds() {
    QFETCH(QString, path);
    QFETCH(bool, isHtml);
    const std::shared_ptr<dom::Document> document = show(path);
    QVERIFY(document);
    QCOMPARE(document->isHtmlDocument(), isHtml);
    QCOMPARE(document->readyState(), QStringLiteral("complete"));
}

void DomBridgeTest::staleHandles_data() {
    QTest::addColumn<bool>("closeBrowser");
    QTest::addColumn<HandleOperation>("operation");
    QTest::addColumn<QString>("message");

    const QList<std::pair<const char*, HandleOperation>> operations{
        {"className", [](OldHandles& h) { h.link->className(); }},
        {"tagName", [](OldHandles& h) { h.link->tagName(); }},
        {"innerText", [](OldHandles& h) { h.link->innerText(); }},
        {"outerHTML", [](OldHandles& h) { h.link->outerHTML(); }},
        {"href", [](OldHandles& h) { h.link->href(); }},
        {"click", [](OldHandles& h) { h.link->click(); }},
        {"getElementsByTagName", [](OldHandles& h) { h.link->getElementsByTagName("*"); }},
        {"collection length", [](OldHandles& h) { h.elements->length(); }},
        {"collection item", [](OldHandles& h) { h.elements->item(0); }},
        {"collection prefetch", [](OldHandles& h) { h.elements->prefetch({0}, AllProperties); }},
        {"document body", [](OldHandles& h) { h.document->body(); }},
        {"document all", [](OldHandles& h) { h.document->all(); }},
        {"document readyState", [](OldHandles& h) { h.document->readyState(); }},
        {"document isHtmlDocument", [](OldHandles& h) { h.document->isHtmlDocument(); }},
    };
    for (const auto& [name, operation] : operations) {
        QTest::addRow("navigated away: %s", name) << false << operation << Gone;
    }
    for (const auto& [name, operation] : operations) {
        QTest::addRow("browser closed: %s", name) << true << operation << Closed;
    }
}

void DomBridgeTest::staleHandles() {
    QFETCH(bool, closeBrowser);
    QFETCH(HandleOperation, operation);
    QFETCH(QString, message);

    auto browser = std::make_unique<TWebbrowser>();
    QVERIFY(loadPage(*browser, m_server.url(QStringLiteral("/elements.html"))));
    OldHandles handles;
    handles.document = browser->Document();
    QVERIFY(handles.document);
    handles.elements = handles.document->all();
    handles.link = elementByClass(*handles.document, QStringLiteral("next-link"));
    QVERIFY(handles.link);
    // Values fetched ahead do not outlive their page either.
    handles.elements->prefetch(allIndices(*handles.elements), AllProperties);

    if (closeBrowser) {
        browser.reset();
        QCOMPARE(domErrorOf([&] { operation(handles); }), message);
        return;
    }
    const QUrl next = m_server.url(QStringLiteral("/next.html"));
    QVERIFY(loadPage(*browser, next));
    // The new page has lists of its own, under the same numbers as the old ones.
    const std::shared_ptr<dom::Document> current = browser->Document();
    QVERIFY(current);
    current->all();
    current->all();
    QCOMPARE(domErrorOf([&] { operation(handles); }), message);
    QCOMPARE(browser->LocationURL(), next.toString());
    QCOMPARE(browser->ReadyState(), 4);
}

void DomBridgeTest::handleOfADocumentReplacedDuringItsLoad() {
    QVERIFY(loadPage(m_browser, m_server.url(QStringLiteral("/elements.html"))));
    m_server.setDelay(QStringLiteral("/slow.html"), 1500ms);
    QSignalSpy started(&m_browser, &TWebbrowser::BeforeNavigate2);
    m_browser.Navigate(m_server.url(QStringLiteral("/slow.html")));
    QVERIFY(started.wait());

    // The old page is still shown while the new one is on its way.
    const std::shared_ptr<dom::Document> document = m_browser.Document();
    QVERIFY(document);
    const std::unique_ptr<dom::ElementCollection> elements = document->all();
    const std::shared_ptr<dom::Element> link = elements->item(11);
    QCOMPARE(link->className(), QStringLiteral("next-link"));

    QVERIFY(m_browser.waitUntilComplete());
    m_server.setDelay(QStringLiteral("/slow.html"), 0ms);
    const std::shared_ptr<dom::Document> current = m_browser.Document();
    QVERIFY(current);
    current->all();
    const QList<std::pair<const char*, std::function<void()>>> uses{
        {"className", [&] { link->className(); }},
        {"innerText", [&] { link->innerText(); }},
        {"click", [&] { link->click(); }},
        {"collection item", [&] { elements->item(0); }},
        {"document body", [&] { document->body(); }},
    };
    for (const auto& [name, use] : uses) {
        QVERIFY2(domErrorOf(use) == Gone, name);
    }
    QCOMPARE(m_browser.LocationURL(), m_server.url(QStringLiteral("/slow.html")).toString());
}

void DomBridgeTest::handleOfADocumentOpenedDuringItsLoad() {
    // The picture's request shows that the page's own document is there, still loading.
    m_server.setDelay(QStringLiteral("/slow.svg"), 1000ms);
    QSignalSpy requested(&m_server, &test::TestHttpServer::requested);
    m_browser.Navigate(m_server.url(QStringLiteral("/slow.html")));
    QVERIFY(requested.wait());
    while (requested.last().at(0).toString() != QLatin1String("/slow.svg")) {
        QVERIFY(requested.wait());
    }
    QCOMPARE(m_browser.ReadyState(), 1);
    const std::shared_ptr<dom::Document> document = m_browser.Document();
    QVERIFY(document);
    QVERIFY(document->readyState() != QLatin1String("complete"));
    const std::shared_ptr<dom::Element> body = document->body();
    QVERIFY(body);

    QVERIFY(m_browser.waitUntilComplete());
    m_server.setDelay(QStringLiteral("/slow.svg"), 0ms);
    // Still the shown document: the first use asks the page, later ones need not.
    QCOMPARE(body->tagName(), QStringLiteral("BODY"));
    const quint64 before = m_browser.engineCallCount();
    QCOMPARE(body->className(), QString());
    QCOMPARE(m_browser.engineCallCount(), before);
    QCOMPARE(document->readyState(), QStringLiteral("complete"));
}

void DomBridgeTest::waitForAnAnswerEnds_data() {
    QTest::addColumn<bool>("closeBrowser");
    QTest::addColumn<QString>("message");

    QTest::newRow("browser closed") << true << Closed;
    QTest::newRow("browser navigates") << false << Gone;
}

void DomBridgeTest::waitForAnAnswerEnds() {
    QFETCH(bool, closeBrowser);
    QFETCH(QString, message);

    auto browser = std::make_unique<TWebbrowser>();
    QVERIFY(loadPage(*browser, m_server.url(QStringLiteral("/blocking.html"))));
    const std::shared_ptr<dom::Document> document = browser->Document();
    QVERIFY(document);
    const std::shared_ptr<dom::Element> block = elementByClass(*document, QStringLiteral("block"));
    QVERIFY(block);
    // Once the server has the page's request, the page answers nothing until that is answered,
    // which is after the bridge has given up waiting.
    m_server.setDelay(QStringLiteral("/held.txt"), 60s);
    QSignalSpy requested(&m_server, &test::TestHttpServer::requested);
    block->click();
    QVERIFY(requested.wait());
    QCOMPARE(requested.last().at(0).toString(), QStringLiteral("/held.txt"));

    const QObject scope;
    QTimer::singleShot(0, &scope, [&] {
        if (closeBrowser) {
            browser.reset();
        } else {
            browser->Navigate(m_server.url(QStringLiteral("/next.html")));
        }
    });
    QCOMPARE(domErrorOf([&] { document->readyState(); }), message);
}

}  // namespace larkspan

int runDomBridgeTests(int argc, char* argv[]) {
    larkspan::DomBridgeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "dom_bridge_test.moc"
