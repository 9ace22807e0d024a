#include "capture/workbook_results_writer.h"

#include "capture/results_workbook.h"

#include <utility>

namespace larkspan {

WorkbookResultsWriter::WorkbookResultsWriter(OutputFile output) : m_output(std::move(output)) {}

void WorkbookResultsWriter::writePage(const QStringList& lines) {
    if (m_lines.size() + lines.size() > kWorkbookMaxListings) {
        throw OutputFileError(
            QStringLiteral("cannot write %1: a workbook holds at most %2 listings")
                .arg(m_output.name(), QString::number(kWorkbookMaxListings))
                .toStdString());
    }
    m_lines += lines;
    m_pageWritten = true;
}

void WorkbookResultsWriter::finish() {
    // Like a text format, a run that captured no page leaves an existing file alone.
    if (m_pageWritten) {
        const ResultsWorkbook workbook = resultsWorkbook(m_lines);
        m_output.append(workbook.bytes);
        m_cellsCut = workbook.cellsCut;
    }
}

}  // namespace larkspan
