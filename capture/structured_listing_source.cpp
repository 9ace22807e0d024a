#include "capture/structured_listing_source.h"

#include "browser/dom.h"
#include "capture/capture_error.h"
#include "capture/next_link_rule.h"
#include "capture/seen_pages.h"
#include "capture/structured_listings.h"
#include "capture/turn_to_next_page.h"

namespace larkspan {
namespace {

const QString kNextLinkSelector = QStringLiteral("a[rel~=next i], area[rel~=next i]");

QString skippedText(int scripts) {
    return scripts == 1 ? QStringLiteral("1 unreadable JSON-LD script skipped")
                        : QStringLiteral("%1 unreadable JSON-LD scripts skipped").arg(scripts);
}

}  // namespace

QString StructuredListingSource::name() const {
    return QStringLiteral("structured data");
}

std::optional<PageListings> StructuredListingSource::read(ShownPage& page) {
    const std::shared_ptr<dom::Document> document = page.currentDocument();
    const StructuredListings listings =
        structuredListings(htmlDocumentOf(document.get()), page.currentAddress(), m_addresses);
    return PageListings{
        listings.resultLines, SeenPages::digestOf(listings.digestText),
        listings.skippedScripts > 0 ? skippedText(listings.skippedScripts) : QString()};
}

std::shared_ptr<dom::Element> StructuredListingSource::nextPageLink(ShownPage& page) {
    const std::shared_ptr<dom::Document> document = page.currentDocument();
    if (std::shared_ptr<dom::Element> marked =
            findElementBySelector(document.get(), kNextLinkSelector)) {
        return marked;
    }
    return FindNextPageLink(document.get());
}

}  // namespace larkspan
