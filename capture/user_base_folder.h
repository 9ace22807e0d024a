#pragma once

#include <QStandardPaths>
#include <QString>

namespace larkspan {

// The user's generic config or data folder as the XDG base directory rules have it: a relative
// XDG_CONFIG_HOME or XDG_DATA_HOME counts as no setting, which this Qt does not do by itself
// (it would put the files below whatever folder the program started in).
QString userBaseFolder(QStandardPaths::StandardLocation location);

}  // namespace larkspan
