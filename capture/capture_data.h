#pragma once

#include <QList>
#include <QStringList>

namespace larkspan {

// The data lines of one of the capture's data files in resources/: its lines without the
// comments ("#" lines) and the empty ones, each cut into its words.
QList<QStringList> captureDataLines(const QString& fileName);

}  // namespace larkspan
