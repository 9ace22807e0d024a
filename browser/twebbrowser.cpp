#include "browser/twebbrowser.h"

#include "browser/browser_page.h"
#include "browser/dom_bridge.h"
#include "browser/find_bar.h"
#include "browser/load_watch.h"
#include "browser/local_wait.h"
#include "browser/retry_after.h"
#include "browser/web_document.h"

#include <QAction>
#include <QVBoxLayout>
#include <QWebEngineFindTextResult>
#include <QWebEngineHistory>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <utility>

namespace larkspan {
namespace {

const char* const kClosedDuringWait = "The browser was closed while waiting for the page";
const char* const kQuitDuringWait = "The application is quitting";
const QUrl kBlankPage(QStringLiteral("about:blank"));
// The engine lets a page start 200 navigations in ten seconds and drops the rest; a dropped
// click is tried again every second until the ten seconds are over.
constexpr std::chrono::milliseconds kThrottledClickPause{1000};
constexpr int kThrottledClickRetries = 12;

// Two addresses show the same document when they differ in the fragment at most.
bool sameDocument(const QUrl& left, const QUrl& right) {
    return left.adjusted(QUrl::RemoveFragment) == right.adjusted(QUrl::RemoveFragment);
}

// Whether a page's own scripts may send it to the address: the engine refuses local files to
// pages that are not local files themselves, and data and source addresses to every page.
bool pageMayOpen(const QUrl& shown, const QUrl& address) {
    if (address.isLocalFile()) {
        return shown.isLocalFile();
    }
    const QString scheme = address.scheme();
    return scheme != QLatin1String("data") && scheme != QLatin1String("view-source");
}

}  // namespace

TWebbrowser::TWebbrowser(QWidget* parent)
    : QWidget(parent),
      m_view(new QWebEngineView(this)),
      m_page(new browser::BrowserPage(m_view)),
      m_findBar(new browser::FindBar(this)),
      m_bridge(std::make_shared<browser::DomBridge>(m_page)),
      m_loadWatch(new browser::LoadWatch(m_page)) {
    m_view->setPage(m_page);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_findBar);

    connect(m_findBar, &browser::FindBar::findRequested, this,
            [this](const QString& text, bool backward) {
                m_page->findText(
                    text, backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags());
            });
    connect(m_page, &QWebEnginePage::findTextFinished, m_findBar,
            [this](const QWebEngineFindTextResult& result) {
                m_findBar->showResult(result.activeMatch(), result.numberOfMatches());
            });
    connect(m_findBar, &browser::FindBar::closed, this, [this] {
        m_page->findText(QString());
        m_view->setFocus();
    });

    m_navigationStart.setSingleShot(true);
    connect(&m_navigationStart, &QTimer::timeout, this, &TWebbrowser::reportReadyState);
    mapEngineEvents();
}

TWebbrowser::~TWebbrowser() {
    // The page outlives this part of the object; what it reports while it goes must not reach
    // handlers that would find the browser half destroyed.
    m_page->blockSignals(true);
}

// Every engine event reaches the window through here.
void TWebbrowser::mapEngineEvents() {
    connect(m_page, &QWebEnginePage::linkHovered, this, &TWebbrowser::StatusTextChange);
    connect(m_page, &QWebEnginePage::loadProgress, this,
            [this](int progress) { emit ProgressChange(progress, 100); });
    connect(m_page, &QWebEnginePage::titleChanged, this, &TWebbrowser::TitleChange);
    connect(m_page->action(QWebEnginePage::Forward), &QAction::enabledChanged, this,
            [this](bool enabled) { emit CommandStateChange(CommandForward, enabled); });
    connect(m_page->action(QWebEnginePage::Back), &QAction::enabledChanged, this,
            [this](bool enabled) { emit CommandStateChange(CommandBack, enabled); });
    connect(m_loadWatch, &browser::LoadWatch::started, this, &TWebbrowser::handleLoadStarted);
    connect(m_loadWatch, &browser::LoadWatch::ended, this, &TWebbrowser::handleLoadEnded);
    connect(m_page, &QWebEnginePage::urlChanged, this, &TWebbrowser::handleUrlChanged);
    connect(m_page, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) {
                // Guarded: the handler may wait, and its tab may be closed meanwhile.
                QPointer<TWebbrowser> target;
                bool cancel = false;
                emit NewWindow2(target, cancel);
                if (!cancel && target) {
                    request.openIn(target->m_page);
                }
            });
    // A page closing its own window must not take the tab with it.
    connect(m_page, &QWebEnginePage::windowCloseRequested, this, [this] { Navigate(kBlankPage); });
    // A renderer that has gone finishes nothing, so the load (or the request of one) ends here.
    connect(m_loadWatch, &browser::LoadWatch::rendererEnded, this, [this] {
        m_navigationStart.stop();
        reportReadyState();
    });
}

void TWebbrowser::handleLoadStarted(const QUrl& url) {
    m_navigationStart.stop();
    m_pendingWrite.reset();
    m_writtenHTML.reset();
    ++m_loadsStarted;
    reportReadyState();
    emit BeforeNavigate2(url);
    emit DownloadBegin();
}

void TWebbrowser::handleLoadEnded(const QUrl& url) {
    m_loadedOnce = true;
    reportReadyState();
    emit DownloadComplete();
    emit DocumentComplete(url);
}

void TWebbrowser::handleUrlChanged(const QUrl& url) {
    // A request that only moves within the shown document never reports a load.
    if (m_navigationStart.isActive() && sameDocument(url, m_urlBeforeRequest)) {
        m_navigationStart.stop();
        reportReadyState();
    }
    emit NavigateComplete2(url);
}

void TWebbrowser::expectNavigation() {
    // The engine reports the start of a load only later, so the request itself counts as
    // loading; otherwise a wait right after it would end on the previous page.
    m_urlBeforeRequest = m_page->url();
    m_navigationStart.start(m_navigationStartTimeout);
    reportReadyState();
}

void TWebbrowser::reportReadyState() {
    const int readyState = ReadyState();
    if (readyState != m_reportedReadyState) {
        m_reportedReadyState = readyState;
        emit readyStateChanged(readyState);
    }
}

void TWebbrowser::Navigate(const QUrl& url) {
    expectNavigation();
    m_page->load(url);
    m_loadWatch->expectLoad(url);
}

void TWebbrowser::NavigateNoHistory(const QUrl& url) {
    const auto document = webDocument();
    // The engine lets only the browser itself open these, never the page it would replace; the
    // new page then comes after the shown one in the history instead of not at all.
    if (!document || !pageMayOpen(m_page->url(), url)) {
        Navigate(url);
        return;
    }
    expectNavigation();
    document->replaceLocation(url);
}

void TWebbrowser::LoadHTML(const QString& html) {
    // Written into a blank document rather than handed over as the page's content, which the
    // engine refuses beyond 2 MB.
    Navigate(kBlankPage);
    if (!waitUntilComplete()) {
        return;
    }
    // Written from the event loop, as a page's content arrives, so its events (the title among
    // them) come after the caller has gone on; loading until then.
    const auto document = webDocument();
    if (!document) {
        return;
    }
    m_pendingWrite = PendingWrite{document, html};
    reportReadyState();
    QTimer::singleShot(0, this, &TWebbrowser::writePendingHTML);
}

void TWebbrowser::writePendingHTML() {
    // A navigation that started meanwhile took the text's place.
    const std::optional<PendingWrite> pending = std::exchange(m_pendingWrite, std::nullopt);
    if (!pending) {
        return;
    }
    const quint64 loadsBefore = m_loadsStarted;
    try {
        // Fails once the blank document has gone.
        pending->document->write(pending->html);
        if (m_loadsStarted == loadsBefore) {
            m_writtenHTML = pending->html;
        }
    } catch (const dom::DomError&) {
    }
    reportReadyState();
}

void TWebbrowser::ScrollTo(int x, int y) {
    if (const auto document = webDocument()) {
        document->scrollTo(x, y);
    }
}

void TWebbrowser::setSilent(bool silent) {
    m_page->setSilent(silent);
}

bool TWebbrowser::Silent() const {
    return m_page->isSilent();
}

void TWebbrowser::GoBack() {
    if (m_page->history()->canGoBack()) {
        expectNavigation();
        m_page->triggerAction(QWebEnginePage::Back);
    }
}

void TWebbrowser::GoForward() {
    if (m_page->history()->canGoForward()) {
        expectNavigation();
        m_page->triggerAction(QWebEnginePage::Forward);
    }
}

void TWebbrowser::Stop() {
    m_navigationStart.stop();
    m_loadWatch->expectStop();
    m_page->triggerAction(QWebEnginePage::Stop);
    reportReadyState();
}

void TWebbrowser::Refresh() {
    Refresh2(0);
}

void TWebbrowser::Refresh2(int level) {
    if (m_page->url().isEmpty()) {
        return;
    }
    expectNavigation();
    m_page->triggerAction(level == RefreshCompletely ? QWebEnginePage::ReloadAndBypassCache
                                                     : QWebEnginePage::Reload);
}

QString TWebbrowser::LocationURL() const {
    return m_page->url().toString();
}

QString TWebbrowser::LocationName() const {
    return m_page->title();
}

bool TWebbrowser::Busy() const {
    return ReadyState() == 1;
}

int TWebbrowser::ReadyState() const {
    if (m_loadWatch->isLoading() || m_navigationStart.isActive() || m_pendingWrite) {
        return 1;
    }
    return m_loadedOnce ? 4 : 0;
}

std::shared_ptr<dom::Document> TWebbrowser::Document() {
    return webDocument();
}

std::shared_ptr<browser::WebDocument> TWebbrowser::webDocument() {
    if (ReadyState() == 0) {
        return nullptr;
    }
    return browser::WebDocument::open(m_bridge);
}

void TWebbrowser::ShowFindBar() {
    m_findBar->open();
}

dom::LinkOutcome TWebbrowser::clickAndWait(dom::Element& element) {
    ClickWait click = clickOnce(element, m_navigationStartTimeout);
    // The engine says so only for the first navigation it drops.
    const bool throttled = click.throttled;
    for (int retry = 0; throttled && click.outcome == browser::LocalWait::Outcome::TimedOut &&
                        retry < kThrottledClickRetries;
         ++retry) {
        click = clickOnce(element, kThrottledClickPause);
    }
    switch (click.outcome) {
        case browser::LocalWait::Outcome::TimedOut:
            return {dom::LinkOutcome::Result::NoNavigation};
        case browser::LocalWait::Outcome::WatchedObjectDestroyed:
            throw dom::DomError(kClosedDuringWait);
        case browser::LocalWait::Outcome::ApplicationQuit:
            throw dom::DomError(kQuitDuringWait);
        case browser::LocalWait::Outcome::Finished:
            break;
    }
    if (!lastLoadSucceeded()) {
        return failedLoad();
    }
    return arrivedUnlessBlank(QUrl());
}

dom::LinkOutcome TWebbrowser::loadAndWait(const QUrl& address) {
    if (m_page->history()->count() == 0) {
        // The engine's own page; the time limit is for the pages asked for, and this first load
        // also waits for the engine to start.
        const std::optional<std::chrono::milliseconds> limit = m_loadWatch->timeLimit();
        m_loadWatch->setTimeLimit(std::nullopt);
        Navigate(kBlankPage);
        const bool shown = waitUntilComplete();
        m_loadWatch->setTimeLimit(limit);
        if (!shown) {
            throw dom::DomError(kQuitDuringWait);
        }
    }
    const quint64 loadsBefore = m_loadsStarted;
    Navigate(address);
    if (!waitUntilComplete()) {
        throw dom::DomError(kQuitDuringWait);
    }
    // The engine drops some addresses (scripts, a zero byte in the path) without a word; the
    // earlier load's outcome says nothing about them.
    if (m_loadsStarted == loadsBefore && !sameDocument(m_page->url(), address)) {
        return {dom::LinkOutcome::Result::LoadFailed,
                address.toString() + QStringLiteral(": the browser did not start loading it"),
                address};
    }
    return lastLoadSucceeded() ? arrivedUnlessBlank(address) : failedLoad();
}

dom::LinkOutcome TWebbrowser::arrivedUnlessBlank(const QUrl& asked) const {
    if (m_page->url() != kBlankPage || asked == kBlankPage) {
        return {dom::LinkOutcome::Result::Arrived};
    }
    return {dom::LinkOutcome::Result::LoadFailed,
            QStringLiteral("about:blank: a blank page came instead of the page asked for"),
            kBlankPage};
}

dom::LinkOutcome TWebbrowser::failedLoad() {
    dom::LinkOutcome outcome{dom::LinkOutcome::Result::LoadFailed, lastLoadFailure(),
                             m_loadWatch->lastFailedUrl(), m_loadWatch->lastHttpStatus()};
    if (dom::isRefusedForNowStatus(outcome.httpStatus)) {
        outcome.retryAfter =
            browser::askRetryAfter(outcome.address, m_page->profile()->httpUserAgent().toUtf8());
    }
    return outcome;
}

TWebbrowser::ClickWait TWebbrowser::clickOnce(dom::Element& element,
                                              std::chrono::milliseconds startTimeout) {
    const quint64 loadsBefore = m_loadsStarted;
    bool throttled = false;
    browser::LocalWait wait(this);
    wait.setTimeLimit(startTimeout);
    connect(m_loadWatch, &browser::LoadWatch::started, &wait, [&wait] { wait.clearTimeLimit(); });
    // Also when the renderer ends during the load, which reports no end of the load itself.
    connect(this, &TWebbrowser::readyStateChanged, &wait,
            [this, &wait, loadsBefore](int readyState) {
                if (readyState == 4 && m_loadsStarted > loadsBefore) {
                    wait.finish();
                }
            });
    connect(m_page, &browser::BrowserPage::navigationThrottled, &wait, [&wait, &throttled] {
        throttled = true;
        wait.setTimeLimit(kThrottledClickPause);
    });
    // The load may start, and even finish, while the click itself waits for its answer.
    element.click();
    return {wait.exec(), throttled};
}

bool TWebbrowser::waitUntilComplete() {
    if (ReadyState() != 1) {
        return true;
    }
    browser::LocalWait wait(this);
    connect(this, &TWebbrowser::readyStateChanged, &wait, [&wait](int readyState) {
        if (readyState != 1) {
            wait.finish();
        }
    });
    return wait.exec() == browser::LocalWait::Outcome::Finished;
}

bool TWebbrowser::lastLoadSucceeded() const {
    return m_loadWatch->lastLoadSucceeded();
}

QString TWebbrowser::lastLoadFailure() const {
    return m_loadWatch->lastFailure();
}

void TWebbrowser::setNavigationStartTimeout(std::chrono::milliseconds timeout) {
    m_navigationStartTimeout = timeout;
}

void TWebbrowser::setLoadTimeLimit(std::optional<std::chrono::milliseconds> limit) {
    m_loadWatch->setTimeLimit(limit);
}

quint64 TWebbrowser::engineCallCount() const {
    return m_bridge->callCount();
}

}  // namespace larkspan
