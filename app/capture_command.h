#pragma once

#include <QStringList>

namespace larkspan {

// "larkspan capture": captures listings without a window and writes the result lines.
// Gives the process exit code.
int runCaptureCommand(const QStringList& arguments);

}  // namespace larkspan
