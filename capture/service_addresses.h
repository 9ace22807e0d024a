#pragma once

#include <QString>

namespace larkspan {

// Where the links written into result lines point. Both are "http://" and a host, with no
// trailing "/"; the command line may override them.
struct ServiceAddresses {
    static inline const QString kDefaultDirectoryBase =
        QStringLiteral("http://www.goldleaf.com.au");
    static inline const QString kDefaultMapBase = QStringLiteral("http://maps.google.com");

    QString directoryBase = kDefaultDirectoryBase;
    QString mapBase = kDefaultMapBase;
};

}  // namespace larkspan
