#pragma once

#include <QString>

namespace larkspan {

// `larkspan profile check FILE|NAME ADDRESS`: loads the one page, and prints how many listings
// the profile finds there, the fields of the first three as a table, and the next-page link it
// would follow, or why there is none. Gives the exit code: 0, or 1 when it finds no listing.
// Needs a GUI application for the browser engine.
int checkProfileOnPage(const QString& profileNameOrFile, const QString& address);

}  // namespace larkspan
