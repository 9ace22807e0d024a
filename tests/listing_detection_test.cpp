// The detection's answer as profile documents: what goes into the profile file, in its format,
// and what the summary says.

#include "capture/listing_detection.h"
#include "capture/profile_reader.h"

#include "qt_printers.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace larkspan {
namespace {

QJsonObject answerOf(const char* json) {
    return QJsonDocument::fromJson(json).object();
}

QString compact(const QJsonDocument& document) {
    return QString::fromUtf8(document.toJson(QJsonDocument::Compact));
}

TEST(ListingDetection, WritesEachGroupAsAProfile) {
    struct Case {
        const char* what;
        const char* answer;
        QString pageAddress;
        QString profile;
        QString summary;
    };
    const Case cases[] = {
        {"a web page: named after its site, port included, and matching its addresses",
         R"({"title": "Plumbers - page 1", "groups": [{"listing": "article.card", "count": 12,
             "fields": {"phone": {"selector": ".tel", "pattern": "\\d{4}"}, "name": {"selector": "h2 a"},
                        "fax": {"selector": ".fax"}, "website": {"selector": "a.site", "attribute": "href"}},
             "next": {"text": "Next"}, "nextLabel": "Next", "found": []}]})",
         "https://www.example.com.au:8443/search?q=plumbers",
         R"({"fields":{"name":"h2 a","phone":{"pattern":"\\d{4}","selector":".tel"},)"
         R"("website":{"attribute":"href","selector":"a.site"}},"listing":"article.card",)"
         R"("matches":["https://www.example.com.au:8443/*"],"name":"www.example.com.au:8443",)"
         R"("next":{"text":"Next"}})",
         "12 listings found; fields: name, phone, website; next page: Next"},
        {"a file: named after its title, matching no address; a next link by selector",
         R"({"title": "Trades guide", "groups": [{"listing": "tr.firm", "count": 4,
             "fields": {"email": {"selector": "a.mail", "attribute": "href", "pattern": "^mailto:(.+)$"}},
             "next": {"selector": "nav a.forward"}, "nextLabel": "Following page", "found": []}]})",
         "file:///srv/pages/page1.html",
         R"({"fields":{"email":{"attribute":"href","pattern":"^mailto:(.+)$","selector":"a.mail"}},)"
         R"("listing":"tr.firm","name":"Trades guide","next":{"selector":"nav a.forward"}})",
         "4 listings found; fields: email; next page: Following page (nav a.forward)"},
        {"no next link, no title",
         R"({"title": "", "groups": [{"listing": "li", "count": 3,
             "fields": {"description": {"selector": ":scope"}}, "next": null, "nextLabel": "",
             "found": []}]})",
         "data:text/html,<ul>",
         R"({"fields":{"description":":scope"},"listing":"li","name":"Detected listings"})",
         "3 listings found; fields: description; next page: none"},
    };
    for (const Case& c : cases) {
        const ListingDetection detection =
            listingDetectionOf(answerOf(c.answer), QUrl(c.pageAddress));
        ASSERT_EQ(detection.size(), 1) << c.what;
        EXPECT_EQ(compact(detection.front().profile), c.profile) << c.what;
        EXPECT_EQ(detection.front().summary(), c.summary) << c.what;
        EXPECT_NO_THROW(readCaptureProfile(detection.front().profile.toJson(), "detected"))
            << c.what;
    }
}

TEST(ListingDetection, LeavesOutGroupsThatGiveNoProfile) {
    const ListingDetection detection = listingDetectionOf(
        answerOf(R"({"title": "", "groups": [
            {"listing": "li.menu", "count": 30, "fields": {}, "next": null, "found": []},
            {"listing": "", "count": 5, "fields": {"name": {"selector": "a"}}, "found": []},
            {"listing": "div.card", "count": 5, "fields": {"name": {"selector": " "}}, "found": []},
            {"listing": "article", "count": 4, "fields": {"name": {"selector": "h3"}}, "found": []}
        ]})"),
        QUrl("https://example.com/"));
    ASSERT_EQ(detection.size(), 1);
    EXPECT_EQ(detection.front().listingSelector, "article");
    EXPECT_EQ(detection.front().fields, QStringList{"name"});
}

}  // namespace
}  // namespace larkspan
