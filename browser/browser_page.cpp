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

}  // namespace larkspan::browser
