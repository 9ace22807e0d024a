#pragma once

#include "capture/turn_to_next_page.h"

#include <QString>

#include <chrono>
#include <optional>

namespace larkspan {

// A page the server refuses for now (HTTP 429 Too Many Requests, 503 Service Unavailable) is
// loaded again after a wait, up to this many times.
inline constexpr int kRefusedPageRetries = 5;
// A server that asks for a longer wait than this ends the run instead.
inline constexpr std::chrono::seconds kLongestHonouredWait = std::chrono::hours(1);

bool isRefusedForNow(const PageTurn& turn);

// The wait before retry 1 to kRefusedPageRetries: what the server asked for, but at least 1 s,
// 2 s, 4 s, 8 s, 16 s, so a server that asks for no wait is not hammered; else a wait that
// grows from 5 seconds to 5 minutes (5 s, 14 s, 39 s, 1 min 48 s, 5 min). Nothing when the
// server asks for more than kLongestHonouredWait.
std::optional<std::chrono::seconds> waitBeforeRetry(int retry,
                                                    std::optional<std::chrono::seconds> retryAfter);

// "5 s", "1 min 48 s", "1 h", and "over a year" for what no one waits for"
QString durationText(std::chrono::seconds duration);

}  // namespace larkspan
