#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

class QWebEnginePage;

namespace larkspan::browser {

// Which document a handle belongs to: the bridge's generation when the document was opened, and
// the token that the page's script gave that document.
struct DocumentKey {
    quint64 generation = 0;
    QString token;
    // Opened while the page was loading: its document may be replaced without a new generation,
    // so uses ask the page until it has answered for the document with no load under way.
    bool provisional = false;
};

// What opening the page's current document tells.
struct OpenedDocument {
    DocumentKey key;
    bool isHtml = false;
};

// The native end of the page script resources/dom_bridge.js (its protocol is written there).
// Installs the script on one page and sends it requests, waiting for each answer.
class DomBridge : public QObject {
    Q_OBJECT

public:
    // Does not own the page; once the page is gone every request raises dom::DomError.
    explicit DomBridge(QWebEnginePage* page);

    // The page's current document, or nothing while the page has none that the script runs in.
    // Asks the page once per loaded document.
    std::optional<OpenedDocument> openDocument();

    // Sends a request about the document of `key` and gives the answer's value. Raises
    // dom::DomError when that document has gone, also when it goes during the wait.
    QJsonValue call(const DocumentKey& key, QJsonObject request);

    // What a request answered: its value, and the texts sent after it, in the order sent.
    struct Reply {
        QJsonValue value;
        QStringList texts;
    };

    // As call(), for a request whose answer may be many texts.
    Reply callForTexts(const DocumentKey& key, QJsonObject request);

    // As call(), for a request that may start a navigation: the navigation's start counts as the
    // answer.
    void callExpectingNavigation(const DocumentKey& key, QJsonObject request);

    // Raises dom::DomError unless the page still shows the document of `key`. Asks the page only
    // for a provisional key not yet confirmed.
    void checkCurrent(const DocumentKey& key);

    // The page may forget this snapshot of the document of `key`: no handle uses it any more.
    // Told with the next request to that document, so it costs no round trip of its own.
    void releaseSnapshot(const DocumentKey& key, int snapshot);

    // Round trips made so far.
    quint64 callCount() const;

private:
    enum class Purpose { Answer, MayNavigate };

    void checkGeneration(const DocumentKey& key) const;
    // The request for the document of `key`, carrying the snapshots that document may forget.
    QJsonObject addressed(const DocumentKey& key, QJsonObject request);

    // Gives nothing when the document has no bridge to answer; a null value when a navigation
    // started that the purpose allows.
    std::optional<Reply> send(const QJsonObject& request, Purpose purpose);
    // As send() to a document that must still be shown: raises dom::DomError when it has no
    // bridge to answer, and any failure also drops the document kept open.
    Reply sendToShownDocument(const QJsonObject& request, Purpose purpose);
    // Raises dom::DomError for an answer that reports a failure.
    static Reply readReply(const QVariant& answer);
    // Whether the bridge gave this answer: null means the document has no bridge.
    static bool isAnswer(const QVariant& answer);
    // Runs code in the bridge's world and waits for its value. False when a navigation started
    // that the purpose allows.
    bool evaluate(const QString& code, Purpose purpose, QVariant& answer);

    QPointer<QWebEnginePage> m_page;
    // Counts the documents the page has started to replace its document with.
    quint64 m_generation = 0;
    bool m_loading = false;
    bool m_rendererEnded = false;
    // The token of a document that answered in this generation after its load had ended.
    QString m_confirmedToken;
    // The document last opened after its load had ended: opening it again needs no round trip
    // while its generation lasts.
    std::optional<OpenedDocument> m_openedDocument;
    // Snapshots of the document of m_releasedOf that the page may forget.
    DocumentKey m_releasedOf;
    QJsonArray m_releasedSnapshots;
    quint64 m_callCount = 0;
};

}  // namespace larkspan::browser
