#include "browser/twebbrowser.h"
#include "shell/directory_search.h"
#include "shell/main_status_bar.h"
#include "shell/results_pane.h"
#include "shell/results_table.h"
#include "shell/splash_screen.h"
#include "tests/support/test_http_server.h"
#include "window_test_suites.h"
#include "window_under_test.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <chrono>
#include <csignal>
#include <functional>
#include <memory>
#include <sys/resource.h>

namespace larkspan {
namespace {

using namespace std::chrono_literals;
using test::fileBytes;
using test::WindowUnderTest;
using test::writeFile;

const QString kSampleFolder = QStringLiteral(LARKSPAN_TEST_DATA "/../../samples/directory");
const QString kHostileFolder = QStringLiteral(LARKSPAN_TEST_DATA "/hostile");
const QString kPageOne = QStringLiteral("/page1.html");
const QString kPageTwo = QStringLiteral("/page2.html");
const QString kPageThree = QStringLiteral("/page3.html");
const QByteArray kHtmlType = "text/html; charset=utf-8";
const QByteArray kPlainTextType = "text/plain; charset=utf-8";

QString scraped(int count) {
    return QStringLiteral("A total of %1 addresses have been scraped!").arg(count);
}

// The hand-checked result lines of page 1, 2 and 3 in order: 21, 20 and 19 lines.
QStringList expectedLines() {
    QFile file(QStringLiteral(LARKSPAN_TEST_DATA "/sample_directory_expected.csv"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {QStringLiteral("<unreadable>")};
    }
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    if (lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}
QStringList pageOneLines() {
    return expectedLines().mid(0, 21);
}
QStringList pageTwoLines() {
    return expectedLines().mid(21, 20);
}
QStringList pageThreeLines() {
    return expectedLines().mid(41);
}

// A results file as the user's spreadsheet gets it: UTF-8 signature, CR LF after every line.
QByteArray resultsFile(const QStringList& lines) {
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString& line : lines) {
        bytes += line.toUtf8() + "\r\n";
    }
    return bytes;
}

// Wait windows still around after a run; each wait must take its own away, errors included.
int waitWindowCount() {
    int count = 0;
    for (QWidget* widget : QApplication::allWidgets()) {
        count += qobject_cast<TfrmSplashScreen*>(widget) != nullptr ? 1 : 0;
    }
    return count;
}

// The window's parts the capture tests look at.
QToolButton* captureButton(const WindowUnderTest& under) {
    return under.child<QToolButton>("btnCapture");
}
QToolButton* saveButton(const WindowUnderTest& under) {
    return under.child<QToolButton>("ToolButton2");
}
ResultsPane* results(const WindowUnderTest& under) {
    return under.child<ResultsPane>("mmResults");
}
TWebbrowser* captureBrowser(const WindowUnderTest& under) {
    return under.child<TWebbrowser>("WebBrowser1");
}
QString statusText(const WindowUnderTest& under) {
    return under.child<MainStatusBar>("StatusBar1")->panelText(MainStatusBar::Panel::StatusText);
}
QString resultsTabCaption(const WindowUnderTest& under) {
    const auto* tabs = under.child<QTabWidget>("PageControl1");
    return tabs->tabText(tabs->indexOf(under.child<QWidget>("tbResults")));
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

public:
    WindowTest() : m_server(kSampleFolder), m_hostileServer(kHostileFolder) {}

private slots:
    void initTestCase();
    void cleanup();
    void firstSight();
    void openedOnAnAddress();
    void splitToggle_data();
    void splitToggle();
    void captureOfTheSampleSite();
    void stopPressWhilePageTwoLoads();
    void pressAfterTheStopPressRunsASecondCapture();
    void pageThatIsNotHtml_data();
    void pageThatIsNotHtml();
    void endOfARunInTheStatusBar_data();
    void endOfARunInTheStatusBar();
    void listingsFromTheOptions_data();
    void listingsFromTheOptions();
    void listOfSearches();
    void detectCorrectSaveAndCapture();
    void humanCheckPausesTheRun_data();
    void humanCheckPausesTheRun();
    void save_data();
    void save();
    void saveThatFails_data();
    void saveThatFails();

private:
    bool load(WindowUnderTest& under, const QString& path) {
        captureBrowser(under)->Navigate(m_server.url(path));
        return captureBrowser(under)->waitUntilComplete() &&
               captureBrowser(under)->lastLoadSucceeded();
    }
    // Presses Capture from the event loop as soon as the browser starts loading `path`, that
    // is inside the run's wait for it, and then runs `after`.
    void pressWhenLoading(WindowUnderTest& under, const QString& path,
                          const std::function<void()>& after);

    test::TestHttpServer m_server;
    test::TestHttpServer m_hostileServer;
};

void WindowTest::initTestCase() {
    QVERIFY(QFile::exists(kSampleFolder + kPageOne));
    QVERIFY(m_server.listen());
    QVERIFY(m_hostileServer.listen());
}

void WindowTest::cleanup() {
    for (const QString& page : {kPageOne, kPageTwo}) {
        m_server.setDelay(page, 0ms);
        m_server.setContentType(page, kHtmlType);
    }
}

void WindowTest::pressWhenLoading(WindowUnderTest& under, const QString& path,
                                  const std::function<void()>& after) {
    auto pressed = std::make_shared<bool>(false);
    connect(captureBrowser(under), &TWebbrowser::BeforeNavigate2, &under.window,
            [&under, path, after, pressed](const QUrl& url) {
                if (*pressed || url.path() != path) {
                    return;
                }
                *pressed = true;
                QTimer::singleShot(0, &under.window, [&under, after] {
                    captureButton(under)->click();
                    after();
                });
            });
}

void WindowTest::firstSight() {
    WindowUnderTest under;
    QCOMPARE(under.window.windowTitle(),
             QStringLiteral("Larkspan - AU-GLv. 0.89 Stonecrab [08AUG2014]"));
    QCOMPARE(under.child<QLineEdit>("edURL")->text(), DirectorySearchURL());
    // The address as it reads, although "&" marks an access key in a caption.
    QCOMPARE(under.child<QAction>("Goto1")->iconText(),
             QStringLiteral("Go to www.goldleaf.com.au/search/listings"
                            "?clue=Restaurants&locationClue=NSW&lat=&lon="));
    QCOMPARE(captureButton(under)->text(), QStringLiteral("Capture"));
    QCOMPARE(results(under)->lines(),
             QStringList{QStringLiteral("Scraping results, one page at a time...")});
    QCOMPARE(results(under)->toPlainText(),
             QStringLiteral("Scraping results, one page at a time..."));
    QCOMPARE(resultsTabCaption(under), QStringLiteral("Results"));

    // Also once the start page has loaded: it adds nothing to go back to.
    QVERIFY(captureBrowser(under)->waitUntilComplete());
    QTRY_COMPARE(under.window.windowTitle(), QStringLiteral("Larkspan - Larkspan Start Page"));
    for (const char* name : {"ToolbtnBack", "ToolBtnForward", "ToolBtnStop"}) {
        QVERIFY2(!under.child<QToolButton>(name)->isEnabled(), name);
    }
    QCOMPARE(under.child<QLineEdit>("edURL")->text(), DirectorySearchURL());
}

// As the command line's address opens it: in the capture tab, whatever tab is active.
void WindowTest::openedOnAnAddress() {
    WindowUnderTest under;
    QVERIFY(captureBrowser(under)->waitUntilComplete());
    test::trigger(under, "DuplicateTab1");
    const QUrl address = m_server.url(kPageTwo);
    under.window.openInCaptureTab(address);
    QCOMPARE(captureBrowser(under)->LocationURL(), address.toString());
    QVERIFY(captureBrowser(under)->lastLoadSucceeded());
    QCOMPARE(under.child<QLineEdit>("edURL")->text(), address.toString());
}

void WindowTest::splitToggle_data() {
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<int>("presses");
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<QString>("caption");
    // 0: the panel keeps its design width; else the window's width divided by this.
    QTest::addColumn<int>("panelDivisor");
    QTest::addColumn<QByteArray>("saved");

    const QByteArray none;
    const QByteArray one("[General]\nSplitScreen=1\n");
    QTest::newRow("no file") << none << 0 << false << "50%" << 0 << QByteArray("SplitScreen=0");
    QTest::newRow("0") << QByteArray("[General]\nSplitScreen=0\n") << 0 << false << "50%" << 0
                       << QByteArray("SplitScreen=0");
    QTest::newRow("1") << one << 0 << true << "50%" << 2 << QByteArray("SplitScreen=1");
    QTest::newRow("a string") << QByteArray("[General]\nSplitScreen=abc\n") << 0 << false << "50%"
                              << 0 << QByteArray("SplitScreen=0");
    QTest::newRow("no file, pressed")
        << none << 1 << true << "75%" << 4 << QByteArray("SplitScreen=1");
    QTest::newRow("1, pressed") << one << 1 << false << "50%" << 2 << QByteArray("SplitScreen=0");
    QTest::newRow("1, pressed twice")
        << one << 2 << true << "75%" << 4 << QByteArray("SplitScreen=1");
}

void WindowTest::splitToggle() {
    QFETCH(QByteArray, setting);
    QFETCH(int, presses);
    QFETCH(bool, pressed);
    QFETCH(QString, caption);
    QFETCH(int, panelDivisor);
    QFETCH(QByteArray, saved);

    WindowUnderTest under(setting);
    auto* toggle = under.child<QToolButton>("tbSplitScreen");
    for (int i = 0; i < presses; ++i) {
        toggle->click();
    }
    QCOMPARE(toggle->isChecked(), pressed);
    QCOMPARE(toggle->text(), caption);
    const int panelWidth = under.child<QTabWidget>("PageControl1")->width();
    QCOMPARE(panelWidth,
             panelDivisor == 0 ? 226 : under.window.frameGeometry().width() / panelDivisor);

    QVERIFY(under.window.close());
    const QList<QByteArray> lines = fileBytes(under.settingFile).split('\n');
    QVERIFY2(lines.contains(saved), fileBytes(under.settingFile).constData());
    QVERIFY(!lines.contains("SplitScreen=abc"));
}

void WindowTest::captureOfTheSampleSite() {
    WindowUnderTest under;
    QVERIFY(load(under, kPageOne));
    captureButton(under)->click();
    QCOMPARE(under.dialogs.messages, QStringList{scraped(60)});
    QCOMPARE(under.dialogs.errors, QStringList());
    QCOMPARE(captureButton(under)->text(), QStringLiteral("Capture"));
    QCOMPARE(results(under)->lines(), expectedLines());
    QCOMPARE(results(under)->toPlainText(), expectedLines().join(u'\n'));
    QCOMPARE(resultsTabCaption(under), QStringLiteral("Results (60 lines)"));
    QCOMPARE(captureBrowser(under)->LocationURL(), m_server.url(kPageThree).toString());
    QCOMPARE(waitWindowCount(), 0);

    // Saved exactly as captured.
    const QString savedFile = under.dir.filePath(QStringLiteral("sample.csv"));
    under.dialogs.answers = {savedFile};
    saveButton(under)->click();
    QCOMPARE(fileBytes(savedFile), resultsFile(expectedLines()));

    // The next run starts with an empty pane and counts from 0.
    QVERIFY(load(under, kPageThree));
    captureButton(under)->click();
    QCOMPARE(under.dialogs.messages, (QStringList{scraped(60), scraped(19)}));
    QCOMPARE(results(under)->lines(), pageThreeLines());
    QCOMPARE(resultsTabCaption(under), QStringLiteral("Results (19 lines)"));
}

// The stop press closes the run at once; the page being loaded is still captured, and the run
// ends after it with a message of its own.
void WindowTest::stopPressWhilePageTwoLoads() {
    m_server.setDelay(kPageTwo, 1500ms);
    WindowUnderTest under;
    QVERIFY(load(under, kPageOne));
    QSignalSpy requests(&m_server, &test::TestHttpServer::requested);
    const QString savedDuringTheWait = under.dir.filePath(QStringLiteral("waiting.csv"));

    QStringList messagesAtStop;
    QString captionAtStop;
    pressWhenLoading(under, kPageTwo, [&] {
        messagesAtStop = under.dialogs.messages;
        captionAtStop = captureButton(under)->text();
        // Saving works during the wait too and writes what is captured so far.
        under.dialogs.answers = {savedDuringTheWait};
        saveButton(under)->click();
    });
    captureButton(under)->click();

    QCOMPARE(messagesAtStop, QStringList{scraped(21)});
    QCOMPARE(captionAtStop, QStringLiteral("Capture"));
    QCOMPARE(fileBytes(savedDuringTheWait), resultsFile(pageOneLines()));
    QCOMPARE(under.dialogs.messages, (QStringList{scraped(21), scraped(20)}));
    QCOMPARE(under.dialogs.errors, QStringList());
    QCOMPARE(results(under)->lines(), pageOneLines() + pageTwoLines());
    QCOMPARE(resultsTabCaption(under), QStringLiteral("Results (41 lines)"));
    QCOMPARE(captureButton(under)->text(), QStringLiteral("Capture"));
    QVERIFY(!requests.contains(QVariantList{kPageThree}));
    QCOMPARE(captureBrowser(under)->LocationURL(), m_server.url(kPageTwo).toString());
    QCOMPARE(waitWindowCount(), 0);
}

// A press after the stop press finds "Capture" and runs a whole capture inside the first run's
// wait: it empties the pane, waits for page 2, captures pages 2 and 3 and closes. The first run
// then resumes, captures the page now shown (page 3) into the same pane and closes too.
void WindowTest::pressAfterTheStopPressRunsASecondCapture() {
    m_server.setDelay(kPageTwo, 1500ms);
    WindowUnderTest under;
    QVERIFY(load(under, kPageOne));
    QSignalSpy requests(&m_server, &test::TestHttpServer::requested);

    QStringList messagesAtStop;
    QStringList messagesAfterSecondRun;
    QStringList linesAfterSecondRun;
    pressWhenLoading(under, kPageTwo, [&] {
        messagesAtStop = under.dialogs.messages;
        captureButton(under)->click();
        messagesAfterSecondRun = under.dialogs.messages;
        linesAfterSecondRun = results(under)->lines();
    });
    captureButton(under)->click();

    QCOMPARE(messagesAtStop, QStringList{scraped(21)});
    QCOMPARE(messagesAfterSecondRun, (QStringList{scraped(21), scraped(39)}));
    QCOMPARE(linesAfterSecondRun, pageTwoLines() + pageThreeLines());
    QCOMPARE(under.dialogs.messages, (QStringList{scraped(21), scraped(39), scraped(19)}));
    QCOMPARE(under.dialogs.errors, QStringList());
    QCOMPARE(results(under)->lines(), pageTwoLines() + pageThreeLines() + pageThreeLines());
    QCOMPARE(resultsTabCaption(under), QStringLiteral("Results (58 lines)"));
    QCOMPARE(captureButton(under)->text(), QStringLiteral("Capture"));
    QCOMPARE(requests.count(QVariantList{kPageThree}), 1);
    QCOMPARE(waitWindowCount(), 0);
}

void WindowTest::pageThatIsNotHtml_data() {
    QTest::addColumn<QString>("plainTextPage");
    QTest::addColumn<QStringList>("linesKept");
    QTest::addColumn<QString>("tabCaption");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("status");

    QTest::newRow("first page") << kPageOne << QStringList() << "Results" << 0
                                << "Cut short after 0 pages: Invalid HTML document";
    QTest::newRow("second page") << kPageTwo << pageOneLines() << "Results (21 lines)" << 21
                                 << "Cut short after 1 page: Invalid HTML document";
}

// The error ends the run but not its state: the button still says "STOP!", and its next press
// reports the broken run's count.
void WindowTest::pageThatIsNotHtml() {
    QFETCH(QString, plainTextPage);
    QFETCH(QStringList, linesKept);
    QFETCH(QString, tabCaption);
    QFETCH(int, count);
    QFETCH(QString, status);

    m_server.setContentType(plainTextPage, kPlainTextType);
    WindowUnderTest under;
    QVERIFY(load(under, kPageOne));
    captureButton(under)->click();
    QCOMPARE(under.dialogs.errors, QStringList{QStringLiteral("Invalid HTML document.")});
    QCOMPARE(under.dialogs.messages, QStringList());
    QCOMPARE(captureButton(under)->text(), QStringLiteral("STOP!"));
    QCOMPARE(results(under)->lines(), linesKept);
    QCOMPARE(resultsTabCaption(under), tabCaption);
    QCOMPARE(waitWindowCount(), 0);

    captureButton(under)->click();
    QCOMPARE(under.dialogs.messages, QStringList{scraped(count)});
    QCOMPARE(captureButton(under)->text(), QStringLiteral("Capture"));

    QVERIFY(load(under, kPageThree));
    captureButton(under)->click();
    QCOMPARE(under.dialogs.messages, (QStringList{scraped(count), scraped(19)}));
    QCOMPARE(under.dialogs.errors.size(), 1);
    QCOMPARE(results(under)->lines(), pageThreeLines());
}

void WindowTest::endOfARunInTheStatusBar_data() {
    QTest::addColumn<QUrl>("firstPage");
    QTest::addColumn<QString>("status");  // "{base}" stands for the server's address
    QTest::addColumn<int>("count");

    QTest::newRow("the last page") << m_server.url(kPageOne) << "" << 60;
    QTest::newRow("next page not found")
        << m_hostileServer.url(QStringLiteral("/next-missing.html"))
        << "Cut short after 1 page: {base}/missing.html: the server answered with HTTP status 404"
        << 1;
    QTest::newRow("NEXT links from A to B and back")
        << m_hostileServer.url(QStringLiteral("/loop-a.html"))
        << "Ended after 2 pages: page 3 repeats page 1" << 3;
    QTest::newRow("NEXT link to its own page")
        << m_hostileServer.url(QStringLiteral("/next-itself.html"))
        << "Ended after 1 page: page 2 repeats page 1" << 1;
    QTest::newRow("40 list items of the pager before its link")
        << m_hostileServer.url(QStringLiteral("/pager-of-list-items.html")) << "" << 2;
    // The run keeps a page that closes itself, and follows its NEXT link.
    QTest::newRow("next page closes itself in its head")
        << m_hostileServer.url(QStringLiteral("/next-closes-itself.html")) << "" << 3;
}

// The closing message stays as it is; the status bar says why a run ended early.
void WindowTest::endOfARunInTheStatusBar() {
    QFETCH(QUrl, firstPage);
    QFETCH(QString, status);
    QFETCH(int, count);

    WindowUnderTest under;
    captureBrowser(under)->Navigate(firstPage);
    QVERIFY(captureBrowser(under)->waitUntilComplete());
    captureButton(under)->click();
    QCOMPARE(under.dialogs.messages, QStringList{scraped(count)});
    QCOMPARE(under.dialogs.errors, QStringList());
    QCOMPARE(statusText(under),
             status.replace(QStringLiteral("{base}"), m_hostileServer.url({}).toString()));
    QCOMPARE(captureButton(under)->text(), QStringLiteral("Capture"));
}

void WindowTest::listingsFromTheOptions_data() {
    QTest::addColumn<int>("downPresses");  // in the "Listings from" list, from Directory
    QTest::addColumn<QString>("site");     // under samples/
    QTest::addColumn<QString>("shown");    // the status bar while the run goes on
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("kept");

    QTest::newRow("structured data")
        << 1 << "structured"
        << "Listings from: structured data" << 12 << QByteArray("ListingsFrom=structured");
    QTest::newRow("automatic, a saved profile matches")
        << 2 << "plain"
        << "Listings from: profile Stonefruit Trades Guide (chosen automatically)" << 11
        << QByteArray("ListingsFrom=auto");
    QTest::newRow("a saved profile") << 3 << "plain"
                                     << "Listings from: profile Stonefruit Trades Guide" << 11
                                     << QByteArray("ListingsFrom=profile:plain");
}

// Chosen in the Options dialog with the keyboard, kept in the settings, told in the status bar,
// and used by the Capture button as it is.
void WindowTest::listingsFromTheOptions() {
    QFETCH(int, downPresses);
    QFETCH(QString, site);
    QFETCH(QString, shown);
    QFETCH(int, count);
    QFETCH(QByteArray, kept);
    QTemporaryDir config;
    const QByteArray configBefore = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const auto restore = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", configBefore); });
    QVERIFY(QDir().mkpath(config.filePath(QStringLiteral("larkspan/profiles"))));
    QVERIFY(QFile::copy(kSampleFolder + QStringLiteral("/../profiles/plain.json"),
                        config.filePath(QStringLiteral("larkspan/profiles/plain.json"))));
    // The sample profile knows its site by the folder in the address.
    test::TestHttpServer samples(kSampleFolder + QStringLiteral("/../.."));
    QVERIFY(samples.listen());

    WindowUnderTest under;
    QTimer::singleShot(0, &under.window, [downPresses] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        auto* choice = dialog->findChild<QComboBox*>(QStringLiteral("cbListingsFrom"));
        choice->setFocus();
        for (int i = 0; i < downPresses; ++i) {
            QTest::keyClick(choice, Qt::Key_Down);
        }
        QTest::keyClick(choice, Qt::Key_Return);
    });
    QTest::mouseClick(under.child<QToolButton>("btnCaptureOptions"), Qt::LeftButton);
    QVERIFY2(fileBytes(under.settingFile).split('\n').contains(kept),
             fileBytes(under.settingFile).constData());

    QVERIFY(test::load(captureBrowser(under),
                       samples.url(QStringLiteral("/samples/%1/page1.html").arg(site))));
    QStringList statusTexts;
    QTimer watch;
    connect(&watch, &QTimer::timeout, &under.window, [&] {
        if (!statusTexts.contains(statusText(under))) {
            statusTexts.append(statusText(under));
        }
    });
    watch.start(5);
    captureButton(under)->click();
    QCOMPARE(under.dialogs.errors, QStringList());
    QCOMPARE(under.dialogs.messages, QStringList{scraped(count)});
    QCOMPARE(int(results(under)->lineCount()), count);
    QVERIFY2(statusTexts.contains(shown), qPrintable(statusTexts.join(u'|')));
}

// Typed into the Options dialog, the list runs in the capture tab, one search after another; a
// search that fails is told at the end, the others captured.
void WindowTest::listOfSearches() {
    WindowUnderTest under;
    const QStringList searches{m_server.url(kPageThree).toString(),
                               m_server.url(QStringLiteral("/missing.html")).toString(),
                               m_server.url(kPageOne).toString()};
    QTimer::singleShot(0, &under.window, [&searches] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QTest::mouseClick(dialog->findChild<QCheckBox*>(QStringLiteral("cbCaptureList")),
                          Qt::LeftButton, {}, QPoint(5, 5));
        auto* list = dialog->findChild<QPlainTextEdit*>(QStringLiteral("edSearchList"));
        list->setFocus();
        for (const QString& search : searches) {
            QTest::keyClicks(list, search);
            QTest::keyClick(list, Qt::Key_Return);
        }
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    QTest::mouseClick(under.child<QToolButton>("btnCaptureOptions"), Qt::LeftButton);
    QVERIFY2(fileBytes(under.settingFile).contains("CaptureList=1"),
             fileBytes(under.settingFile).constData());

    QStringList statusTexts;
    QTimer watch;
    connect(&watch, &QTimer::timeout, &under.window, [&] {
        if (!statusTexts.contains(statusText(under))) {
            statusTexts.append(statusText(under));
        }
    });
    watch.start(5);
    captureButton(under)->click();

    QCOMPARE(under.dialogs.errors, QStringList());
    QCOMPARE(under.dialogs.messages, QStringList{scraped(19 + 60)});
    QCOMPARE(results(under)->lines(), pageThreeLines() + expectedLines());
    QVERIFY2(statusTexts.contains(QStringLiteral("Search 3 of 3; Listings from: directory")),
             qPrintable(statusTexts.join(u'|')));
    QCOMPARE(statusText(under),
             QStringLiteral("Cut short after 4 pages: 1 of 3 searches did not end normally"));
}

// Detect, one correction by "Pick from page", Save and Capture, as a user goes through them.
void WindowTest::detectCorrectSaveAndCapture() {
    QTemporaryDir config;
    const QByteArray configBefore = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const auto restore = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", configBefore); });
    test::TestHttpServer pages(QStringLiteral(LARKSPAN_TEST_DATA "/detect"));
    QVERIFY(pages.listen());
    WindowUnderTest under;
    QVERIFY(test::load(captureBrowser(under), pages.url(QStringLiteral("/window_tiles.html"))));

    QTest::mouseClick(under.child<QToolButton>("btnDetectListings"), Qt::LeftButton);
    QCOMPARE(under.dialogs.errors, QStringList());
    auto* table = under.child<ResultsTable>("tbTable");
    QCOMPARE(under.child<QTabWidget>("PageControl1")->currentWidget(), table);
    QVERIFY2(under.child<QLabel>("lbDetection")
                 ->text()
                 .startsWith(QStringLiteral("5 listings found; fields: name, phone")),
             qPrintable(under.child<QLabel>("lbDetection")->text()));
    QCOMPARE(table->view()->model()->rowCount(), 5);
    const int heading = 7;
    QCOMPARE(table->view()->model()->index(0, heading).data().toString(), QString());

    // The heading's title, "Pick from page", then a click on the first tile's kind.
    QHeaderView* header = table->view()->horizontalHeader();
    table->view()->scrollTo(table->view()->model()->index(0, heading));
    QTimer::singleShot(100, &under.window, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(heading) + 5, header->height() / 2));
    QWidget* page = nullptr;
    for (QWidget* widget : captureBrowser(under)->findChildren<QWidget*>()) {
        page = widget->focusProxy() != nullptr ? widget->focusProxy() : page;
    }
    QVERIFY(page);
    QTest::mouseClick(page->window()->windowHandle(), Qt::LeftButton, {},
                      page->mapTo(page->window(), QPoint(320, 16)));
    QTRY_COMPARE(table->view()->model()->index(0, heading).data().toString(),
                 QStringLiteral("Plumbers"));
    QVERIFY(under.child<QLabel>("lbDetection")->text().contains(QStringLiteral(", heading")));
    QCOMPARE(statusText(under),
             QStringLiteral("heading: \"span.tile-kind\" finds a value in 5 of 5 "
                            "listings"));

    QTimer::singleShot(0, &under.window, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("edProfileName"));
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("tiles"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    QTest::mouseClick(under.child<QPushButton>("btnSaveProfile"), Qt::LeftButton);
    const QString saved = config.filePath(QStringLiteral("larkspan/profiles/tiles.json"));
    QVERIFY(QFileInfo::exists(saved));
    QVERIFY(fileBytes(under.settingFile).contains("ListingsFrom=profile:tiles"));

    captureButton(under)->click();
    QCOMPARE(under.dialogs.errors, QStringList());
    QCOMPARE(under.dialogs.messages, QStringList{scraped(5)});
    QCOMPARE(results(under)->lines().value(0).section(u',', 0, 1),
             QStringLiteral("\"Birch Bathrooms\",\"03 9000 1101\""));
    QVERIFY(results(under)->lines().value(0).contains(QStringLiteral(",\"Plumbers\",")));
    // The Table back in the order of capture, although a title was clicked.
    QCOMPARE(table->view()->model()->index(0, 0).data().toString(),
             QStringLiteral("Birch Bathrooms"));
}

void WindowTest::humanCheckPausesTheRun_data() {
    QTest::addColumn<bool>("passed");
    QTest::addColumn<QString>("status");  // at the end of the run
    QTest::addColumn<int>("count");
    QTest::newRow("passed, then Continue") << true << "" << 60;
    QTest::newRow("STOP!") << false
                           << "Cut short after 0 pages: page 1 asks for a human check (captcha)"
                           << 0;
}

// The run waits on the check page with a prompt that leaves the page free; the user passes the
// check there (the site then shows its results) and presses Continue, or ends the run.
void WindowTest::humanCheckPausesTheRun() {
    QFETCH(bool, passed);
    QFETCH(QString, status);
    QFETCH(int, count);
    test::TestHttpServer checks(QStringLiteral(LARKSPAN_TEST_DATA "/sources/checks"));
    QVERIFY(checks.listen());
    WindowUnderTest under;
    QVERIFY(test::load(captureBrowser(under), checks.url(QStringLiteral("/widget.html"))));

    QString shownWhilePaused;
    QTimer answer;
    connect(&answer, &QTimer::timeout, &under.window, [&] {
        auto* prompt = under.window.findChild<QDialog*>(QStringLiteral("HumanCheckPrompt"));
        if (prompt == nullptr || !prompt->isVisible()) {
            return;
        }
        answer.stop();
        shownWhilePaused = statusText(under);
        if (passed) {
            QVERIFY(test::load(captureBrowser(under), m_server.url(kPageOne)));
        }
        QTest::mouseClick(
            prompt->findChild<QPushButton*>(passed ? "btnHumanCheckContinue" : "btnHumanCheckStop"),
            Qt::LeftButton);
    });
    answer.start(50);
    captureButton(under)->click();

    QCOMPARE(shownWhilePaused, QStringLiteral("Page 1 asks for a human check (captcha): pass it "
                                              "in the page, then press Continue"));
    QCOMPARE(under.dialogs.errors, QStringList());
    QCOMPARE(under.dialogs.messages, QStringList{scraped(count)});
    QCOMPARE(int(results(under)->lineCount()), count);
    QCOMPARE(statusText(under), status);
    QVERIFY(under.window.findChild<QDialog*>(QStringLiteral("HumanCheckPrompt")) == nullptr);
}

void WindowTest::save_data() {
    QTest::addColumn<QString>("answer");  // empty: the user cancels
    QTest::addColumn<QString>("savedAs");
    QTest::addColumn<bool>("fileExists");

    QTest::newRow("csv") << "out.csv"
                         << "out.csv" << false;
    QTest::newRow("no extension") << "out"
                                  << "out.csv" << false;
    QTest::newRow("txt") << "out.txt"
                         << "out.txt" << false;
    QTest::newRow("replaces a file") << "out.csv"
                                     << "out.csv" << true;
    QTest::newRow("cancel") << ""
                            << "" << false;
}

// Saved twice in a row, before any capture.
void WindowTest::save() {
    QFETCH(QString, answer);
    QFETCH(QString, savedAs);
    QFETCH(bool, fileExists);

    WindowUnderTest under;
    QDir folder(under.dir.filePath(QStringLiteral("saved")));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    if (fileExists) {
        writeFile(folder.filePath(savedAs), "earlier results, longer than the new ones\r\n");
    }
    const QString chosen = answer.isEmpty() ? QString() : folder.filePath(answer);
    under.dialogs.answers = {chosen, chosen};
    saveButton(under)->click();
    saveButton(under)->click();

    QCOMPARE(under.dialogs.messages, QStringList());
    QCOMPARE(under.dialogs.requests.size(), 2);
    QCOMPARE(under.dialogs.requests[0].title, QStringLiteral("Save data as..."));
    QCOMPARE(under.dialogs.requests[0].initialPath, QStringLiteral("larkspan1.csv"));
    QCOMPARE(under.dialogs.requests[1].initialPath,
             savedAs.isEmpty() ? QStringLiteral("larkspan1.csv") : folder.filePath(savedAs));
    const QStringList files = folder.entryList(QDir::Files | QDir::Hidden);
    if (savedAs.isEmpty()) {
        QCOMPARE(files, QStringList());
    } else {
        QCOMPARE(files, QStringList{savedAs});
        QCOMPARE(fileBytes(folder.filePath(savedAs)),
                 resultsFile({QStringLiteral("Scraping results, one page at a time...")}));
    }
}

void WindowTest::saveThatFails_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("folderName");  // made before the save, if not empty
    QTest::addColumn<int>("fileSizeLimit");   // bytes a file may grow to during the save; 0 none

    QTest::newRow("a folder") << "results.csv"
                              << "results.csv" << 0;
    QTest::newRow("missing folder") << "missing/out.csv"
                                    << "" << 0;
    QTest::newRow("disk full") << "out.csv"
                               << "" << 8;
}

// Nothing is written and an existing file stays as it was.
void WindowTest::saveThatFails() {
    QFETCH(QString, answer);
    QFETCH(QString, folderName);
    QFETCH(int, fileSizeLimit);

    WindowUnderTest under;
    QDir folder(under.dir.filePath(QStringLiteral("saved")));
    QVERIFY(folder.mkpath(folderName.isEmpty() ? QStringLiteral(".") : folderName));
    const QByteArray existing =
        writeFile(folder.filePath(QStringLiteral("out.csv")), "earlier results\r\n");
    under.dialogs.answers = {folder.filePath(answer)};
    {
        // A file may not grow beyond the limit, as on a full disk; the write then fails
        // instead of raising the signal.
        rlimit saved{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        const auto restore = qScopeGuard([&] {
            setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, previousHandler);
        });
        if (fileSizeLimit > 0) {
            const rlimit limited{rlim_t(fileSizeLimit), saved.rlim_max};
            QVERIFY(setrlimit(RLIMIT_FSIZE, &limited) == 0);
        }
        saveButton(under)->click();
    }

    QCOMPARE(under.dialogs.messages, QStringList{QStringLiteral("Data cannot be saved!")});
    QCOMPARE(under.dialogs.errors, QStringList());
    QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.csv")});
    QCOMPARE(fileBytes(folder.filePath(QStringLiteral("out.csv"))), existing);
    if (!folderName.isEmpty()) {
        QCOMPARE(
            QDir(folder.filePath(folderName)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
            QStringList());
    }
}

}  // namespace larkspan

int runWindowTests(int argc, char* argv[]) {
    larkspan::WindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_test.moc"
