#pragma once

#include "capture/service_addresses.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace larkspan {

namespace dom {
class Document;
}

// What the structured data of one page gives the capture.
struct StructuredListings {
    // The result lines of its listings, in page order: JSON-LD scripts first, then microdata,
    // then RDFa items.
    QStringList resultLines;
    // For the loop guard and resume (SeenPages::digestOf): the listings' fields as canonical
    // JSON, the same text for the same listings; empty when the page has none, as pages without
    // listings must never be taken for one another.
    QString digestText;
    // JSON-LD scripts of which part or all could not be read (the rest of the page still is).
    int skippedScripts = 0;
};

// Reads the schema.org items of the loaded document in one engine call (the page script
// resources/structured_data.js) and maps its listings to result lines (see
// capture/structured_fields.h). `pageAddress` is the document's address. Raises dom::DomError
// when the document cannot be read.
StructuredListings structuredListings(dom::Document& document, const QUrl& pageAddress,
                                      const ServiceAddresses& addresses = {});

// The same for the page script's answer ({base, items, texts}: texts holds the JSON-LD scripts),
// without the engine.
StructuredListings structuredListingsOf(const QJsonObject& pageData, const QUrl& pageAddress,
                                        const ServiceAddresses& addresses = {});

}  // namespace larkspan
