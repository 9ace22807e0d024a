#include "capture/searches_in_order.h"

#include <exception>

namespace larkspan {

SearchesInOrder::SearchesInOrder(int firstSearch, Keep keep, Ended ended)
    : m_keep(std::move(keep)), m_ended(std::move(ended)), m_first(firstSearch) {}

void SearchesInOrder::pageCaptured(int search, const CapturedPage& page, const PageOrigin& origin) {
    if (m_closed) {
        return;
    }
    if (search != m_first) {
        m_held[search].pages.append({page, origin});
        return;
    }
    // As in a run of one search: the error ends the search, and the page does not count.
    m_keep(search, page, origin);
}

void SearchesInOrder::searchEnded(int search, const RunEnd& end) {
    if (m_closed) {
        return;
    }
    m_held[search].end = end;
    handOn();
}

void SearchesInOrder::handOn() {
    for (auto held = m_held.find(m_first); held != m_held.end() && !m_closed;
         held = m_held.find(m_first)) {
        Held waiting = std::move(held->second);
        m_held.erase(held);
        for (const auto& [page, origin] : waiting.pages) {
            if (!keep(m_first, page, origin)) {
                return;
            }
        }
        if (!waiting.end) {
            return;
        }
        m_closed = !m_ended(m_first, *waiting.end);
        ++m_first;
    }
}

bool SearchesInOrder::keep(int search, const CapturedPage& page, const PageOrigin& origin) {
    try {
        m_keep(search, page, origin);
        return true;
    } catch (const std::exception& error) {
        m_closed = true;
        m_ended(search, {.cause = RunEnd::Cause::Error,
                         .pagesCaptured = page.number - 1,
                         .failure = QString::fromUtf8(error.what())});
        return false;
    }
}

}  // namespace larkspan
