#include "capture/csv_results_writer.h"

#include "capture/formula_guard.h"
#include "capture/results_file.h"

#include <utility>

namespace larkspan {

CsvResultsWriter::CsvResultsWriter(OutputFile output, bool guardFormulas)
    : TextResultsWriter(std::move(output)), m_guardFormulas(guardFormulas) {}

QByteArray CsvResultsWriter::encodePage(const QStringList& lines, bool first) const {
    QStringList written = lines;
    if (m_guardFormulas) {
        for (QString& line : written) {
            line = guardFormulas(line);
        }
    }
    return (first ? resultsFileSignature() : QByteArray()) + encodeResultLines(written);
}

}  // namespace larkspan
