#pragma once

#include "capture/output_file.h"
#include "capture/results_writer.h"

#include <QString>

#include <memory>
#include <optional>

namespace larkspan {

enum class ResultsFormat { Csv, JsonLines, Workbook };

// "csv", "jsonl", "xlsx": the names of the formats on the command line, which are also the
// extensions of their files.
QString resultsFormatName(ResultsFormat format);
std::optional<ResultsFormat> resultsFormatNamed(const QString& name);
// By the file name's extension: ".xlsx" a workbook, ".jsonl" JSON Lines, any other CSV.
ResultsFormat resultsFormatOfPath(const QString& path);

// The writer of that format into the output. The formula guard is for CSV only: the other
// formats never let a spreadsheet evaluate a field.
std::unique_ptr<ResultsWriter> makeResultsWriter(ResultsFormat format, OutputFile output,
                                                 bool guardFormulas = false);

// Writes all the lines at once; gives the number of fields cut to fit (see
// ResultsWriter::cellsCut). Throws OutputFileError, and an existing file then stays as it was.
qint64 writeResults(OutputFile output, ResultsFormat format, const QStringList& lines,
                    bool guardFormulas = false);
qint64 writeResults(const QString& path, ResultsFormat format, const QStringList& lines,
                    bool guardFormulas = false);

}  // namespace larkspan
