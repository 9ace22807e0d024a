#include "cli/headless_page.h"

#include "browser/dom.h"
#include "browser/twebbrowser.h"
#include "capture/capture_error.h"

#include <stdexcept>

namespace larkspan {

std::unique_ptr<TWebbrowser> headlessPage(std::chrono::milliseconds loadTimeLimit) {
    auto page = std::make_unique<TWebbrowser>();
    page->setSilent(true);
    page->setLoadTimeLimit(loadTimeLimit);
    return page;
}

void loadOrFail(TWebbrowser& page, const QUrl& address) {
    const dom::LinkOutcome loaded = page.loadAndWait(address);
    if (loaded.result != dom::LinkOutcome::Result::Arrived) {
        throw std::runtime_error(loaded.failure.toStdString());
    }
}

std::shared_ptr<dom::Document> shownDocument(TWebbrowser& page) {
    std::shared_ptr<dom::Document> document = page.Document();
    if (!document && !page.lastLoadSucceeded()) {
        throw CaptureError(page.lastLoadFailure().toStdString());
    }
    return document;
}

}  // namespace larkspan
