#include "capture/structured_listings.h"

#include "browser/dom.h"
#include "capture/result_fields.h"
#include "capture/structured_fields.h"
#include "capture/structured_items.h"
#include "capture/structured_json_ld.h"
#include "capture/structured_types.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace larkspan {
namespace {

const QString kPageScript = QStringLiteral("structured_data.js");

QJsonObject recordOf(const QStringList& fields) {
    QJsonObject record;
    for (int i = 0; i < kResultColumnCount; ++i) {
        record.insert(resultColumns()[i].key, fields[i]);
    }
    return record;
}

}  // namespace

StructuredListings structuredListings(dom::Document& document, const QUrl& pageAddress,
                                      const ServiceAddresses& addresses) {
    return structuredListingsOf(document.runPageScript(kPageScript, QJsonValue()).toObject(),
                                pageAddress, addresses);
}

StructuredListings structuredListingsOf(const QJsonObject& pageData, const QUrl& pageAddress,
                                        const ServiceAddresses& addresses) {
    const SchemaOrganizationTypes& types = SchemaOrganizationTypes::shipped();
    StructuredListings listings;
    QList<QJsonObject> items;
    for (const QJsonValue& text : pageData.value(QLatin1String("texts")).toArray()) {
        const JsonLdScript script = readJsonLdScript(text.toString());
        listings.skippedScripts += script.unreadable ? 1 : 0;
        for (const QJsonValue& value : script.values) {
            items += listingItems(value, types);
        }
    }
    items += listingItems(pageData.value(QLatin1String("items")), types);

    const QUrl base(pageData.value(QLatin1String("base")).toString());
    const StructuredPage page{pageAddress, base.isValid() && !base.isRelative() ? base : pageAddress,
                              addresses.mapBase};
    QJsonArray records;
    for (const QJsonObject& item : std::as_const(items)) {
        const QStringList fields = structuredListingFields(item, page, types);
        listings.resultLines.append(resultLineOf(fields));
        records.append(recordOf(fields));
    }
    if (!records.isEmpty()) {
        listings.digestText =
            QString::fromUtf8(QJsonDocument(records).toJson(QJsonDocument::Compact));
    }
    return listings;
}

}  // namespace larkspan
