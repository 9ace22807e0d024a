#pragma once

#include "capture/results_format.h"

#include <QString>

#include <optional>

namespace larkspan {

// The format a command writes its lines in: the one --format names, else the one the output
// file's extension says (no file: standard output, CSV). Throws UsageError for a name it does
// not know, a name that contradicts the file's known extension, a workbook without a file, and
// the formula guard with a format other than CSV.
ResultsFormat chosenResultsFormat(const std::optional<QString>& formatName,
                                  const QString& outputPath, bool guardFormulas);

}  // namespace larkspan
