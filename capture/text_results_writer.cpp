#include "capture/text_results_writer.h"

#include <utility>

namespace larkspan {

TextResultsWriter::TextResultsWriter(OutputFile output) : m_output(std::move(output)) {}

void TextResultsWriter::writePage(const QStringList& lines) {
    try {
        m_output.append(encodePage(lines, !m_started));
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

void TextResultsWriter::continueOutput(qint64 linesThere) {
    m_started = true;
    m_linesWritten = linesThere;
}

}  // namespace larkspan
