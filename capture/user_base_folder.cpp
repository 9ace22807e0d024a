#include "capture/user_base_folder.h"

#include <QDir>

namespace larkspan {

QString userBaseFolder(QStandardPaths::StandardLocation location) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const bool config = location == QStandardPaths::GenericConfigLocation;
    const QString configured =
        qEnvironmentVariable(config ? "XDG_CONFIG_HOME" : "XDG_DATA_HOME");
    if (!configured.isEmpty() && QDir::isRelativePath(configured)) {
        return QDir::homePath() +
               (config ? QStringLiteral("/.config") : QStringLiteral("/.local/share"));
    }
#endif
    return QStandardPaths::writableLocation(location);
}

}  // namespace larkspan
