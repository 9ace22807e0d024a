#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QStringList>

namespace larkspan {

class CaptureProfile;

// One page's listings as a profile reads them.
struct ProfileListings {
    // One result line per listing that has a value in any field, in page order.
    QStringList resultLines;
    // Of what the page gave, so that a page that comes round again is known (see SeenPages);
    // empty when the page has no listing element.
    QByteArray digest;
};

// Applies the profile's field rules to what the page gave for each of its listing elements, in
// page order: an object holding, under a field's key, the text or attribute value its selector
// found, and nothing (or null) where the selector found no element. Keys of fields the profile
// does not name are not read.
ProfileListings profileListings(const CaptureProfile& profile, const QJsonArray& found);

}  // namespace larkspan
