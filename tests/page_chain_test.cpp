#include "capture/page_chain.h"

#include "capture/listing_text_parser.h"
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

// Shows one page after another: a click moves to the next one, or brings the set outcome.
class FakeHost : public CaptureHost, public dom::PageLoader {
public:
    explicit FakeHost(std::vector<std::shared_ptr<FakeDocument>> pages)
        : m_pages(std::move(pages)) {}

    std::shared_ptr<dom::Document> currentDocument() override { return m_pages.at(m_shown); }
    dom::PageLoader& pageLoader() override { return *this; }
    void pageCaptured(int pageNumber, const QStringList& resultLines) override {
        if (pageNumber == failingPage) {
            throw std::runtime_error("cannot write out.csv: No space left on device");
        }
        for (const QString& line : resultLines) {
            names.append(line.section(u',', 0, 0).remove(u'"'));
        }
    }
    bool shouldTurnPage(int pageNumber) override { return pageNumber < turnLimit; }
    dom::LinkOutcome clickAndWait(dom::Element&) override {
        if (clickOutcome.result == Link::Arrived) {
            ++m_shown;
        }
        return clickOutcome;
    }

    int turnLimit = 100;
    int failingPage = 0;
    dom::LinkOutcome clickOutcome;
    QStringList names;

private:
    std::vector<std::shared_ptr<FakeDocument>> m_pages;
    std::size_t m_shown = 0;
};

QString describe(const RunEnd& end) {
    static const char* const causes[] = {"last page", "host stopped", "repeated page",
                                         "turn failed", "error"};
    QString text = QStringLiteral("%1 after %2")
                       .arg(QLatin1String(causes[static_cast<int>(end.cause)]))
                       .arg(end.pagesCaptured);
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
    const QStringList abc{"A1", "A2", "B1", "C1"};
    const QStringList ab{"A1", "A2", "B1"};
    const QStringList justA{"A1", "A2"};
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
         {"C1"}},
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
        EXPECT_EQ(describe(capturePageChain(host, parser)), c.end) << c.what;
        EXPECT_EQ(host.names, c.names) << c.what;
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
    capturePageChain(host, parser);
    EXPECT_EQ(host.names, QStringList{QStringLiteral("Z")});
}

}  // namespace
}  // namespace larkspan
