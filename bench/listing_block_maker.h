#pragma once

#include <QString>

// Flattened listing blocks shaped like those of a real result page: a separator entry with
// the card's outer markup (about 2 KB), its inner text, then the plain and markup entries.
// About 3 KB each; the index varies names, streets and coordinates.
QString makeListingBlock(int index);

// A flattened page of `listings` such blocks, as the flattener writes it.
QString makeFlattenedPage(int listings);
