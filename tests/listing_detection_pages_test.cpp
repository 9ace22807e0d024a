// Listing detection on real pages in the engine, pages of markup it was not written for: cards
// with generated class names, a table without classes, a business page whose reviews are the
// repeated group, a portal buried in menus and footers, and a page that tampers with what
// scripts rely on. The profile each gives is read back and applied as a capture would.

#include "browser/twebbrowser.h"
#include "capture/listing_detection.h"
#include "capture/profile_listings.h"
#include "capture/profile_reader.h"
#include "capture/result_fields.h"

#include "tests/support/test_http_server.h"

#include <QApplication>
#include <QHash>
#include <QTest>

namespace larkspan {
namespace {

const QString kPagesFolder = QStringLiteral(LARKSPAN_TEST_DATA "/detect");
const QStringList kPages = {QStringLiteral("cards.html"), QStringLiteral("table.html"),
                            QStringLiteral("reviews.html"), QStringLiteral("portal.html"),
                            QStringLiteral("hostile.html")};

QStringList column(const QStringList& lines, int field) {
    QStringList values;
    for (const QString& line : lines) {
        values.append(resultFields(line).at(field));
    }
    return values;
}

class ListingDetectionPagesTest : public QObject {
    Q_OBJECT

private slots:
    // Each page is loaded and detected once; the tests below read what it gave.
    void initTestCase() {
        QVERIFY(m_server.listen());
        for (const QString& page : kPages) {
            TWebbrowser browser;
            browser.Navigate(m_server.url(u'/' + page));
            QVERIFY(browser.waitUntilComplete() && browser.lastLoadSucceeded());
            m_detected.insert(page, detectListings(*browser.Document(), m_server.url(u'/' + page)));
        }
    }

    void findsTheRepeatedListings_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("groups");
        QTest::newRow("cards with generated class names")
            << "cards.html" << QStringList{"div.result-card: 8"};
        QTest::newRow("a table with neither classes nor ids, its heading row left out")
            << "table.html"
            << QStringList{"body > table:nth-of-type(2) > tbody:nth-of-type(1) > "
                           "tr:nth-of-type(1) > td:nth-of-type(2) > table:nth-of-type(1) > "
                           "tbody:nth-of-type(1) > tr:not(:first-child): 6"};
        QTest::newRow("reviews before similar businesses")
            << "reviews.html" << QStringList{"li.review: 20", "div.similar-card: 4"};
        QTest::newRow("listings before footer and menu columns")
            << "portal.html"
            << QStringList{"ul.listings > li: 6", "div.footer-col: 4", "li.mega-col: 4"};
        QTest::newRow("a tampering page") << "hostile.html" << QStringList{"form.shop: 4"};
    }

    void findsTheRepeatedListings() {
        QFETCH(QString, page);
        QFETCH(QStringList, groups);
        QStringList found;
        for (const DetectedListings& group : m_detected.value(page)) {
            found.append(group.listingSelector + QStringLiteral(": ") +
                         QString::number(group.count));
        }
        QCOMPARE(found, groups);
    }

    void mapsTheFieldsEveryListingHolds_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("fields");
        QTest::newRow("cards") << "cards.html"
                               << "name, phone, street, postcode, city, state, description, "
                                  "website, longitude, latitude, listing_page";
        QTest::newRow("table") << "table.html"
                               << "name, phone, email, street, postcode, city, state, website, "
                                  "listing_page";
        QTest::newRow("reviews") << "reviews.html" << "name, description";
        QTest::newRow("portal") << "portal.html"
                                << "name, phone, email, street, postcode, city, state, "
                                   "description, listing_page";
        QTest::newRow("tampering") << "hostile.html" << "name, phone, description, listing_page";
    }

    void mapsTheFieldsEveryListingHolds() {
        QFETCH(QString, page);
        QFETCH(QString, fields);
        QVERIFY(!m_detected.value(page).isEmpty());
        QCOMPARE(m_detected.value(page).constFirst().fields.join(QStringLiteral(", ")), fields);
    }

    void proposesTheNextPageRule_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("nextPage");
        QTest::newRow("rel=next") << "cards.html" << "Next (a[rel~=next])";
        QTest::newRow("a bare » in the pager, by its text; not a Next » within the page")
            << "table.html" << "»";
        QTest::newRow("the reviews' own pager") << "reviews.html" << "Next › (a.older)";
        QTest::newRow("NEXT » by its place, as a featured listing's NEXT » comes first")
            << "portal.html" << "NEXT » (div.pages a:last-child)";
        QTest::newRow("tampering") << "hostile.html" << "Next (a[rel~=next])";
    }

    void proposesTheNextPageRule() {
        QFETCH(QString, page);
        QFETCH(QString, nextPage);
        QVERIFY(!m_detected.value(page).isEmpty());
        QCOMPARE(m_detected.value(page).constFirst().nextPage, nextPage);
    }

    void itsProfileCapturesTheListings_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("field");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("cards: names")
            << "cards.html" << int(NameField)
            << QStringList{"Kestrel Joinery",         "Merri Creek Electrical",
                           "Sydney Road Locksmiths",  "Fawkner Fencing Co",
                           "Pascoe Vale Plumbing",    "Glenroy Glass & Glazing",
                           "Coburg Tiling Studio",    "Moreland Roof Restorations"};
        QTest::newRow("cards: phones, one listing without")
            << "cards.html" << int(PhoneField)
            << QStringList{"(03) 9381 2040", "0412 555 310",   "(03) 9380 6611", "(03) 9359 0102",
                           "0400 118 226",   "(03) 9306 7788", "",               "(03) 9383 4455"};
        QTest::newRow("cards: listing pages")
            << "cards.html" << int(ListingPageField)
            << QStringList{m_server.url("/biz/kestrel-joinery-9100").toString(),
                           m_server.url("/biz/merri-creek-electrical-9101").toString(),
                           m_server.url("/biz/sydney-road-locksmiths-9102").toString(),
                           m_server.url("/biz/fawkner-fencing-co-9103").toString(),
                           m_server.url("/biz/pascoe-vale-plumbing-9104").toString(),
                           m_server.url("/biz/glenroy-glass-glazing-9105").toString(),
                           m_server.url("/biz/coburg-tiling-studio-9106").toString(),
                           m_server.url("/biz/moreland-roof-restorations-9107").toString()};
        QTest::newRow("table: names")
            << "table.html" << int(NameField)
            << QStringList{"Albany Creek Veterinary Clinic", "Bracken Ridge Physiotherapy",
                           "Carseldine Family Dental",       "Deagon Auto Electrics",
                           "Everton Park Pharmacy",          "Ferny Grove Optometrists"};
        QTest::newRow("table: phones after their label")
            << "table.html" << int(PhoneField)
            << QStringList{"07 3264 1234", "07 3261 7788", "07 3263 5050",
                           "07 3269 0101", "07 3354 2211", "07 3351 8000"};
        QTest::newRow("reviews: authors")
            << "reviews.html" << int(NameField)
            << QStringList{"Megan T.", "Rohan P.", "Li Wei",   "Sarah K.",  "Tom B.",
                           "Aisha M.", "Greg H.",  "Priya S.", "Daniel F.", "Chloe R.",
                           "Ben O.",   "Nadia A.", "Sam W.",   "Olivia J.", "Marcus L.",
                           "Emma C.",  "Josh N.",  "Hannah G.", "Vikram D.", "Zoe P."};
        QTest::newRow("portal: names, one heading without its link")
            << "portal.html" << int(NameField)
            << QStringList{"Salamanca Books", "Elizabeth St Florist", "North Hobart Hardware",
                           "Sandy Bay Toys",  "Moonah Music",         "Kingston Pet Supplies"};
        QTest::newRow("portal: phones after their word")
            << "portal.html" << int(PhoneField)
            << QStringList{"(03) 6223 1234", "(03) 6231 5678", "(03) 6234 9012",
                           "(03) 6225 3456", "(03) 6228 7890", "(03) 6229 2468"};
        QTest::newRow("portal: postcodes")
            << "portal.html" << 4
            << QStringList{"7004", "7000", "7000", "7005", "7009", "7050"};
        QTest::newRow("tampering: names")
            << "hostile.html" << int(NameField)
            << QStringList{"Clobber-proof Bakery", "Form-shaped Florist", "Prototype Pies",
                           "Shadowed Shoes"};
    }

    void itsProfileCapturesTheListings() {
        QFETCH(QString, page);
        QFETCH(int, field);
        QFETCH(QStringList, values);
        QVERIFY(!m_detected.value(page).isEmpty());
        const DetectedListings& best = m_detected.value(page).constFirst();
        const CaptureProfile profile =
            readCaptureProfile(best.profile.toJson(), QStringLiteral("detected.json"));
        QCOMPARE(column(profileListings(profile, best.found).resultLines, field), values);
    }

private:
    test::TestHttpServer m_server{kPagesFolder};
    QHash<QString, ListingDetection> m_detected;
};

}  // namespace
}  // namespace larkspan

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    larkspan::ListingDetectionPagesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "listing_detection_pages_test.moc"
