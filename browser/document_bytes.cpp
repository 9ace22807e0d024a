#include "browser/document_bytes.h"

#include "browser/twebbrowser.h"
#include "browser/web_document.h"

#include <QFile>
#include <QUrl>

#include <chrono>

namespace larkspan::browser {
namespace {

using namespace std::chrono_literals;

// A page that is asked for its bytes again answers within this time, or not at all.
constexpr std::chrono::milliseconds kSourceTimeLimit = 30s;

}  // namespace

std::optional<QByteArray> documentBytes(TWebbrowser& browser, WebDocument& document) {
    if (const std::optional<QString>& written = browser.writtenHTML()) {
        return written->toUtf8();
    }
    const QUrl address(browser.LocationURL());
    if (address.isLocalFile()) {
        QFile file(address.toLocalFile());
        if (!file.open(QIODevice::ReadOnly)) {
            return std::nullopt;
        }
        return file.readAll();
    }
    if (address.scheme() == QLatin1String("http") || address.scheme() == QLatin1String("https")) {
        return document.fetchSource(kSourceTimeLimit);
    }
    return std::nullopt;
}

}  // namespace larkspan::browser
