#pragma once

#include "capture/listing_text_parser.h"
#include "capture/page_chain.h"
#include "capture/profile_folder.h"
#include "journal/journal_run.h"
#include "shell/capture_options_dialog.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPrinter;
class QSplitter;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;

namespace larkspan {

class DetectionBar;
class DetectionPreview;

namespace browser {
class OfflineSwitch;
}  // namespace browser

class ApplicationEvents;
class BrowserTabs;
class DisplayOptions;
class ElementInspector;
class EventLog;
class InspectionViews;
class MainMenu;
class MainStatusBar;
class PageMessageHook;
class ResultsPane;
class ResultsTable;
class RunJournal;
class RunRecorder;
class SearchBox;
class SplitScreenSetting;
class TWebbrowser;
class TextPanel;
class TurningPageLoader;
class UserDialogs;

// The main window: navigation toolbar and address bar on top, the browser tabs in the middle,
// the Results panel on the right behind a splitter, the status bar at the bottom. Its handlers
// meet here; the tabs, the menu and the browser operations are parts of their own. The methods
// live in several source files by concern: layout and browser events here, the capture run in
// tfrm_my_browser_capture.cpp, navigation in tfrm_my_browser_navigation.cpp, tabs in
// tfrm_my_browser_tabs.cpp, menu commands in tfrm_my_browser_commands.cpp, the inspection tools
// in tfrm_my_browser_inspection.cpp.
class TfrmMyBrowser : public QMainWindow, private CaptureHost {
    Q_OBJECT

public:
    static inline const QString kCaption =
        QStringLiteral("Larkspan - AU-GLv. 0.89 Stonecrab [08AUG2014]");

    // Without a journal (one that could not be opened) runs cannot be resumed.
    TfrmMyBrowser(UserDialogs& dialogs, SplitScreenSetting& splitSetting, RunJournal* journal,
                  QWidget* parent = nullptr);
    ~TfrmMyBrowser() override;

    // The browser commands act on: the active tab's, else the one the user left last.
    TWebbrowser* GetCurrentWB() const;

    // Tabs.
    void WebBrowser1NewWindow2(TWebbrowser* sender, QPointer<TWebbrowser>& ppDisp, bool& Cancel);
    void PageControlChange();
    void CloseTab1Click();
    void DuplicateTab1Click();

    // Capture run.
    void btnCaptureClick();
    // Starts at the page shown, or where a resumed run takes up; `settings` are those the
    // journal keeps for the run.
    void ProcessPageAUGL(const ListingSourceChoice& source, const QJsonObject& settings,
                         const ChainStart& start = {});
    void WaitForPageToLoad();
    void ToolButton2Click();
    // Takes up a run of the journal that did not end: its lines come back to the Results pane,
    // and the capture goes on from its first page not yet captured.
    void resumeCaptureRun(const JournalRun& run);
    // What the window's runs do beyond the plain capture, and their dialog.
    void setCaptureOptions(const CaptureOptions& options) { m_captureOptions = options; }
    void CaptureOptionsClick();

    // "Detect listings" on the capture tab's page (see tfrm_my_browser_detection.cpp).
    void DetectListingsClick();
    std::shared_ptr<dom::Document> detectionDocument();
    void showDetection();
    // Back to the captured lines in the Table, the page's marks taken off.
    void endDetection();
    void chooseDetectedGroup(int index);
    // A click on a column's title while detection is shown: "Pick from page".
    void offerFieldPick(int column);
    void takePickedField();
    void saveDetectedProfile();

    // Start page and the directory's search page, always in the capture tab.
    void WriteHTMLToBrowser(TWebbrowser* browser, const QString& html);
    void LarkspanStartPage1Click();
    void ToolBtnHomeClick();
    void ToolbtnLarkspanClick();
    void Goto1Click();

    // Address bar, search box and navigation toolbar, on the current browser.
    // The address given on the command line: shown in the address bar and loaded.
    void openInCaptureTab(const QUrl& address);
    void btnGoClick();
    void btnSearchClick();
    void ToolBtnSearchClick();
    void ToolbtnBackClick();
    void ToolBtnForwardClick();
    void ToolBtnStopClick();
    void ToolBtnRefreshClick();
    void SpeedButtonScrollTopClick();
    void SpeedButtonScrollBottomClick();

    // The main menu: the rules run when a menu opens, then the items.
    void File1Click();
    void Edit2Click();
    void View1Click();
    void Extras1Click();
    void Zoom1Click();
    void Open1Click();
    void SaveAs1Click();
    void Print1Click();
    void PrintPreview1Click();
    void PageSetup1Click();
    void Properties1Click();
    void OfflineMode1Click();
    void Exit1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void SelectAll1Click();
    void Search1Click();
    void ViewSource1Click();
    void urkishWindows1Click(QAction* item);
    void Smallest1Click(QAction* item);
    void Addressbar1Click();
    void NavigationBar1Click();
    void Cookie1Click();
    void InternetOptions1Click();

    // Inspection: the document views, the element under the cursor, search and highlight, the
    // display options, the event log and page editing.
    void PageControlInfosChange();
    void Timer1Timer();
    void btnSearchAndHighlightClick();
    void chk3DBorderStyleClick(bool bordered);
    void chkNoScrollBarsClick(bool hidden);
    void AddHTML1Click();
    void DesignMode1Click();
    // Shows or hides every hidden tab of the inspection tools and the Extras menu, and keeps the
    // choice for the next start.
    void InspectionTools1Click();

    // The split toggle and its setting.
    void tbSplitScreenClick();
    void RestoreSplitter();
    void SaveSplitter();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout, built once by the constructor.
    void connectMenus();
    QToolBar* buildNavigationBar();
    QWidget* buildAddressBar();
    QWidget* buildBrowserTabs();
    QWidget* buildCaptureTab();
    void buildSearchBox(QWidget* panel);
    QWidget* buildParsingInfo();
    QTabWidget* buildSidePanel();
    QWidget* buildExtrasPage();
    QWidget* buildDesignPage();
    QWidget* buildOptionsPage();
    void showInspectionTools(bool shown);
    QToolButton* addToolButton(QToolBar* bar, const char* name, int image, const QString& text,
                               const QString& hint, bool shown = true);

    void FormCreate();
    void FormResize();
    void setSidePanelWidth(int width);

    // Every event of every window of the program passes here first.
    bool ApplicationEvents1Message(QObject* receiver, QEvent* event);

    // Browser events, from every browser unless its tab says otherwise.
    void connectBrowser(TWebbrowser* browser, bool captureTab);
    void WebBrowser1ProgressChange(int progress, int progressMax);
    void WebBrowser1StatusTextChange(const QString& text);
    void WebBrowser1TitleChange(TWebbrowser* sender, const QString& text);
    void WebBrowser1CommandStateChange(TWebbrowser* sender, int command, bool enable);
    void WebBrowser1BeforeNavigate2();
    void WebBrowser1NavigateComplete2(TWebbrowser* sender);
    void WebBrowser1DownloadComplete();
    void WebBrowser1DownloadBegin(TWebbrowser* sender);
    // Back and Forward as the active tab's browser last reported them; off on a page without one.
    void showNavigationState();
    // Records the event in the event log with the tab of the browser that reported it.
    void LogEvent(const QString& name, TWebbrowser* sender);

    // The capture run's side of the page chain.
    std::shared_ptr<dom::Document> currentDocument() override;
    QUrl currentAddress() override;
    dom::PageLoader& pageLoader() override;
    QString flattenedText(const QString& text) override;
    void pageCaptured(const CapturedPage& page) override;
    bool shouldTurnPage(int pageNumber) override;
    bool waitBeforeRetry(const PageRefusal& refusal) override;
    bool passHumanCheck(const HumanCheck& check) override;
    void closeCaptureRun();
    // Keeps the window responsive for that long, telling why in the status bar; false when the
    // run was stopped meanwhile.
    bool pauseRun(std::chrono::milliseconds duration, const QString& why);
    void recordRunEnd(const RunEnd& end);
    void showJournalProblem();
    // Deletes the oldest runs that ended while the journal is over the size set in the options.
    void keepJournalUnderLimit();
    void showStatusMessage(const QString& text);
    void showResultsCount();
    void offerResume();

    // Runs a handler; an error it lets escape is shown in the default error box, and the rest
    // of the handler is skipped, as for any handler of the window.
    void guarded(const std::function<void()>& handler);
    // Runs the handler, guarded, whenever the sender emits the signal.
    template <typename Sender, typename Signal>
    void connectHandler(Sender* sender, Signal signal, void (TfrmMyBrowser::*handler)());
    // The printer the printing commands share, so page setup carries over to printing.
    QPrinter& printer();

    UserDialogs& m_dialogs;
    SplitScreenSetting& m_splitSetting;
    ListingTextParser m_parser;
    ProfileFolder m_profileFolder;
    RunJournal* m_journal;
    // The bookkeeping of the innermost run under way (a run can start inside another's wait).
    RunRecorder* m_recorder = nullptr;
    CaptureOptions m_captureOptions;
    // What "Detect listings" found, while the Table shows it.
    std::unique_ptr<DetectionPreview> m_detection;
    DetectionBar* m_detectionBar = nullptr;
    // Asks the page whether the user has clicked the field being picked.
    QTimer m_pickPoll;
    QString m_pickedField;
    bool m_closing = false;
    std::unique_ptr<TurningPageLoader> m_turningLoader;
    QString m_lastSavePath;
    bool m_shownOnce = false;

    // Listings accepted since the last closing message.
    qint32 CapturedCount = 0;
    std::unique_ptr<QPrinter> m_printer;
    // Made when the user first asks to work offline.
    browser::OfflineSwitch* m_offline = nullptr;

    QToolBar* tbarNav = nullptr;
    QToolButton* ToolbtnBack = nullptr;
    QToolButton* ToolBtnForward = nullptr;
    QToolButton* ToolBtnStop = nullptr;
    QToolButton* ToolBtnRefresh = nullptr;
    QToolButton* ToolBtnHome = nullptr;
    QToolButton* ToolbtnLarkspan = nullptr;
    QToolButton* tbSplitScreen = nullptr;
    QWidget* pnAddress = nullptr;
    QLineEdit* edURL = nullptr;
    QToolButton* btnGo = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* edSearch = nullptr;
    QToolButton* btnSearch = nullptr;
    BrowserTabs* m_tabs = nullptr;
    QWidget* TabSheet1 = nullptr;
    QToolButton* btnCapture = nullptr;
    TWebbrowser* WebBrowser1 = nullptr;
    InspectionViews* m_views = nullptr;
    TextPanel* mmParser = nullptr;
    QSplitter* Splitter1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    // The side panel's pages that only the inspection tools show.
    QList<QWidget*> m_inspectionPages;
    QWidget* tbResults = nullptr;
    ResultsPane* mmResults = nullptr;
    ResultsTable* m_resultsTable = nullptr;
    SearchBox* m_search = nullptr;
    ElementInspector* m_inspector = nullptr;
    EventLog* lvEventLog = nullptr;
    DisplayOptions* m_options = nullptr;
    QTimer* Timer1 = nullptr;
    MainStatusBar* StatusBar1 = nullptr;
    MainMenu* m_menu = nullptr;
    std::unique_ptr<PageMessageHook> m_pageHook;
    // Last, so it stops calling in before anything else of the window goes.
    std::unique_ptr<ApplicationEvents> m_applicationEvents;
};

}  // namespace larkspan
