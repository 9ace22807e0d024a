#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QStringList>

namespace larkspan {

class SchemaOrganizationTypes;

// The schema.org names of an item's types ("@type": one or a list; other vocabularies left out).
QStringList itemTypes(const QJsonObject& item);

// The items of a page's structured data that are listings, in page order. A listing is an
// item of type LocalBusiness or one below it, or of Organization or one below it with an
// address or a telephone. The search goes into lists and nowhere else: arrays, "@graph",
// "itemListElement", a ListItem's "item", and an ItemList that is the value of any property of
// an item that is no listing (a page's "mainEntity"). An item that is the value of another
// item's property is part of that item, not a listing (a "broker", an "author").
QList<QJsonObject> listingItems(const QJsonValue& root, const SchemaOrganizationTypes& types);

}  // namespace larkspan
