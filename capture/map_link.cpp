#include "capture/map_link.h"

namespace larkspan {

QString mapLinkOf(const QString& mapBase, const MapPlace& place) {
    QString link;
    if (!place.longitude.isEmpty()) {
        link = mapBase + QStringLiteral("/maps?q=") + place.latitude + u',' + place.longitude +
               QStringLiteral("&t=m");
    } else if (!place.city.isEmpty()) {
        link = mapBase + QStringLiteral("/maps?t=m&q=") + place.street + u'+' + place.city + u'+' +
               place.state + u'+' + place.postcode;
    }
    link.replace(u' ', u'+');
    return link;
}

}  // namespace larkspan
