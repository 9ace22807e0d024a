// The structured data source on real pages in the engine: the sample site's three pages give
// their hand-checked lines through the document's page-script operation, and a page that
// tampers with what scripts rely on still gives its listings.

#include "browser/dom.h"
#include "browser/twebbrowser.h"
#include "capture/result_fields.h"
#include "capture/structured_listings.h"

#include "tests/support/test_http_server.h"

#include <QApplication>
#include <QFile>
#include <QTest>

namespace larkspan {
namespace {

const QString kSampleFolder = QStringLiteral(LARKSPAN_TEST_DATA "/../../samples/structured");
const QString kPagesFolder = QStringLiteral(LARKSPAN_TEST_DATA "/structured");

bool load(TWebbrowser& browser, const QUrl& url) {
    browser.Navigate(url);
    return browser.waitUntilComplete() && browser.ReadyState() == 4;
}

// The expected lines of one sample page: the lines after "# PAGE" up to the next page's,
// with "{site}" standing for the server's address.
QStringList expectedLines(const QString& page, const QString& site) {
    QFile file(QStringLiteral(LARKSPAN_TEST_DATA "/structured_sample_expected.csv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {QStringLiteral("<no expected lines>")};
    }
    QStringList lines;
    bool inPage = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(u'#')) {
            inPage = line == QStringLiteral("# ") + page;
        } else if (inPage && !line.isEmpty()) {
            lines.append(QString(line).replace(QStringLiteral("{site}"), site));
        }
    }
    return lines;
}

class StructuredDataPagesTest : public QObject {
    Q_OBJECT

private slots:
    void samplePagesGiveTheirLines_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("skippedScripts");
        QTest::newRow("JSON-LD: @graph, ItemList, broken scripts") << "page1.html" << 2;
        QTest::newRow("microdata") << "page2.html" << 0;
        QTest::newRow("RDFa Lite and JSON-LD") << "page3.html" << 0;
    }

    void samplePagesGiveTheirLines() {
        QFETCH(QString, page);
        QFETCH(int, skippedScripts);
        test::TestHttpServer server(kSampleFolder);
        QVERIFY(server.listen());
        TWebbrowser browser;
        const QUrl address = server.url(u'/' + page);
        QVERIFY(load(browser, address));

        const StructuredListings listings = structuredListings(*browser.Document(), address);

        const QString site = server.url(QString()).toString();
        QCOMPARE(listings.resultLines, expectedLines(page, site.chopped(site.endsWith(u'/'))));
        QCOMPARE(listings.skippedScripts, skippedScripts);
    }

    void aTamperingPageStillGivesItsListings() {
        test::TestHttpServer server(kPagesFolder);
        QVERIFY(server.listen());
        TWebbrowser browser;
        const QUrl address = server.url(QStringLiteral("/hostile.html"));
        QVERIFY(load(browser, address));

        const StructuredListings listings = structuredListings(*browser.Document(), address);

        QCOMPARE(listings.resultLines,
                 QStringList({
                     resultLineOf({"Clobber-proof Bakery", "03 6200 1111", "", "", "", "", "",
                                   "Bakery", "", "", "", "", "", address.toString()}),
                     resultLineOf({"Form-shaped Florist", "", "", "", "", "", "", "Florist", "",
                                   "", "", "", "", server.url(QStringLiteral("/florist")).toString()}),
                 }));
    }

    void anUnknownPageScriptIsRefused() {
        test::TestHttpServer server(kPagesFolder);
        QVERIFY(server.listen());
        TWebbrowser browser;
        QVERIFY(load(browser, server.url(QStringLiteral("/hostile.html"))));
        QString message;
        try {
            browser.Document()->runPageScript(QStringLiteral("elsewhere.js"), QJsonValue());
        } catch (const dom::DomError& error) {
            message = QString::fromUtf8(error.what());
        }
        QCOMPARE(message, QStringLiteral("The page's document bridge failed: no page script elsewhere.js"));
    }
};

}  // namespace
}  // namespace larkspan

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    larkspan::StructuredDataPagesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "structured_data_pages_test.moc"
