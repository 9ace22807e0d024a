#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <optional>

class QWebEngineDownloadRequest;
class QWebEngineLoadingInfo;
class QWebEnginePage;

namespace larkspan::browser {

// Follows the loads of one page's main frame and tells how the last one ended, in words for
// the user when it failed: the HTTP status, the network error, a download in place of a page,
// a renderer that ended, a load that took longer than its time limit.
class LoadWatch : public QObject {
    Q_OBJECT

public:
    explicit LoadWatch(QWebEnginePage* page);

    // A load still under way this long after its start is stopped and fails. No limit unless set.
    void setTimeLimit(std::optional<std::chrono::milliseconds> limit);
    std::optional<std::chrono::milliseconds> timeLimit() const { return m_timeLimit; }
    // The browser stops the load on purpose: its end needs no closer look.
    void expectStop();
    // The browser has asked for the address. While the engine still holds a load that ran out
    // of time (a server that stalls), it reports no start for the next one, only its end: the
    // load asked for starts here then.
    void expectLoad(const QUrl& url);

    bool isLoading() const { return m_loading; }
    bool lastLoadSucceeded() const { return m_succeeded; }
    // "ADDRESS: what went wrong" for the last load that failed, or for a page whose renderer
    // ended since; empty otherwise.
    QString lastFailure() const { return m_failure; }
    // For the last load that failed: its address, and the HTTP status the server answered with
    // (0 when it answered with none).
    QUrl lastFailedUrl() const { return m_failedUrl; }
    int lastHttpStatus() const { return m_httpStatus; }

signals:
    void started(const QUrl& url);
    void ended(const QUrl& url);
    // The page's renderer has gone; the page shows nothing until its next load.
    void rendererEnded();

private:
    void handleLoadingChanged(const QWebEngineLoadingInfo& info);
    void handleDownload(QWebEngineDownloadRequest* request);
    void handleTimeLimit();
    void handleRendererEnded();
    void end(const QUrl& url, const QString& failure, int httpStatus = 0);

    QPointer<QWebEnginePage> m_page;
    std::optional<std::chrono::milliseconds> m_timeLimit;
    QTimer m_timeLimitTimer;
    // The engine calls a load off when it turns out to be a download, and tells of the
    // download only a moment later; the load's end waits that moment.
    QTimer m_downloadGrace;
    QUrl m_loadUrl;
    bool m_loading = false;
    // The engine's own account: from a load's start to its reported end.
    bool m_engineLoading = false;
    // A load that ran out of time and was replaced; what the engine may yet report of it is
    // not the new load's.
    QUrl m_abandonedUrl;
    bool m_stopExpected = false;
    bool m_succeeded = false;
    QString m_failure;
    QUrl m_failedUrl;
    int m_httpStatus = 0;
};

}  // namespace larkspan::browser
