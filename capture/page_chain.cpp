#include "capture/page_chain.h"

#include "browser/dom.h"
#include "capture/listing_source.h"
#include "capture/refused_page.h"
#include "capture/seen_pages.h"
#include "capture/turn_to_next_page.h"

#include <exception>
#include <optional>

namespace larkspan {

QString PageRefusal::text() const {
    return QStringLiteral("%1; trying again in %2 (%3 of %4)")
        .arg(failure, durationText(wait), QString::number(retry),
             QString::number(kRefusedPageRetries));
}

namespace {

class PageChain {
public:
    PageChain(CaptureHost& host, ListingSource& source, const ChainStart& start)
        : m_host(host), m_source(source), m_start(start) {}

    RunEnd run() {
        try {
            return follow();
        } catch (const std::exception& error) {
            return end(RunEnd::Cause::Error, QString::fromUtf8(error.what()));
        }
    }

private:
    RunEnd follow() {
        for (const QByteArray& digest : m_start.pagesBefore) {
            m_seen.remember(digest, ++m_pagesCaptured);
        }
        if (!m_start.address.isEmpty()) {
            const std::optional<PageTurn> load =
                patiently(pageTurnOf(m_host.pageLoader().loadAndWait(m_start.address)));
            if (!load) {
                return end(RunEnd::Cause::HostStopped);
            }
            if (load->result == PageTurn::Result::Failed) {
                return end(RunEnd::Cause::TurnFailed, load->failure);
            }
        }
        bool captureShownPage = m_start.pagesBefore.isEmpty();
        for (;;) {
            if (captureShownPage) {
                if (const std::optional<RunEnd> repeated = captureShown()) {
                    return *repeated;
                }
            }
            captureShownPage = true;
            if (const std::optional<RunEnd> ended = turnPage()) {
                return *ended;
            }
        }
    }

    // Follows the shown page's next-page link; the end of the run when there is no next page.
    // The host is asked (and pauses) only once the link is there.
    std::optional<RunEnd> turnPage() {
        if (!m_source.nextPageLink(m_host)) {
            return end(RunEnd::Cause::LastPage);
        }
        if (!m_host.shouldTurnPage(m_pagesCaptured)) {
            return end(RunEnd::Cause::HostStopped);
        }
        // Looked for again: the page may have changed while the host paused.
        const std::shared_ptr<dom::Element> next = m_source.nextPageLink(m_host);
        if (!next) {
            return end(RunEnd::Cause::LastPage);
        }
        // A link back to the page itself loads it again; the loop rule then ends the run there,
        // as on the directory's last page.
        const std::optional<PageTurn> turn = patiently(TurnToNextPage(*next, m_host.pageLoader()));
        if (!turn) {
            return end(RunEnd::Cause::HostStopped);
        }
        if (turn->result == PageTurn::Result::Failed) {
            return end(RunEnd::Cause::TurnFailed, turn->failure);
        }
        return std::nullopt;
    }

    // Captures the page shown as the next page of the run; the end of the run when it repeats
    // an earlier one.
    std::optional<RunEnd> captureShown() {
        const int pageNumber = m_pagesCaptured + 1;
        std::optional<PageListings> listings = m_source.read(m_host);
        // A page without listings may be one that asks whether a human is there.
        while (listings && listings->resultLines.isEmpty()) {
            const std::shared_ptr<dom::Document> document = m_host.currentDocument();
            const std::optional<QString> kind =
                document ? humanCheckKindOf(*document) : std::nullopt;
            if (!kind) {
                break;
            }
            const HumanCheck check{pageNumber, *kind};
            if (!m_host.passHumanCheck(check)) {
                return end(RunEnd::Cause::HumanCheck, check.text());
            }
            listings = m_source.read(m_host);
        }
        if (!listings) {
            return end(RunEnd::Cause::HostStopped);
        }
        if (const std::optional<int> earlier = m_seen.earlierPageWith(listings->digest)) {
            RunEnd repeated = end(RunEnd::Cause::RepeatedPage);
            repeated.repeatingPage = pageNumber;
            repeated.repeatedPage = *earlier;
            return repeated;
        }
        m_seen.remember(listings->digest, pageNumber);
        m_host.pageCaptured(
            {pageNumber, std::move(listings->resultLines), listings->digest, listings->remark});
        m_pagesCaptured = pageNumber;
        return std::nullopt;
    }

    // The page load, after loading a page the server refused for now again, as often as the
    // server allows; nothing when the host stopped the run during a wait.
    std::optional<PageTurn> patiently(PageTurn turn) {
        for (int retry = 1; retry <= kRefusedPageRetries && isRefusedForNow(turn); ++retry) {
            const std::optional<std::chrono::seconds> wait =
                waitBeforeRetry(retry, turn.retryAfter);
            if (!wait) {
                turn.failure += QStringLiteral("; it asks to wait %1, longer than we wait")
                                    .arg(durationText(*turn.retryAfter));
                return turn;
            }
            if (!m_host.waitBeforeRetry({turn.failure, retry, *wait})) {
                return std::nullopt;
            }
            turn = pageTurnOf(m_host.pageLoader().loadAndWait(turn.address));
        }
        if (isRefusedForNow(turn)) {
            turn.failure += QStringLiteral(", also after %1 more tries").arg(kRefusedPageRetries);
        }
        return turn;
    }

    RunEnd end(RunEnd::Cause cause, const QString& failure = {}) const {
        return {.cause = cause, .pagesCaptured = m_pagesCaptured, .failure = failure};
    }

    CaptureHost& m_host;
    ListingSource& m_source;
    const ChainStart& m_start;
    SeenPages m_seen;
    int m_pagesCaptured = 0;
};

}  // namespace

RunEnd capturePageChain(CaptureHost& host, ListingSource& source, const ChainStart& start) {
    return PageChain(host, source, start).run();
}

}  // namespace larkspan
