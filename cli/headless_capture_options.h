#pragma once

#include "capture/listing_source_choice.h"
#include "capture/page_turn_delay.h"
#include "capture/results_format.h"
#include "capture/search_batch.h"
#include "capture/service_addresses.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <chrono>
#include <optional>

namespace larkspan {

// What `larkspan capture SOURCE` was asked to do. The journal keeps it with the run, so that
// `capture --resume` goes on the same way.
struct HeadlessCaptureOptions {
    QUrl source;
    QString outputPath;  // empty: standard output
    ResultsFormat format = ResultsFormat::Csv;
    bool guardFormulas = false;
    bool dropRepeatedListings = false;
    QString flattenedDir;  // empty: flattened pages are not kept
    std::optional<int> maxPages;
    PageTurnDelay delay;  // before each page turn
    std::chrono::milliseconds pageTimeout{std::chrono::seconds(120)};
    ServiceAddresses addresses;
    ListingSourceChoice listingSource;
    // A batch: the first result pages of its searches, in order, captured one after another
    // into the one output. Empty for a single search, whose first page is `source`.
    QList<QUrl> searches;
    BatchProgress batch;
    // How many of a batch's searches load their pages at once.
    int parallelPages = 1;
    // What an automatic choice took on the run's first page; a resume goes on with it.
    std::optional<ListingSourceChoice> takenSource;

    // The source the run's pages are read with.
    const ListingSourceChoice& sourceInUse() const {
        return takenSource ? *takenSource : listingSource;
    }

    // Without the source, which the journal keeps on its own.
    QJsonObject toJson() const;
    // Throws ProfileError when a kept profile no longer reads.
    static HeadlessCaptureOptions fromJson(const QUrl& source, const QJsonObject& json);
};

}  // namespace larkspan
