#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QUrl>

#include <chrono>
#include <optional>

namespace larkspan::browser {

// How long a server that refused a page for now asks the client to wait, from its Retry-After
// header. The engine does not show a response's headers, so a HEAD request for the same address
// asks the server once more. Nothing when the answer has none or does not come within ten
// seconds; the event loop runs meanwhile.
std::optional<std::chrono::seconds> askRetryAfter(const QUrl& address, const QByteArray& userAgent);

// A Retry-After value: whole seconds (as many as fit, a longer one gives the longest wait there
// is), or an HTTP date, which counts from `now` (a date gone by asks for no wait). Nothing for
// anything else.
std::optional<std::chrono::seconds> parseRetryAfter(const QByteArray& value, const QDateTime& now);

}  // namespace larkspan::browser
