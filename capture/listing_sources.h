#pragma once

#include "capture/listing_source.h"
#include "capture/listing_source_choice.h"
#include "capture/profile_listing_source.h"
#include "capture/service_addresses.h"

#include <functional>
#include <memory>

namespace larkspan {

class ListingTextParser;
class ProfileFolder;

// Tells the host which source an automatic choice took, before the first page is reported.
using SourceTaken = std::function<void(const ListingSourceChoice& taken)>;

// Makes the listing source of a run from the user's choice, with what each source needs of the
// run: the directory's parser, the service addresses, how to wait for a page.
class ListingSources {
public:
    ListingSources(ListingTextParser& parser, ServiceAddresses addresses, PageWait wait,
                   const ProfileFolder& savedProfiles);

    // An automatic choice tells `taken` what it took.
    std::unique_ptr<ListingSource> make(const ListingSourceChoice& choice,
                                        SourceTaken taken = {}) const;

private:
    ListingTextParser& m_parser;
    ServiceAddresses m_addresses;
    PageWait m_wait;
    const ProfileFolder& m_savedProfiles;
};

}  // namespace larkspan
