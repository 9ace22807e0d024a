#pragma once

#include <QString>

namespace larkspan {

// The closing message of a capture run, in the window and on the command line alike.
inline QString scrapedMessage(qint64 count) {
    return QStringLiteral("A total of %1 addresses have been scraped!").arg(count);
}

}  // namespace larkspan
