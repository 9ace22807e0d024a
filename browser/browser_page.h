#pragma once

#include <QWebEnginePage>

namespace larkspan::browser {

// The engine page of a TWebbrowser. When silent it answers the page's own alert, confirm and
// prompt boxes itself instead of showing them: nobody could answer them in a browser without a
// window, and the capture would wait for ever. It tells when the engine drops a navigation,
// which it says only on the page's console.
class BrowserPage : public QWebEnginePage {
    Q_OBJECT

public:
    explicit BrowserPage(QObject* parent);

    void setSilent(bool silent) { m_silent = silent; }
    bool isSilent() const { return m_silent; }

signals:
    // The engine dropped a navigation the page started: more than it allows came too fast.
    void navigationThrottled();

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceId) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& message,
                          const QString& defaultValue, QString* result) override;

private:
    bool m_silent = false;
};

}  // namespace larkspan::browser
