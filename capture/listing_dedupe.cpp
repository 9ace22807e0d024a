#include "capture/listing_dedupe.h"

#include "capture/result_fields.h"

#include <QHash>

namespace larkspan {

QStringList ListingDedupe::newListings(const QStringList& lines) {
    const QList<Identity> listings = identitiesOf(lines);
    QStringList kept;
    for (qsizetype at = 0; at < lines.size(); ++at) {
        if (isKnown(listings[at])) {
            ++m_dropped;
            continue;
        }
        insert(listings[at]);
        kept.append(lines[at]);
    }
    return kept;
}

void ListingDedupe::remember(const QStringList& lines) {
    for (const Identity& listing : identitiesOf(lines)) {
        insert(listing);
    }
}

// Also notes the listing pages that more than one of the page's listings carry.
QList<ListingDedupe::Identity> ListingDedupe::identitiesOf(const QStringList& lines) {
    QList<Identity> listings;
    listings.reserve(lines.size());
    QHash<QString, int> carriers;
    for (const QString& line : lines) {
        const QStringList fields = resultFields(line);
        // A unit separator cannot occur in a field, so no two name and phone pairs meet.
        listings.append({fields[ListingPageField],
                         fields[NameField] + u'\x1f' + fields[PhoneField]});
        if (!fields[ListingPageField].isEmpty() && ++carriers[fields[ListingPageField]] == 2) {
            m_sharedPages.insert(fields[ListingPageField]);
        }
    }
    return listings;
}

bool ListingDedupe::isKnown(const Identity& listing) const {
    if (!listing.listingPage.isEmpty() && !m_sharedPages.contains(listing.listingPage)) {
        return m_seenPages.contains(listing.listingPage);
    }
    return m_seenNamesAndPhones.contains(listing.nameAndPhone);
}

// Under both keys: a listing page may turn out to be shared only later in the run.
void ListingDedupe::insert(const Identity& listing) {
    if (!listing.listingPage.isEmpty()) {
        m_seenPages.insert(listing.listingPage);
    }
    m_seenNamesAndPhones.insert(listing.nameAndPhone);
}

}  // namespace larkspan
