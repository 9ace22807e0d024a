#include "browser/web_document.h"

#include <QJsonArray>

#include "browser/element_snapshot.h"
#include "browser/local_wait.h"
#include "browser/web_element.h"
#include "browser/web_element_collection.h"

#include <QDeadlineTimer>
#include <QJsonObject>

#include <utility>

namespace larkspan::browser {
namespace {

using namespace std::chrono_literals;

// How often a fetch under way is asked whether it has ended.
constexpr std::chrono::milliseconds kFetchPollInterval = 20ms;

QJsonObject request(const char* op) {
    return QJsonObject{{QStringLiteral("op"), QLatin1String(op)}};
}

}  // namespace

std::shared_ptr<WebDocument> WebDocument::open(const std::shared_ptr<DomBridge>& bridge) {
    std::optional<OpenedDocument> opened = bridge->openDocument();
    if (!opened) {
        return nullptr;
    }
    return std::make_shared<WebDocument>(bridge, std::move(*opened));
}

WebDocument::WebDocument(std::shared_ptr<DomBridge> bridge, OpenedDocument opened)
    : m_bridge(std::move(bridge)), m_opened(std::move(opened)) {}

bool WebDocument::isHtmlDocument() const {
    m_bridge->checkCurrent(m_opened.key);
    return m_opened.isHtml;
}

std::shared_ptr<dom::Element> WebDocument::body() {
    std::shared_ptr<ElementSnapshot> snapshot = ElementSnapshot::take(
        m_bridge, m_opened.key, QJsonObject{{QStringLiteral("op"), QStringLiteral("body")}});
    if (!snapshot) {
        return nullptr;
    }
    return std::make_shared<WebElement>(std::move(snapshot), 0);
}

std::unique_ptr<dom::ElementCollection> WebDocument::all() {
    return std::make_unique<WebElementCollection>(ElementSnapshot::take(
        m_bridge, m_opened.key, QJsonObject{{QStringLiteral("op"), QStringLiteral("all")}}));
}

QString WebDocument::readyState() const {
    return m_bridge
        ->call(m_opened.key, QJsonObject{{QStringLiteral("op"), QStringLiteral("readyState")}})
        .toString();
}

QJsonValue WebDocument::runPageScript(const QString& scriptName, const QJsonValue& arguments) {
    QJsonObject running = request("run");
    running.insert(QStringLiteral("script"), scriptName);
    running.insert(QStringLiteral("arguments"), arguments);
    DomBridge::Reply reply = m_bridge->callForTexts(m_opened.key, running);
    if (reply.texts.isEmpty()) {
        return reply.value;
    }
    QJsonObject answer = reply.value.toObject();
    answer.insert(QStringLiteral("texts"), QJsonArray::fromStringList(reply.texts));
    return answer;
}

void WebDocument::scrollTo(int x, int y) {
    m_bridge->call(m_opened.key, QJsonObject{{QStringLiteral("op"), QStringLiteral("scrollTo")},
                                             {QStringLiteral("x"), x},
                                             {QStringLiteral("y"), y}});
}

void WebDocument::replaceLocation(const QUrl& url) {
    m_bridge->callExpectingNavigation(
        m_opened.key, QJsonObject{{QStringLiteral("op"), QStringLiteral("replaceLocation")},
                                  {QStringLiteral("url"), url.toString()}});
}

void WebDocument::write(const QString& markup) {
    QJsonObject writing = request("write");
    writing.insert(QStringLiteral("markup"), markup);
    m_bridge->call(m_opened.key, writing);
}

void WebDocument::setBodyInnerHTML(const QString& markup) {
    QJsonObject setting = request("setBodyInnerHTML");
    setting.insert(QStringLiteral("markup"), markup);
    m_bridge->call(m_opened.key, setting);
}

QString WebDocument::cookie() const {
    return m_bridge->call(m_opened.key, request("cookie")).toString();
}

bool WebDocument::commandEnabled(const QString& name) const {
    QJsonObject asking = request("commandEnabled");
    asking.insert(QStringLiteral("name"), name);
    return m_bridge->call(m_opened.key, asking).toBool();
}

std::optional<QByteArray> WebDocument::fetchSource(std::chrono::milliseconds timeLimit) {
    const QDeadlineTimer deadline(timeLimit);
    QJsonObject asking = request("fetchedSource");
    asking.insert(QStringLiteral("ticket"), m_bridge->call(m_opened.key, request("fetchSource")));
    // The fetch runs on in the page; its outcome is collected once it is there.
    while (!deadline.hasExpired()) {
        const QJsonValue outcome = m_bridge->call(m_opened.key, asking);
        if (outcome.isObject()) {
            const QJsonValue bytes = outcome.toObject().value(QLatin1String("bytes"));
            if (!bytes.isString()) {
                return std::nullopt;
            }
            return QByteArray::fromBase64(bytes.toString().toLatin1());
        }
        LocalWait pause(m_bridge.get());
        pause.setTimeLimit(kFetchPollInterval);
        if (pause.exec() == LocalWait::Outcome::ApplicationQuit) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

QJsonValue WebDocument::ask(const QJsonObject& request) {
    return m_bridge->call(m_opened.key, request);
}

}  // namespace larkspan::browser
