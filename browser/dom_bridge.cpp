#include "browser/dom_bridge.h"

#include "browser/dom.h"
#include "browser/local_wait.h"
#include "browser/page_scripts.h"

#include <QJsonDocument>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

#include <chrono>
#include <memory>

namespace larkspan::browser {
namespace {

using namespace std::chrono_literals;

// Generous: even a page of tens of thousands of elements answers within a second, and only a page
// whose scripts hang the renderer comes near it.
constexpr std::chrono::milliseconds kAnswerTimeLimit = 30s;

const char* const kPageClosed = "The document has gone: its browser was closed";
const char* const kNoLongerShown = "The document has gone: the browser no longer shows it";
const char* const kExpired = "The element's list is no longer kept by its page";
const char* const kNoAnswer = "The page did not answer within 30 seconds";
const char* const kQuitting = "The application is quitting";
const char* const kMalformed = "The page's document bridge failed: its answer is malformed";

// The bridge, and after it the page scripts it runs on request, which register with it.
QString bridgeSource() {
    static const QString source = [] {
        QString joined = pageScriptSource(QStringLiteral("dom_bridge.js"));
        for (const QString& script : runnablePageScripts()) {
            joined += u'\n' + pageScriptSource(script);
        }
        return joined;
    }();
    return source;
}

// The only code evaluated in the bridge's world, besides the bridge itself. A document the
// bridge is not installed in answers null instead of failing.
QString callCode(const QJsonObject& request) {
    return QStringLiteral("typeof larkspanDom === 'object' ? larkspanDom.dispatch(")
        + QString::fromUtf8(QJsonDocument(request).toJson(QJsonDocument::Compact))
        + QStringLiteral(") : null");
}

[[noreturn]] void raiseScriptError(const QJsonObject& answer) {
    const QString code = answer.value(QLatin1String("error")).toString();
    if (code == QLatin1String("gone")) {
        throw dom::DomError(kNoLongerShown);
    }
    if (code == QLatin1String("expired")) {
        throw dom::DomError(kExpired);
    }
    throw dom::DomError(QStringLiteral("The page's document bridge failed: %1")
                            .arg(answer.value(QLatin1String("message")).toString())
                            .toStdString());
}

}  // namespace

bool DomBridge::isAnswer(const QVariant& answer) {
    return answer.typeId() == QMetaType::QString || answer.typeId() == QMetaType::QVariantList;
}

DomBridge::Reply DomBridge::readReply(const QVariant& answer) {
    // TEXTS come as a list: the JSON text, then the strings.
    QVariantList items =
        answer.typeId() == QMetaType::QVariantList ? answer.toList() : QVariantList{answer};
    if (items.isEmpty() || items.first().typeId() != QMetaType::QString) {
        throw dom::DomError(kMalformed);
    }
    const QJsonObject object =
        QJsonDocument::fromJson(items.takeFirst().toString().toUtf8()).object();
    if (!object.value(QLatin1String("ok")).toBool()) {
        raiseScriptError(object);
    }
    Reply reply{object.value(QLatin1String("value")), {}};
    reply.texts.reserve(items.size());
    for (const QVariant& text : std::as_const(items)) {
        if (text.typeId() != QMetaType::QString) {
            throw dom::DomError(kMalformed);
        }
        reply.texts.append(text.toString());
    }
    return reply;
}

DomBridge::DomBridge(QWebEnginePage* page) : m_page(page) {
    QWebEngineScript script;
    script.setName(QStringLiteral("larkspan-dom-bridge"));
    script.setSourceCode(bridgeSource());
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(kBridgeWorld);
    script.setRunsOnSubFrames(false);
    page->scripts().insert(script);

    // Handles of the old document must fail from the moment its replacement is on its way.
    connect(page, &QWebEnginePage::loadStarted, this, [this] {
        ++m_generation;
        m_loading = true;
        m_rendererEnded = false;
        m_confirmedToken.clear();
    });
    connect(page, &QWebEnginePage::loadFinished, this, [this] { m_loading = false; });
    connect(page, &QWebEnginePage::renderProcessTerminated, this, [this] {
        ++m_generation;
        m_loading = false;
        m_rendererEnded = true;
    });
}

std::optional<OpenedDocument> DomBridge::openDocument() {
    // A page whose renderer has ended shows nothing until its next load, and would never answer.
    if (m_rendererEnded) {
        return std::nullopt;
    }
    if (m_openedDocument && m_openedDocument->key.generation == m_generation) {
        return m_openedDocument;
    }
    // A load that starts while the page answers makes the answer's generation unclear; the
    // second try then runs during that load and gives a provisional key.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const quint64 generation = m_generation;
        const bool provisional = m_loading;
        const std::optional<Reply> reply = send(
            QJsonObject{{QStringLiteral("op"), QStringLiteral("document")}}, Purpose::MayNavigate);
        if (generation != m_generation) {
            continue;
        }
        if (!reply) {
            return std::nullopt;
        }
        const QJsonObject document = reply->value.toObject();
        const OpenedDocument opened{
            {generation, document.value(QLatin1String("doc")).toString(), provisional},
            document.value(QLatin1String("html")).toBool()};
        // With its load over, nothing but the next load replaces this document.
        if (!provisional) {
            m_openedDocument = opened;
        }
        return opened;
    }
    throw dom::DomError(kNoLongerShown);
}

QJsonValue DomBridge::call(const DocumentKey& key, QJsonObject request) {
    return callForTexts(key, std::move(request)).value;
}

DomBridge::Reply DomBridge::callForTexts(const DocumentKey& key, QJsonObject request) {
    // The script itself refuses a request for another document, so no extra question is asked.
    checkGeneration(key);
    Reply reply = sendToShownDocument(addressed(key, std::move(request)), Purpose::Answer);
    // The document answered, and with no load under way nothing can replace it before the
    // next load starts a new generation.
    if (!m_loading) {
        m_confirmedToken = key.token;
    }
    return reply;
}

void DomBridge::callExpectingNavigation(const DocumentKey& key, QJsonObject request) {
    checkGeneration(key);
    sendToShownDocument(addressed(key, std::move(request)), Purpose::MayNavigate);
}

DomBridge::Reply DomBridge::sendToShownDocument(const QJsonObject& request, Purpose purpose) {
    try {
        std::optional<Reply> reply = send(request, purpose);
        if (!reply) {
            throw dom::DomError(kNoLongerShown);
        }
        return std::move(*reply);
    } catch (const dom::DomError&) {
        // Should the page have replaced its document without a load, the next open asks it
        // again instead of handing out the old document.
        m_openedDocument.reset();
        throw;
    }
}

void DomBridge::checkCurrent(const DocumentKey& key) {
    checkGeneration(key);
    if (key.provisional && key.token != m_confirmedToken) {
        call(key, QJsonObject{{QStringLiteral("op"), QStringLiteral("readyState")}});
    }
}

QJsonObject DomBridge::addressed(const DocumentKey& key, QJsonObject request) {
    request.insert(QStringLiteral("doc"), key.token);
    if (!m_releasedSnapshots.isEmpty() && m_releasedOf.token == key.token) {
        request.insert(QStringLiteral("release"), m_releasedSnapshots);
        m_releasedSnapshots = QJsonArray();
    }
    return request;
}

void DomBridge::releaseSnapshot(const DocumentKey& key, int snapshot) {
    // A document that has gone took its snapshots with it.
    if (key.generation != m_generation) {
        return;
    }
    if (m_releasedOf.token != key.token || m_releasedOf.generation != key.generation) {
        m_releasedOf = key;
        m_releasedSnapshots = QJsonArray();
    }
    m_releasedSnapshots.append(snapshot);
}

void DomBridge::checkGeneration(const DocumentKey& key) const {
    if (m_page.isNull()) {
        throw dom::DomError(kPageClosed);
    }
    if (key.generation != m_generation) {
        throw dom::DomError(kNoLongerShown);
    }
}

quint64 DomBridge::callCount() const {
    return m_callCount;
}

std::optional<DomBridge::Reply> DomBridge::send(const QJsonObject& request, Purpose purpose) {
    QVariant answer;
    if (!evaluate(callCode(request), purpose, answer)) {
        return Reply{};
    }
    if (!isAnswer(answer)) {
        // After a renderer has crashed the engine can leave a later document without the
        // page's scripts; the bridge is then installed on the spot and asked once more.
        if (!evaluate(bridgeSource() + callCode(request), purpose, answer)) {
            return Reply{};
        }
        if (!isAnswer(answer)) {
            return std::nullopt;
        }
    }
    return readReply(answer);
}

bool DomBridge::evaluate(const QString& code, Purpose purpose, QVariant& answer) {
    QWebEnginePage* page = m_page;
    if (page == nullptr) {
        throw dom::DomError(kPageClosed);
    }
    const quint64 generation = m_generation;

    LocalWait wait(page);
    wait.setTimeLimit(kAnswerTimeLimit);
    // A document that is being replaced may never answer, and its successor must not be asked.
    connect(page, &QWebEnginePage::loadStarted, &wait, &LocalWait::finish);
    connect(page, &QWebEnginePage::renderProcessTerminated, &wait, &LocalWait::finish);

    // The answer may come after the wait has ended for another reason, so it must not point
    // into this stack frame.
    auto result = std::make_shared<QVariant>();
    const QPointer<LocalWait> waiting(&wait);
    ++m_callCount;
    page->runJavaScript(code, kBridgeWorld, [result, waiting](const QVariant& value) {
        *result = value;
        if (waiting) {
            waiting->finish();
        }
    });
    const LocalWait::Outcome outcome = wait.exec();

    if (outcome == LocalWait::Outcome::ApplicationQuit) {
        throw dom::DomError(kQuitting);
    }
    if (m_page.isNull()) {
        throw dom::DomError(kPageClosed);
    }
    if (outcome == LocalWait::Outcome::TimedOut) {
        throw dom::DomError(kNoAnswer);
    }
    if (m_generation != generation) {
        // Not a navigation: nothing will load, and nothing is left to answer.
        // Said as a load that the renderer's end cut short says it, whichever comes first.
        if (m_rendererEnded) {
            throw dom::DomError(
                (page->url().toDisplayString() + QStringLiteral(": the page's renderer ended"))
                    .toStdString());
        }
        if (purpose == Purpose::MayNavigate) {
            return false;
        }
        throw dom::DomError(kNoLongerShown);
    }
    answer = *result;
    return true;
}

}  // namespace larkspan::browser
