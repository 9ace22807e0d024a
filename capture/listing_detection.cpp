#include "capture/listing_detection.h"

#include "browser/dom.h"
#include "capture/result_fields.h"

namespace larkspan {
namespace {

const QString kPageScript = QStringLiteral("listing_detection.js");

// "host" or "host:port".
QString siteOf(const QUrl& address) {
    return address.port() == -1 ? address.host()
                                : address.host() + u':' + QString::number(address.port());
}

bool isWebAddress(const QUrl& address) {
    return (address.scheme() == QLatin1String("http") || address.scheme() == QLatin1String("https")) &&
           !address.host().isEmpty();
}

QString profileName(const QUrl& pageAddress, const QString& title) {
    if (isWebAddress(pageAddress)) {
        return siteOf(pageAddress);
    }
    return title.isEmpty() ? QStringLiteral("Detected listings") : title;
}

// A field's rule as a profile writes it: the selector alone when the element's text is taken
// whole. Only the keys a profile knows are passed on.
QJsonValue fieldRuleOf(const QJsonObject& rule) {
    const QString selector = rule.value(QLatin1String("selector")).toString();
    QJsonObject written{{QStringLiteral("selector"), selector}};
    for (const QString& key : {QStringLiteral("attribute"), QStringLiteral("pattern")}) {
        const QString value = rule.value(key).toString();
        if (!value.isEmpty()) {
            written.insert(key, value);
        }
    }
    return written.size() == 1 ? QJsonValue(selector) : QJsonValue(written);
}

QString nextPageText(const QJsonObject& next, const QString& label) {
    const QString selector = next.value(QLatin1String("selector")).toString();
    if (!selector.isEmpty()) {
        return label.isEmpty() ? selector : label + QStringLiteral(" (") + selector + u')';
    }
    const QString text = next.value(QLatin1String("text")).toString();
    return text.isEmpty() ? QStringLiteral("none") : text;
}

// The next rule as a profile writes it, or nothing.
QJsonObject nextRuleOf(const QJsonObject& next) {
    for (const QString& key : {QStringLiteral("selector"), QStringLiteral("text")}) {
        const QString value = next.value(key).toString();
        if (!value.trimmed().isEmpty()) {
            return {{key, value}};
        }
    }
    return {};
}

DetectedListings detectedListingsOf(const QJsonObject& group, const QString& name,
                                    const QUrl& pageAddress) {
    DetectedListings detected;
    detected.listingSelector = group.value(QLatin1String("listing")).toString();
    detected.count = group.value(QLatin1String("count")).toInt();
    detected.found = group.value(QLatin1String("found")).toArray();

    const QJsonObject rules = group.value(QLatin1String("fields")).toObject();
    QJsonObject fields;
    for (const ResultColumn& column : resultColumns()) {
        const QJsonObject rule = rules.value(column.key).toObject();
        if (!rule.value(QLatin1String("selector")).toString().trimmed().isEmpty()) {
            fields.insert(column.key, fieldRuleOf(rule));
            detected.fields.append(column.key);
        }
    }
    QJsonObject profile{{QStringLiteral("name"), name},
                        {QStringLiteral("listing"), detected.listingSelector},
                        {QStringLiteral("fields"), fields}};
    if (isWebAddress(pageAddress)) {
        profile.insert(QStringLiteral("matches"),
                       QJsonArray{pageAddress.scheme() + QStringLiteral("://") +
                                  siteOf(pageAddress) + QStringLiteral("/*")});
    }
    const QJsonObject next = nextRuleOf(group.value(QLatin1String("next")).toObject());
    if (!next.isEmpty()) {
        profile.insert(QStringLiteral("next"), next);
    }
    detected.nextPage = next.isEmpty()
                            ? QStringLiteral("none")
                            : nextPageText(next, group.value(QLatin1String("nextLabel")).toString());
    detected.profile = QJsonDocument(profile);
    return detected;
}

}  // namespace

QString DetectedListings::summary() const {
    return QString::number(count) + QStringLiteral(" listings found; fields: ") +
           fields.join(QStringLiteral(", ")) + QStringLiteral("; next page: ") + nextPage;
}

ListingDetection detectListings(dom::Document& document, const QUrl& pageAddress) {
    return listingDetectionOf(document.runPageScript(kPageScript, QJsonValue()).toObject(),
                              pageAddress);
}

ListingDetection listingDetectionOf(const QJsonObject& answer, const QUrl& pageAddress) {
    const QString name =
        profileName(pageAddress, answer.value(QLatin1String("title")).toString().trimmed());
    ListingDetection detection;
    for (const QJsonValue& group : answer.value(QLatin1String("groups")).toArray()) {
        DetectedListings detected = detectedListingsOf(group.toObject(), name, pageAddress);
        // A group with no field to map would give a profile that captures nothing.
        if (!detected.fields.isEmpty() && !detected.listingSelector.trimmed().isEmpty()) {
            detection.append(std::move(detected));
        }
    }
    return detection;
}

}  // namespace larkspan
