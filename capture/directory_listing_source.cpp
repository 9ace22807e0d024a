#include "capture/directory_listing_source.h"

#include "browser/dom.h"
#include "capture/flatten_page.h"
#include "capture/listing_text_parser.h"
#include "capture/page_chain.h"
#include "capture/seen_pages.h"
#include "capture/turn_to_next_page.h"

namespace larkspan {

QString DirectoryListingSource::name() const {
    return QStringLiteral("directory");
}

std::optional<PageListings> DirectoryListingSource::read(CaptureHost& host) {
    const QString text = host.flattenedText(FlattenPage(host.currentDocument().get()));
    return PageListings{m_parser.resultLines(text), SeenPages::digestOf(text)};
}

std::shared_ptr<dom::Element> DirectoryListingSource::nextPageLink(CaptureHost& host) {
    return FindNextPageLink(host.currentDocument().get());
}

}  // namespace larkspan
