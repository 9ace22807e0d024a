#include "browser/browser_page.h"

namespace larkspan::browser {

BrowserPage::BrowserPage(QObject* parent) : QWebEnginePage(parent) {}

void BrowserPage::javaScriptAlert(const QUrl& securityOrigin, const QString& message) {
    if (!m_silent) {
        QWebEnginePage::javaScriptAlert(securityOrigin, message);
    }
}

bool BrowserPage::javaScriptConfirm(const QUrl& securityOrigin, const QString& message) {
    return !m_silent && QWebEnginePage::javaScriptConfirm(securityOrigin, message);
}

bool BrowserPage::javaScriptPrompt(const QUrl& securityOrigin, const QString& message,
                                   const QString& defaultValue, QString* result) {
    return !m_silent &&
           QWebEnginePage::javaScriptPrompt(securityOrigin, message, defaultValue, result);
}

void BrowserPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                           const QString& message, int lineNumber,
                                           const QString& sourceId) {
    // The engine's rate limit of a page's navigations (200 in 10 seconds) drops the ones above
    // it and writes this on the console; nothing else tells.
    if (message.startsWith(QLatin1String("Throttling navigation"))) {
        emit navigationThrottled();
    }
    QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceId);
}

}  // namespace larkspan::browser
