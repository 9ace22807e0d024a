#include "browser/dom.h"
#include "browser/twebbrowser.h"
#include "browser/web_document.h"
#include "browser_test_helpers.h"
#include "tests/support/test_http_server.h"
#include "window_test_suites.h"
#include "window_under_test.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <chrono>

namespace larkspan {
namespace {

using namespace std::chrono_literals;
using test::browserAt;
using test::elementByClass;
using test::load;
using test::markerOf;
using test::pageControl;
using test::tabCaptions;
using test::trigger;
using test::WindowUnderTest;

const QString kPagesFolder = QStringLiteral(LARKSPAN_TEST_DATA "/shell");
const QString kNew = QStringLiteral("New Browser");
const QString kCapture = QStringLiteral("WebBrowser");
const QString kParsingInfo = QStringLiteral("Parsing Info");

void clickElement(TWebbrowser* browser, const QString& className) {
    const std::shared_ptr<dom::Document> document = browser->Document();
    QVERIFY(document);
    const std::shared_ptr<dom::Element> element = elementByClass(*document, className);
    QVERIFY(element);
    element->click();
}

// Clicks a tab in the tab strip, as the user does.
void clickTab(const WindowUnderTest& under, int index, Qt::MouseButton button = Qt::LeftButton) {
    QTabBar* bar = pageControl(under)->tabBar();
    QTest::mouseClick(bar, button, {}, bar->tabRect(index).center());
}

// Duplicates the active tab and waits until the copy is made.
bool duplicate(const WindowUnderTest& under) {
    const int count = pageControl(under)->count();
    trigger(under, "DuplicateTab1");
    return pageControl(under)->count() == count + 1;
}

}  // namespace

class TabsTest : public QObject {
    Q_OBJECT

public:
    TabsTest() : m_server(kPagesFolder) {}

private slots:
    void initTestCase() { QVERIFY(m_server.listen()); }
    void newWindow_data();
    void newWindow();
    void closeTab_data();
    void closeTab();
    void rightClickMenu_data();
    void rightClickMenu();
    void duplicateShowsTheChangedBody();
    void userSwitchRestoresTheChrome_data();
    void userSwitchRestoresTheChrome();
    void backAndForwardOfTheActiveTab_data();
    void backAndForwardOfTheActiveTab();
    void ctrlNDuplicates_data();
    void ctrlNDuplicates();

private:
    QUrl url(const QString& path) const { return m_server.url(path); }

    test::TestHttpServer m_server;
};

void TabsTest::newWindow_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("clickLink");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("active");
    QTest::addColumn<QString>("shown");  // marker of the active tab's page

    QTest::newRow("page still loading")
        << "/loading-opener.html" << false << QStringList{kCapture, kNew, kNew, kParsingInfo} << 1
        << "loading opener";
    QTest::newRow("complete page")
        << "/opener.html" << true << QStringList{kCapture, kNew, kNew, kNew, kParsingInfo} << 2
        << "target page";
}

// The page asking is in the second of two browser tabs, so the new tab's place shows.
void TabsTest::newWindow() {
    QFETCH(QString, page);
    QFETCH(bool, clickLink);
    QFETCH(QStringList, captions);
    QFETCH(int, active);
    QFETCH(QString, shown);

    m_server.setDelay(QStringLiteral("/held.svg"), 1500ms);
    WindowUnderTest under;
    QVERIFY(duplicate(under));
    QVERIFY(duplicate(under));
    clickTab(under, 1);
    QSignalSpy requests(&m_server, &test::TestHttpServer::requested);
    QVERIFY(load(browserAt(under, 1), url(page)));
    if (clickLink) {
        clickElement(browserAt(under, 1), QStringLiteral("new-window"));
        QTRY_COMPARE(pageControl(under)->count(), captions.size());
        QVERIFY(browserAt(under, 2)->waitUntilComplete());
    }

    QCOMPARE(tabCaptions(under), captions);
    QCOMPARE(pageControl(under)->currentIndex(), active);
    QCOMPARE(markerOf(browserAt(under, active)), shown);
    QCOMPARE(requests.count(QVariantList{QStringLiteral("/target.html")}), clickLink ? 1 : 0);
}

void TabsTest::closeTab_data() {
    QTest::addColumn<int>("closed");
    QTest::addColumn<int>("tabsLeft");  // browser tabs
    QTest::addColumn<int>("active");
    // The marker of the page that becomes active; every tab shows its own.
    QTest::addColumn<QString>("shown");

    QTest::newRow("the last tab") << 3 << 3 << 0 << "tab 0";
    QTest::newRow("a tab in the middle") << 2 << 3 << 2 << "tab 3";
    QTest::newRow("the capture tab") << 0 << 4 << 0 << "tab 0";
}

void TabsTest::closeTab() {
    QFETCH(int, closed);
    QFETCH(int, tabsLeft);
    QFETCH(int, active);
    QFETCH(QString, shown);

    WindowUnderTest under;
    for (int i = 0; i < 3; ++i) {
        QVERIFY(duplicate(under));
    }
    for (int i = 0; i < 4; ++i) {
        QVERIFY(load(browserAt(under, i), url(QStringLiteral("/target.html"))));
        browserAt(under, i)->webDocument()->setBodyInnerHTML(
            QStringLiteral("<p class=\"marker\">tab %1</p>").arg(i));
    }
    const QPointer<TWebbrowser> closing = browserAt(under, closed);
    clickTab(under, closed);
    trigger(under, "CloseTab1");

    QCOMPARE(pageControl(under)->count(), tabsLeft + 1);
    QCOMPARE(pageControl(under)->tabText(tabsLeft), kParsingInfo);
    QCOMPARE(pageControl(under)->currentIndex(), active);
    QCOMPARE(markerOf(browserAt(under, active)), shown);
    QCOMPARE(under.window.GetCurrentWB(), browserAt(under, active));
    if (closed != 0) {
        QTRY_VERIFY(closing.isNull());
    }
}

void TabsTest::rightClickMenu_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("closeEnabled");
    QTest::addColumn<bool>("duplicateEnabled");

    QTest::newRow("capture tab") << 0 << false << true;
    QTest::newRow("browser tab") << 1 << true << true;
}

// The tab under the cursor becomes active and the tab menu opens, without the steps of a switch
// by the user: the address bar keeps its text.
void TabsTest::rightClickMenu() {
    QFETCH(int, tab);
    QFETCH(bool, closeEnabled);
    QFETCH(bool, duplicateEnabled);

    WindowUnderTest under;
    QVERIFY(duplicate(under));
    clickTab(under, 1 - tab);
    auto* address = under.child<QLineEdit>("edURL");
    address->setText(QStringLiteral("typed"));
    clickTab(under, tab, Qt::RightButton);

    auto* menu = under.child<QMenu>("PCPopup");
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(pageControl(under)->currentIndex(), tab);
    QCOMPARE(under.child<QAction>("CloseTab1")->isEnabled(), closeEnabled);
    QCOMPARE(under.child<QAction>("DuplicateTab1")->isEnabled(), duplicateEnabled);
    QCOMPARE(menu->defaultAction(), under.child<QAction>("CloseTab1"));
    QCOMPARE(address->text(), QStringLiteral("typed"));
    menu->hide();
}

void TabsTest::duplicateShowsTheChangedBody() {
    WindowUnderTest under;
    TWebbrowser* source = browserAt(under, 0);
    QVERIFY(load(source, url(QStringLiteral("/counter.html"))));
    clickElement(source, QStringLiteral("more"));
    clickElement(source, QStringLiteral("more"));
    QTRY_COMPARE(markerOf(source), QStringLiteral("clicked 2 times"));
    QVERIFY(duplicate(under));
    // A copy of the copy goes directly after its source too.
    QVERIFY(duplicate(under));

    QCOMPARE(tabCaptions(under), (QStringList{kCapture, kNew, kNew, kParsingInfo}));
    QCOMPARE(pageControl(under)->currentIndex(), 2);
    for (int tab : {1, 2}) {
        QCOMPARE(browserAt(under, tab)->LocationURL(),
                 url(QStringLiteral("/counter.html")).toString());
        QCOMPARE(markerOf(browserAt(under, tab)), QStringLiteral("clicked 2 times"));
    }
}

void TabsTest::userSwitchRestoresTheChrome_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("back");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QString>("address");  // path on the server; empty: kept as typed
    QTest::addColumn<QString>("caption");

    QTest::newRow("went back once") << 0 << true << true << "/opener.html"
                                    << "Larkspan - Opener";
    QTest::newRow("a page after a blank one") << 1 << true << false << "/target.html"
                                              << "Larkspan - Target";
    QTest::newRow("a blank page") << 2 << false << false << ""
                                  << "Larkspan - about:blank";
}

void TabsTest::userSwitchRestoresTheChrome() {
    QFETCH(int, tab);
    QFETCH(bool, back);
    QFETCH(bool, forward);
    QFETCH(QString, address);
    QFETCH(QString, caption);

    WindowUnderTest under;
    QVERIFY(under.window.GetCurrentWB()->waitUntilComplete());
    QVERIFY(duplicate(under));  // the start page, at about:blank
    clickTab(under, 0);
    QVERIFY(duplicate(under));
    QVERIFY(load(browserAt(under, 1), url(QStringLiteral("/target.html"))));
    TWebbrowser* capture = browserAt(under, 0);
    QVERIFY(load(capture, url(QStringLiteral("/opener.html"))));
    QVERIFY(load(capture, url(QStringLiteral("/counter.html"))));
    capture->GoBack();
    QVERIFY(capture->waitUntilComplete());
    // The last browser to report decides meanwhile; the switch restores the tab's own.
    clickTab(under, tab == 0 ? 1 : 0);
    under.child<QLineEdit>("edURL")->setText(QStringLiteral("typed"));

    clickTab(under, tab);
    QCOMPARE(under.child<QToolButton>("ToolbtnBack")->isEnabled(), back);
    QCOMPARE(under.child<QToolButton>("ToolBtnForward")->isEnabled(), forward);
    QCOMPARE(under.child<QLineEdit>("edURL")->text(),
             address.isEmpty() ? QStringLiteral("typed") : url(address).toString());
    QCOMPARE(under.window.windowTitle(), caption);
}

void TabsTest::backAndForwardOfTheActiveTab_data() {
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("active");
    QTest::addColumn<bool>("back");
    QTest::addColumn<bool>("forward");

    // The capture tab has gone back once: both of its buttons are on.
    QTest::newRow("a new window") << "new window" << 1 << false << false;
    QTest::newRow("a duplicate") << "duplicate" << 1 << false << false;
    QTest::newRow("closing a tab that went back") << "close" << 0 << true << true;
    QTest::newRow("a tab going back in the background") << "background" << 0 << true << true;
}

void TabsTest::backAndForwardOfTheActiveTab() {
    QFETCH(QString, step);
    QFETCH(int, active);
    QFETCH(bool, back);
    QFETCH(bool, forward);

    WindowUnderTest under;
    TWebbrowser* capture = browserAt(under, 0);
    QVERIFY(load(capture, url(QStringLiteral("/opener.html"))));
    QVERIFY(load(capture, url(QStringLiteral("/counter.html"))));
    auto* backButton = under.child<QToolButton>("ToolbtnBack");
    auto* forwardButton = under.child<QToolButton>("ToolBtnForward");
    QTest::mouseClick(backButton, Qt::LeftButton);
    QVERIFY(capture->waitUntilComplete());
    QTRY_VERIFY(forwardButton->isEnabled());

    if (step == QLatin1String("new window")) {
        clickElement(capture, QStringLiteral("new-window"));
    } else {
        QTest::keyClick(under.child<QLineEdit>("edURL"), Qt::Key_N, Qt::ControlModifier);
    }
    QTRY_COMPARE(pageControl(under)->count(), 3);
    TWebbrowser* opened = browserAt(under, 1);
    QVERIFY(opened->waitUntilComplete());
    if (step == QLatin1String("close") || step == QLatin1String("background")) {
        QVERIFY(load(opened, url(QStringLiteral("/target.html"))));
        if (step == QLatin1String("background")) {
            clickTab(under, 0);
        }
        opened->GoBack();
        QVERIFY(opened->waitUntilComplete());
        QTRY_VERIFY(opened->FNavForward);
        if (step == QLatin1String("close")) {
            clickTab(under, 1, Qt::RightButton);
            auto* menu = under.child<QMenu>("PCPopup");
            QTRY_VERIFY(menu->isVisible());
            QTest::mouseClick(menu, Qt::LeftButton, {},
                              menu->actionGeometry(under.child<QAction>("CloseTab1")).center());
        }
    }

    QCOMPARE(pageControl(under)->currentIndex(), active);
    QCOMPARE(backButton->isEnabled(), back);
    QCOMPARE(forwardButton->isEnabled(), forward);
}

void TabsTest::ctrlNDuplicates_data() {
    QTest::addColumn<QString>("page");  // empty: no document
    QTest::addColumn<bool>("inModalBox");
    QTest::addColumn<int>("tabs");

    QTest::newRow("address bar") << "/target.html" << false << 3;
    QTest::newRow("modal box") << "/target.html" << true << 3;
    QTest::newRow("no document") << "" << false << 2;
}

void TabsTest::ctrlNDuplicates() {
    QFETCH(QString, page);
    QFETCH(bool, inModalBox);
    QFETCH(int, tabs);

    WindowUnderTest under;
    TWebbrowser* capture = browserAt(under, 0);
    // The engine's own address for making the page's renderer end: a browser without document.
    QVERIFY(load(capture, page.isEmpty() ? QUrl(QStringLiteral("chrome://kill")) : url(page)));
    auto* address = under.child<QLineEdit>("edURL");
    address->setText(QStringLiteral("typed"));
    if (inModalBox) {
        QMessageBox box(&under.window);
        QTimer::singleShot(0, &box, [&box] {
            QTest::keyClick(&box, Qt::Key_N, Qt::ControlModifier);
            box.accept();
        });
        box.exec();
    } else {
        address->setFocus();
        QTest::keyClick(address, Qt::Key_N, Qt::ControlModifier);
    }
    // The duplicate is made from the event loop, once the key has been dealt with.
    QCoreApplication::processEvents();

    QTRY_COMPARE(pageControl(under)->count(), tabs);
    QCOMPARE(address->text(), QStringLiteral("typed"));
    if (tabs == 3) {
        QVERIFY(browserAt(under, 1)->waitUntilComplete());
        QCOMPARE(markerOf(browserAt(under, 1)), QStringLiteral("target page"));
    }
}

}  // namespace larkspan

int runTabsTests(int argc, char* argv[]) {
    larkspan::TabsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tabs_test.moc"
