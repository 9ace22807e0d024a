#pragma once

#include "capture/listing_source.h"

namespace larkspan {

class ListingTextParser;

// The directory's own result pages: the page flattened into listing blocks (which the window may
// show), each parsed into a record, and the "NEXT »" link.
class DirectoryListingSource : public ListingSource {
public:
    explicit DirectoryListingSource(ListingTextParser& parser) : m_parser(parser) {}

    QString name() const override;
    std::optional<PageListings> read(ShownPage& page) override;
    std::shared_ptr<dom::Element> nextPageLink(ShownPage& page) override;

private:
    ListingTextParser& m_parser;
};

}  // namespace larkspan
