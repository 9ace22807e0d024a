#include "capture/listing_sources.h"

#include "capture/automatic_listing_source.h"
#include "capture/directory_listing_source.h"
#include "capture/profile_folder.h"
#include "capture/structured_listing_source.h"

namespace larkspan {

ListingSources::ListingSources(ListingTextParser& parser, ServiceAddresses addresses, PageWait wait,
                               const ProfileFolder& savedProfiles)
    : m_parser(parser),
      m_addresses(std::move(addresses)),
      m_wait(std::move(wait)),
      m_savedProfiles(savedProfiles) {}

std::unique_ptr<ListingSource> ListingSources::make(const ListingSourceChoice& choice,
                                                    SourceTaken taken) const {
    switch (choice.kind) {
        case ListingSourceChoice::Kind::Directory:
            return std::make_unique<DirectoryListingSource>(m_parser);
        case ListingSourceChoice::Kind::Structured:
            return std::make_unique<StructuredListingSource>(m_addresses);
        case ListingSourceChoice::Kind::Profile:
            return std::make_unique<ProfileListingSource>(*choice.profile, m_wait);
        case ListingSourceChoice::Kind::Automatic:
            break;
    }
    return std::make_unique<AutomaticListingSource>(*this, m_savedProfiles.readAll(),
                                                    std::move(taken));
}

}  // namespace larkspan
