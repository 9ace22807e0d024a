#pragma once

#include "browser/dom.h"
#include "browser/local_wait.h"

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <chrono>
#include <memory>
#include <optional>

class QWebEnginePage;
class QWebEngineView;

namespace larkspan {

namespace browser {
class BrowserPage;
class DomBridge;
class FindBar;
class LoadWatch;
class WebDocument;
}  // namespace browser

// The browser of one tab: an engine view with the control operations and events the window
// works with, and the document access of the capture engine.
class TWebbrowser : public QWidget, public dom::PageLoader {
    Q_OBJECT

public:
    // The commands of CommandStateChange.
    enum Command {
        CommandForward = 1,
        CommandBack = 2,
    };
    // The level of Refresh2 that reloads bypassing the cache.
    static constexpr int RefreshCompletely = 3;

    explicit TWebbrowser(QWidget* parent = nullptr);
    ~TWebbrowser() override;

    void Navigate(const QUrl& url);
    // Navigates so that the new page takes the shown page's place in the history.
    void NavigateNoHistory(const QUrl& url);
    // Shows the HTML text, of any size, as a document of its own at "about:blank": navigates
    // there and waits until that has loaded; the text is then written into the blank document
    // from the event loop, and ReadyState stays 1 until it is. Nothing is written when the
    // browser has no document then, or another navigation starts first.
    void LoadHTML(const QString& html);
    // Scrolls the shown document; nothing happens while the browser shows none.
    void ScrollTo(int x, int y);

    // A silent browser shows none of the page's own alert, confirm or prompt boxes.
    bool Silent() const;
    void setSilent(bool silent);
    void GoBack();
    void GoForward();
    void Stop();
    void Refresh();
    void Refresh2(int level);

    // Empty before the first navigation.
    QString LocationURL() const;
    // The title of the page shown.
    QString LocationName() const;
    // True while ReadyState is 1.
    bool Busy() const;
    // 0 before anything was asked to load; 1 from the request of a navigation (or the start of
    // one the page began itself) until the main frame has finished loading, and while a text of
    // LoadHTML waits to be written; then 4. A request that has not started loading after the
    // navigation start timeout counts as done.
    int ReadyState() const;
    // The document the browser shows, or null when it shows none.
    std::shared_ptr<dom::Document> Document();
    // The same document with the operations only the browser layer uses.
    std::shared_ptr<browser::WebDocument> webDocument();
    // The text LoadHTML wrote into the document shown, while that document is shown.
    const std::optional<QString>& writtenHTML() const { return m_writtenHTML; }

    // Opens the find bar under the page.
    void ShowFindBar();

    // The engine's objects, for the browser operations of this layer.
    browser::BrowserPage* enginePage() const { return m_page; }
    QWebEngineView* engineView() const { return m_view; }

    // Tells whether the page the click led to arrived, and if not, why (see dom::LinkOutcome).
    // A blank page (about:blank) that came instead of the one asked for is a failed load.
    // Raises dom::DomError when the browser is destroyed or the application quits during the
    // wait.
    dom::LinkOutcome clickAndWait(dom::Element& element) override;
    // The same for a page loaded by its address. A browser that has shown nothing yet shows a
    // blank page first: the engine lets a page close a window whose history holds only that
    // page, and stops its load, so the first page of a run could otherwise end it.
    dom::LinkOutcome loadAndWait(const QUrl& address) override;

    // Keeps the event loop running while ReadyState is 1. Gives true once it is not (at once
    // when nothing is loading); false when the browser is destroyed or the application quits
    // during the wait.
    bool waitUntilComplete();
    // Whether the last load that ended reached its page; false for a page that could not be
    // loaded (the browser then shows an error page) and once the page's renderer has ended.
    bool lastLoadSucceeded() const;
    // When it did not: "ADDRESS: what went wrong", for the user. Empty otherwise.
    QString lastLoadFailure() const;

    // How long a click or a navigation request may take to start loading a page; 10 s unless set.
    void setNavigationStartTimeout(std::chrono::milliseconds timeout);
    // A page still loading this long after its load started is stopped, and its load fails. No
    // limit unless set: a user who waits can always press Stop.
    void setLoadTimeLimit(std::optional<std::chrono::milliseconds> limit);

    // Round trips to the page's document bridge so far.
    quint64 engineCallCount() const;

    // Kept by the window for this browser's tab: the last command states reported and the
    // caption to show while the tab is active.
    bool FNavForward = false;
    bool FNavBack = false;
    QString FTitle;

signals:
    void StatusTextChange(const QString& text);
    void ProgressChange(int progress, int progressMax);
    void CommandStateChange(int command, bool enable);
    void DownloadBegin();
    void DownloadComplete();
    void TitleChange(const QString& text);
    void BeforeNavigate2(const QUrl& url);
    // The page asks for a new window. A handler, connected directly, either hands over a browser
    // that has not loaded anything in ppDisp, which then loads the requested page, or sets Cancel.
    // Without a browser no window opens.
    void NewWindow2(QPointer<larkspan::TWebbrowser>& ppDisp, bool& Cancel);
    void NavigateComplete2(const QUrl& url);
    void DocumentComplete(const QUrl& url);
    void readyStateChanged(int readyState);

private:
    struct ClickWait {
        browser::LocalWait::Outcome outcome;
        bool throttled = false;  // the engine dropped the navigation the click started
    };

    ClickWait clickOnce(dom::Element& element, std::chrono::milliseconds startTimeout);
    // The last load's failure; with how long to wait when the server refused the page for now.
    dom::LinkOutcome failedLoad();
    // Arrived, or failed when a blank page came instead of the address asked for (empty for
    // a click).
    dom::LinkOutcome arrivedUnlessBlank(const QUrl& asked) const;
    void mapEngineEvents();
    void handleLoadStarted(const QUrl& url);
    void handleLoadEnded(const QUrl& url);
    void handleUrlChanged(const QUrl& url);
    void expectNavigation();
    void reportReadyState();
    void writePendingHTML();

    QWebEngineView* m_view;
    browser::BrowserPage* m_page;
    browser::FindBar* m_findBar;
    std::shared_ptr<browser::DomBridge> m_bridge;
    browser::LoadWatch* m_loadWatch;
    std::chrono::milliseconds m_navigationStartTimeout{10000};
    // Runs from a navigation request until the engine reports the load's start.
    QTimer m_navigationStart;
    QUrl m_urlBeforeRequest;
    bool m_loadedOnce = false;
    quint64 m_loadsStarted = 0;
    int m_reportedReadyState = 0;
    // A text of LoadHTML and the blank document it goes into.
    struct PendingWrite {
        std::shared_ptr<browser::WebDocument> document;
        QString html;
    };
    std::optional<PendingWrite> m_pendingWrite;
    std::optional<QString> m_writtenHTML;
};

}  // namespace larkspan
