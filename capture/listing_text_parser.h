#pragma once

#include "capture/service_addresses.h"
#include "text/regex_cache.h"

#include <QString>
#include <QStringList>

namespace larkspan {

// Turns a flattened page into result lines: cuts it into listing blocks at every "§", parses
// each block and keeps the listings that have a real name. One parser serves a whole run so the
// patterns are compiled once.
class ListingTextParser {
public:
    explicit ListingTextParser(ServiceAddresses addresses = {});

    // The pieces between "§" characters, empty ones included; a text without "§" is one piece.
    QStringList splitBlocks(const QString& flattenedText);

    // Result lines of the accepted listings, in page order.
    QStringList resultLines(const QString& flattenedText);

    // A name is kept unless it is empty or one of the directory's placeholder names.
    static bool isAcceptedName(const QString& name);

private:
    ServiceAddresses m_addresses;
    RegexCache m_cache;
};

}  // namespace larkspan
