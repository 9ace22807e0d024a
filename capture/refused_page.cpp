#include "capture/refused_page.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace larkspan {
namespace {

constexpr double kFirstWait = 5;
constexpr double kLastWait = 300;
constexpr std::chrono::seconds kShortestWait{1};
constexpr std::chrono::seconds kYear = std::chrono::hours(24 * 365);

}  // namespace

bool isRefusedForNow(const PageTurn& turn) {
    return turn.result == PageTurn::Result::Failed && dom::isRefusedForNowStatus(turn.httpStatus);
}

std::optional<std::chrono::seconds> waitBeforeRetry(
    int retry, std::optional<std::chrono::seconds> retryAfter) {
    if (retryAfter) {
        if (*retryAfter > kLongestHonouredWait) {
            return std::nullopt;
        }
        return std::max(*retryAfter, kShortestWait * (1 << (retry - 1)));
    }
    // Equal steps on a logarithmic scale from the first wait to the last.
    const double step = double(retry - 1) / (kRefusedPageRetries - 1);
    const double wait = kFirstWait * std::pow(kLastWait / kFirstWait, step);
    return std::chrono::seconds(std::lround(wait));
}

QString durationText(std::chrono::seconds duration) {
    if (duration >= kYear) {
        return QStringLiteral("over a year");
    }
    const long long total = duration.count();
    QStringList parts;
    if (total >= 3600) {
        parts.append(QStringLiteral("%1 h").arg(total / 3600));
    }
    if (total % 3600 >= 60) {
        parts.append(QStringLiteral("%1 min").arg(total % 3600 / 60));
    }
    if (total % 60 != 0 || total == 0) {
        parts.append(QStringLiteral("%1 s").arg(total % 60));
    }
    return parts.join(u' ');
}

}  // namespace larkspan
