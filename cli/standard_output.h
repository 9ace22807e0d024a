#pragma once

#include <QByteArray>

namespace larkspan {

// Writes the bytes to standard output and flushes them; false when that fails.
bool writeStandardOutput(const QByteArray& bytes);

}  // namespace larkspan
