#pragma once

#include <QString>
#include <QUrl>

namespace larkspan {

// The address of the first result page given to `capture`: a file's path, or an address the
// browser can load (http, https, file, data), taken as the user typed it. Throws UsageError for
// an address that can never be loaded, saying what is wrong with what the user typed, and a
// plain error for a file that is not there.
QUrl captureSource(const QString& source);

}  // namespace larkspan
