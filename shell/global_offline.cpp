#include "shell/global_offline.h"

#include <QNetworkInformation>

namespace larkspan {

bool IsGlobalOffline() {
    if (QNetworkInformation::instance() == nullptr &&
        !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        return false;
    }
    return QNetworkInformation::instance()->reachability() ==
           QNetworkInformation::Reachability::Disconnected;
}

}  // namespace larkspan
