#include "capture/automatic_listing_source.h"

#include "capture/capture_error.h"

namespace larkspan {

AutomaticListingSource::AutomaticListingSource(const ListingSources& sources, SavedProfiles saved,
                                               SourceTaken taken)
    : m_sources(sources), m_saved(std::move(saved)), m_taken(std::move(taken)) {}

QString AutomaticListingSource::name() const {
    return m_source ? m_source->name() : QStringLiteral("automatic");
}

std::optional<PageListings> AutomaticListingSource::read(ShownPage& page) {
    return m_source ? m_source->read(page) : take(page);
}

std::shared_ptr<dom::Element> AutomaticListingSource::nextPageLink(ShownPage& page) {
    if (!m_source) {
        throw CaptureError("no listing source was taken before the first page was read");
    }
    return m_source->nextPageLink(page);
}

std::optional<PageListings> AutomaticListingSource::take(ShownPage& page) {
    using Kind = ListingSourceChoice::Kind;
    if (const CaptureProfile* profile = m_saved.matching(page.currentAddress())) {
        const ListingSourceChoice choice{Kind::Profile, *profile};
        settle(choice, m_sources.make(choice));
        return m_source->read(page);
    }
    std::unique_ptr<ListingSource> directory = m_sources.make({Kind::Directory});
    std::optional<PageListings> listings = directory->read(page);
    if (listings && listings->resultLines.isEmpty()) {
        std::unique_ptr<ListingSource> structured = m_sources.make({Kind::Structured});
        std::optional<PageListings> records = structured->read(page);
        if (!records || !records->resultLines.isEmpty()) {
            settle({Kind::Structured}, std::move(structured));
            return records;
        }
    }
    // Also when neither finds a listing: the page is what the directory source made of it.
    settle({Kind::Directory}, std::move(directory));
    return listings;
}

void AutomaticListingSource::settle(const ListingSourceChoice& choice,
                                    std::unique_ptr<ListingSource> source) {
    m_source = std::move(source);
    if (m_taken) {
        m_taken(choice);
    }
}

}  // namespace larkspan
