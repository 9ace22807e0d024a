#include "capture/directory_listing_source.h"

#include "browser/dom.h"
#include "capture/flatten_page.h"
#include "capture/listing_text_parser.h"
#include "capture/seen_pages.h"
#include "capture/turn_to_next_page.h"

namespace larkspan {

QString DirectoryListingSource::name() const {
    return QStringLiteral("directory");
}

std::optional<PageListings> DirectoryListingSource::read(ShownPage& page) {
    const QString text = page.flattenedText(FlattenPage(page.currentDocument().get()));
    return PageListings{m_parser.resultLines(text), SeenPages::digestOf(text)};
}

std::shared_ptr<dom::Element> DirectoryListingSource::nextPageLink(ShownPage& page) {
    return FindNextPageLink(page.currentDocument().get());
}

}  // namespace larkspan
