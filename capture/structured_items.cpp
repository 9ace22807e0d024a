#include "capture/structured_items.h"

#include "capture/structured_types.h"

#include <QJsonArray>

#include <algorithm>

namespace larkspan {
namespace {

// Property values a walk goes into whatever the item's type.
const QString kListProperties[] = {QStringLiteral("@graph"), QStringLiteral("itemListElement"),
                                   QStringLiteral("item")};

// Deeper than any real list of lists; what lies below is not looked at.
constexpr int kMostDepth = 64;

bool hasValue(const QJsonValue& value) {
    if (value.isArray()) {
        const QJsonArray values = value.toArray();
        return std::any_of(values.begin(), values.end(),
                           [](const QJsonValue& item) { return hasValue(item); });
    }
    if (value.isString()) {
        return !value.toString().trimmed().isEmpty();
    }
    return !value.isNull() && !value.isUndefined();
}

bool isItemList(const QJsonValue& value) {
    return value.isObject() &&
           (value.toObject().contains(QLatin1String("itemListElement")) ||
            itemTypes(value.toObject()).contains(QLatin1String("ItemList")));
}

class ListingWalk {
public:
    explicit ListingWalk(const SchemaOrganizationTypes& types) : m_types(types) {}

    void walk(const QJsonValue& value, int depth) {
        if (depth > kMostDepth) {
            return;
        }
        if (value.isArray()) {
            for (const QJsonValue& item : value.toArray()) {
                walk(item, depth + 1);
            }
            return;
        }
        if (!value.isObject()) {
            return;
        }
        const QJsonObject item = value.toObject();
        if (isListing(item)) {
            m_listings.append(item);
            return;
        }
        for (const QString& name : kListProperties) {
            walk(item.value(name), depth + 1);
        }
        for (auto it = item.begin(); it != item.end(); ++it) {
            if (std::find(std::begin(kListProperties), std::end(kListProperties), it.key()) ==
                std::end(kListProperties)) {
                walkLists(it.value(), depth + 1);
            }
        }
    }

    QList<QJsonObject> listings() const { return m_listings; }

private:
    // Goes into the ItemLists of a property's values.
    void walkLists(const QJsonValue& value, int depth) {
        if (value.isArray()) {
            for (const QJsonValue& item : value.toArray()) {
                if (isItemList(item)) {
                    walk(item, depth);
                }
            }
        } else if (isItemList(value)) {
            walk(value, depth);
        }
    }

    bool isListing(const QJsonObject& item) const {
        const QStringList types = itemTypes(item);
        const bool local = std::any_of(types.begin(), types.end(), [this](const QString& type) {
            return m_types.isLocalBusiness(type);
        });
        if (local) {
            return true;
        }
        const bool organization = std::any_of(types.begin(), types.end(), [this](const QString& type) {
            return m_types.isOrganization(type);
        });
        return organization && (hasValue(item.value(QLatin1String("address"))) ||
                                hasValue(item.value(QLatin1String("telephone"))));
    }

    const SchemaOrganizationTypes& m_types;
    QList<QJsonObject> m_listings;
};

}  // namespace

QStringList itemTypes(const QJsonObject& item) {
    const QJsonValue type = item.value(QLatin1String("@type"));
    const QJsonArray written = type.isArray() ? type.toArray() : QJsonArray{type};
    QStringList types;
    for (const QJsonValue& value : written) {
        const QString name = schemaTypeName(value.toString());
        if (!name.isEmpty()) {
            types.append(name);
        }
    }
    return types;
}

QList<QJsonObject> listingItems(const QJsonValue& root, const SchemaOrganizationTypes& types) {
    ListingWalk walk(types);
    walk.walk(root, 0);
    return walk.listings();
}

}  // namespace larkspan
