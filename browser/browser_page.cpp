#include "browser/browser_page.h"

#include "browser/page_scripts.h"

#include <QJsonDocument>
#include <QRandomGenerator>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>


namespace larkspan::browser {
namespace {

QString inspectionSource() {
    static const QString source = pageScriptSource(QStringLiteral("page_inspection.js"));
    return source;
}

QString randomKey() {
    quint64 words[2];
    QRandomGenerator::system()->generate(std::begin(words), std::end(words));
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(words), sizeof(words)).toHex());
}

}  // namespace

BrowserPage::BrowserPage(QObject* parent) : QWebEnginePage(parent) {
    installInspectionScript();
}

void BrowserPage::installInspectionScript() {
    const QString key = randomKey();
    m_framePrefix = QStringLiteral("larkspan-frame %1 ").arg(key);
    QWebEngineScript script;
    script.setName(QStringLiteral("larkspan-page-inspection"));
    // Hex digits need no escaping inside a JSON string.
    script.setSourceCode(inspectionSource() +
                         QStringLiteral("\ninstallPageInspection(\"%1\");\n").arg(key));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(kBridgeWorld);
    script.setRunsOnSubFrames(true);
    scripts().insert(script);
}

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
                                           const QString& sourceID) {
    if (!message.startsWith(m_framePrefix)) {
        // The engine's rate limit of a page's navigations (200 in 10 seconds) drops the ones
        // above it and writes this on the console; nothing else tells.
        if (message.startsWith(QLatin1String("Throttling navigation"))) {
            emit navigationThrottled();
        }
        QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceID);
        return;
    }
    const QJsonDocument answer =
        QJsonDocument::fromJson(QStringView(message).sliced(m_framePrefix.size()).toUtf8());
    if (answer.isObject()) {
        emit frameAnswered(answer.object());
    }
}

}  // namespace larkspan::browser
