#pragma once

#include "capture/listing_source.h"

namespace larkspan {

class ListingTextParser;

// The directory's own result pages: the page flattened into listing blocks (which the host may
// show), each parsed into a record, and the "NEXT »" link.
class DirectoryListingSource : public ListingSource {
public:
    explicit DirectoryListingSource(ListingTextParser& parser) : m_parser(parser) {}

    QString name() const override;
    std::optional<PageListings> read(CaptureHost& host) override;
    std::shared_ptr<dom::Element> nextPageLink(CaptureHost& host) override;

private:
    ListingTextParser& m_parser;
};

}  // namespace larkspan
