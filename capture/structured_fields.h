#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace larkspan {

class SchemaOrganizationTypes;

// The page a listing item was found on.
struct StructuredPage {
    // The page's own address: its site, and the listing page when the item names none.
    QUrl address;
    // What the page resolves relative addresses against (its <base>, else its address).
    QUrl base;
    // Where built map links point (see ServiceAddresses).
    QString mapBase;
};

// The fourteen fields of a result line for a listing item of structured data (JSON-LD, or
// microdata and RDFa in the same shape: every property a list of values), in line order.
// A property with several values gives its first. Every value is trimmed, its white space
// collapsed to single blanks and its HTML character references decoded; addresses are made
// absolute against the page's base.
//   name, phone, email, description: "name", "telephone", "email" without "mailto:",
//     "description";
//   street, postcode, city, state: the "address" PostalAddress ("streetAddress", "postalCode",
//     "addressLocality", "addressRegion"); a text address is the street;
//   heading: the most specific type as words, nothing for LocalBusiness and Organization;
//   longitude, latitude: the "geo" coordinates, else the item's own;
//   map link: "hasMap", else built from the coordinates as for the directory's listings;
//   website, listing page: a "url" on the page's site is the listing page, and the website is
//     then the first "sameAs" on another site; a "url" on another site is the website, and the
//     listing page is the item's "@id" or "mainEntityOfPage" on the page's site, else the
//     page's address. Without a "url" the website comes from "sameAs", the listing page as
//     for a "url" on another site.
QStringList structuredListingFields(const QJsonObject& item, const StructuredPage& page,
                                    const SchemaOrganizationTypes& types);

// Whether an address is on the page's site: the same host, a leading "www." aside (for a page
// without a host, such as a file: the same scheme and no host).
bool isOnSite(const QUrl& address, const QUrl& page);

}  // namespace larkspan
