#include "capture/structured_fields.h"

#include "capture/map_link.h"
#include "capture/result_fields.h"
#include "capture/structured_items.h"
#include "capture/structured_text.h"
#include "capture/structured_types.h"

#include <QJsonArray>
#include <QLocale>

namespace larkspan {
namespace {

const QString kLocalBusiness = QStringLiteral("LocalBusiness");
const QString kOrganization = QStringLiteral("Organization");

// The first value of a property that holds one or a list.
QJsonValue firstOf(const QJsonValue& value) {
    if (!value.isArray()) {
        return value;
    }
    for (const QJsonValue& item : value.toArray()) {
        if (!item.isNull() && !(item.isString() && item.toString().trimmed().isEmpty())) {
            return item;
        }
    }
    return QJsonValue();
}

QString textOf(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::String:
        return structuredValueText(value.toString());
    case QJsonValue::Double:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Object:
        // A value object of JSON-LD.
        return textOf(firstOf(value.toObject().value(QLatin1String("@value"))));
    default:
        return {};
    }
}

QString property(const QJsonObject& item, const char* name) {
    return textOf(firstOf(item.value(QLatin1String(name))));
}

QJsonObject objectProperty(const QJsonObject& item, const char* name) {
    return firstOf(item.value(QLatin1String(name))).toObject();
}

// An address as text: the value itself, or a linked item's "url" or "@id".
QString addressText(const QJsonValue& value) {
    if (value.isObject()) {
        const QJsonObject linked = value.toObject();
        const QString url = property(linked, "url");
        return url.isEmpty() ? property(linked, "@id") : url;
    }
    return textOf(value);
}

class FieldMapper {
public:
    FieldMapper(const QJsonObject& item, const StructuredPage& page,
                const SchemaOrganizationTypes& types)
        : m_item(item), m_page(page), m_types(types) {}

    QStringList fields() {
        QStringList fields(kResultColumnCount);
        fields[0] = property(m_item, "name");
        fields[1] = property(m_item, "telephone");
        fields[2] = email();
        readAddress(fields);
        fields[7] = heading();
        fields[8] = property(m_item, "description");
        readCoordinates(fields);
        readLinks(fields);
        return fields;
    }

private:
    QString email() const {
        const QString email = property(m_item, "email");
        return email.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive) ? email.sliced(7)
                                                                                 : email;
    }

    void readAddress(QStringList& fields) const {
        const QJsonValue address = firstOf(m_item.value(QLatin1String("address")));
        if (!address.isObject()) {
            fields[3] = textOf(address);
            return;
        }
        const QJsonObject postal = address.toObject();
        fields[3] = property(postal, "streetAddress");
        fields[4] = property(postal, "postalCode");
        fields[5] = property(postal, "addressLocality");
        fields[6] = property(postal, "addressRegion");
    }

    QString heading() const {
        const QString type = m_types.mostSpecific(itemTypes(m_item));
        return type == kLocalBusiness || type == kOrganization ? QString() : typeNameAsWords(type);
    }

    void readCoordinates(QStringList& fields) const {
        const QJsonObject geo = objectProperty(m_item, "geo");
        const QJsonObject& place = geo.isEmpty() ? m_item : geo;
        fields[10] = property(place, "longitude");
        fields[11] = property(place, "latitude");
        const QString map = addressText(firstOf(m_item.value(QLatin1String("hasMap"))));
        fields[12] = map.isEmpty() ? mapLinkOf(m_page.mapBase, {fields[11], fields[10]})
                                   : absolute(map);
    }

    void readLinks(QStringList& fields) const {
        const QString url = absolute(property(m_item, "url"));
        if (!url.isEmpty() && !isOnSite(QUrl(url), m_page.address)) {
            fields[9] = url;
            fields[13] = ownListingPage();
            return;
        }
        fields[9] = firstSameAsElsewhere();
        fields[13] = url.isEmpty() ? ownListingPage() : url;
    }

    // The item's "@id" or "mainEntityOfPage" on the page's site, else the page's address.
    QString ownListingPage() const {
        for (const QJsonValue& candidate :
             {m_item.value(QLatin1String("@id")),
              firstOf(m_item.value(QLatin1String("mainEntityOfPage")))}) {
            const QString address = absolute(addressText(candidate));
            if (!address.isEmpty() && isOnSite(QUrl(address), m_page.address)) {
                return address;
            }
        }
        return m_page.address.toString(QUrl::FullyEncoded);
    }

    QString firstSameAsElsewhere() const {
        const QJsonValue sameAs = m_item.value(QLatin1String("sameAs"));
        for (const QJsonValue& value : sameAs.isArray() ? sameAs.toArray() : QJsonArray{sameAs}) {
            const QString address = absolute(addressText(value));
            if (!address.isEmpty() && !isOnSite(QUrl(address), m_page.address)) {
                return address;
            }
        }
        return {};
    }

    // The address made absolute against the page; as written when it is none.
    QString absolute(const QString& address) const {
        // A blank node's "_:name" names no page.
        if (address.isEmpty() || address.startsWith(QLatin1String("_:"))) {
            return {};
        }
        const QUrl resolved = m_page.base.resolved(QUrl(address));
        return resolved.isValid() ? resolved.toString(QUrl::FullyEncoded) : address;
    }

    const QJsonObject& m_item;
    const StructuredPage& m_page;
    const SchemaOrganizationTypes& m_types;
};

QString siteOf(const QUrl& address) {
    const QString host = address.host().toLower();
    return host.startsWith(QLatin1String("www.")) ? host.sliced(4) : host;
}

}  // namespace

bool isOnSite(const QUrl& address, const QUrl& page) {
    // Pages of one folder on disk are one site too.
    return siteOf(address) == siteOf(page) &&
           (!address.host().isEmpty() || address.scheme() == page.scheme());
}

QStringList structuredListingFields(const QJsonObject& item, const StructuredPage& page,
                                    const SchemaOrganizationTypes& types) {
    return FieldMapper(item, page, types).fields();
}

}  // namespace larkspan
