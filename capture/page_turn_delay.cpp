#include "capture/page_turn_delay.h"

#include <QRandomGenerator>
#include <QRegularExpression>

namespace larkspan {
namespace {

// The engine's timers count milliseconds in an int: a little over 24 days.
constexpr qint64 kLongestDelay = 2'000'000'000;

}  // namespace

PageTurnDelay::PageTurnDelay(std::chrono::milliseconds shortest, std::chrono::milliseconds longest)
    : m_shortest(shortest), m_longest(longest) {}

std::optional<PageTurnDelay> PageTurnDelay::parse(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,10})(?:-([0-9]{1,10}))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const qint64 shortest = match.captured(1).toLongLong();
    const qint64 longest = match.hasCaptured(2) ? match.captured(2).toLongLong() : shortest;
    if (shortest > longest || longest > kLongestDelay) {
        return std::nullopt;
    }
    return PageTurnDelay(std::chrono::milliseconds(shortest), std::chrono::milliseconds(longest));
}

QString PageTurnDelay::text() const {
    if (m_shortest == m_longest) {
        return QString::number(m_shortest.count());
    }
    return QStringLiteral("%1-%2").arg(QString::number(m_shortest.count()),
                                       QString::number(m_longest.count()));
}

std::chrono::milliseconds PageTurnDelay::pick() const {
    if (m_shortest == m_longest) {
        return m_shortest;
    }
    const quint64 span = quint64(m_longest.count() - m_shortest.count()) + 1;
    return m_shortest + std::chrono::milliseconds(QRandomGenerator::global()->bounded(span));
}

}  // namespace larkspan
