#pragma once

#include "capture/listing_source.h"
#include "capture/listing_sources.h"
#include "capture/profile_folder.h"

namespace larkspan {

// Takes, on the run's first page, the first of: a saved profile whose address patterns cover
// the page's address; the directory source when it finds listings there; structured data when
// the page has records; else the directory source. Every later page goes to the source taken.
class AutomaticListingSource : public ListingSource {
public:
    AutomaticListingSource(const ListingSources& sources, SavedProfiles saved, SourceTaken taken);

    // "automatic" until the first page is read; the source taken after.
    QString name() const override;
    std::optional<PageListings> read(ShownPage& page) override;
    std::shared_ptr<dom::Element> nextPageLink(ShownPage& page) override;

private:
    std::optional<PageListings> take(ShownPage& page);
    void settle(const ListingSourceChoice& choice, std::unique_ptr<ListingSource> source);

    const ListingSources& m_sources;
    SavedProfiles m_saved;
    SourceTaken m_taken;
    std::unique_ptr<ListingSource> m_source;
};

}  // namespace larkspan
