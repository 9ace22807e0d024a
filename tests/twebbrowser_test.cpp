#include "browser/twebbrowser.h"

#include "browser/chromium_sandbox.h"
#include "browser/dom.h"
#include "browser_test_helpers.h"
#include "browser_test_suites.h"
#include "tests/support/test_http_server.h"

#include <QDateTime>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace larkspan {
namespace {

using namespace std::chrono_literals;
using test::domErrorOf;
using test::elementByClass;
using test::loadPage;

// Short, so that clicks that lead nowhere do not hold the suite up; long enough for a loaded
// machine (a fuzzer running beside the suite) to start the navigations that do happen.
constexpr std::chrono::milliseconds StartTimeout = 4s;

std::unique_ptr<TWebbrowser> newBrowser() {
    auto browser = std::make_unique<TWebbrowser>();
    browser->setNavigationStartTimeout(StartTimeout);
    return browser;
}

// The text of the page's element of class "marker", or "none".
QString markerOf(TWebbrowser& browser) {
    const std::shared_ptr<dom::Document> document = browser.Document();
    if (!document) {
        return QStringLiteral("no document");
    }
    const std::shared_ptr<dom::Element> marker =
        elementByClass(*document, QStringLiteral("marker"));
    return marker ? marker->innerText() : QStringLiteral("none");
}

// Every event of a browser in order, as the signal's name and its arguments.
class EventLog : public QObject {
public:
    explicit EventLog(TWebbrowser& browser) {
        record(browser, &TWebbrowser::ProgressChange, QStringLiteral("ProgressChange"));
        record(browser, &TWebbrowser::CommandStateChange, QStringLiteral("CommandStateChange"));
        record(browser, &TWebbrowser::DownloadBegin, QStringLiteral("DownloadBegin"));
        record(browser, &TWebbrowser::DownloadComplete, QStringLiteral("DownloadComplete"));
        record(browser, &TWebbrowser::TitleChange, QStringLiteral("TitleChange"));
        record(browser, &TWebbrowser::BeforeNavigate2, QStringLiteral("BeforeNavigate2"));
        record(browser, &TWebbrowser::NavigateComplete2, QStringLiteral("NavigateComplete2"));
        record(browser, &TWebbrowser::DocumentComplete, QStringLiteral("DocumentComplete"));
    }

    // The entries whose names are in `names`, in order.
    QStringList only(const QStringList& names) const {
        QStringList picked;
        for (const QString& entry : m_entries) {
            if (names.contains(entry.section(u' ', 0, 0))) {
                picked.append(entry);
            }
        }
        return picked;
    }

    void clear() { m_entries.clear(); }

private:
    template <typename... Args>
    void record(TWebbrowser& browser, void (TWebbrowser::*signal)(Args...), const QString& name) {
        connect(&browser, signal, this, [this, name](Args... args) {
            QStringList entry{name};
            (entry.append(QVariant::fromValue(std::decay_t<Args>(args)).toString()), ...);
            m_entries.append(entry.join(u' '));
        });
    }

    QStringList m_entries;
};

}  // namespace
}  // namespace larkspan

Q_DECLARE_METATYPE(larkspan::dom::LinkOutcome::Result)

namespace larkspan {

class TWebbrowserTest : public QObject {
    Q_OBJECT

public:
    TWebbrowserTest() : m_server(test::browserPagesFolder()) {}

private slots:
    void initTestCase();
    void readyStateOfAFreshBrowser();
    void readyStateFollowsALoad();
    void loadOutcomes_data();
    void loadOutcomes();
    void loadAfterOneThatRanOutOfTime();
    void loadAndWaitSaysWhatARefusedPageAsks_data();
    void loadAndWaitSaysWhatARefusedPageAsks();
    void loadAndWaitOfAnAddressNeverLoaded_data();
    void loadAndWaitOfAnAddressNeverLoaded();
    void requestsThatLoadNoPage_data();
    void requestsThatLoadNoPage();
    void eventsOfNavigations();
    void controlOperations();
    void clickAndWait_data();
    void clickAndWait();
    void clickAndWaitWhenTheBrowserIsClosed();
    void waitUntilCompleteWhenTheBrowserIsClosed();
    void rendererThatEnds();
    void closeRequestShowsABlankPage();
    void silentBrowserAnswersThePagesBoxes();
    void navigateNoHistoryReplacesTheShownEntry();
    void navigateNoHistoryOpensWhatThePageMayNot_data();
    void navigateNoHistoryOpensWhatThePageMayNot();
    void loadHtmlShowsTheTextAtABlankAddress_data();
    void loadHtmlShowsTheTextAtABlankAddress();
    void loadHtmlThenAnotherPage();
    void newWindowOpensInTheHandedOverBrowser();
    void sandboxSwitch_data();
    void sandboxSwitch();

private:
    QString address(const QString& path) const { return m_server.url(path).toString(); }

    test::TestHttpServer m_server;
};

void TWebbrowserTest::initTestCase() {
    QVERIFY(m_server.listen());
    m_server.setRedirect(QStringLiteral("/circle.html"), "/circle.html");
    m_server.setStalled(QStringLiteral("/stalled.html"));
}

void TWebbrowserTest::readyStateOfAFreshBrowser() {
    TWebbrowser browser;
    QCOMPARE(browser.ReadyState(), 0);
    QCOMPARE(browser.Busy(), false);
    QCOMPARE(browser.LocationURL(), QString());
    QVERIFY(browser.Document() == nullptr);
    // Nothing is loading, so there is nothing to wait for.
    QVERIFY(browser.waitUntilComplete());
}

void TWebbrowserTest::readyStateFollowsALoad() {
    const auto browser = newBrowser();
    browser->Navigate(m_server.url(QStringLiteral("/slow.html")));
    // Loading from the request on, before the engine reports anything.
    QCOMPARE(browser->ReadyState(), 1);
    QCOMPARE(browser->Busy(), true);
    QVERIFY(browser->waitUntilComplete());
    QCOMPARE(browser->ReadyState(), 4);
    QCOMPARE(browser->Busy(), false);
    QCOMPARE(browser->LocationURL(), address(QStringLiteral("/slow.html")));
    QCOMPARE(markerOf(*browser), QStringLiteral("slow page"));
}

void TWebbrowserTest::loadOutcomes_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("failure");  // after the address and ": "; empty for none
    QTest::addColumn<bool>("shown");       // whether the browser then shows the address
    // Generous everywhere: a loaded machine takes its time over the twenty redirects of a loop,
    // and over the first bytes of a stalled page before the address counts as shown.
    QTest::addColumn<int>("timeLimitMs");

    QTest::newRow("page") << "{base}/next.html"
                          << "" << true << 30'000;
    QTest::newRow("page the server does not have")
        << "{base}/missing.html"
        << "the server answered with HTTP status 404" << true << 30'000;
    QTest::newRow("refused connection")
        << "http://127.0.0.1:1/"
        << "the load failed: net::ERR_UNSAFE_PORT" << true << 30'000;
    QTest::newRow("redirect to itself")
        << "{base}/circle.html"
        << "the load failed: net::ERR_TOO_MANY_REDIRECTS" << true << 30'000;
    QTest::newRow("a download") << "{base}/file.bin"
                                << "it is a download, not a page" << false << 30'000;
    QTest::newRow("server stalls in the page")
        << "{base}/stalled.html"
        << "it did not finish loading within 4 seconds" << true << 4'000;
}

void TWebbrowserTest::loadOutcomes() {
    QFETCH(QString, address);
    QFETCH(QString, failure);
    QFETCH(bool, shown);
    QFETCH(int, timeLimitMs);
    const auto browser = newBrowser();
    browser->setLoadTimeLimit(std::chrono::milliseconds(timeLimitMs));
    const QUrl url(address.replace(QStringLiteral("{base}"), m_server.url({}).toString()));
    QVERIFY(loadPage(*browser, url));
    QCOMPARE(browser->lastLoadSucceeded(), failure.isEmpty());
    QCOMPARE(
        browser->lastLoadFailure(),
        failure.isEmpty() ? QString() : url.toDisplayString() + QStringLiteral(": ") + failure);
    QCOMPARE(browser->LocationURL() == url.toString(), shown);
}

// The engine still holds the stalled load and reports no start of the next one: the next one
// is still the one waited for, with its own outcome and its own time limit.
void TWebbrowserTest::loadAfterOneThatRanOutOfTime() {
    const auto browser = newBrowser();
    browser->setLoadTimeLimit(std::chrono::milliseconds(1'000));
    const QUrl stalled = m_server.url(QStringLiteral("/stalled.html"));
    QCOMPARE(browser->loadAndWait(stalled).result, dom::LinkOutcome::Result::LoadFailed);
    const QUrl next = m_server.url(QStringLiteral("/next.html"));
    const dom::LinkOutcome outcome = browser->loadAndWait(next);
    QCOMPARE(outcome.failure, QString());
    QCOMPARE(outcome.result, dom::LinkOutcome::Result::Arrived);
    QCOMPARE(browser->LocationURL(), next.toString());
    const dom::LinkOutcome again = browser->loadAndWait(stalled);
    QCOMPARE(again.failure, stalled.toDisplayString() +
                                QStringLiteral(": it did not finish loading within 1 seconds"));
}

void TWebbrowserTest::loadAndWaitSaysWhatARefusedPageAsks_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("retryAfterHeader");  // null: the page is not refused
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("retryAfter");     // seconds; -1 for none
    QTest::addColumn<QDateTime>("retryAt");  // for a date: the date it gives

    // In whole seconds, as the header gives them.
    const QDateTime now =
        QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch(), Qt::UTC);
    const auto date = [](const QDateTime& at) {
        return QLocale::c()
            .toString(at, QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"))
            .toLatin1();
    };
    QTest::newRow("page") << "/next.html" << QByteArray() << 0 << -1 << QDateTime();
    QTest::newRow("page the server does not have")
        << "/missing.html" << QByteArray() << 404 << -1 << QDateTime();
    QTest::newRow("refused, seconds")
        << "/refused-seconds" << QByteArray("7") << 429 << 7 << QDateTime();
    QTest::newRow("refused, a date")
        << "/refused-date" << date(now.addSecs(90)) << 429 << 90 << now.addSecs(90);
    QTest::newRow("refused, a date gone by")
        << "/refused-past" << date(now.addSecs(-90)) << 429 << 0 << now.addSecs(-90);
    QTest::newRow("refused, nonsense")
        << "/refused-nonsense" << QByteArray("soon") << 429 << -1 << QDateTime();
}

void TWebbrowserTest::loadAndWaitSaysWhatARefusedPageAsks() {
    QFETCH(QString, path);
    QFETCH(QByteArray, retryAfterHeader);
    QFETCH(int, status);
    QFETCH(int, retryAfter);
    QFETCH(QDateTime, retryAt);
    if (!retryAfterHeader.isNull()) {
        m_server.setRefusals(path, 1, retryAfterHeader);
    }
    const auto browser = newBrowser();
    // A date is read some moment between these two.
    const auto secondsLeft = [&retryAt, retryAfter] {
        return retryAt.isValid()
                   ? std::max<qint64>(0, QDateTime::currentDateTimeUtc().secsTo(retryAt))
                   : retryAfter;
    };
    const qint64 mostLeft = secondsLeft();
    const dom::LinkOutcome outcome = browser->loadAndWait(m_server.url(path));
    const qint64 leastLeft = secondsLeft();
    QCOMPARE(outcome.result, status == 0 ? dom::LinkOutcome::Result::Arrived
                                         : dom::LinkOutcome::Result::LoadFailed);
    QCOMPARE(outcome.httpStatus, status);
    QCOMPARE(outcome.address, status == 0 ? QUrl() : m_server.url(path));
    QVERIFY2(retryAfter < 0 ? !outcome.retryAfter
                            : outcome.retryAfter && outcome.retryAfter->count() <= mostLeft &&
                                  outcome.retryAfter->count() >= leastLeft - 1,
             qPrintable(QString::number(outcome.retryAfter ? outcome.retryAfter->count() : -1)));
}

void TWebbrowserTest::loadAndWaitOfAnAddressNeverLoaded_data() {
    QTest::addColumn<QString>("address");  // "{base}" stands for the server's address
    QTest::newRow("script") << "javascript:void(0)";
    QTest::newRow("zero byte in the path") << "{base}/next%00.html";
}

void TWebbrowserTest::loadAndWaitOfAnAddressNeverLoaded() {
    QFETCH(QString, address);
    const QUrl url(address.replace(QStringLiteral("{base}"), m_server.url({}).toString()));
    const auto browser = newBrowser();
    QVERIFY(loadPage(*browser, m_server.url(QStringLiteral("/next.html"))));
    const dom::LinkOutcome outcome = browser->loadAndWait(url);
    QCOMPARE(outcome.result, dom::LinkOutcome::Result::LoadFailed);
    QCOMPARE(outcome.failure, url.toString() + ": the browser did not start loading it");
    QCOMPARE(outcome.httpStatus, 0);
}

void TWebbrowserTest::requestsThatLoadNoPage_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("shown");

    QTest::newRow("fragment of the shown page") << "{base}/next.html#part"
                                                << "{base}/next.html#part";
    QTest::newRow("script address") << "javascript:void(0)"
                                    << "{base}/next.html";
}

void TWebbrowserTest::requestsThatLoadNoPage() {
    QFETCH(QString, address);
    QFETCH(QString, shown);
    const QString base = m_server.url({}).toString();
    const auto browser = newBrowser();
    QVERIFY(loadPage(*browser, m_server.url(QStringLiteral("/next.html"))));

    browser->Navigate(QUrl(address.replace(QStringLiteral("{base}"), base)));
    QCOMPARE(browser->ReadyState(), 1);
    QVERIFY(browser->waitUntilComplete());
    QCOMPARE(browser->ReadyState(), 4);
    QCOMPARE(browser->LocationURL(), shown.replace(QStringLiteral("{base}"), base));
    QCOMPARE(markerOf(*browser), QStringLiteral("page two"));
}

void TWebbrowserTest::eventsOfNavigations() {
    const auto browser = newBrowser();
    EventLog log(*browser);
    const QString next = address(QStringLiteral("/next.html"));
    const QString links = address(QStringLiteral("/links.html"));
    const QStringList loadEvents{QStringLiteral("BeforeNavigate2"), QStringLiteral("DownloadBegin"),
                                 QStringLiteral("NavigateComplete2"),
                                 QStringLiteral("DownloadComplete"),
                                 QStringLiteral("DocumentComplete")};

    QVERIFY(loadPage(*browser, QUrl(next)));
    QCOMPARE(log.only(loadEvents),
             (QStringList{"BeforeNavigate2 " + next, "DownloadBegin", "NavigateComplete2 " + next,
                          "DownloadComplete", "DocumentComplete " + next}));
    QCOMPARE(log.only({QStringLiteral("TitleChange")}).last(),
             QStringLiteral("TitleChange Page two"));
    QCOMPARE(log.only({QStringLiteral("ProgressChange")}).last(),
             QStringLiteral("ProgressChange 100 100"));
    QCOMPARE(log.only({QStringLiteral("CommandStateChange")}), QStringList());

    log.clear();
    QVERIFY(loadPage(*browser, QUrl(links)));
    QCOMPARE(log.only({QStringLiteral("CommandStateChange")}),
             QStringList{QStringLiteral("CommandStateChange 2 true")});

    log.clear();
    browser->GoBack();
    QVERIFY(browser->waitUntilComplete());
    QCOMPARE(browser->LocationURL(), next);
    QCOMPARE(log.only(loadEvents),
             (QStringList{"BeforeNavigate2 " + next, "DownloadBegin", "NavigateComplete2 " + next,
                          "DownloadComplete", "DocumentComplete " + next}));
    // The two reports come in the engine's order.
    QStringList commandStates = log.only({QStringLiteral("CommandStateChange")});
    commandStates.sort();
    QCOMPARE(commandStates, (QStringList{QStringLiteral("CommandStateChange 1 true"),
                                         QStringLiteral("CommandStateChange 2 false")}));
}

void TWebbrowserTest::controlOperations() {
    m_server.setDelay(QStringLiteral("/slow.html"), 1000ms);
    const auto browser = newBrowser();
    QVERIFY(loadPage(*browser, m_server.url(QStringLiteral("/next.html"))));
    QVERIFY(loadPage(*browser, m_server.url(QStringLiteral("/links.html"))));
    struct Step {
        const char* what;
        std::function<void()> run;
        const char* shown;
        int loads;
    };
    const std::vector<Step> steps{
        {"GoBack", [&] { browser->GoBack(); }, "/next.html", 1},
        {"GoBack at the oldest page", [&] { browser->GoBack(); }, "/next.html", 0},
        {"GoForward", [&] { browser->GoForward(); }, "/links.html", 1},
        {"GoForward at the newest page", [&] { browser->GoForward(); }, "/links.html", 0},
        {"Refresh", [&] { browser->Refresh(); }, "/links.html", 1},
        {"Refresh2 completely", [&] { browser->Refresh2(TWebbrowser::RefreshCompletely); },
         "/links.html", 1},
        {"Stop right after the request",
         [&] {
             browser->Navigate(m_server.url(QStringLiteral("/slow.html")));
             browser->Stop();
         },
         "/links.html", 0},
        {"Stop a load that has started",
         [&] {
             QSignalSpy started(browser.get(), &TWebbrowser::BeforeNavigate2);
             browser->Navigate(m_server.url(QStringLiteral("/slow.html")));
             QVERIFY(started.wait());
             browser->Stop();
         },
         "/links.html", 1},
    };
    for (const Step& step : steps) {
        QSignalSpy completed(browser.get(), &TWebbrowser::DocumentComplete);
        step.run();
        QVERIFY2(browser->waitUntilComplete(), step.what);
        QVERIFY2(browser->ReadyState() == 4, step.what);
        QVERIFY2(browser->LocationURL() == address(QString::fromLatin1(step.shown)), step.what);
        QVERIFY2(completed.count() == step.loads, step.what);
    }
    QCOMPARE(markerOf(*browser), QStringLiteral("links"));
}

void TWebbrowserTest::clickAndWait_data() {
    using Result = dom::LinkOutcome::Result;
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("link");
    QTest::addColumn<Result>("result");
    QTest::addColumn<QString>("failure");  // "{base}" stands for the server's address
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("marker");

    const QString links = QStringLiteral("/links.html");
    // clang-format off
    QTest::newRow("link to a slow page")
        << links << "to-slow" << Result::Arrived << "" << "/slow.html" << "slow page";
    QTest::newRow("link to the page's top")
        << links << "to-fragment" << Result::NoNavigation << "" << "/links.html#" << "links";
    QTest::newRow("link whose script cancels it")
        << links << "inert" << Result::NoNavigation << "" << "/links.html" << "links";
    QTest::newRow("link to the page itself")
        << links << "to-itself" << Result::Arrived << "" << "/links.html" << "links";
    QTest::newRow("link to a missing page")
        << links << "to-missing" << Result::LoadFailed
        << "{base}/missing.html: the server answered with HTTP status 404" << "/missing.html"
        << "none";
    QTest::newRow("link on a page that used up its navigations")
        << "/navigations-used-up.html" << "to-next" << Result::Arrived << "" << "/next.html"
        << "page two";
    // clang-format on
}

void TWebbrowserTest::clickAndWait() {
    QFETCH(QString, page);
    QFETCH(QString, link);
    QFETCH(dom::LinkOutcome::Result, result);
    QFETCH(QString, failure);
    QFETCH(QString, shown);
    QFETCH(QString, marker);
    // The page and its picture both come late, so a wait that ends at the first sign of the new
    // page ends too early.
    m_server.setDelay(QStringLiteral("/slow.html"), 600ms);
    m_server.setDelay(QStringLiteral("/slow.svg"), 600ms);
    const auto browser = newBrowser();
    QVERIFY(loadPage(*browser, m_server.url(page)));
    const std::shared_ptr<dom::Document> document = browser->Document();
    QVERIFY(document);
    const std::shared_ptr<dom::Element> element = elementByClass(*document, link);
    QVERIFY(element);

    const dom::LinkOutcome outcome = browser->clickAndWait(*element);
    QCOMPARE(outcome.result, result);
    QCOMPARE(outcome.failure, failure.replace(QStringLiteral("{base}"), address({})));
    QCOMPARE(browser->ReadyState(), 4);
    QCOMPARE(browser->LocationURL(), address(shown));
    const std::shared_ptr<dom::Document> after = browser->Document();
    QVERIFY(after);
    QCOMPARE(after->readyState(), QStringLiteral("complete"));
    QCOMPARE(markerOf(*browser), marker);
}

void TWebbrowserTest::clickAndWaitWhenTheBrowserIsClosed() {
    m_server.setDelay(QStringLiteral("/slow.html"), 1000ms);
    auto browser = newBrowser();
    QVERIFY(loadPage(*browser, m_server.url(QStringLiteral("/links.html"))));
    const std::shared_ptr<dom::Document> document = browser->Document();
    QVERIFY(document);
    const std::shared_ptr<dom::Element> link = elementByClass(*document, QStringLiteral("to-slow"));
    QVERIFY(link);
    TWebbrowser* waiting = browser.get();
    // The request for the slow page shows that its load is under way.
    const QObject scope;
    connect(&m_server, &test::TestHttpServer::requested, &scope, [&browser](const QString& path) {
        if (path == QLatin1String("/slow.html")) {
            browser.reset();
        }
    });

    QCOMPARE(domErrorOf([&] { waiting->clickAndWait(*link); }),
             QStringLiteral("The browser was closed while waiting for the page"));
    QVERIFY(browser == nullptr);
}

void TWebbrowserTest::waitUntilCompleteWhenTheBrowserIsClosed() {
    m_server.setDelay(QStringLiteral("/slow.html"), 1000ms);
    auto browser = newBrowser();
    TWebbrowser* waiting = browser.get();
    waiting->Navigate(m_server.url(QStringLiteral("/slow.html")));
    const QObject scope;
    QTimer::singleShot(0, &scope, [&browser] { browser.reset(); });
    QCOMPARE(waiting->waitUntilComplete(), false);
    QVERIFY(browser == nullptr);
}

void TWebbrowserTest::rendererThatEnds() {
    const auto browser = newBrowser();
    QVERIFY(loadPage(*browser, m_server.url(QStringLiteral("/links.html"))));
    const std::shared_ptr<dom::Document> document = browser->Document();
    QVERIFY(document);

    // The engine's own address for making the page's renderer crash.
    browser->Navigate(QUrl(QStringLiteral("chrome://crash")));
    QVERIFY(browser->waitUntilComplete());
    QCOMPARE(browser->ReadyState(), 4);
    QVERIFY(browser->Document() == nullptr);
    QCOMPARE(domErrorOf([&] { document->body(); }),
             QStringLiteral("The document has gone: the browser no longer shows it"));

    QVERIFY(loadPage(*browser, m_server.url(QStringLiteral("/links.html"))));
    QCOMPARE(markerOf(*browser), QStringLiteral("links"));
}

void TWebbrowserTest::closeRequestShowsABlankPage() {
    const auto browser = newBrowser();
    QVERIFY(loadPage(*browser, m_server.url(QStringLiteral("/links.html"))));
    const std::shared_ptr<dom::Document> document = browser->Document();
    QVERIFY(document);
    const std::shared_ptr<dom::Element> closer =
        elementByClass(*document, QStringLiteral("closer"));
    QVERIFY(closer);
    QSignalSpy completed(browser.get(), &TWebbrowser::DocumentComplete);
    closer->click();
    QVERIFY(completed.wait());
    QCOMPARE(completed.last().at(0).toUrl(), QUrl(QStringLiteral("about:blank")));
    QCOMPARE(browser->LocationURL(), QStringLiteral("about:blank"));
    QCOMPARE(browser->ReadyState(), 4);
}

// Nobody could click a box away in a browser without a window; the capture must not stall.
void TWebbrowserTest::silentBrowserAnswersThePagesBoxes() {
    const auto browser = newBrowser();
    browser->setSilent(true);
    QVERIFY(loadPage(*browser, m_server.url(QStringLiteral("/boxes.html"))));
    QCOMPARE(markerOf(*browser), QStringLiteral("confirm false, prompt null"));
}

void TWebbrowserTest::navigateNoHistoryReplacesTheShownEntry() {
    const auto browser = newBrowser();
    QVERIFY(loadPage(*browser, m_server.url(QStringLiteral("/elements.html"))));
    QVERIFY(loadPage(*browser, m_server.url(QStringLiteral("/links.html"))));
    browser->NavigateNoHistory(m_server.url(QStringLiteral("/next.html")));
    QVERIFY(browser->waitUntilComplete());
    QCOMPARE(browser->LocationURL(), address(QStringLiteral("/next.html")));
    browser->GoBack();
    QVERIFY(browser->waitUntilComplete());
    QCOMPARE(browser->LocationURL(), address(QStringLiteral("/elements.html")));
}

void TWebbrowserTest::navigateNoHistoryOpensWhatThePageMayNot_data() {
    QTest::addColumn<QUrl>("address");

    QTest::newRow("local file") << QUrl::fromLocalFile(
        QStringLiteral(LARKSPAN_TEST_DATA "/browser/next.html"));
    QTest::newRow("data address") << QUrl(QStringLiteral("data:text/html,<title>Data</title>"));
}

// From a web page, whose own scripts the engine does not let open these addresses.
void TWebbrowserTest::navigateNoHistoryOpensWhatThePageMayNot() {
    QFETCH(QUrl, address);
    const auto browser = newBrowser();
    QVERIFY(loadPage(*browser, m_server.url(QStringLiteral("/elements.html"))));
    browser->NavigateNoHistory(address);
    QVERIFY(browser->waitUntilComplete());
    QCOMPARE(browser->LocationURL(), address.toString());
}

void TWebbrowserTest::loadHtmlShowsTheTextAtABlankAddress_data() {
    QTest::addColumn<QString>("text");

    QTest::newRow("short") << QStringLiteral("Caf\u00e9 \u00a7");
    // Beyond what the engine takes as a page's content in one piece.
    QTest::newRow("over 2 MB") << QString(3 * 1024 * 1024, u'x');
}

void TWebbrowserTest::loadHtmlShowsTheTextAtABlankAddress() {
    QFETCH(QString, text);
    const auto browser = newBrowser();
    browser->LoadHTML(QStringLiteral("<title>Written</title><p class=\"marker\">") + text +
                      QStringLiteral("</p>"));
    QVERIFY(browser->waitUntilComplete());
    QCOMPARE(markerOf(*browser), text);
    QCOMPARE(browser->LocationURL(), QStringLiteral("about:blank"));
    QCOMPARE(browser->LocationName(), QStringLiteral("Written"));
}

// The text goes into the blank page only, never into a page that followed it at once.
void TWebbrowserTest::loadHtmlThenAnotherPage() {
    const auto browser = newBrowser();
    browser->LoadHTML(QStringLiteral("<p class=\"marker\">written</p>"));
    browser->Navigate(m_server.url(QStringLiteral("/next.html")));
    QVERIFY(browser->waitUntilComplete());
    QCOMPARE(markerOf(*browser), QStringLiteral("page two"));
    QVERIFY(!browser->writtenHTML());
}

void TWebbrowserTest::newWindowOpensInTheHandedOverBrowser() {
    const auto browser = newBrowser();
    QVERIFY(loadPage(*browser, m_server.url(QStringLiteral("/links.html"))));
    std::unique_ptr<TWebbrowser> opened;
    connect(browser.get(), &TWebbrowser::NewWindow2, this,
            [&opened](QPointer<TWebbrowser>& ppDisp, bool& cancel) {
                opened = newBrowser();
                ppDisp = opened.get();
                cancel = false;
            });
    const std::shared_ptr<dom::Document> document = browser->Document();
    QVERIFY(document);
    const std::shared_ptr<dom::Element> link =
        elementByClass(*document, QStringLiteral("new-window"));
    QVERIFY(link);

    link->click();
    QTRY_VERIFY(opened != nullptr);
    QTRY_COMPARE(opened->LocationURL(), address(QStringLiteral("/next.html")));
    QVERIFY(opened->waitUntilComplete());
    QCOMPARE(markerOf(*opened), QStringLiteral("page two"));
    QCOMPARE(browser->LocationURL(), address(QStringLiteral("/links.html")));
}

void TWebbrowserTest::sandboxSwitch_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("turnedOff");
    QTest::addColumn<QByteArray>("after");

#ifdef Q_OS_UNIX
    const bool root = geteuid() == 0;
#else
    const bool root = false;
#endif
    QTest::newRow("not set") << QByteArray() << root << QByteArray(root ? "1" : "");
    QTest::newRow("already off") << QByteArray("1") << false << QByteArray("1");
    QTest::newRow("asked to stay on") << QByteArray("0") << root << QByteArray(root ? "1" : "0");
}

void TWebbrowserTest::sandboxSwitch() {
    QFETCH(QByteArray, before);
    QFETCH(bool, turnedOff);
    QFETCH(QByteArray, after);
    const char* const variable = "QTWEBENGINE_DISABLE_SANDBOX";
    const QByteArray saved = qgetenv(variable);
    before.isNull() ? qunsetenv(variable) : qputenv(variable, before);

    const bool result = disableSandboxWhenRoot();
    const QByteArray value = qgetenv(variable);
    qputenv(variable, saved);
    QCOMPARE(result, turnedOff);
    QCOMPARE(value, after);
}

}  // namespace larkspan

int runTWebbrowserTests(int argc, char* argv[]) {
    larkspan::TWebbrowserTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "twebbrowser_test.moc"
