#pragma once

#include "capture/listing_source.h"
#include "capture/service_addresses.h"

namespace larkspan {

// The schema.org records the page publishes about the businesses it lists (see
// capture/structured_listings.h); the next page is the link marked rel=next, else the
// directory's "NEXT »" link.
class StructuredListingSource : public ListingSource {
public:
    explicit StructuredListingSource(ServiceAddresses addresses)
        : m_addresses(std::move(addresses)) {}

    QString name() const override;
    std::optional<PageListings> read(ShownPage& page) override;
    std::shared_ptr<dom::Element> nextPageLink(ShownPage& page) override;

private:
    ServiceAddresses m_addresses;
};

}  // namespace larkspan
