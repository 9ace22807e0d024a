#include "capture/result_fields.h"
#include "capture/structured_fields.h"
#include "capture/structured_items.h"
#include "capture/structured_listings.h"
#include "capture/structured_types.h"

#include "fake_dom.h"
#include "qt_printers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <map>

namespace larkspan {
namespace {

const QUrl kPage(QStringLiteral("https://www.guide.example/tas/results?page=2"));

QJsonValue json(const char* text) {
    const QJsonDocument document = QJsonDocument::fromJson(text);
    EXPECT_FALSE(document.isNull()) << text;
    return document.isObject() ? QJsonValue(document.object()) : QJsonValue(document.array());
}

// Fourteen fields, empty but for the ones named by their JSON Lines key.
QStringList fieldsWith(const std::map<QString, QString>& values) {
    QStringList fields(kResultColumnCount);
    for (int i = 0; i < kResultColumnCount; ++i) {
        if (const auto found = values.find(resultColumns()[i].key); found != values.end()) {
            fields[i] = found->second;
        }
    }
    return fields;
}

QStringList listingNames(const char* root) {
    QStringList names;
    for (const QJsonObject& item : listingItems(json(root), SchemaOrganizationTypes::shipped())) {
        names.append(item.value(QLatin1String("name")).toString());
    }
    return names;
}

TEST(StructuredListingItems, ListingsAreBusinessesFoundThroughLists) {
    const struct {
        const char* what;
        const char* root;
        QStringList names;
    } cases[] = {
        {"a local business", R"({"@type": "LocalBusiness", "name": "A"})", {"A"}},
        {"a subtype, with its vocabulary", R"({"@type": "http://schema.org/Plumber", "name": "A"})",
         {"A"}},
        {"one of several types", R"({"@type": ["Place", "Dentist"], "name": "A"})", {"A"}},
        {"an organization with an address or a telephone",
         R"([{"@type": "Organization", "name": "A", "address": "1 Main St"},
             {"@type": "Corporation", "name": "B", "telephone": ["03 1234"]},
             {"@type": "Organization", "name": "C", "telephone": " ", "url": "https://c.example"},
             {"@type": "NGO", "name": "D", "address": null}])",
         {"A", "B"}},
        {"not a business", R"([{"@type": "Person", "name": "A", "telephone": "1"},
                                {"@type": "Product", "name": "B"}, {"name": "C"}])",
         {}},
        {"@graph, ItemList, ListItem, nested item",
         R"({"@graph": [{"@type": "WebPage", "mainEntity": {"@type": "ItemList",
               "itemListElement": [{"@type": "ListItem", "item": {"@type": "Bakery", "name": "A"}},
                                   {"@type": "Florist", "name": "B"}]}},
             {"@type": "Locksmith", "name": "C"}]})",
         {"A", "B", "C"}},
        {"a list known by its elements alone",
         R"({"@type": "SearchResultsPage", "about": [{"itemListElement": [{"@type": "Bakery", "name": "A"}]}]})",
         {"A"}},
        {"businesses nested as properties are not listings",
         R"([{"@type": "Plumber", "name": "A", "parentOrganization": {"@type": "Plumber", "name": "B"}},
             {"@type": "Book", "name": "X", "author": {"@type": "Organization", "name": "C", "telephone": "1"}},
             {"@type": "Offer", "offeredBy": {"@type": "Bakery", "name": "D"}}])",
         {"A"}},
        {"microdata's lists of values",
         R"({"@type": ["https://schema.org/ItemList"], "itemListElement": [{"@type": ["https://schema.org/ListItem"],
               "item": [{"@type": ["https://schema.org/Bakery"], "name": "A"}]}]})",
         {"A"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(listingNames(c.root), c.names) << c.what;
    }
}

TEST(StructuredListingFields, ItemsMapOntoTheFourteenFields) {
    const StructuredPage page{kPage, QUrl(QStringLiteral("https://www.guide.example/tas/")),
                              QStringLiteral("http://maps.google.com")};
    const QString pageAddress = kPage.toString();
    const struct {
        const char* what;
        const char* item;
        QStringList fields;
    } cases[] = {
        {"every field",
         R"({"@type": ["LocalBusiness", "AutoRepair"], "name": " Brake &amp;\n Clutch ",
             "telephone": "03 6228 9012", "email": "MAILTO:shop@brake.example",
             "address": {"@type": "PostalAddress", "streetAddress": "88 Main Rd",
                         "postalCode": "7009", "addressLocality": "Moonah", "addressRegion": "TAS"},
             "description": "Brakes,\tclutches", "url": "/moonah/brake-clutch",
             "sameAs": ["https://guide.example/other", "https://brake.example"],
             "geo": {"latitude": -42.8457, "longitude": 147.3012}})",
         fieldsWith({{"name", "Brake & Clutch"},
                     {"phone", "03 6228 9012"},
                     {"email", "shop@brake.example"},
                     {"street", "88 Main Rd"},
                     {"postcode", "7009"},
                     {"city", "Moonah"},
                     {"state", "TAS"},
                     {"heading", "Auto Repair"},
                     {"description", "Brakes, clutches"},
                     {"website", "https://brake.example"},
                     {"longitude", "147.3012"},
                     {"latitude", "-42.8457"},
                     {"map_link", "http://maps.google.com/maps?q=-42.8457,147.3012&t=m"},
                     {"listing_page", "https://www.guide.example/moonah/brake-clutch"}})},
        {"a url elsewhere is the website; the listing page is the @id on the site",
         R"({"@type": "Plumber", "url": "https://plumb.example/", "@id": "listing/7",
             "mainEntityOfPage": "https://guide.example/m/7"})",
         fieldsWith({{"heading", "Plumber"},
                     {"website", "https://plumb.example/"},
                     {"listing_page", "https://www.guide.example/tas/listing/7"}})},
        {"else mainEntityOfPage on the site",
         R"({"@type": "Plumber", "url": "https://plumb.example/", "@id": "https://plumb.example/#org",
             "mainEntityOfPage": {"@id": "https://guide.example/m/7"}})",
         fieldsWith({{"heading", "Plumber"},
                     {"website", "https://plumb.example/"},
                     {"listing_page", "https://guide.example/m/7"}})},
        {"else the page's address",
         R"({"@type": "Plumber", "url": "https://plumb.example/", "@id": "_:b0"})",
         fieldsWith({{"heading", "Plumber"},
                     {"website", "https://plumb.example/"},
                     {"listing_page", pageAddress}})},
        {"no url: the website from sameAs, the listing page as for a url elsewhere",
         R"({"@type": "LocalBusiness", "sameAs": "https://fb.example/x", "@id": "/l/9"})",
         fieldsWith({{"website", "https://fb.example/x"},
                     {"listing_page", "https://www.guide.example/l/9"}})},
        {"a url on the site without any sameAs elsewhere",
         R"({"@type": "LocalBusiness", "url": "https://guide.example/l/9", "sameAs": "/l/9/reviews"})",
         fieldsWith({{"listing_page", "https://guide.example/l/9"}})},
        {"a text address, coordinates as texts, a map given as an item",
         R"({"@type": "Organization", "address": ["1 Murray St, Hobart TAS 7000", "2 Other St"],
             "latitude": "-42.88", "longitude": "147.33", "hasMap": {"@type": "Map", "url": "/map/1"}})",
         fieldsWith({{"street", "1 Murray St, Hobart TAS 7000"},
                     {"longitude", "147.33"},
                     {"latitude", "-42.88"},
                     {"map_link", "https://www.guide.example/map/1"},
                     {"listing_page", pageAddress}})},
        {"only a latitude gives no map link; values as value objects and lists",
         R"({"@type": "Dentist", "name": [{"@value": "Sandy Bay Dental"}, "Other"],
             "telephone": ["", "03 6223 1180"], "geo": [{"latitude": "-42.9"}]})",
         fieldsWith({{"name", "Sandy Bay Dental"},
                     {"phone", "03 6223 1180"},
                     {"heading", "Dentist"},
                     {"latitude", "-42.9"},
                     {"listing_page", pageAddress}})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(structuredListingFields(json(c.item).toObject(), page,
                                          SchemaOrganizationTypes::shipped()),
                  c.fields)
            << c.what;
    }
}

TEST(StructuredListingFields, TheSiteIsTheHostWithoutWww) {
    const struct {
        const char* address;
        const char* page;
        bool onSite;
    } cases[] = {
        {"https://guide.example/a", "https://www.guide.example/b", true},
        {"http://WWW.Guide.example/a", "https://guide.example/b", true},
        {"https://m.guide.example/a", "https://guide.example/b", false},
        {"https://guide.example.evil/a", "https://guide.example/b", false},
        {"file:///samples/a.html", "file:///samples/b.html", true},
        {"mailto:a@guide.example", "file:///samples/b.html", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isOnSite(QUrl(c.address), QUrl(c.page)), c.onSite) << c.address;
    }
}

TEST(StructuredListings, EveryScriptIsReadOnItsOwnAndTheRecordsGiveTheDigest) {
    fake::FakeDocument document(fake::Node{});
    document.setPageScriptAnswer(QStringLiteral("structured_data.js"), json(R"({
        "base": "https://www.guide.example/tas/",
        "texts": ["{\"@type\": \"Bakery\", \"name\": \"One\"} {broken}",
                   "{\"@type\": \"Florist\", \"name\": \"Two\"}", "nothing here"],
        "items": [{"@type": ["https://schema.org/Locksmith"], "name": ["Three"]}]})"));

    const StructuredListings listings = structuredListings(document, kPage);

    const QString page = kPage.toString();
    EXPECT_EQ(listings.resultLines,
              QStringList({resultLineOf(fieldsWith(
                               {{"name", "One"}, {"heading", "Bakery"}, {"listing_page", page}})),
                           resultLineOf(fieldsWith(
                               {{"name", "Two"}, {"heading", "Florist"}, {"listing_page", page}})),
                           resultLineOf(fieldsWith({{"name", "Three"},
                                                    {"heading", "Locksmith"},
                                                    {"listing_page", page}}))}));
    EXPECT_EQ(listings.skippedScripts, 2);
    const QString record = QStringLiteral(
        R"({"city":"","description":"","email":"","heading":"%1","latitude":"",)"
        R"("listing_page":"https://www.guide.example/tas/results?page=2","longitude":"",)"
        R"("map_link":"","name":"%2","phone":"","postcode":"","state":"","street":"",)"
        R"("website":""})");
    EXPECT_EQ(listings.digestText, u'[' + record.arg("Bakery", "One") + u',' +
                                       record.arg("Florist", "Two") + u',' +
                                       record.arg("Locksmith", "Three") + u']');
}

TEST(StructuredListings, APageWithoutListingsHasNoDigest) {
    const StructuredListings listings = structuredListingsOf(
        json(R"({"base": "", "texts": ["{\"@type\": \"WebPage\"}"], "items": []})").toObject(),
        kPage);
    EXPECT_TRUE(listings.resultLines.isEmpty());
    EXPECT_EQ(listings.digestText, QString());
    EXPECT_EQ(listings.skippedScripts, 0);
}

TEST(StructuredListings, TheSameListingsGiveTheSameDigest) {
    const QJsonObject a = json(R"({"texts": ["{\"@type\": \"Bakery\", \"name\": \"One\"}"]})").toObject();
    const QJsonObject b = json(R"({"items": [{"name": ["One"], "@type": ["Bakery"]}]})").toObject();
    const QJsonObject c = json(R"({"items": [{"name": ["Two"], "@type": ["Bakery"]}]})").toObject();
    EXPECT_EQ(structuredListingsOf(a, kPage).digestText, structuredListingsOf(b, kPage).digestText);
    EXPECT_NE(structuredListingsOf(a, kPage).digestText, structuredListingsOf(c, kPage).digestText);
}

TEST(StructuredListings, EngineFailuresPassThrough) {
    fake::FakeDocument document(fake::Node{});
    try {
        structuredListings(document, kPage);
        FAIL() << "no error";
    } catch (const dom::DomError& error) {
        EXPECT_STREQ(error.what(),
                     "The page's document bridge failed: no page script structured_data.js");
    }
}

}  // namespace
}  // namespace larkspan
