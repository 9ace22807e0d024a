#include "capture/page_chain.h"

#include "capture/directory_listing_source.h"
#include "capture/flatten_page.h"
#include "capture/listing_text_parser.h"
#include "capture/refused_page.h"
#include "capture/seen_pages.h"
#include "fake_dom.h"
#include "qt_printers.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace larkspan {
namespace {

using fake::FakeDocument;
using fake::Node;
using Link = dom::LinkOutcome::Result;

// A result page with one listing per name and, when given, a next-page link.
std::shared_ptr<FakeDocument> resultPage(const QStringList& names, const QString& nextHref = {}) {
    Node body{.tag = QStringLiteral("BODY")};
    for (const QString& name : names) {
        body.children.push_back(
            Node{.className = QStringLiteral("search-contact-card call-to-actions"),
                 .innerText = name,
                 .outerHTML = QStringLiteral("<div>card</div>")});
        body.children.push_back(
            Node{.className = QStringLiteral("listing-name"), .innerText = name});
    }
    if (!nextHref.isNull()) {
        body.children.push_back(Node{.tag = QStringLiteral("A"),
                                     .id = QStringLiteral("next"),
                                     .innerText = QStringLiteral("NEXT \u00BB"),
                                     .href = nextHref});
    }
    return std::make_shared<FakeDocument>(body);
}

// Shows one page after another: a click moves to the next one, or brings the set outcome;
// the address "N" loads the N-th page. Outcomes queued up come before the set one.
class FakeHost : public CaptureHost, public dom::PageLoader {
public:
    explicit FakeHost(std::vector<std::shared_ptr<FakeDocument>> pages)
        : m_pages(std::move(pages)) {}

    std::shared_ptr<dom::Document> currentDocument() override { return m_pages.at(m_shown); }
    QUrl currentAddress() override { return QUrl(QString::number(m_shown)); }
    dom::PageLoader& pageLoader() override { return *this; }
    void pageCaptured(const CapturedPage& page) override {
        if (page.number == failingPage) {
            throw std::runtime_error("cannot write out.csv: No space left on device");
        }
        for (const QString& line : page.resultLines) {
            names.append(QStringLiteral("%1:").arg(page.number) +
                         line.section(u',', 0, 0).remove(u'"'));
        }
    }
    bool shouldTurnPage(int pageNumber) override {
        turnsAsked.append(pageNumber);
        return pageNumber < turnLimit;
    }
    bool waitBeforeRetry(const PageRefusal& refusal) override {
        waits.append(durationText(refusal.wait));
        return !stopWhileWaiting;
    }
    bool passHumanCheck(const HumanCheck& check) override {
        checks.append(check.text());
        return false;
    }
    dom::LinkOutcome clickAndWait(dom::Element&) override { return arrive(m_shown + 1); }
    dom::LinkOutcome loadAndWait(const QUrl& address) override {
        return arrive(address.toString().toULongLong());
    }

    int turnLimit = 100;
    int failingPage = 0;
    bool stopWhileWaiting = false;
    QStringList checks;
    dom::LinkOutcome clickOutcome;
    QList<dom::LinkOutcome> queuedOutcomes;
    QStringList names;
    QStringList waits;
    QList<int> turnsAsked;

private:
    dom::LinkOutcome arrive(std::size_t page) {
        const dom::LinkOutcome outcome =
            queuedOutcomes.isEmpty() ? clickOutcome : queuedOutcomes.takeFirst();
        if (outcome.result == Link::Arrived) {
            m_shown = page;
        }
        return outcome;
    }

    std::vector<std::shared_ptr<FakeDocument>> m_pages;
    std::size_t m_shown = 0;
};

QString describe(const RunEnd& end) {
    static const char* const causes[] = {"last page", "host stopped", "repeated page",
                                         "turn failed", "human check", "error"};
    QString text = QStringLiteral("%1 after %2")
                       .arg(QLatin1String(causes[static_cast<int>(end.cause)]),
                            QString::number(end.pagesCaptured));
    if (end.cause == RunEnd::Cause::RepeatedPage) {
        text += QStringLiteral(": ") + repetitionText(end);
    }
    if (!end.failure.isEmpty()) {
        text += QStringLiteral(": ") + end.failure;
    }
    return text;
}

TEST(PageChain, EveryRunEndsAndSaysWhy) {
    const auto a = resultPage({QStringLiteral("A1"), QStringLiteral("A2")}, QStringLiteral("b"));
    const auto b = resultPage({QStringLiteral("B1")}, QStringLiteral("c"));
    const auto last = resultPage({QStringLiteral("C1")});
    const auto empty = resultPage({}, QStringLiteral("next"));
    auto notHtml = resultPage({QStringLiteral("X")});
    notHtml->setHtmlDocument(false);

    struct Case {
        const char* what;
        std::vector<std::shared_ptr<FakeDocument>> pages;
        int turnLimit;
        int failingPage;
        dom::LinkOutcome click;
        QString end;
        QStringList names;
    };
    const QStringList abc{"1:A1", "1:A2", "2:B1", "3:C1"};
    const QStringList ab{"1:A1", "1:A2", "2:B1"};
    const QStringList justA{"1:A1", "1:A2"};
    const Case cases[] = {
        {"to the last page", {a, b, last}, 100, 0, {}, "last page after 3", abc},
        {"host stops", {a, b, last}, 2, 0, {}, "host stopped after 2", ab},
        {"host stops at once", {a, b, last}, 1, 0, {}, "host stopped after 1", justA},
        {"link leads nowhere",
         {a, b},
         100,
         0,
         {Link::NoNavigation},
         "turn failed after 1: the NEXT link led nowhere",
         justA},
        {"next page fails",
         {a, b},
         100,
         0,
         {Link::LoadFailed, "http://d.example/b: the server answered with HTTP status 404"},
         "turn failed after 1: http://d.example/b: the server answered with HTTP status 404",
         justA},
        {"A to B and back",
         {a, b, a, b},
         100,
         0,
         {},
         "repeated page after 2: page 3 repeats page 1",
         ab},
        {"the same page again",
         {a, a},
         100,
         0,
         {},
         "repeated page after 1: page 2 repeats page 1",
         justA},
        {"pages without listings are no repeats",
         {empty, empty, last},
         100,
         0,
         {},
         "last page after 3",
         {"3:C1"}},
        {"flattener error",
         {a, notHtml},
         100,
         0,
         {},
         "error after 1: Invalid HTML document",
         justA},
        {"host error",
         {a, b, last},
         100,
         2,
         {},
         "error after 1: cannot write out.csv: No space left on device",
         justA},
    };
    for (const Case& c : cases) {
        FakeHost host(c.pages);
        host.turnLimit = c.turnLimit;
        host.failingPage = c.failingPage;
        host.clickOutcome = c.click;
        ListingTextParser parser;
        DirectoryListingSource source(parser);
        EXPECT_EQ(describe(capturePageChain(host, source)), c.end) << c.what;
        EXPECT_EQ(host.names, c.names) << c.what;
    }
}

// The host pauses when asked to turn the page, so it is asked only when a next page is there.
TEST(PageChain, AsksToTurnOnlyWhenThereIsANextPageLink) {
    const auto a = resultPage({QStringLiteral("A1")}, QStringLiteral("b"));
    const auto b = resultPage({QStringLiteral("B1")}, QStringLiteral("c"));
    const auto last = resultPage({QStringLiteral("C1")});
    struct Case {
        const char* what;
        std::vector<std::shared_ptr<FakeDocument>> pages;
        QList<int> turnsAsked;
    };
    const Case cases[] = {
        {"three pages", {a, b, last}, {1, 2}},
        {"one page", {last}, {}},
        {"a link back to the same page", {a, a}, {1}},
    };
    for (const Case& c : cases) {
        FakeHost host(c.pages);
        ListingTextParser parser;
        DirectoryListingSource source(parser);
        capturePageChain(host, source);
        EXPECT_EQ(host.turnsAsked, c.turnsAsked) << c.what;
    }
}

// The window parses what its Parser panel holds, not what the flattener wrote.
TEST(PageChain, ParsesTheTextTheHostHandsBack) {
    class EditingHost : public FakeHost {
    public:
        using FakeHost::FakeHost;
        QString flattenedText(const QString& text) override {
            return QString(text).replace(QStringLiteral("A"), QStringLiteral("Z"));
        }
    };
    EditingHost host({resultPage({QStringLiteral("A")})});
    ListingTextParser parser;
    DirectoryListingSource source(parser);
    capturePageChain(host, source);
    EXPECT_EQ(host.names, QStringList{QStringLiteral("1:Z")});
}

// The refusal of the page at address "N".
dom::LinkOutcome refused(int status, std::optional<qint64> retryAfterSeconds = std::nullopt,
                         int page = 1) {
    dom::LinkOutcome outcome{Link::LoadFailed,
                             QStringLiteral("http://d.example/%1: the server answered with HTTP "
                                            "status %2")
                                 .arg(QString::number(page), QString::number(status)),
                             QUrl(QString::number(page)), status};
    if (retryAfterSeconds) {
        outcome.retryAfter = std::chrono::seconds(*retryAfterSeconds);
    }
    return outcome;
}

// A next page the server refuses for now (429, 503) is loaded again after a wait, five times at
// most; the waits are what the server asks for, but at least 1 s and growing, or else grow from
// 5 s to 5 min.
TEST(PageChain, RefusedPagesAreLoadedAgainAfterAWait) {
    const auto a = resultPage({QStringLiteral("A1")}, QStringLiteral("b"));
    const auto b = resultPage({QStringLiteral("B1")});
    const QString status429 = QStringLiteral(
        "http://d.example/1: the server answered with "
        "HTTP status 429");
    struct Case {
        const char* what;
        QList<dom::LinkOutcome> outcomes;
        bool stopWhileWaiting;
        QString end;
        QStringList waits;
    };
    const Case cases[] = {
        {"429 twice, as long as the server asks",
         {refused(429, 3), refused(429, 3)},
         false,
         "last page after 2",
         {"3 s", "3 s"}},
        {"asks for no wait, five times",
         QList<dom::LinkOutcome>(5, refused(429, 0)),
         false,
         "last page after 2",
         {"1 s", "2 s", "4 s", "8 s", "16 s"}},
        {"asks for 5 s, five times",
         QList<dom::LinkOutcome>(5, refused(503, 5)),
         false,
         "last page after 2",
         {"5 s", "5 s", "5 s", "8 s", "16 s"}},
        {"503 five times, no Retry-After",
         {refused(503), refused(503), refused(503), refused(503), refused(503)},
         false,
         "last page after 2",
         {"5 s", "14 s", "39 s", "1 min 48 s", "5 min"}},
        {"still refused after five waits",
         QList<dom::LinkOutcome>(6, refused(429)),
         false,
         "turn failed after 1: " + status429 + ", also after 5 more tries",
         {"5 s", "14 s", "39 s", "1 min 48 s", "5 min"}},
        {"asks for an hour", {refused(503, 3600)}, false, "last page after 2", {"1 h"}},
        {"asks for more than an hour",
         {refused(429, 7200)},
         false,
         "turn failed after 1: " + status429 + "; it asks to wait 2 h, longer than we wait",
         {}},
        {"asks for more than fits in a count of seconds",
         {refused(429, std::chrono::seconds::max().count())},
         false,
         "turn failed after 1: " + status429 + "; it asks to wait over a year, longer than we wait",
         {}},
        {"stopped during the wait", {refused(429)}, true, "host stopped after 1", {"5 s"}},
        {"not found is no refusal",
         {refused(404)},
         false,
         "turn failed after 1: http://d.example/1: the server answered with HTTP status 404",
         {}},
    };
    for (const Case& c : cases) {
        FakeHost host({a, b});
        host.queuedOutcomes = c.outcomes;
        host.stopWhileWaiting = c.stopWhileWaiting;
        ListingTextParser parser;
        DirectoryListingSource source(parser);
        EXPECT_EQ(describe(capturePageChain(host, source)), c.end) << c.what;
        EXPECT_EQ(host.waits, c.waits) << c.what;
    }
}

QByteArray digestOf(const std::shared_ptr<FakeDocument>& page) {
    return SeenPages::digestOf(FlattenPage(page.get()));
}

// A run that starts at an address loads it first; a resumed one loads its last page, turns to
// the next and numbers on, knowing its earlier pages again.
TEST(PageChain, StartsAtAnAddressOrTakesUpAfterItsLastPage) {
    const auto a = resultPage({QStringLiteral("A1")}, QStringLiteral("b"));
    const auto b = resultPage({QStringLiteral("B1")}, QStringLiteral("c"));
    const auto c = resultPage({QStringLiteral("C1")});
    struct Case {
        const char* what;
        std::vector<std::shared_ptr<FakeDocument>> pages;
        ChainStart start;
        QList<dom::LinkOutcome> outcomes;
        QString end;
        QStringList names;
    };
    const Case cases[] = {
        {"a new run from the first page",
         {c, a, b, c},
         {.address = QUrl(QStringLiteral("1"))},
         {},
         "last page after 3",
         {"1:A1", "2:B1", "3:C1"}},
        {"resumed after page 1",
         {c, a, b, c},
         {.address = QUrl(QStringLiteral("1")), .pagesBefore = {digestOf(a)}},
         {},
         "last page after 3",
         {"2:B1", "3:C1"}},
        {"resumed after its last page",
         {c, c},
         {.address = QUrl(QStringLiteral("1")), .pagesBefore = {digestOf(a), digestOf(c)}},
         {},
         "last page after 2",
         {}},
        {"resumed, and the next page repeats one of the first part",
         {c, b, a},
         {.address = QUrl(QStringLiteral("1")), .pagesBefore = {digestOf(a), digestOf(b)}},
         {},
         "repeated page after 2: page 3 repeats page 1",
         {}},
        {"the last page cannot be loaded again",
         {c, b},
         {.address = QUrl(QStringLiteral("1")), .pagesBefore = {digestOf(a)}},
         {{Link::LoadFailed, QStringLiteral("http://d.example/1: the load failed")}},
         "turn failed after 1: http://d.example/1: the load failed",
         {}},
        {"the first page is refused once",
         {c, a, b, c},
         {.address = QUrl(QStringLiteral("1"))},
         {refused(503, 0)},
         "last page after 3",
         {"1:A1", "2:B1", "3:C1"}},
    };
    for (const Case& run : cases) {
        FakeHost host(run.pages);
        host.queuedOutcomes = run.outcomes;
        ListingTextParser parser;
        DirectoryListingSource source(parser);
        EXPECT_EQ(describe(capturePageChain(host, source, run.start)), run.end) << run.what;
        EXPECT_EQ(host.names, run.names) << run.what;
    }
}

}  // namespace
}  // namespace larkspan
