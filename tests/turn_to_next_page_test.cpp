#include "capture/turn_to_next_page.h"

#include "capture/capture_error.h"
#include "fake_dom.h"
#include "qt_printers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace larkspan {
namespace {

using fake::FakeDocument;
using fake::FakePageLoader;
using fake::Node;

const char* const Next = "NEXT »";
const char* const PageTwo = "https://directory.example/search/listings?clue=Cafes&pageNumber=2";

Node anchor(const char* id, const char* text, const char* href = PageTwo) {
    return Node{.tag = "A", .id = id, .innerText = text, .href = href};
}

Node listItem(const char* id, const char* text, std::vector<Node> children = {}) {
    return Node{.tag = "LI", .id = id, .innerText = text, .children = std::move(children)};
}

struct Case {
    const char* what;
    std::vector<Node> elements;
    QStringList clicks;
};

// Finds the page's next-page link and follows it; the ids of the elements clicked.
QStringList clicksToTurn(FakeDocument& document) {
    FakePageLoader loader;
    if (const std::shared_ptr<dom::Element> link = FindNextPageLink(&document)) {
        EXPECT_EQ(TurnToNextPage(*link, loader).result, PageTurn::Result::Turned);
    }
    return loader.clicks();
}

void expectTurns(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        FakeDocument document(Node{.children = c.elements});
        EXPECT_EQ(clicksToTurn(document), c.clicks) << c.what;
    }
}

TEST(TurnToNextPageLinks, TheFirstQualifyingLinkIsClicked) {
    expectTurns({
        {"the link", {anchor("next", Next)}, {"next"}},
        {"the first of two", {anchor("first", Next), anchor("second", Next)}, {"first"}},
        {"a listing page's link is passed over",
         {anchor("listing", Next, "https://directory.example/shop/listing.html?id=7"),
          anchor("next", Next)},
         {"next"}},
        {"a link without target", {anchor("bare", Next, "")}, {"bare"}},
        {"inside other markup",
         {Node{.children = {Node{.children = {anchor("deep", Next)}}}}},
         {"deep"}},
    });
}

TEST(TurnToNextPageLinks, OnlyTheExactTextOnAnAOrLiQualifies) {
    expectTurns({
        {"no links", {}, {}},
        {"other letter case", {anchor("a", "Next »"), anchor("b", "next »")}, {}},
        {"other blanks",
         {anchor("a", "NEXT  »"), anchor("b", " NEXT »"), anchor("c", "NEXT »\n"),
          anchor("d", "NEXT»")},
         {}},
        {"other characters",
         {anchor("a", "NEXT >>"), anchor("b", "NEXT"), anchor("c", "NEXT ›"),
          anchor("d", "NEXT «")},
         {}},
        {"other tags",
         {Node{.tag = "BUTTON", .id = "button", .innerText = Next},
          Node{.tag = "SPAN", .id = "span", .innerText = Next},
          Node{.tag = "a", .id = "svg-link", .innerText = Next, .href = PageTwo}},
         {}},
    });
}

TEST(TurnToNextPageLinks, AnLiStandsForItsFirstLink) {
    expectTurns({
        {"its first link",
         {listItem("li", Next, {anchor("first", "NEXT"), anchor("second", "NEXT")})},
         {"first"}},
        {"without a link it is skipped", {listItem("li", Next), anchor("after", Next)}, {"after"}},
        {"without a link and nothing after", {listItem("li", Next)}, {}},
        {"its link goes to a listing page",
         {listItem("li", Next,
                   {anchor("listing", "NEXT", "https://directory.example/listing.html")})},
         {}},
        {"other text", {listItem("li", "Next »", {anchor("inner", "NEXT")})}, {}},
    });
}

TEST(TurnToNextPageLinks, ALinkThatBringsNoPageSaysWhy) {
    using Link = dom::LinkOutcome::Result;
    struct Outcome {
        dom::LinkOutcome link;
        PageTurn::Result result;
        const char* failure;
    };
    const Outcome outcomes[] = {
        {{Link::Arrived}, PageTurn::Result::Turned, ""},
        {{Link::NoNavigation}, PageTurn::Result::Failed, "the NEXT link led nowhere"},
        {{Link::LoadFailed, "http://d.example/p2: the server answered with HTTP status 404"},
         PageTurn::Result::Failed,
         "http://d.example/p2: the server answered with HTTP status 404"},
    };
    for (const Outcome& o : outcomes) {
        FakeDocument document(Node{.children = {anchor("next", Next), anchor("other", Next)}});
        FakePageLoader loader(o.link);
        const PageTurn turn = TurnToNextPage(*FindNextPageLink(&document), loader);
        EXPECT_EQ(turn.result, o.result) << o.failure;
        EXPECT_EQ(turn.failure, QString::fromUtf8(o.failure));
        EXPECT_EQ(loader.clicks(), QStringList{"next"});
    }
}

TEST(TurnToNextPageErrors, NoHtmlDocumentRaisesItsMessage) {
    FakeDocument notHtml(Node{.children = {anchor("next", Next)}});
    notHtml.setHtmlDocument(false);
    for (dom::Document* document :
         {static_cast<dom::Document*>(nullptr), static_cast<dom::Document*>(&notHtml)}) {
        std::string message = "no error";
        try {
            FindNextPageLink(document);
        } catch (const CaptureError& error) {
            message = error.what();
        }
        EXPECT_EQ(message, "Couldn't convert the wb.Document to an IHTMLDocument2");
    }
}

TEST(TurnToNextPageErrors, EngineErrorsPassThrough) {
    FakeDocument document(Node{.children = {Node{.tag = "A", .innerText = Next, .gone = true}}});
    EXPECT_THROW(FindNextPageLink(&document), dom::DomError);
}

TEST(TurnToNextPageBatching, TextAndTargetOfTheCandidatesAreFetchedInOneCall) {
    std::vector<Node> elements;
    for (int row = 0; row < 50; ++row) {
        elements.push_back({.tag = "P", .id = "text", .innerText = Next});
        elements.push_back(anchor("link", "Cafes"));
    }
    elements.push_back(listItem("li", "2"));
    elements.push_back(anchor("next", Next));
    FakeDocument document(Node{.children = std::move(elements)});
    ASSERT_EQ(clicksToTurn(document), QStringList{"next"});

    const fake::EngineLog& log = document.log();
    EXPECT_EQ(log.unprefetchedReads, 0);
    ASSERT_EQ(log.prefetches.size(), 1u);
    EXPECT_EQ(log.prefetches[0].properties,
              dom::ElementProperty::InnerText | dom::ElementProperty::Href);
    EXPECT_EQ(log.prefetches[0].ids.count("link"), 50);
    EXPECT_TRUE(log.prefetches[0].ids.contains("li"));
    EXPECT_FALSE(log.prefetches[0].ids.contains("text"));
    EXPECT_EQ(document.element("text")->readProperties(), dom::ElementProperties());
}

}  // namespace
}  // namespace larkspan
