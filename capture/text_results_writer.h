#pragma once

#include "capture/output_file.h"
#include "capture/results_writer.h"

namespace larkspan {

// Result lines in a text format, appended to the output a page at a time: each page costs the
// same, however long the run. A page that fails is taken back whole where the output allows.
class TextResultsWriter : public ResultsWriter {
public:
    explicit TextResultsWriter(OutputFile output);

    void writePage(const QStringList& lines) override;
    qint64 linesWritten() const override { return m_linesWritten; }
    void continueOutput(qint64 linesThere) override;

protected:
    // The bytes of one page's lines; `first` for the first page the output gets.
    virtual QByteArray encodePage(const QStringList& lines, bool first) const = 0;

private:
    OutputFile m_output;
    qint64 m_linesWritten = 0;
    bool m_started = false;
};

}  // namespace larkspan
