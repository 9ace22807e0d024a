#pragma once

#include <QByteArray>

#include <optional>

namespace larkspan {

class TWebbrowser;

namespace browser {

class WebDocument;

// The bytes the browser's document was made from: the text the program wrote into it (as
// UTF-8), the file, or the address asked for again (from the engine's cache where it still has
// them). Nothing for other addresses, or when they cannot be had.
std::optional<QByteArray> documentBytes(TWebbrowser& browser, WebDocument& document);

}  // namespace browser
}  // namespace larkspan
