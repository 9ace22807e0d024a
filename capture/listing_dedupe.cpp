#include "capture/listing_dedupe.h"

#include "capture/result_fields.h"

namespace larkspan {

QStringList ListingDedupe::newListings(const QStringList& lines) {
    QStringList kept;
    for (const QString& line : lines) {
        const QString key = keyOf(line);
        if (m_seen.contains(key)) {
            ++m_dropped;
            continue;
        }
        m_seen.insert(key);
        kept.append(line);
    }
    return kept;
}

void ListingDedupe::remember(const QStringList& lines) {
    for (const QString& line : lines) {
        m_seen.insert(keyOf(line));
    }
}

QString ListingDedupe::keyOf(const QString& line) {
    const QStringList fields = resultFields(line);
    if (!fields[ListingPageField].isEmpty()) {
        return QStringLiteral("page ") + fields[ListingPageField];
    }
    // A unit separator cannot occur in a field, so no two name and phone pairs meet in a key.
    return QStringLiteral("name ") + fields[NameField] + u'\x1f' + fields[PhoneField];
}

}  // namespace larkspan
