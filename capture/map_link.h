#pragma once

#include <QString>

namespace larkspan {

// Where a listing is, as far as its map link needs to know.
struct MapPlace {
    QString latitude = {};
    QString longitude = {};
    QString street = {};
    QString city = {};
    QString state = {};
    QString postcode = {};
};

// The map link of result lines, below `mapBase`: by the coordinates when there is a longitude,
// else by the address when there is a city, else empty. Blanks in it become "+".
QString mapLinkOf(const QString& mapBase, const MapPlace& place);

}  // namespace larkspan
