#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace larkspan {

namespace dom {
class Document;
}

// One group of repeated listings that detection found on a page, with the profile that
// captures it.
struct DetectedListings {
    // The listings' selector, as the profile has it.
    QString listingSelector;
    int count = 0;
    // A capture profile in its file's format (see capture/profile_reader.h).
    QJsonDocument profile;
    // The keys of the fields the profile maps, in result line order.
    QStringList fields;
    // How the next page is found, for people: "LINK TEXT (SELECTOR)", "LINK TEXT" for a rule by
    // the link's text, or "none".
    QString nextPage;
    // What the profile's selectors find in each listing, in the form profileListings takes.
    QJsonArray found;

    // "N listings found; fields: name, phone, ...; next page: ..."
    QString summary() const;
};

// The groups of one page, best first, then at most two alternatives; none when the page has no
// group of listings with a field a profile could map.
using ListingDetection = QList<DetectedListings>;

// Detects the listings of the loaded document in one engine call (the page script
// resources/listing_detection.js). `pageAddress` is the document's address: a web page's
// profile is named after its site and matches the site's addresses. Raises dom::DomError when the
// document cannot be read.
ListingDetection detectListings(dom::Document& document, const QUrl& pageAddress);

// The same for the page script's answer ({title, groups}), without the engine.
ListingDetection listingDetectionOf(const QJsonObject& answer, const QUrl& pageAddress);

}  // namespace larkspan
