#pragma once

#include "capture/listing_sources.h"
#include "capture/page_chain.h"
#include "capture/page_turn_delay.h"
#include "capture/search_batch.h"
#include "capture/searches_in_order.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace larkspan {

class ListingSource;
class TWebbrowser;

// What the searches of a batch that loads several pages at once share with the capture that
// runs them.
struct ParallelSearchesHost {
    // A new listing source for a search; an automatic one tells `taken` what it took. `first`
    // for the search the run starts with, which a resumed run takes up with what it had taken.
    std::function<std::unique_ptr<ListingSource>(bool first, SourceTaken taken)> newSource;
    // What a page's progress line adds in brackets, read by the source; empty for nothing.
    std::function<QString(const CapturedPage& page, const ListingSource& source,
                          bool chosenAutomatically)>
        remarks;
    std::function<QString(const QString& text)> flattenedText;
    // Keeps a page of the search numbered from 1, in the order of the list.
    std::function<void(int searchNumber, const CapturedPage& page, const PageOrigin& origin)>
        keepPage;
    // After each search that ends and lets the batch go on, in the order of the list; as
    // SearchBatchHost::searchEnded.
    std::function<void(const BatchProgress& progress, const QString& said)> searchEnded;
    // A page of the engine for the searches under way.
    std::function<std::unique_ptr<TWebbrowser>()> newPage;
    // Waits the time; false when the run was stopped meanwhile.
    std::function<bool(std::chrono::milliseconds duration)> pause;
    // A line for the user, at once.
    std::function<void(const QString& line)> tell;
    std::function<bool()> stopped;
};

struct ParallelSearchesSettings {
    // At most this many pages load at once, one per search under way.
    int pages = 2;
    // Between two page loads of one host.
    PageTurnDelay delay;
    // Of each search.
    std::optional<int> maxPages;
};

// Captures the searches of the batch not done yet as captureSearches does, with the same
// output, but up to `pages` searches at a time, each on a page of its own in the one engine. A
// search's pages stay in order; the batch hands on every page in the order of the list, the
// later searches' pages kept until the earlier ones have ended. The pages of one host keep the
// delay apart, and a host that asks to wait holds all its searches.
RunEnd captureSearchesInParallel(const QList<QUrl>& searches, BatchProgress& progress,
                                 const ChainStart& start, const ParallelSearchesSettings& settings,
                                 const ParallelSearchesHost& host);

}  // namespace larkspan
