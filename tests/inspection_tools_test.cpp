#include "browser/dom.h"
#include "browser/twebbrowser.h"
#include "inspect/tfrm_add_html.h"
#include "tests/support/test_http_server.h"
#include "window_test_suites.h"
#include "window_under_test.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace larkspan {
namespace {

using test::browserAt;
using test::load;
using test::pageControl;
using test::trigger;
using test::WindowUnderTest;

// The widget of the browser that takes the page's mouse and keyboard events: the engine view's
// focus proxy.
QWidget* pageWidget(TWebbrowser* browser) {
    for (QWidget* widget : browser->findChildren<QWidget*>()) {
        if (widget->focusProxy() != nullptr) {
            return widget->focusProxy();
        }
    }
    return nullptr;
}

// The body's opening tag.
QString bodyTag(TWebbrowser* browser) {
    const QString markup = browser->Document()->body()->outerHTML();
    return markup.left(markup.indexOf(u'>') + 1);
}

QString bodyText(TWebbrowser* browser) {
    return browser->Document()->body()->innerText();
}

// A click as the window system delivers it: to the widget's window, so that open popups, their
// grabs and the application's hook all take part.
void clickThroughWindow(QWidget* widget, Qt::MouseButton button, QPoint position) {
    QWidget* window = widget->window();
    QTest::mouseClick(window->windowHandle(), button, {}, widget->mapTo(window, position));
}

void check(const WindowUnderTest& under, const char* name, bool checked) {
    under.child<QCheckBox>(name)->setChecked(checked);
}

}  // namespace

class InspectionToolsTest : public QObject {
    Q_OBJECT

public:
    InspectionToolsTest() : m_server(QStringLiteral(LARKSPAN_TEST_DATA "/inspect")) {}

private slots:
    void initTestCase() { QVERIFY(m_server.listen()); }
    void displayOptionsAfterBackgroundDownload_data();
    void displayOptionsAfterBackgroundDownload();
    void rightPressesAndCloseRequests_data();
    void rightPressesAndCloseRequests();
    void pageMenuCloses_data();
    void pageMenuCloses();
    void addHtmlWithAnotherTabActive_data();
    void addHtmlWithAnotherTabActive();
    void eventLogAndShowingTheTools();
    void searchMarksWhatIsSeen_data();
    void searchMarksWhatIsSeen();

private:
    QUrl url(const QString& path) const { return m_server.url(path); }

    test::TestHttpServer m_server;
};

void InspectionToolsTest::displayOptionsAfterBackgroundDownload_data() {
    QTest::addColumn<bool>("noBorder");
    QTest::addColumn<bool>("noScrollBars");
    QTest::addColumn<QString>("body");  // of the tab on screen

    QTest::newRow("unchecked: the page's own style stays")
        << false << false << "<body style=\"overflow: scroll\">";
    QTest::newRow("no border") << true << false
                               << "<body style=\"overflow: scroll; border-style: none;\">";
    QTest::newRow("both") << true << true
                          << "<body style=\"overflow: hidden; border-style: none;\">";
}

void InspectionToolsTest::displayOptionsAfterBackgroundDownload() {
    QFETCH(bool, noBorder);
    QFETCH(bool, noScrollBars);
    QFETCH(QString, body);

    WindowUnderTest under;
    trigger(under, "DuplicateTab1");
    QVERIFY(load(browserAt(under, 1), url(QStringLiteral("/styled.html"))));
    check(under, "chk3DBorderStyle", noBorder);
    check(under, "chkNoScrollBars", noScrollBars);
    QCOMPARE(bodyTag(browserAt(under, 1)), QStringLiteral("<body style=\"overflow: scroll\">"));

    QVERIFY(load(browserAt(under, 0), url(QStringLiteral("/search.html"))));
    QCOMPARE(bodyTag(browserAt(under, 1)), body);
    QCOMPARE(bodyTag(browserAt(under, 0)), QStringLiteral("<body>"));
}

void InspectionToolsTest::rightPressesAndCloseRequests_data() {
    QTest::addColumn<bool>("noPopupMenu");
    QTest::addColumn<QString>("pagePressed");
    QTest::addColumn<bool>("tabMenuOpens");

    // The page logs the buttons pressed on it; left and middle presses frame the right one.
    QTest::newRow("popup menus allowed") << false << " 0 2 1" << true;
    QTest::newRow("no popup menu: dropped in the page only") << true << " 0 1" << true;
}

void InspectionToolsTest::rightPressesAndCloseRequests() {
    QFETCH(bool, noPopupMenu);
    QFETCH(QString, pagePressed);
    QFETCH(bool, tabMenuOpens);

    WindowUnderTest under;
    TWebbrowser* browser = browserAt(under, 0);
    QVERIFY(load(browser, url(QStringLiteral("/pointer.html"))));
    check(under, "chkDisablePopupMenu", noPopupMenu);
    QWidget* page = pageWidget(browser);
    QVERIFY(page);

    const auto click = [page](Qt::MouseButton button) {
        QTest::mousePress(page, button, {}, QPoint(50, 250));
        QTest::mouseRelease(page, button, {}, QPoint(50, 250));
    };
    const auto pressesLogged = [browser] { return bodyText(browser).section(u'\n', -1); };
    // The page takes input only once it has been shown, which no signal tells: left presses
    // until one arrives say when it does.
    QTRY_VERIFY((click(Qt::LeftButton), pressesLogged().startsWith(QStringLiteral("pressed 0"))));
    click(Qt::RightButton);
    click(Qt::MiddleButton);
    QTRY_VERIFY2(pressesLogged().endsWith(pagePressed), qPrintable(pressesLogged()));
    if (QWidget* popup = QApplication::activePopupWidget()) {
        QTest::keyClick(popup->windowHandle(), Qt::Key_Escape);
    }
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QTabBar* tabs = pageControl(under)->tabBar();
    QTest::mouseClick(tabs, Qt::RightButton, {}, tabs->tabRect(0).center());
    QTRY_COMPARE(under.child<QMenu>("PCPopup")->isVisible(), tabMenuOpens);
    under.child<QMenu>("PCPopup")->close();

    // A close request for the page's widgets closes nothing.
    QVERIFY(!page->close());
    QVERIFY(page->isVisible());
    QCOMPARE(browserAt(under, 0), browser);
}

void InspectionToolsTest::pageMenuCloses_data() {
    QTest::addColumn<QString>("closedBy");

    QTest::newRow("Escape") << "Escape";
    QTest::newRow("a click outside it") << "click outside";
    QTest::newRow("an item chosen") << "Reload";
}

// The engine's own menu in a page closes as any menu does, and the window answers the next
// click.
void InspectionToolsTest::pageMenuCloses() {
    QFETCH(QString, closedBy);

    WindowUnderTest under;
    TWebbrowser* browser = browserAt(under, 0);
    QVERIFY(load(browser, url(QStringLiteral("/pointer.html"))));
    QWidget* page = pageWidget(browser);
    QVERIFY(page);
    const QPoint inPage(50, 250);
    // Asked while a chosen Reload may still replace the page.
    const auto pressesLogged = [browser] {
        try {
            return bodyText(browser).section(u'\n', -1);
        } catch (const dom::DomError&) {
            return QString();
        }
    };
    const auto leftClickReachesPage = [&] {
        return (clickThroughWindow(page, Qt::LeftButton, inPage),
                pressesLogged().endsWith(QStringLiteral(" 0")));
    };
    QTRY_VERIFY(leftClickReachesPage());

    clickThroughWindow(page, Qt::RightButton, inPage);
    QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (closedBy == QLatin1String("Escape")) {
        QTest::keyClick(under.window.windowHandle(), Qt::Key_Escape);
    } else if (closedBy == QLatin1String("click outside")) {
        QTabBar* tabs = pageControl(under)->tabBar();
        clickThroughWindow(tabs, Qt::LeftButton, tabs->tabRect(0).center());
    } else {
        QAction* item = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text().remove(u'&') == closedBy) {
                item = action;
            }
        }
        QVERIFY2(item, qPrintable(closedBy));
        clickThroughWindow(menu, Qt::LeftButton, menu->actionGeometry(item).center());
    }
    QTRY_VERIFY(!QApplication::activePopupWidget());
    // A chosen Reload replaces the page, which on a busy machine can take longer than any
    // fair wait; the window's answer to the next click is what counts here.
    if (closedBy == QLatin1String("Reload")) {
        QTabBar* tabs = pageControl(under)->tabBar();
        trigger(under, "DuplicateTab1");
        clickThroughWindow(tabs, Qt::LeftButton, tabs->tabRect(0).center());
        QTRY_COMPARE(pageControl(under)->currentIndex(), 0);
        return;
    }
    QTRY_VERIFY(leftClickReachesPage());
}

void InspectionToolsTest::addHtmlWithAnotherTabActive_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("captureTab");
    QTest::addColumn<QString>("activeTab");

    QTest::newRow("add: to the capture tab's body") << "Button2"
                                                    << "styled\n\nHello World!"
                                                    << "styled";
    QTest::newRow("load: replaces the active tab's document") << "Button3"
                                                              << "styled"
                                                              << "Hello World!";
    QTest::newRow("cancel") << "Button1"
                            << "styled"
                            << "styled";
}

void InspectionToolsTest::addHtmlWithAnotherTabActive() {
    QFETCH(QString, button);
    QFETCH(QString, captureTab);
    QFETCH(QString, activeTab);

    WindowUnderTest under;
    QVERIFY(load(browserAt(under, 0), url(QStringLiteral("/styled.html"))));
    trigger(under, "DuplicateTab1");
    QCOMPARE(pageControl(under)->currentIndex(), 1);

    QStringList dialogState;
    QTimer::singleShot(0, &under.window, [&] {
        auto* dialog = qobject_cast<TfrmAddHTML*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        // Larger where the captions need more room.
        const QSize size = dialog->size();
        dialogState = QStringList{
            dialog->windowTitle(),
            size.expandedTo(QSize(525, 319)) == size
                ? QStringLiteral("at least 525x319")
                : QStringLiteral("%1x%2").arg(QString::number(size.width()),
                                              QString::number(size.height())),
            dialog->html(), dialog->findChild<QPushButton*>(QStringLiteral("Button1"))->text()};
        QVERIFY(dialog->findChild<QPushButton*>(QStringLiteral("Button1"))->isDefault());
        dialog->findChild<QPushButton*>(button)->click();
    });
    trigger(under, "AddHTML1");

    QCOMPARE(dialogState, (QStringList{"Add HTML", "at least 525x319",
                                       "<html><h1>Hello World!</h1></html>\r\n", "Cancel"}));
    QVERIFY(browserAt(under, 1)->waitUntilComplete());
    QCOMPARE(bodyText(browserAt(under, 0)), captureTab);
    QCOMPARE(bodyText(browserAt(under, 1)), activeTab);
}

void InspectionToolsTest::eventLogAndShowingTheTools() {
    WindowUnderTest under;
    QVERIFY(load(browserAt(under, 0), url(QStringLiteral("/no-frames.html"))));
    const QListWidget* log = under.child<QListWidget>("lvEventLog");
    QVERIFY(log->count() > 0);
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d  OnDownloadBegin  "
                                              "tab 1 \\(WebBrowser\\)$"))
                .match(log->item(log->count() - 1)->text())
                .hasMatch());

    QTabWidget* side = under.child<QTabWidget>("PageControl1");
    const auto shownSideTabs = [side] {
        QStringList titles;
        for (int index = 0; index < side->count(); ++index) {
            if (side->isTabVisible(index)) {
                titles.append(side->tabText(index));
            }
        }
        return titles;
    };
    QVERIFY(!pageControl(under)->isTabVisible(1));
    QCOMPARE(shownSideTabs(), QStringList({"Results", "Table"}));
    trigger(under, "InspectionTools1");
    QVERIFY(pageControl(under)->isTabVisible(1));
    QCOMPARE(shownSideTabs(), QStringList({"Extras", "Design", "Options", "Results", "Table"}));
    QVERIFY(under.child<QMenu>("Extras1")->menuAction()->isVisible());
    QVERIFY(test::fileBytes(under.settingFile).contains("InspectionTools=1"));

    // A user's click on a view tab fills that view from the page the user left.
    QTabBar* tabs = pageControl(under)->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QTabBar* views = under.child<QTabWidget>("PageControlInfos")->tabBar();
    QTest::mouseClick(views, Qt::LeftButton, {}, views->tabRect(2).center());
    QTRY_COMPARE(under.child<QListWidget>("LbLinks")->count(), 1);
    QCOMPARE(under.child<QListWidget>("LbLinks")->item(0)->text(), url("/only").toString());

    WindowUnderTest again(test::fileBytes(under.settingFile));
    QVERIFY(pageControl(again)->isTabVisible(1));
}

void InspectionToolsTest::searchMarksWhatIsSeen_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("marked");  // the text of each mark, in document order

    QTest::newRow("across inline markup") << "pizza" << QStringList{"piz", "za"};
    QTest::newRow("not across blocks or line breaks") << "lobster" << QStringList();
    QTest::newRow("white space as the page shows it")
        << "fish  and chips" << QStringList{"fish\n   and ", "chips"};
    QTest::newRow("any case, inside words") << "PASTA" << QStringList{"Pasta", "pasta"};
    // The page hides it in twelve more ways.
    QTest::newRow("shown text only") << "secret" << QStringList{"secret"};
}

void InspectionToolsTest::searchMarksWhatIsSeen() {
    QFETCH(QString, typed);
    QFETCH(QStringList, marked);

    WindowUnderTest under;
    QVERIFY(load(browserAt(under, 0), url(QStringLiteral("/seen-text.html"))));
    trigger(under, "InspectionTools1");
    QTabBar* sideTabs = under.child<QTabWidget>("PageControl1")->tabBar();
    QTest::mouseClick(sideTabs, Qt::LeftButton, {}, sideTabs->tabRect(0).center());
    auto* box = under.child<QLineEdit>("edSearchAndHighlight");
    QVERIFY(box->isVisible());
    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Return);

    static const QRegularExpression mark(
        QStringLiteral("<span style=\"background-color: yellow; font-weight: bolder;\">"
                       "([^<]*)</span>"));
    QStringList found;
    for (const QRegularExpressionMatch& match :
         mark.globalMatch(browserAt(under, 0)->Document()->body()->innerHTML())) {
        found.append(match.captured(1));
    }
    QCOMPARE(found, marked);
}

}  // namespace larkspan

int runInspectionToolsTests(int argc, char* argv[]) {
    larkspan::InspectionToolsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "inspection_tools_test.moc"
