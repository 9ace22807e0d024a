#pragma once

#include <QJsonObject>
#include <QString>
#include <QWebEnginePage>

namespace larkspan::browser {

// The engine page of a TWebbrowser. When silent it answers the page's own alert, confirm and
// prompt boxes itself instead of showing them: nobody could answer them in a browser without a
// window, and the capture would wait for ever. It tells when the engine drops a navigation,
// which it says only on the page's console.
// It also carries the page inspection script into every frame of its pages, and hears the
// answers of frames of other origins, which the top document cannot read itself.
class BrowserPage : public QWebEnginePage {
    Q_OBJECT

public:
    explicit BrowserPage(QObject* parent);

    void setSilent(bool silent) { m_silent = silent; }
    bool isSilent() const { return m_silent; }

    // A number for the next request to the page's frames, so late answers to an earlier one
    // are told apart.
    int nextFrameRequest() { return ++m_frameRequests; }

signals:
    // A frame has answered a request of the page inspection script.
    void frameAnswered(const QJsonObject& answer);
    // The engine dropped a navigation the page started: more than it allows came too fast.
    void navigationThrottled();

protected:
    void javaScriptAlert(const QUrl& securityOrigin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& message,
                          const QString& defaultValue, QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;

private:
    void installInspectionScript();

    bool m_silent = false;
    // Frames prefix their answers with it; page scripts cannot know it, so they cannot forge one.
    QString m_framePrefix;
    int m_frameRequests = 0;
};

}  // namespace larkspan::browser
