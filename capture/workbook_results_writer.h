#pragma once

#include "capture/output_file.h"
#include "capture/results_writer.h"

namespace larkspan {

// Result lines as an Excel workbook (see capture/results_workbook.h). A workbook is a zip
// archive that cannot grow a page at a time, so the lines are held until finish() writes it
// whole; meanwhile the run's journal keeps every page.
class WorkbookResultsWriter : public ResultsWriter {
public:
    explicit WorkbookResultsWriter(OutputFile output);

    void writePage(const QStringList& lines) override;
    void finish() override;
    qint64 linesWritten() const override { return m_lines.size(); }
    qint64 cellsCut() const override { return m_cellsCut; }

private:
    OutputFile m_output;
    QStringList m_lines;
    bool m_pageWritten = false;
    qint64 m_cellsCut = 0;
};

}  // namespace larkspan
