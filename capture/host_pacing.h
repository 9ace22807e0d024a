#pragma once

#include "capture/page_turn_delay.h"

#include <QHash>
#include <QString>

#include <chrono>

namespace larkspan {

// Keeps the page loads of one site apart when several pages load at once: no two loads of a
// host closer than the delay, and a host that asked to wait (HTTP 429 or 503) holds every page
// bound for it until the wait is over.
class HostPacing {
public:
    using Clock = std::chrono::steady_clock;

    explicit HostPacing(PageTurnDelay delay) : m_delay(delay) {}

    // How long to wait, from `now`, before loading a page of the host; the load is booked, so
    // the next one of the host comes a delay after it.
    std::chrono::milliseconds bookLoad(const QString& host, Clock::time_point now = Clock::now());
    // The host asked to wait this long, from `now`, before its next page.
    void hold(const QString& host, std::chrono::milliseconds wait,
              Clock::time_point now = Clock::now());

private:
    PageTurnDelay m_delay;
    QHash<QString, Clock::time_point> m_nextLoad;
};

}  // namespace larkspan
