#pragma once

#include "capture/capture_profile.h"
#include "capture/listing_source.h"

#include <QJsonObject>

#include <chrono>
#include <functional>

namespace larkspan {

// How a source waits for a page that is still drawing its results by script.
struct PageWait {
    // Lets the page run for that long; false when the run was stopped meanwhile.
    std::function<bool(std::chrono::milliseconds)> pause;
    // How long a page may take to show what the source waits for.
    std::chrono::milliseconds limit;
};

// The listings a capture profile finds on one site's pages (see capture/capture_profile.h): its
// selectors are evaluated in the page in one engine call (resources/profile_listings.js), its
// field rules applied here, and its next-page rule followed.
class ProfileListingSource : public ListingSource {
public:
    ProfileListingSource(CaptureProfile profile, PageWait wait);

    QString name() const override;
    std::optional<PageListings> read(ShownPage& page) override;
    std::shared_ptr<dom::Element> nextPageLink(ShownPage& page) override;

private:
    CaptureProfile m_profile;
    PageWait m_wait;
    // What the page script is asked, the same for every page.
    QJsonObject m_request;
};

}  // namespace larkspan
