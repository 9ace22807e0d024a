// The listing sources on real pages in the engine: a profile reads the plain sample site and
// follows its next-page rule, next-page rules of each kind find their link, a profile waits for
// results drawn late, an automatic choice takes the first source that fits, and a page that
// tampers with what scripts rely on still gives its listings.

#include "browser/dom.h"
#include "browser/local_wait.h"
#include "browser/twebbrowser.h"
#include "capture/automatic_listing_source.h"
#include "capture/capture_error.h"
#include "capture/human_check.h"
#include "capture/listing_text_parser.h"
#include "capture/profile_folder.h"
#include "capture/profile_listing_source.h"
#include "capture/profile_reader.h"
#include "capture/result_fields.h"
#include "capture/structured_listing_source.h"
#include "tests/support/test_http_server.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace larkspan {
namespace {

const QString kSamples = QStringLiteral(LARKSPAN_TEST_DATA "/../../samples");
const QString kPagesFolder = QStringLiteral(LARKSPAN_TEST_DATA "/sources");

class BrowserPage : public ShownPage {
public:
    std::shared_ptr<dom::Document> currentDocument() override { return browser.Document(); }
    QUrl currentAddress() override { return QUrl(browser.LocationURL()); }

    bool load(const QUrl& url) {
        browser.Navigate(url);
        return browser.waitUntilComplete() && browser.ReadyState() == 4;
    }

    TWebbrowser browser;
};

PageWait waitUpTo(std::chrono::milliseconds limit) {
    return {[](std::chrono::milliseconds duration) {
                browser::LocalWait pause(qApp);
                pause.setTimeLimit(duration);
                return pause.exec() == browser::LocalWait::Outcome::TimedOut;
            },
            limit};
}

CaptureProfile profileOf(const QByteArray& json) {
    return readCaptureProfile(json, QStringLiteral("test.json"));
}

CaptureProfile plainSiteProfile() {
    return readCaptureProfileFile(kSamples + QStringLiteral("/profiles/plain.json"));
}

// The hand-checked lines of the plain sample site, BASE standing for the site's address.
QStringList plainSiteLines(const QString& base) {
    QFile file(QStringLiteral(LARKSPAN_TEST_DATA "/sample_plain_expected.csv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {QStringLiteral("<no expected lines>")};
    }
    return QString::fromUtf8(file.readAll())
        .replace(QStringLiteral("BASE"), base)
        .split(u'\n', Qt::SkipEmptyParts);
}

QString hrefOf(const std::shared_ptr<dom::Element>& link) {
    return link ? link->href() : QStringLiteral("<none>");
}

class ListingSourcesPagesTest : public QObject {
    Q_OBJECT

private slots:
    void profileReadsEveryPageOfTheSite() {
        test::TestHttpServer server(kSamples + QStringLiteral("/plain"));
        QVERIFY(server.listen());
        const QString site = server.url(QString()).toString();
        const QString base = site.chopped(site.endsWith(u'/'));
        ProfileListingSource source(plainSiteProfile(), waitUpTo(std::chrono::seconds(5)));
        BrowserPage page;
        QStringList lines;
        QStringList nextLinks;
        for (const char* name : {"page1.html", "page2.html", "page3.html"}) {
            QVERIFY(page.load(server.url(QStringLiteral("/") + QLatin1String(name))));
            const std::optional<PageListings> listings = source.read(page);
            QVERIFY(listings && !listings->digest.isEmpty());
            lines += listings->resultLines;
            nextLinks.append(hrefOf(source.nextPageLink(page)));
        }
        QCOMPARE(lines, plainSiteLines(base));
        QCOMPARE(nextLinks,
                 QStringList({base + QStringLiteral("/page2.html"),
                              base + QStringLiteral("/page3.html"), QStringLiteral("<none>")}));
    }

    void nextPageRulesFindTheirLink_data() {
        QTest::addColumn<QByteArray>("next");
        QTest::addColumn<QString>("found");
        QTest::newRow("selector") << QByteArray(R"({"selector": "nav.pager a.forward"})")
                                  << "/by-selector";
        QTest::newRow("exact text, white space collapsed")
            << QByteArray(R"({"text": "Next page"})") << "/by-text";
        QTest::newRow("text only part of a link's")
            << QByteArray(R"({"text": "Next"})") << "<none>";
        QTest::newRow("selector that finds nothing")
            << QByteArray(R"({"selector": ".none"})") << "<none>";
        QTest::newRow("no rule: the directory's") << QByteArray() << "/by-directory-rule";
    }

    void nextPageRulesFindTheirLink() {
        QFETCH(QByteArray, next);
        QFETCH(QString, found);
        test::TestHttpServer server(kPagesFolder);
        QVERIFY(server.listen());
        BrowserPage page;
        QVERIFY(page.load(server.url(QStringLiteral("/next_links.html"))));
        QByteArray json = R"({"name": "n", "listing": "p", "fields": {"name": "a"})";
        json += next.isEmpty() ? QByteArray("}") : QByteArray(R"(, "next": )") + next + '}';
        ProfileListingSource source(profileOf(json), waitUpTo(std::chrono::seconds(1)));

        const QString href = hrefOf(source.nextPageLink(page));
        QCOMPARE(href, found.startsWith(u'/') ? server.url(found).toString() : found);
    }

    void structuredDataFollowsTheLinkMarkedNext() {
        test::TestHttpServer server(kPagesFolder);
        QVERIFY(server.listen());
        BrowserPage page;
        QVERIFY(page.load(server.url(QStringLiteral("/next_links.html"))));
        StructuredListingSource source({});
        QCOMPARE(hrefOf(source.nextPageLink(page)),
                 server.url(QStringLiteral("/marked")).toString());
    }

    void profileWaitsForResultsDrawnLate_data() {
        QTest::addColumn<QString>("waitFor");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("error");
        QTest::newRow("shown after the load")
            << "ul.hits" << QStringList{"Late Lamps", "Tardy Tiles"} << QString();
        QTest::newRow("never shown")
            << ".never" << QStringList()
            << "the page did not show \".never\" within 2 s (the profile's wait_for)";
    }

    void profileWaitsForResultsDrawnLate() {
        QFETCH(QString, waitFor);
        QFETCH(QStringList, names);
        QFETCH(QString, error);
        test::TestHttpServer server(kPagesFolder);
        QVERIFY(server.listen());
        BrowserPage page;
        QVERIFY(page.load(server.url(QStringLiteral("/drawn_later.html"))));
        ProfileListingSource source(
            profileOf(QStringLiteral(R"({"name": "late", "listing": "li.hit", "wait_for": "%1",
                                         "fields": {"name": "b", "phone": "i"}})")
                          .arg(waitFor)
                          .toUtf8()),
            waitUpTo(std::chrono::seconds(2)));

        QStringList read;
        QString failure;
        try {
            const PageListings listings = source.read(page).value();
            for (const QString& line : listings.resultLines) {
                read.append(resultFields(line).front());
            }
        } catch (const CaptureError& caught) {
            failure = QString::fromUtf8(caught.what());
        }
        QCOMPARE(read, names);
        QCOMPARE(failure, error);
    }

    void automaticTakesTheFirstSourceThatFits_data() {
        QTest::addColumn<QString>("site");
        QTest::addColumn<bool>("profileSaved");
        QTest::addColumn<QString>("taken");
        QTest::addColumn<int>("lines");
        QTest::newRow("directory markup") << "directory" << true << "directory" << 21;
        QTest::newRow("structured data") << "structured" << true << "structured data" << 6;
        QTest::newRow("a saved profile matches")
            << "plain" << true << "profile Stonefruit Trades Guide" << 4;
        QTest::newRow("nothing fits") << "plain" << false << "directory" << 0;
    }

    void automaticTakesTheFirstSourceThatFits() {
        QFETCH(QString, site);
        QFETCH(bool, profileSaved);
        QFETCH(QString, taken);
        QFETCH(int, lines);
        QTemporaryDir profiles;
        if (profileSaved) {
            QVERIFY(QFile::copy(kSamples + QStringLiteral("/profiles/plain.json"),
                                profiles.filePath(QStringLiteral("plain.json"))));
        }
        const ProfileFolder folder(profiles.path());
        // The sample profile knows the site by its folder in the address.
        test::TestHttpServer server(kSamples + QStringLiteral("/.."));
        QVERIFY(server.listen());
        BrowserPage page;
        QVERIFY(page.load(server.url(QStringLiteral("/samples/%1/page1.html").arg(site))));
        ListingTextParser parser;
        const ListingSources sources(parser, {}, waitUpTo(std::chrono::seconds(1)), folder);
        QString told;
        const std::unique_ptr<ListingSource> source =
            sources.make({ListingSourceChoice::Kind::Automatic},
                         [&told](const ListingSourceChoice& choice) { told = choice.text(); });

        const std::optional<PageListings> listings = source->read(page);

        QVERIFY(listings);
        QCOMPARE(listings->resultLines.size(), lines);
        QCOMPARE(told, taken);
        QCOMPARE(source->name(), taken);
    }

    void pagesThatAskForAHuman_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("kind");  // empty: an ordinary page
        QTest::newRow("check in a frame") << "frame.html"
                                          << "captcha";
        QTest::newRow("check by a script") << "script.html"
                                           << "captcha";
        QTest::newRow("check widget element") << "widget.html"
                                              << "captcha";
        QTest::newRow("visible text, any letter case") << "text.html"
                                                       << "verification page";
        QTest::newRow("consent wall") << "consent.html"
                                      << "consent wall";
        QTest::newRow("no results, the words hidden") << "ordinary.html"
                                                      << "";
        QTest::newRow("the directory's result page") << "../../../../samples/directory/page1.html"
                                                     << "";
    }

    void pagesThatAskForAHuman() {
        QFETCH(QString, page);
        QFETCH(QString, kind);
        test::TestHttpServer server(kPagesFolder + QStringLiteral("/checks"));
        QVERIFY(server.listen());
        BrowserPage shown;
        const QUrl address =
            page.startsWith(u'.')
                ? QUrl::fromLocalFile(kPagesFolder + QStringLiteral("/checks/") + page)
                : server.url(u'/' + page);
        QVERIFY(shown.load(address));
        QCOMPARE(humanCheckKindOf(*shown.currentDocument()).value_or(QString()), kind);
    }

    void aTamperingPageStillGivesItsProfileListings() {
        test::TestHttpServer server(kPagesFolder);
        QVERIFY(server.listen());
        BrowserPage page;
        QVERIFY(page.load(server.url(QStringLiteral("/tampering.html"))));
        ProfileListingSource source(
            profileOf(R"({"name": "t", "listing": ".card", "next": {"selector": "a.more"},
                          "fields": {"name": "h3",
                                     "website": {"selector": "a.site", "attribute": "href"}}})"),
            waitUpTo(std::chrono::seconds(1)));

        const std::optional<PageListings> listings = source.read(page);

        QVERIFY(listings);
        QCOMPARE(listings->resultLines,
                 QStringList({resultLineOf({"Sturdy Sheds", "", "", "", "", "", "", "", "",
                                            server.url(QStringLiteral("/sheds")).toString(), "", "",
                                            "", ""}),
                              resultLineOf({"Form Fencing", "", "", "", "", "", "", "", "",
                                            server.url(QStringLiteral("/fences/")).toString(), "",
                                            "", "", ""})}));
        QCOMPARE(hrefOf(source.nextPageLink(page)),
                 server.url(QStringLiteral("/page-2")).toString());
    }
};

}  // namespace
}  // namespace larkspan

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    larkspan::ListingSourcesPagesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "listing_sources_pages_test.moc"
