#pragma once

#include <QString>

namespace larkspan::test {

// Writes the sample directory site into the folder with page 1's first listing featured again
// at the top of pages 2 and 3, as directories repeat their featured listings; false when it
// cannot. Captured without repeats, it gives the sample site's own 60 lines.
bool writeFeaturedSampleSite(const QString& folder);

}  // namespace larkspan::test
