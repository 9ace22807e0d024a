#pragma once

#include "capture/output_file.h"
#include "capture/results_writer.h"

namespace larkspan {

// Result lines as a results file has them (see capture/results_file.h): the signature with the
// first page, then every line followed by CR LF. Each page costs the same, however long the run.
class CsvResultsWriter : public ResultsWriter {
public:
    explicit CsvResultsWriter(OutputFile output);

    void writePage(const QStringList& lines) override;
    qint64 linesWritten() const override { return m_linesWritten; }

private:
    OutputFile m_output;
    qint64 m_linesWritten = 0;
    bool m_started = false;
};

}  // namespace larkspan
