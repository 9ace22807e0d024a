#include "browser/load_watch.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>

namespace larkspan::browser {
namespace {

using namespace std::chrono_literals;

// Seen within a few milliseconds of the load's end; the margin is for a busy machine.
constexpr std::chrono::milliseconds kDownloadGrace = 250ms;

QString describeFailure(const QWebEngineLoadingInfo& info) {
    if (info.status() == QWebEngineLoadingInfo::LoadStoppedStatus) {
        return QStringLiteral("the load was stopped");
    }
    if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain) {
        // The engine's own text for these is markup meant for its error page.
        return QStringLiteral("the server answered with HTTP status %1").arg(info.errorCode());
    }
    if (info.errorString().isEmpty()) {
        return QStringLiteral("the load failed with error %1").arg(info.errorCode());
    }
    return QStringLiteral("the load failed: %1").arg(info.errorString());
}

QString seconds(std::chrono::milliseconds duration) {
    return QString::number(std::chrono::duration<double>(duration).count());
}

}  // namespace

LoadWatch::LoadWatch(QWebEnginePage* page) : QObject(page), m_page(page) {
    m_timeLimitTimer.setSingleShot(true);
    connect(&m_timeLimitTimer, &QTimer::timeout, this, &LoadWatch::handleTimeLimit);
    m_downloadGrace.setSingleShot(true);
    connect(&m_downloadGrace, &QTimer::timeout, this,
            [this] { end(m_loadUrl, QStringLiteral("the load was stopped")); });

    connect(page, &QWebEnginePage::loadingChanged, this, &LoadWatch::handleLoadingChanged);
    connect(page->profile(), &QWebEngineProfile::downloadRequested, this,
            &LoadWatch::handleDownload);
    connect(page, &QWebEnginePage::renderProcessTerminated, this, &LoadWatch::handleRendererEnded);
}

void LoadWatch::setTimeLimit(std::optional<std::chrono::milliseconds> limit) {
    m_timeLimit = limit;
}

void LoadWatch::expectStop() {
    m_stopExpected = true;
}

void LoadWatch::expectLoad(const QUrl& url) {
    if (!m_engineLoading || m_loading) {
        return;
    }
    m_abandonedUrl = m_loadUrl;
    if (m_timeLimit) {
        m_timeLimitTimer.start(*m_timeLimit);
    }
    m_loading = true;
    m_stopExpected = false;
    m_loadUrl = url;
    emit started(url);
}

void LoadWatch::handleLoadingChanged(const QWebEngineLoadingInfo& info) {
    m_engineLoading = info.status() == QWebEngineLoadingInfo::LoadStartedStatus;
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        if (m_downloadGrace.isActive()) {
            end(m_loadUrl, QStringLiteral("the load was stopped"));
        }
        // A load that replaces one under way inherits its time: the page has not loaded yet.
        if (m_timeLimit && !m_loading) {
            m_timeLimitTimer.start(*m_timeLimit);
        }
        m_loading = true;
        m_stopExpected = false;
        m_loadUrl = info.url();
        emit started(info.url());
        return;
    }
    // A load that has already ended here (its time ran out) may still report its own end.
    if (!m_loading || m_downloadGrace.isActive() ||
        (info.url() == m_abandonedUrl && info.url() != m_loadUrl)) {
        return;
    }
    if (info.status() == QWebEngineLoadingInfo::LoadStoppedStatus && !m_stopExpected) {
        m_loadUrl = info.url();
        m_downloadGrace.start(kDownloadGrace);
        return;
    }
    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus) {
        end(info.url(), QString());
        return;
    }
    end(info.url(), describeFailure(info),
        info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain ? info.errorCode() : 0);
}

void LoadWatch::handleDownload(QWebEngineDownloadRequest* request) {
    if (request->page() == m_page && m_downloadGrace.isActive()) {
        end(request->url(), QStringLiteral("it is a download, not a page"));
    }
}

void LoadWatch::handleTimeLimit() {
    if (!m_loading) {
        return;
    }
    end(m_loadUrl,
        QStringLiteral("it did not finish loading within %1 seconds").arg(seconds(*m_timeLimit)));
    if (m_page) {
        m_page->triggerAction(QWebEnginePage::Stop);
    }
}

void LoadWatch::handleRendererEnded() {
    const QUrl shown = m_loading ? m_loadUrl : (m_page ? m_page->url() : QUrl());
    m_loading = false;
    m_engineLoading = false;
    m_timeLimitTimer.stop();
    m_downloadGrace.stop();
    m_succeeded = false;
    m_failure = shown.toDisplayString() + QStringLiteral(": the page's renderer ended");
    m_failedUrl = shown;
    m_httpStatus = 0;
    emit rendererEnded();
}

void LoadWatch::end(const QUrl& url, const QString& failure, int httpStatus) {
    m_loading = false;
    m_timeLimitTimer.stop();
    m_downloadGrace.stop();
    m_succeeded = failure.isEmpty();
    m_failure = m_succeeded ? QString() : url.toDisplayString() + QStringLiteral(": ") + failure;
    m_failedUrl = m_succeeded ? QUrl() : url;
    m_httpStatus = httpStatus;
    emit ended(url);
}

}  // namespace larkspan::browser
