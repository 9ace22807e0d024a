#include "capture/host_pacing.h"

#include <algorithm>

namespace larkspan {

std::chrono::milliseconds HostPacing::bookLoad(const QString& host, Clock::time_point now) {
    const auto booked = m_nextLoad.constFind(host);
    const Clock::time_point at =
        booked == m_nextLoad.constEnd() ? now : std::max(now, booked.value());
    m_nextLoad.insert(host, at + m_delay.pick());
    return std::chrono::ceil<std::chrono::milliseconds>(at - now);
}

void HostPacing::hold(const QString& host, std::chrono::milliseconds wait, Clock::time_point now) {
    const auto booked = m_nextLoad.constFind(host);
    const Clock::time_point until = now + wait;
    if (booked == m_nextLoad.constEnd() || booked.value() < until) {
        m_nextLoad.insert(host, until);
    }
}

}  // namespace larkspan
