#pragma once

#include "capture/listing_text_parser.h"
#include "capture/page_chain.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QLineEdit;
class QSplitter;
class QTabWidget;
class QToolBar;
class QToolButton;
class QWidget;

namespace larkspan {

class MainStatusBar;
class ResultsPane;
class SplitScreenSetting;
class TWebbrowser;
class TextPanel;
class TurningPageLoader;
class UserDialogs;

// The main window: navigation toolbar and address bar on top, the browser tabs in the middle,
// the Results panel on the right behind a splitter, the status bar at the bottom. Its methods
// live in several source files by concern: layout and browser events here, the capture run in
// tfrm_my_browser_capture.cpp, navigation in tfrm_my_browser_navigation.cpp.
class TfrmMyBrowser : public QMainWindow, private CaptureHost {
    Q_OBJECT

public:
    static inline const QString kCaption =
        QStringLiteral("Larkspan - AU-GLv. 0.89 Stonecrab [08AUG2014]");

    TfrmMyBrowser(UserDialogs& dialogs, SplitScreenSetting& splitSetting,
                  QWidget* parent = nullptr);
    ~TfrmMyBrowser() override;

    // The browser commands act on: the active tab's, else the one the user left last.
    TWebbrowser* GetCurrentWB() const;

    // Capture run.
    void btnCaptureClick();
    void ProcessPageAUGL();
    void WaitForPageToLoad();
    void ToolButton2Click();

    // Start page and the directory's search page, always in the capture tab.
    void WriteHTMLToBrowser(TWebbrowser* browser, const QString& html);
    void LarkspanStartPage1Click();
    void ToolBtnHomeClick();
    void ToolbtnLarkspanClick();
    void Goto1Click();

    // Address bar and navigation toolbar, on the current browser.
    void btnGoClick();
    void ToolbtnBackClick();
    void ToolBtnForwardClick();
    void ToolBtnStopClick();
    void ToolBtnRefreshClick();
    void SpeedButtonScrollTopClick();
    void SpeedButtonScrollBottomClick();

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
    void buildMenus();
    QToolBar* buildNavigationBar();
    QWidget* buildAddressBar();
    QWidget* buildBrowserTabs();
    QWidget* buildCaptureTab();
    QWidget* buildParsingInfo();
    QTabWidget* buildSidePanel();
    QToolButton* addToolButton(QToolBar* bar, const char* name, int image, const QString& text,
                               const QString& hint, bool shown = true);

    void FormCreate();
    void FormResize();
    void setSidePanelWidth(int width);

    // Browser events, from every browser unless its tab says otherwise.
    void connectBrowser(TWebbrowser* browser, bool captureTab);
    void WebBrowser1ProgressChange(int progress, int progressMax);
    void WebBrowser1StatusTextChange(const QString& text);
    void WebBrowser1TitleChange(TWebbrowser* sender, const QString& text);
    void WebBrowser1CommandStateChange(TWebbrowser* sender, int command, bool enable);
    void WebBrowser1BeforeNavigate2();
    void WebBrowser1NavigateComplete2(TWebbrowser* sender);
    void WebBrowser1DownloadComplete();
    void showSecurityZone();

    // The capture run's side of the page chain.
    std::shared_ptr<dom::Document> currentDocument() override;
    dom::PageLoader& pageLoader() override;
    QString flattenedText(const QString& text) override;
    void pageCaptured(int pageNumber, const QStringList& resultLines) override;
    bool shouldTurnPage(int pageNumber) override;
    void closeCaptureRun();

    // Runs a handler; an error it lets escape is shown in the default error box, and the rest
    // of the handler is skipped, as for any handler of the window.
    template <typename Handler>
    void guarded(Handler&& handler);
    // Runs the handler, guarded, whenever the sender emits the signal.
    template <typename Sender, typename Signal>
    void connectHandler(Sender* sender, Signal signal, void (TfrmMyBrowser::*handler)());

    UserDialogs& m_dialogs;
    SplitScreenSetting& m_splitSetting;
    ListingTextParser m_parser;
    std::unique_ptr<TurningPageLoader> m_turningLoader;
    QString m_lastSavePath;
    bool m_shownOnce = false;

    // Listings accepted since the last closing message.
    qint32 CapturedCount = 0;
    QPointer<TWebbrowser> FPrevBrowser;

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
    QTabWidget* PageControl = nullptr;
    QWidget* TabSheet1 = nullptr;
    QToolButton* btnCapture = nullptr;
    TWebbrowser* WebBrowser1 = nullptr;
    QTabWidget* PageControlInfos = nullptr;
    TextPanel* mmParser = nullptr;
    QSplitter* Splitter1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* tbResults = nullptr;
    ResultsPane* mmResults = nullptr;
    MainStatusBar* StatusBar1 = nullptr;
    QAction* Goto1 = nullptr;
};

}  // namespace larkspan
