#include "capture/results_format.h"

#include "capture/csv_results_writer.h"
#include "capture/json_lines_results_writer.h"
#include "capture/workbook_results_writer.h"

#include <QFileInfo>

#include <array>
#include <utility>

namespace larkspan {
namespace {

constexpr std::array kFormats = {ResultsFormat::Csv, ResultsFormat::JsonLines,
                                 ResultsFormat::Workbook};

}  // namespace

QString resultsFormatName(ResultsFormat format) {
    switch (format) {
        case ResultsFormat::Csv:
            return QStringLiteral("csv");
        case ResultsFormat::JsonLines:
            return QStringLiteral("jsonl");
        case ResultsFormat::Workbook:
            return QStringLiteral("xlsx");
    }
    return {};
}

std::optional<ResultsFormat> resultsFormatNamed(const QString& name) {
    for (const ResultsFormat format : kFormats) {
        if (name.compare(resultsFormatName(format), Qt::CaseInsensitive) == 0) {
            return format;
        }
    }
    return std::nullopt;
}

ResultsFormat resultsFormatOfPath(const QString& path) {
    const std::optional<ResultsFormat> format = resultsFormatNamed(QFileInfo(path).suffix());
    return format.value_or(ResultsFormat::Csv);
}

std::unique_ptr<ResultsWriter> makeResultsWriter(ResultsFormat format, OutputFile output,
                                                 bool guardFormulas) {
    switch (format) {
        case ResultsFormat::JsonLines:
            return std::make_unique<JsonLinesResultsWriter>(std::move(output));
        case ResultsFormat::Workbook:
            return std::make_unique<WorkbookResultsWriter>(std::move(output));
        case ResultsFormat::Csv:
            break;
    }
    return std::make_unique<CsvResultsWriter>(std::move(output), guardFormulas);
}

qint64 writeResults(OutputFile output, ResultsFormat format, const QStringList& lines,
                    bool guardFormulas) {
    const std::unique_ptr<ResultsWriter> writer =
        makeResultsWriter(format, std::move(output), guardFormulas);
    writer->writePage(lines);
    writer->finish();
    return writer->cellsCut();
}

qint64 writeResults(const QString& path, ResultsFormat format, const QStringList& lines,
                    bool guardFormulas) {
    return writeResults(OutputFile(path), format, lines, guardFormulas);
}

}  // namespace larkspan
