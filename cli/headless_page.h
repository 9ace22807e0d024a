#pragma once

#include <QUrl>

#include <chrono>
#include <memory>

namespace larkspan {

class TWebbrowser;

namespace dom {
class Document;
}  // namespace dom

// The commands' page in the engine: nobody could answer its own message boxes or press Stop, so
// it is silent and a load still under way after `loadTimeLimit` fails.
std::unique_ptr<TWebbrowser> headlessPage(std::chrono::milliseconds loadTimeLimit);

// Loads the address; throws std::runtime_error with the failure when the page does not arrive.
void loadOrFail(TWebbrowser& page, const QUrl& address);

// The document the page shows. A page whose renderer has ended shows none: throws CaptureError
// with that reason then.
std::shared_ptr<dom::Document> shownDocument(TWebbrowser& page);

}  // namespace larkspan
