#include "capture/csv_results_writer.h"

#include "capture/results_file.h"

#include <utility>

namespace larkspan {

CsvResultsWriter::CsvResultsWriter(OutputFile output) : m_output(std::move(output)) {}

void CsvResultsWriter::writePage(const QStringList& lines) {
    const QByteArray bytes =
        (m_started ? QByteArray() : resultsFileSignature()) + encodeResultLines(lines);
    try {
        m_output.append(bytes);
    } catch (const OutputFileError& error) {
        QString held;
        if (!m_output.holdsWholeBatches()) {
            held = QStringLiteral("; %1 lines were written before").arg(m_linesWritten);
        } else if (!m_started) {
            held = QStringLiteral("; the file was left as it was");
        } else {
            held = QStringLiteral("; the file holds the first %1 lines").arg(m_linesWritten);
        }
        throw OutputFileError(error.what() + held.toStdString());
    }
    m_started = true;
    m_linesWritten += lines.size();
}

}  // namespace larkspan
