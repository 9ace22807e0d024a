#pragma once

#include "capture/results_format.h"

#include <QString>

#include <optional>
#include <stdexcept>

namespace larkspan {

// A command-line mistake: reported with the usage exit code.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The format a command writes its lines in: the one --format names, else the one the output
// file's extension says (no file: standard output, CSV). Throws UsageError for a name it does
// not know, a workbook without a file, and the formula guard with a format other than CSV.
ResultsFormat chosenResultsFormat(const std::optional<QString>& formatName,
                                  const QString& outputPath, bool guardFormulas);

}  // namespace larkspan
