#include "capture/page_chain.h"

#include "capture/capture_error.h"
#include "capture/listing_text_parser.h"
#include "fake_dom.h"
#include "qt_printers.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using fake::FakeDocument;
using fake::Node;

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

// Shows one page after another: a click moves to the next one.
class FakeHost : public CaptureHost, public dom::PageLoader {
public:
    explicit FakeHost(std::vector<std::shared_ptr<FakeDocument>> pages)
        : m_pages(std::move(pages)) {}

    std::shared_ptr<dom::Document> currentDocument() override { return m_pages.at(m_shown); }
    dom::PageLoader& pageLoader() override { return *this; }
    void pageCaptured(int pageNumber, const QStringList& resultLines) override {
        pageNumbers.push_back(pageNumber);
        for (const QString& line : resultLines) {
            names.append(line.section(u',', 0, 0));
        }
    }
    bool shouldTurnPage(int pageNumber) override { return pageNumber < turnLimit; }
    bool clickAndWait(dom::Element&) override {
        ++clicks;
        if (!loadSucceeds) {
            return false;
        }
        ++m_shown;
        return true;
    }

    int turnLimit = 100;
    bool loadSucceeds = true;
    int clicks = 0;
    std::vector<int> pageNumbers;
    QStringList names;

private:
    std::vector<std::shared_ptr<FakeDocument>> m_pages;
    std::size_t m_shown = 0;
};

TEST(PageChain, FollowsNextLinksUntilTheLastPage) {
    FakeHost host({resultPage({QStringLiteral("A1"), QStringLiteral("A2")}, QStringLiteral("p2")),
                   resultPage({QStringLiteral("B1")}, QStringLiteral("p3")),
                   resultPage({QStringLiteral("C1")})});
    ListingTextParser parser;
    capturePageChain(host, parser);
    EXPECT_EQ(host.pageNumbers, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(host.names, (QStringList{QStringLiteral("\"A1\""), QStringLiteral("\"A2\""),
                                       QStringLiteral("\"B1\""), QStringLiteral("\"C1\"")}));
    EXPECT_EQ(host.clicks, 2);
}

TEST(PageChain, EndsWhereItIsTold) {
    struct Case {
        int turnLimit;
        bool loadSucceeds;
        std::vector<int> pages;
        int clicks;
    };
    for (const Case& c :
         {Case{1, true, {1}, 0}, Case{2, true, {1, 2}, 1}, Case{100, false, {1}, 1}}) {
        FakeHost host({resultPage({QStringLiteral("A")}, QStringLiteral("p2")),
                       resultPage({QStringLiteral("B")}, QStringLiteral("p3")),
                       resultPage({QStringLiteral("C")})});
        host.turnLimit = c.turnLimit;
        host.loadSucceeds = c.loadSucceeds;
        ListingTextParser parser;
        capturePageChain(host, parser);
        EXPECT_EQ(host.pageNumbers, c.pages) << "limit " << c.turnLimit;
        EXPECT_EQ(host.clicks, c.clicks) << "limit " << c.turnLimit;
    }
}

TEST(PageChain, PageWithoutListingsStillLooksForTheNextPage) {
    FakeHost host({resultPage({}, QStringLiteral("p2")), resultPage({QStringLiteral("B")})});
    ListingTextParser parser;
    capturePageChain(host, parser);
    EXPECT_EQ(host.pageNumbers, (std::vector<int>{1, 2}));
    EXPECT_EQ(host.names, QStringList{QStringLiteral("\"B\"")});
}

TEST(PageChain, ErrorEndsTheRunAfterThePagesAlreadyReported) {
    auto broken = resultPage({QStringLiteral("B")});
    broken->setHtmlDocument(false);
    FakeHost host({resultPage({QStringLiteral("A")}, QStringLiteral("p2")), broken});
    ListingTextParser parser;
    try {
        capturePageChain(host, parser);
        ADD_FAILURE() << "no error";
    } catch (const CaptureError& error) {
        EXPECT_STREQ(error.what(), "Invalid HTML document");
    }
    EXPECT_EQ(host.names, QStringList{QStringLiteral("\"A\"")});
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
    EXPECT_EQ(host.names, QStringList{QStringLiteral("\"Z\"")});
}

}  // namespace
}  // namespace larkspan
