#include "capture/profile_listings.h"

#include "capture/capture_profile.h"
#include "capture/result_fields.h"
#include "capture/seen_pages.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace larkspan {

ProfileListings profileListings(const CaptureProfile& profile, const QJsonArray& found) {
    ProfileListings listings;
    QStringList fields(kResultColumnCount);
    for (const QJsonValue& element : found) {
        const QJsonObject values = element.toObject();
        for (std::size_t at = 0; at < kResultColumnCount; ++at) {
            const std::optional<ProfileFieldRule>& rule = profile.fields()[at];
            fields[qsizetype(at)] =
                rule ? rule->valueOf(values.value(resultColumns()[at].key).toString()) : QString();
        }
        // An element the listing selector also finds (a banner, an empty slot) adds no line.
        if (std::any_of(fields.cbegin(), fields.cend(),
                        [](const QString& field) { return !field.isEmpty(); })) {
            listings.resultLines.append(resultLineOf(fields));
        }
    }
    if (!found.isEmpty()) {
        // Objects keep their keys sorted, so the same values always give the same text.
        listings.digest = SeenPages::digestOf(
            QString::fromUtf8(QJsonDocument(found).toJson(QJsonDocument::Compact)));
    }
    return listings;
}

}  // namespace larkspan
