#include "cli/results_format_choice.h"

#include "cli/command_line.h"

#include <QFileInfo>

namespace larkspan {

ResultsFormat chosenResultsFormat(const std::optional<QString>& formatName,
                                  const QString& outputPath, bool guardFormulas) {
    ResultsFormat format = resultsFormatOfPath(outputPath);
    if (formatName) {
        const std::optional<ResultsFormat> named = resultsFormatNamed(*formatName);
        if (!named) {
            throw UsageError("--format needs csv, jsonl or xlsx");
        }
        // A workbook in x.csv, or CSV in x.xlsx, would only mislead whoever opens it.
        const std::optional<ResultsFormat> byExtension =
            resultsFormatNamed(QFileInfo(outputPath).suffix());
        if (byExtension && *byExtension != *named) {
            throw UsageError(QStringLiteral("--format %1 contradicts the extension of %2")
                                 .arg(resultsFormatName(*named), outputPath)
                                 .toStdString());
        }
        format = *named;
    }
    if (format == ResultsFormat::Workbook && outputPath.isEmpty()) {
        throw UsageError("a workbook needs a file: give -o FILE.xlsx");
    }
    if (format != ResultsFormat::Csv && guardFormulas) {
        throw UsageError("--csv-formula-guard is for CSV output only");
    }
    return format;
}

}  // namespace larkspan
