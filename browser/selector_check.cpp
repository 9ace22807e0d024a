#include "browser/selector_check.h"

#include "browser/local_wait.h"
#include "browser/page_scripts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEnginePage>

#include <chrono>
#include <stdexcept>

namespace larkspan::browser {
namespace {

constexpr std::chrono::seconds kAnswerTimeLimit{30};

// The engine's own message, without the call it came from ("Failed to execute 'querySelector'
// on 'DocumentFragment': ").
const QString kCheckScript = QStringLiteral(
    "(() => { try { document.createDocumentFragment().querySelector(%1); return ''; }"
    " catch (error) { return String(error.message).replace(/^[^:]*: /, ''); } })()");

void waitFor(LocalWait& wait, const char* what) {
    wait.setTimeLimit(kAnswerTimeLimit);
    if (wait.exec() != LocalWait::Outcome::Finished) {
        throw std::runtime_error(what);
    }
}

}  // namespace

SelectorCheck::SelectorCheck() : m_page(std::make_unique<QWebEnginePage>()) {
    LocalWait loaded(m_page.get());
    QObject::connect(m_page.get(), &QWebEnginePage::loadFinished, &loaded, &LocalWait::finish);
    m_page->setHtml(QStringLiteral("<!DOCTYPE html><title></title>"));
    waitFor(loaded, "the browser engine did not start to check the selectors");
}

SelectorCheck::~SelectorCheck() = default;

std::optional<QString> SelectorCheck::problemOf(const QString& selector) {
    // A JSON string is a JavaScript string literal.
    const QString literal = QString::fromUtf8(
        QJsonDocument(QJsonArray{selector}).toJson(QJsonDocument::Compact).chopped(1).mid(1));
    LocalWait answered(m_page.get());
    auto problem = std::make_shared<QString>();
    const QPointer<LocalWait> waiting(&answered);
    m_page->runJavaScript(kCheckScript.arg(literal), kBridgeWorld,
                          [problem, waiting](const QVariant& value) {
                              *problem = value.toString();
                              if (waiting) {
                                  waiting->finish();
                              }
                          });
    waitFor(answered, "the browser engine did not check a selector");
    return problem->isEmpty() ? std::nullopt : std::optional(*problem);
}

}  // namespace larkspan::browser
