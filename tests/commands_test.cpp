#include "browser/twebbrowser.h"
#include "shell/global_offline.h"
#include "tests/support/test_http_server.h"
#include "window_test_suites.h"
#include "window_under_test.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <chrono>

namespace larkspan {
namespace {

using namespace std::chrono_literals;
using test::browserAt;
using test::fileBytes;
using test::load;
using test::markerOf;
using test::pageControl;
using test::trigger;
using test::WindowUnderTest;

// A menu item by object name; a submenu by its menu's name.
QAction* item(const WindowUnderTest& under, const QString& name) {
    if (auto* action = under.window.findChild<QAction*>(name)) {
        return action;
    }
    auto* menu = under.window.findChild<QMenu*>(name);
    return menu ? menu->menuAction() : nullptr;
}

QMenu* menu(const WindowUnderTest& under, const char* name) {
    return under.child<QMenu>(name);
}

// Chooses the items of a submenu by caption, in turn.
void choose(QMenu* menu, const QStringList& captions) {
    for (const QString& caption : captions) {
        for (QAction* action : menu->actions()) {
            if (action->text() == caption) {
                action->trigger();
            }
        }
    }
}

QStringList markedItems(QMenu* menu) {
    QStringList marked;
    for (QAction* action : menu->actions()) {
        if (action->isChecked()) {
            marked.append(action->text());
        }
    }
    return marked;
}

// Runs the rules of the menus as they open and lists the items then enabled, sorted. The items
// are shown first, as a hidden item never reads as enabled.
QStringList enabledAfterOpening(const WindowUnderTest& under) {
    static const QStringList kNames{
        "SaveAs1",     "Print1",   "PrintPreview1",    "PageSetup1", "Properties1", "Cut1",
        "Copy1",       "Paste1",   "SelectAll1",       "Search1",    "DesignMode1", "Encoding1",
        "ViewSource1", "AddHTML1", "InternetOptions1", "Cookie1"};
    QStringList enabled;
    for (const QString& name : kNames) {
        item(under, name)->setVisible(true);
    }
    for (const char* name : {"File1", "Edit2", "View1", "Extras1"}) {
        emit menu(under, name)->aboutToShow();
    }
    for (const QString& name : kNames) {
        if (item(under, name)->isEnabled()) {
            enabled.append(name);
        }
    }
    enabled.sort();
    return enabled;
}

// Opens the menu from the menu bar and chooses the item, with the mouse.
void chooseWithMouse(const WindowUnderTest& under, const char* menuName, const char* itemName) {
    QMenuBar* bar = under.window.menuBar();
    QMenu* opened = menu(under, menuName);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(opened->menuAction()).center());
    QTRY_VERIFY(opened->isVisible());
    QTest::mouseClick(opened, Qt::LeftButton, {},
                      opened->actionGeometry(under.child<QAction>(itemName)).center());
}

// The captions of the dialog's controls that get less room than their text needs.
QStringList cutCaptions(const QWidget* dialog) {
    QStringList cut;
    for (const QWidget* control : dialog->findChildren<QWidget*>()) {
        QString caption;
        if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
            caption = button->text();
        } else if (const auto* label = qobject_cast<const QLabel*>(control)) {
            caption = label->text();
        } else if (const auto* group = qobject_cast<const QGroupBox*>(control)) {
            caption = group->title();
        }
        const QSize needed = control->minimumSizeHint();
        if (!caption.isEmpty() && control->isVisible() &&
            (control->width() < needed.width() || control->height() < needed.height())) {
            cut.append(dialog->windowTitle() + QStringLiteral(": ") + caption);
        }
    }
    return cut;
}

}  // namespace

class CommandsTest : public QObject {
    Q_OBJECT

public:
    CommandsTest() : m_server(QStringLiteral(LARKSPAN_TEST_DATA "/shell")) {}

private slots:
    void initTestCase();
    void enablingRules_data();
    void enablingRules();
    void encoding_data();
    void encoding();
    void textSize_data();
    void textSize();
    void messages_data();
    void messages();
    void printing_data();
    void printing();
    void saveAs_data();
    void saveAs();
    void barToggles_data();
    void barToggles();
    void offlineMode_data();
    void offlineMode();
    void goClearsTheEventLog_data();
    void goClearsTheEventLog();
    void find();
    void sourceCode_data();
    void sourceCode();
    void dialogCaptionsWhole_data();
    void dialogCaptionsWhole();

private:
    QUrl url(const QString& path) const { return m_server.url(path); }
    // Loads the page into the current browser; chrome://kill leaves it without a document.
    bool showPage(WindowUnderTest& under, const QString& path) {
        return load(under.window.GetCurrentWB(), path.startsWith(u'/') ? url(path) : QUrl(path));
    }

    test::TestHttpServer m_server;
};

void CommandsTest::initTestCase() {
    QVERIFY(m_server.listen());
    m_server.setContentType(QStringLiteral("/charset.html"), "text/html; charset=windows-1252");
}

void CommandsTest::enablingRules_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QStringList>("enabled");

    const QStringList onDocument{"AddHTML1",         "Cookie1",    "DesignMode1", "Encoding1",
                                 "InternetOptions1", "PageSetup1", "Print1",      "PrintPreview1",
                                 "Properties1",      "SaveAs1",    "Search1",     "SelectAll1",
                                 "ViewSource1"};
    QTest::newRow("no document") << "chrome://kill" << false << QStringList();
    QTest::newRow("page") << "/target.html" << false << onDocument;
    QTest::newRow("page, all selected")
        << "/target.html" << true << QStringList{"Copy1"} + onDocument;
    QTest::newRow("text field, its text selected")
        << "/form.html" << false << QStringList{"Copy1", "Cut1", "Paste1"} + onDocument;
    QTest::newRow("text file, all selected") << "/notes.txt" << true << onDocument;
}

void CommandsTest::enablingRules() {
    QFETCH(QString, page);
    QFETCH(bool, selectAll);
    QFETCH(QStringList, enabled);

    WindowUnderTest under;
    QVERIFY(showPage(under, page));
    // The engine runs editing commands only in a page that has the focus.
    QVERIFY(QTest::qWaitForWindowActive(&under.window));
    if (selectAll) {
        trigger(under, "SelectAll1");
    }
    enabled.sort();
    // The selection takes effect in the page a moment later.
    QTRY_COMPARE(enabledAfterOpening(under), enabled);
}

void CommandsTest::encoding_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("marked");

    // Served and declared as windows-1252, holding the UTF-8 bytes of "é".
    const QString page = QStringLiteral("/charset.html");
    QTest::newRow("as declared") << page << QStringList() << "caf\u00c3\u00a9"
                                 << "Automatic";
    QTest::newRow("UTF-8") << page << QStringList{"Unicode (UTF-8)"} << "caf\u00e9"
                           << "Unicode (UTF-8)";
    QTest::newRow("UTF-8, then Latin-1")
        << page << QStringList{"Unicode (UTF-8)", "Western European (ISO)"} << "caf\u00c3\u00a9"
        << "Western European (ISO)";
    QTest::newRow("UTF-8, then Automatic")
        << page << QStringList{"Unicode (UTF-8)", "Automatic"} << "caf\u00c3\u00a9"
        << "Automatic";
    QTest::newRow("text file") << "/notes.txt" << QStringList{"Unicode (UTF-8)"} << "none"
                               << "Automatic";
}

void CommandsTest::encoding() {
    QFETCH(QString, page);
    QFETCH(QStringList, choices);
    QFETCH(QString, shown);
    QFETCH(QString, marked);

    WindowUnderTest under;
    QVERIFY(showPage(under, page));
    choose(menu(under, "Encoding1"), choices);
    QVERIFY(under.window.GetCurrentWB()->waitUntilComplete());
    QTRY_COMPARE(markerOf(under.window.GetCurrentWB()), shown);
    QCOMPARE(markedItems(menu(under, "Encoding1")), QStringList{marked});
    QCOMPARE(under.window.GetCurrentWB()->LocationURL(), url(page).toString());
}

void CommandsTest::textSize_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QStringList>("marked");
    // Marked when the submenu opens again after every mark was cleared.
    QTest::addColumn<QStringList>("markedOnOpening");

    QTest::newRow("largest") << "/target.html" << QStringList{"Largest"} << QStringList{"Largest"}
                             << QStringList{"Largest"};
    QTest::newRow("largest, then small") << "/target.html" << QStringList{"Largest", "Small"}
                                         << QStringList{"Small"} << QStringList{"Small"};
    QTest::newRow("the page's own size")
        << "/target.html" << QStringList() << QStringList() << QStringList{"Medium"};
    QTest::newRow("no document") << "chrome://kill" << QStringList{"Largest"} << QStringList()
                                 << QStringList();
}

void CommandsTest::textSize() {
    QFETCH(QString, page);
    QFETCH(QStringList, choices);
    QFETCH(QStringList, marked);
    QFETCH(QStringList, markedOnOpening);

    WindowUnderTest under;
    QVERIFY(showPage(under, page));
    QMenu* sizes = menu(under, "Zoom1");
    choose(sizes, choices);
    QCOMPARE(markedItems(sizes), marked);
    for (QAction* action : sizes->actions()) {
        action->setChecked(false);
    }
    emit sizes->aboutToShow();
    QCOMPARE(markedItems(sizes), markedOnOpening);
}

void CommandsTest::messages_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("itemName");
    QTest::addColumn<QStringList>("messages");  // "%1": the page's address

    QTest::newRow("cookies") << "/cookies/page.html"
                             << "Cookie1" << QStringList{"flavour=lemon; size=large"};
    QTest::newRow("no cookies") << "/target.html"
                                << "Cookie1"
                                << QStringList{"There are no cookies in this webpage."};
    QTest::newRow("properties")
        << "/target.html"
        << "Properties1"
        << QStringList{"Target\n\nAddress: %1\nType: HTML document\nZone: Local intranet"};
    QTest::newRow("properties, no document") << "chrome://kill"
                                             << "Properties1" << QStringList();
}

void CommandsTest::messages() {
    QFETCH(QString, page);
    QFETCH(QString, itemName);
    QFETCH(QStringList, messages);

    WindowUnderTest under;
    QVERIFY(showPage(under, page));
    item(under, itemName)->trigger();
    for (QString& message : messages) {
        message = message.arg(url(page).toString());
    }
    QCOMPARE(under.dialogs.messages, messages);
    QCOMPARE(under.dialogs.errors, QStringList());
}

void CommandsTest::printing_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("itemName");
    QTest::addColumn<QString>("printFile");  // in the test's folder; empty: the user cancels
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("printed");

    QTest::newRow("print") << "/target.html"
                           << "Print1"
                           << "out.pdf" << QStringList() << true;
    QTest::newRow("print, canceled") << "/target.html"
                                     << "Print1"
                                     << "" << QStringList{"Canceled by User"} << false;
    QTest::newRow("print, failed")
        << "/target.html"
        << "Print1"
        << "missing/out.pdf" << QStringList{"Error While Printing"} << false;
    QTest::newRow("print, no document") << "chrome://kill"
                                        << "Print1"
                                        << "out.pdf" << QStringList() << false;
    QTest::newRow("preview") << "/target.html"
                             << "PrintPreview1"
                             << "out.pdf" << QStringList() << true;
}

void CommandsTest::printing() {
    QFETCH(QString, page);
    QFETCH(QString, itemName);
    QFETCH(QString, printFile);
    QFETCH(QStringList, messages);
    QFETCH(bool, printed);

    WindowUnderTest under;
    QVERIFY(showPage(under, page));
    const QString file = under.dir.filePath(printFile);
    under.dialogs.printFile = printFile.isEmpty() ? QString() : file;
    item(under, itemName)->trigger();

    QCOMPARE(under.dialogs.messages, messages);
    QCOMPARE(fileBytes(file).startsWith("%PDF"), printed);
}

void CommandsTest::saveAs_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArray>("start");    // of the saved file; empty: none
    QTest::addColumn<QStringList>("errors");  // "%1": the file

    QTest::newRow("web page") << "page.html" << QByteArray("<!DOCTYPE html>") << QStringList();
    QTest::newRow("web archive") << "page.mhtml" << QByteArray("From:") << QStringList();
    // The engine reports such a save as done, although it writes nothing.
    QTest::newRow("a file for a folder")
        << "file/page.html" << QByteArray()
        << QStringList{"ERROR: Unable to show Save As dialog. \rSaveError: %1 was not written."};
}

void CommandsTest::saveAs() {
    QFETCH(QString, answer);
    QFETCH(QByteArray, start);
    QFETCH(QStringList, errors);

    WindowUnderTest under;
    QVERIFY(showPage(under, QStringLiteral("/target.html")));
    test::writeFile(under.dir.filePath(QStringLiteral("file")), "not a folder");
    const QString file = under.dir.filePath(answer);
    under.dialogs.answers = {file};
    trigger(under, "SaveAs1");

    QCOMPARE(under.dialogs.requests.size(), 1);
    QCOMPARE(under.dialogs.requests[0].initialPath, QStringLiteral("Target.html"));
    for (QString& error : errors) {
        error = error.arg(QDir::toNativeSeparators(file));
    }
    QCOMPARE(under.dialogs.errors, errors);
    QVERIFY(start.isEmpty() ? !QFile::exists(file) : fileBytes(file).startsWith(start));
}

void CommandsTest::barToggles_data() {
    QTest::addColumn<int>("presses");
    QTest::addColumn<bool>("shown");

    QTest::newRow("once") << 1 << false;
    QTest::newRow("twice") << 2 << true;
}

// The View menu's marks show whether the bars are shown when it opens.
void CommandsTest::barToggles() {
    QFETCH(int, presses);
    QFETCH(bool, shown);

    WindowUnderTest under;
    for (const auto& [itemName, barName] :
         {std::pair{"Addressbar1", "pnAddress"}, std::pair{"NavigationBar1", "tbarNav"}}) {
        QAction* toggle = item(under, QString::fromLatin1(itemName));
        for (int i = 0; i < presses; ++i) {
            toggle->trigger();
        }
        QCOMPARE(under.child<QWidget>(barName)->isVisible(), shown);
        toggle->setChecked(!shown);
        emit menu(under, "View1")->aboutToShow();
        QCOMPARE(toggle->isChecked(), shown);
    }
}

void CommandsTest::offlineMode_data() {
    QTest::addColumn<int>("presses");
    QTest::addColumn<bool>("loads");

    QTest::newRow("online") << 0 << true;
    QTest::newRow("offline") << 1 << false;
    QTest::newRow("online again") << 2 << true;
}

void CommandsTest::offlineMode() {
    QFETCH(int, presses);
    QFETCH(bool, loads);

    WindowUnderTest under;
    for (int i = 0; i < presses; ++i) {
        trigger(under, "OfflineMode1");
    }
    QVERIFY(showPage(under, QStringLiteral("/target.html")));
    QCOMPARE(under.window.GetCurrentWB()->lastLoadSucceeded(), loads);
    emit menu(under, "File1")->aboutToShow();
    QCOMPARE(item(under, QStringLiteral("OfflineMode1"))->isChecked(), !loads || IsGlobalOffline());
}

void CommandsTest::goClearsTheEventLog_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("entriesLeft");
    QTest::addColumn<QString>("shown");

    QTest::newRow("empty address") << "" << 1 << "none";
    QTest::newRow("an address") << "/target.html" << 0 << "target page";
}

void CommandsTest::goClearsTheEventLog() {
    QFETCH(QString, address);
    QFETCH(int, entriesLeft);
    QFETCH(QString, shown);

    WindowUnderTest under;
    QVERIFY(under.window.GetCurrentWB()->waitUntilComplete());
    auto* log = under.child<QListWidget>("lvEventLog");
    log->addItem(QStringLiteral("an event"));
    auto* edURL = under.child<QLineEdit>("edURL");
    edURL->setText(address.isEmpty() ? address : url(address).toString());
    QTest::keyClick(edURL, Qt::Key_Return);

    QCOMPARE(log->findItems(QStringLiteral("an event"), Qt::MatchExactly).size(), entriesLeft);
    QCOMPARE(markerOf(under.window.GetCurrentWB()), shown);
}

void CommandsTest::find() {
    WindowUnderTest under;
    QVERIFY(showPage(under, QStringLiteral("/target.html")));
    trigger(under, "Search1");
    QVERIFY(
        under.window.GetCurrentWB()->findChild<QWidget*>(QStringLiteral("FindBar"))->isVisible());
}

void CommandsTest::sourceCode_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("loading");

    QTest::newRow("a page loaded") << "/target.html" << false;
    // Its picture comes late: the source tab comes once it has.
    QTest::newRow("a page still loading") << "/loading.html" << true;
}

void CommandsTest::sourceCode() {
    QFETCH(QString, page);
    QFETCH(bool, loading);

    m_server.setDelay(QStringLiteral("/held.svg"), 1500ms);
    WindowUnderTest under;
    TWebbrowser* browser = under.window.GetCurrentWB();
    QVERIFY(browser->waitUntilComplete());
    QSignalSpy requests(&m_server, &test::TestHttpServer::requested);
    browser->Navigate(url(page));
    if (loading) {
        QTRY_VERIFY(requests.contains(QVariantList{QStringLiteral("/held.svg")}));
        QVERIFY(browser->Busy());
    } else {
        QVERIFY(browser->waitUntilComplete());
    }

    chooseWithMouse(under, "View1", "ViewSource1");
    QTRY_COMPARE_WITH_TIMEOUT(pageControl(under)->count(), 3, 10000);
    QCOMPARE(pageControl(under)->currentIndex(), 1);
    QTRY_COMPARE(browserAt(under, 1)->LocationURL(),
                 QStringLiteral("view-source:") + url(page).toString());
}

void CommandsTest::dialogCaptionsWhole_data() {
    QTest::addColumn<bool>("windowFont");  // else the application's
    QTest::addColumn<double>("scale");

    for (const double scale : {1.0, 1.25, 1.5}) {
        QTest::addRow("the window's font at %g", scale) << true << scale;
        QTest::addRow("the application's font at %g", scale) << false << scale;
    }
}

// Every dialog of the window opened at that font, scaled as the desktop's scale factor scales
// text against the pixels of a layout.
void CommandsTest::dialogCaptionsWhole() {
    QFETCH(bool, windowFont);
    QFETCH(double, scale);

    WindowUnderTest under;
    QVERIFY(under.window.GetCurrentWB()->waitUntilComplete());
    QFont font = windowFont ? under.window.font() : QApplication::font();
    font.setPointSizeF(font.pointSizeF() * scale);
    const QFont applicationFont = QApplication::font();
    const auto restoreFont = qScopeGuard([&applicationFont] {
        QApplication::setFont(applicationFont);
    });
    QApplication::setFont(font);

    QStringList cut;
    QStringList opened;
    const auto inspectDialog = [&] {
        QTimer::singleShot(0, &under.window, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            opened.append(dialog->windowTitle());
            cut.append(cutCaptions(dialog));
            dialog->reject();
        });
    };
    inspectDialog();
    trigger(under, "AddHTML1");
    inspectDialog();
    trigger(under, "InternetOptions1");
    inspectDialog();
    QTest::mouseClick(under.child<QToolButton>("btnCaptureOptions"), Qt::LeftButton);

    QCOMPARE(opened, (QStringList{"Add HTML", "Internet Options", "Capture options"}));
    QCOMPARE(cut, QStringList());
}

}  // namespace larkspan

int runCommandsTests(int argc, char* argv[]) {
    larkspan::CommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "commands_test.moc"
