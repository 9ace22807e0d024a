#pragma once

#include <QString>

#include <chrono>
#include <optional>

namespace larkspan {

// The pause before each page turn: a fixed time, or a random time in a range so the turns do
// not come like clockwork.
class PageTurnDelay {
public:
    PageTurnDelay() = default;
    PageTurnDelay(std::chrono::milliseconds shortest, std::chrono::milliseconds longest);

    // "MS" or "MIN-MAX", whole milliseconds, MIN not above MAX; nothing for anything else.
    static std::optional<PageTurnDelay> parse(const QString& text);

    std::chrono::milliseconds shortest() const { return m_shortest; }
    std::chrono::milliseconds longest() const { return m_longest; }
    // "MS" or "MIN-MAX", as parse() reads it.
    QString text() const;

    // A time in the range, every millisecond of it as likely.
    std::chrono::milliseconds pick() const;

private:
    std::chrono::milliseconds m_shortest{0};
    std::chrono::milliseconds m_longest{0};
};

}  // namespace larkspan
