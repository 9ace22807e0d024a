#include "cli/parallel_searches.h"

#include "browser/twebbrowser.h"
#include "browser/wait_fibers.h"
#include "capture/host_pacing.h"
#include "capture/listing_source.h"
#include "cli/headless_page.h"

#include <algorithm>
#include <vector>

namespace larkspan {
namespace {

// The searches under way and what they share.
class ParallelBatch {
public:
    ParallelBatch(const QList<QUrl>& searches, BatchProgress& progress, const ChainStart& start,
                  const ParallelSearchesSettings& settings, const ParallelSearchesHost& host)
        : m_searches(searches),
          m_progress(progress),
          m_start(start),
          m_settings(settings),
          m_host(host),
          m_pacing(settings.delay),
          m_firstSearch(progress.searchesDone),
          m_nextSearch(progress.searchesDone),
          m_order(
              progress.searchesDone,
              [this](int search, const CapturedPage& page, const PageOrigin& origin) {
                  m_host.keepPage(search + 1, page, origin);
              },
              [this](int, const RunEnd& end) { return searchEnded(end); }) {}

    RunEnd run();

    const ParallelSearchesHost& host() const { return m_host; }
    const ParallelSearchesSettings& settings() const { return m_settings; }
    SearchesInOrder& order() { return m_order; }
    QString searchName(int search) const {
        return larkspan::searchName(search + 1, m_searches.size());
    }
    bool over() { return m_order.closed() || m_host.stopped(); }

    // Waits until a page of the address's host may load; false when the run was stopped.
    bool paceLoad(const QUrl& address) {
        return m_host.pause(m_pacing.bookLoad(address.host())) && !over();
    }
    void holdHost(const QUrl& address, std::chrono::milliseconds wait) {
        m_pacing.hold(address.host(), wait);
    }

private:
    // One job: the searches it takes from the list, one after another, on its page.
    void captureOnPage(TWebbrowser& browser);
    bool searchEnded(const RunEnd& end);

    const QList<QUrl>& m_searches;
    BatchProgress& m_progress;
    const ChainStart& m_start;
    const ParallelSearchesSettings& m_settings;
    const ParallelSearchesHost& m_host;
    HostPacing m_pacing;
    const int m_firstSearch;
    int m_nextSearch;
    SearchesInOrder m_order;
    // The end that closed the batch early: an error, or the user's stop.
    std::optional<RunEnd> m_closing;
    std::vector<std::unique_ptr<TWebbrowser>> m_pages;
};

// One search's page chain on a page of the batch.
class SearchPage : public CaptureHost {
public:
    SearchPage(ParallelBatch& batch, TWebbrowser& browser, int search)
        : m_batch(batch), m_browser(browser), m_search(search) {}

    RunEnd capture(const ChainStart& start, bool first) {
        m_source = m_batch.host().newSource(
            first, [this](const ListingSourceChoice& taken) { m_taken = taken; });
        if (!start.address.isEmpty() && !m_batch.paceLoad(start.address)) {
            return {.cause = RunEnd::Cause::HostStopped};
        }
        return capturePageChain(*this, *m_source, start);
    }

private:
    std::shared_ptr<dom::Document> currentDocument() override { return shownDocument(m_browser); }

    QUrl currentAddress() override { return QUrl(m_browser.LocationURL()); }
    dom::PageLoader& pageLoader() override { return m_browser; }
    QString flattenedText(const QString& text) override {
        return m_batch.host().flattenedText(text);
    }

    void pageCaptured(const CapturedPage& page) override {
        CapturedPage told = page;
        told.remark = m_batch.host().remarks(page, *m_source, m_taken.has_value());
        m_batch.order().pageCaptured(m_search, told, {m_browser.LocationURL(), m_taken});
    }

    bool shouldTurnPage(int pageNumber) override {
        const std::optional<int> maxPages = m_batch.settings().maxPages;
        if (m_batch.over() || (maxPages && pageNumber >= *maxPages)) {
            return false;
        }
        return m_batch.paceLoad(currentAddress());
    }

    bool waitBeforeRetry(const PageRefusal& refusal) override {
        m_batch.host().tell(m_batch.searchName(m_search) + QStringLiteral(": ") + refusal.text());
        m_batch.holdHost(currentAddress(), refusal.wait);
        return m_batch.paceLoad(currentAddress());
    }

    // Nobody is there to pass it; the search ends, to be resumed.
    bool passHumanCheck(const HumanCheck&) override { return false; }

    ParallelBatch& m_batch;
    TWebbrowser& m_browser;
    const int m_search;
    std::unique_ptr<ListingSource> m_source;
    std::optional<ListingSourceChoice> m_taken;
};

RunEnd ParallelBatch::run() {
    const int count = static_cast<int>(m_searches.size());
    const int pages = std::min(m_settings.pages, count - m_firstSearch);
    browser::WaitFibers jobs;
    for (int page = 0; page < pages; ++page) {
        auto& browser = m_pages.emplace_back(m_host.newPage());
        jobs.add([this, &browser = *browser] { captureOnPage(browser); });
    }
    jobs.runAll();
    if (m_closing) {
        return *m_closing;
    }
    if (m_progress.searchesDone < count) {
        return {.cause = RunEnd::Cause::HostStopped, .pagesCaptured = m_progress.pagesDone};
    }
    return batchEnd(m_progress, count);
}

void ParallelBatch::captureOnPage(TWebbrowser& browser) {
    while (!over() && m_nextSearch < m_searches.size()) {
        const int search = m_nextSearch++;
        const bool first = search == m_firstSearch;
        const ChainStart start = first ? m_start : ChainStart{.address = m_searches[search]};
        const RunEnd end = SearchPage(*this, browser, search).capture(start, first);
        m_order.searchEnded(search, end);
    }
}

bool ParallelBatch::searchEnded(const RunEnd& end) {
    if (m_host.stopped() || end.cause == RunEnd::Cause::Error) {
        m_closing = end;
        m_closing->pagesCaptured += m_progress.pagesDone;
        // The searches still under way are not wanted any more.
        for (const auto& page : m_pages) {
            page->Stop();
        }
        return false;
    }
    const QString said = countSearchEnd(m_progress, end, m_searches.size());
    m_host.searchEnded(m_progress, said);
    return true;
}

}  // namespace

RunEnd captureSearchesInParallel(const QList<QUrl>& searches, BatchProgress& progress,
                                 const ChainStart& start, const ParallelSearchesSettings& settings,
                                 const ParallelSearchesHost& host) {
    return ParallelBatch(searches, progress, start, settings, host).run();
}

}  // namespace larkspan
