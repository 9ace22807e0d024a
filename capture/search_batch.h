#pragma once

#include "capture/page_chain.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

namespace larkspan {

class ListingSource;

// How far a batch of searches has come. The journal keeps it with the run, so a resume goes on
// with the search under way.
struct BatchProgress {
    int searchesDone = 0;
    // The pages of the searches done.
    int pagesDone = 0;
    // "search 3/40: Cut short after 1 page: REASON", for each search that did not end normally.
    QStringList failures;

    // Into and out of the run's settings, beside the batch's searches.
    void addTo(QJsonObject& settings, const QList<QUrl>& searches) const;
    static BatchProgress of(const QJsonObject& settings);
    static QList<QUrl> searchesOf(const QJsonObject& settings);
};

// What a batch asks of its host between searches.
struct SearchBatchHost {
    // The listing source of the next search: each search takes its own, which the host keeps.
    std::function<ListingSource&()> newSource;
    // Before each search; its number is the progress's searchesDone + 1.
    std::function<void(const BatchProgress& progress)> searchStarts;
    // After each search that ends and lets the batch go on, the progress counting it; `said` is
    // what the user should hear of its end (empty for nothing).
    std::function<void(const BatchProgress& progress, const QString& said)> searchEnded;
    // Whether the user stopped the run, so its batch ends too.
    std::function<bool()> stopped;
};

// "search 3/40"
QString searchName(int number, qsizetype count);

// The searches a list gives, one first result page a line with the white space around it left
// out; blank lines and lines starting with "#" give none.
QStringList searchesListed(const QStringList& lines);

// Counts the end of the search now under way (the progress's searchesDone + 1) in the progress;
// gives what the user should hear of it, empty for nothing: "search 3/40: Cut short after 1
// page: REASON" (also kept among the failures) or the page that repeated.
QString countSearchEnd(BatchProgress& progress, const RunEnd& end, qsizetype count);

// The end of a batch whose searches all ended: LastPage, or TurnFailed with "N of M searches did
// not end normally" when any did not.
RunEnd batchEnd(const BatchProgress& progress, qsizetype count);

// Captures the searches of the batch not done yet, one after another, each as a page chain from
// its first page (the first of them from `start`). A search cut short by a page that did not
// arrive or a human check is counted among the failures and the batch goes on. An error (the
// output's, say) or the user's stop ends the batch there, so a resume captures that search
// again. The end of a batch that went through is LastPage, or TurnFailed with "N of M searches
// did not end normally" when any did not; pages count over the whole batch.
RunEnd captureSearches(CaptureHost& host, const QList<QUrl>& searches, BatchProgress& progress,
                       ChainStart start, const SearchBatchHost& batchHost);

}  // namespace larkspan
