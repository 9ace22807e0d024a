#pragma once

#include <QString>
#include <QUrl>

#include "capture/service_addresses.h"

namespace larkspan {

// The directory's search page, shown in the address bar and opened by the "AU-GL" button. Its
// host is the one the result lines link to, so the two cannot drift apart.
inline QString DirectorySearchURL() {
    return QStringLiteral("https://") + QUrl(ServiceAddresses::kDefaultDirectoryBase).host() +
           QStringLiteral("/search/listings?clue=Restaurants&locationClue=NSW&lat=&lon=");
}

// The same address without "https://": host, path and query.
inline QString directorySearchURLWithoutScheme() {
    return DirectorySearchURL().mid(QStringLiteral("https://").size());
}

}  // namespace larkspan
