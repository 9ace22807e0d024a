#include "capture/capture_error.h"
#include "capture/flatten_page.h"
#include "capture/listing_text_parser.h"

#include "fake_dom.h"
#include "qt_printers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace larkspan {
namespace {

using dom::ElementProperty;
using fake::FakeDocument;
using fake::Node;

Node body(std::vector<Node> children) {
    return Node{.children = std::move(children)};
}

QString flatten(std::vector<Node> elements) {
    FakeDocument document(body(std::move(elements)));
    return FlattenPage(&document);
}

struct Case {
    const char* what;
    std::vector<Node> elements;
    QString text;
};

void expectFlattened(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(flatten(c.elements), c.text) << c.what;
    }
}

TEST(FlattenPageMatching, NamesMatchAnywhereInTheClassAttributeWithTheirLetterCase) {
    expectFlattened({
        {"the whole attribute", {{.className = "listing-name", .innerText = "Acme"}},
         "listing-name: Acme\r\n"},
        {"among other classes", {{.className = "col listing-name-main bold", .innerText = "Acme"}},
         "listing-name: Acme\r\n"},
        {"inside a longer word", {{.className = "nowebsites", .innerText = "acme.au"}},
         "website: acme.au\r\n"},
        {"letter case differs", {{.className = "Listing-Name LISTINGTITLE Email", .innerText = "x"}},
         ""},
        {"two-word name in its order",
         {{.className = "card search-contact-card call-to-actions",
           .innerText = "Call",
           .outerHTML = "<div>Call</div>"}},
         "+-§--search-contact-card call-to-actions: <div>Call</div>\r\n"
         "search-contact-card call-to-actionsINNER: Call\r\n"},
        {"two-word name in the other order",
         {{.className = "call-to-actions search-contact-card", .innerText = "Call"}}, ""},
        {"no class attribute", {{.innerText = "listing-name"}}, ""},
        {"a page of other classes",
         {{.className = "header", .innerText = "Find a business"},
          {.className = "listing", .innerText = "Acme"},
          {.className = "footer", .innerText = "listingTitle"}},
         ""},
    });
}

TEST(FlattenPageMatching, AnElementGetsOneEntryPerNameInTableOrder) {
    expectFlattened({
        {"two names", {{.className = "listing-name listingTitle", .innerText = "Acme"}},
         "listingTitle: Acme\r\nlisting-name: Acme\r\n"},
        {"five names",
         {{.className = "listing-details listing-name email website listing-address",
           .innerText = "v"}},
         "listing-address: v\r\nwebsite: v\r\nemail: v\r\nlisting-name: v\r\nlisting-details: v\r\n"},
        {"a markup entry and a plain one",
         {{.className = "email primary-contacts",
           .innerText = "a@acme.au",
           .innerHTML = "<a href=\"mailto:a@acme.au\">a@acme.au</a>"}},
         "primary-contacts: <a href=\"mailto:a@acme.au\">a@acme.au</a>\r\n"
         "primary-contacts:. a@acme.au\r\nemail: a@acme.au\r\n"},
    });
}

TEST(FlattenPageEntries, EachFormIsWrittenExactly) {
    expectFlattened({
        {"plain", {{.className = "listing-heading", .innerText = "Cafes"}},
         "listing-heading: Cafes\r\n"},
        {"markup and text",
         {{.className = "primary-contacts",
           .innerText = "02 9999 0000",
           .innerHTML = "<a href=\"tel:0299990000\">02 9999 0000</a>"}},
         "primary-contacts: <a href=\"tel:0299990000\">02 9999 0000</a>\r\n"
         "primary-contacts:. 02 9999 0000\r\n"},
        {"separator with inner markup",
         {{.className = "dropdown-basic-body", .innerText = "Map", .innerHTML = "<p>Map</p>"}},
         "+-§--dropdown-basic-body: <p>Map</p>\r\n"},
        {"separator with outer markup and text",
         {{.className = "search-contact-card call-to-actions",
           .innerText = "Call",
           .outerHTML = "<div class=\"search-contact-card call-to-actions\" latitude=\"-33.8\">"
                        "Call</div>"}},
         "+-§--search-contact-card call-to-actions: <div class=\"search-contact-card "
         "call-to-actions\" latitude=\"-33.8\">Call</div>\r\n"
         "search-contact-card call-to-actionsINNER: Call\r\n"},
        {"values as they come, line breaks and labels included",
         {{.className = "listing-short-description", .innerText = "Open\nwebsite: none\r\n"}},
         "listing-short-description: Open\nwebsite: none\r\n\r\n"},
        {"empty value", {{.className = "email"}}, "email: \r\n"},
    });
}

TEST(FlattenPageOrder, NestedElementsEachGetTheirEntryInDocumentOrder) {
    expectFlattened({
        {"container, descendants, next container",
         {{.className = "listing-details",
           .innerText = "Acme\nCafes",
           .children = {{.className = "listing-name", .innerText = "Acme"},
                        {.children = {{.className = "listing-heading", .innerText = "Cafes"}}}}},
          {.className = "listing-details", .innerText = "Beta"}},
         "listing-details: Acme\nCafes\r\nlisting-name: Acme\r\nlisting-heading: Cafes\r\n"
         "listing-details: Beta\r\n"},
    });
}

TEST(FlattenPageOrder, OnlyElementsInsideTheBodyAreWalked) {
    FakeDocument document(
        Node{.className = "listing-details",
             .innerText = "everything",
             .children = {{.className = "listing-name", .innerText = "Acme"}}},
        {Node{.tag = "META", .className = "listingTitle", .innerText = "head"}});
    EXPECT_EQ(FlattenPage(&document), "listing-name: Acme\r\n");
}

// The text is cut at every "§": separators start blocks, and one in the page's own text cuts
// too.
TEST(FlattenPageOrder, BlocksStartAtSeparatorsAndASectionSignInTheTextCutsToo) {
    const QString text = flatten({
        {.className = "listing-name", .innerText = "before"},
        {.className = "dropdown-basic-body", .innerHTML = "<p>1</p>"},
        {.className = "listing-name", .innerText = "Smith § Sons"},
        {.className = "search-contact-card call-to-actions", .innerText = "2", .outerHTML = "<i>2</i>"},
    });
    const QStringList expected{
        "listing-name: before\r\n+-",
        "--dropdown-basic-body: <p>1</p>\r\nlisting-name: Smith ",
        " Sons\r\n+-",
        "--search-contact-card call-to-actions: <i>2</i>\r\n"
        "search-contact-card call-to-actionsINNER: 2\r\n",
    };
    EXPECT_EQ(ListingTextParser().splitBlocks(text), expected);
}

std::string errorOf(dom::Document* document) {
    try {
        FlattenPage(document);
    } catch (const CaptureError& error) {
        return error.what();
    }
    return "no error";
}

TEST(FlattenPageErrors, DocumentsItCannotWalkRaiseExactMessages) {
    FakeDocument notHtml(body({{.className = "listing-name"}}));
    notHtml.setHtmlDocument(false);
    FakeDocument noBody(std::nullopt, {Node{.className = "listing-name"}});

    EXPECT_EQ(errorOf(nullptr), "Invalid HTML document");
    EXPECT_EQ(errorOf(&notHtml), "Invalid HTML document");
    EXPECT_EQ(errorOf(&noBody), "Can't find <body> element");
}

TEST(FlattenPageErrors, EngineErrorsPassThrough) {
    FakeDocument document(body({{.className = "listing-name", .gone = true}}));
    EXPECT_THROW(FlattenPage(&document), dom::DomError);
}

TEST(FlattenPageBatching, OnlyMatchingElementsAreReadAndTheirReadsAreFetchedAhead) {
    std::vector<Node> elements;
    for (int listing = 0; listing < 30; ++listing) {
        elements.push_back({.id = "filler", .className = "row", .innerText = "x", .innerHTML = "x"});
        elements.push_back({.id = "title", .className = "listingTitle", .innerText = "Acme"});
        elements.push_back({.id = "contacts", .className = "primary-contacts"});
        elements.push_back({.id = "menu", .className = "dropdown-basic-body"});
        elements.push_back({.id = "card", .className = "search-contact-card call-to-actions"});
    }
    FakeDocument document(body(std::move(elements)));
    FlattenPage(&document);

    // One round trip for all entries, whatever their number and kinds.
    EXPECT_EQ(document.log().unprefetchedReads, 0);
    EXPECT_EQ(document.log().prefetches.size(), 1u);
    for (const fake::PrefetchCall& call : document.log().prefetches) {
        EXPECT_FALSE(call.ids.contains("filler"));
    }
    const struct {
        const char* id;
        dom::ElementProperties properties;
    } reads[] = {
        {"filler", {}},
        {"title", ElementProperty::InnerText},
        {"contacts", ElementProperty::InnerHTML | ElementProperty::InnerText},
        {"menu", ElementProperty::InnerHTML},
        {"card", ElementProperty::OuterHTML | ElementProperty::InnerText},
    };
    for (const auto& read : reads) {
        EXPECT_EQ(document.element(read.id)->readProperties(), read.properties) << read.id;
        EXPECT_EQ(document.element(read.id)->prefetchedProperties(), read.properties) << read.id;
    }
}

}  // namespace
}  // namespace larkspan
