#pragma once

#include "capture/text_results_writer.h"

namespace larkspan {

// Result lines as a results file has them (see capture/results_file.h): the signature with the
// first page, then every line followed by CR LF. With the formula guard, a field a spreadsheet
// would evaluate gets an apostrophe in front (see capture/formula_guard.h).
class CsvResultsWriter : public TextResultsWriter {
public:
    explicit CsvResultsWriter(OutputFile output, bool guardFormulas = false);

protected:
    QByteArray encodePage(const QStringList& lines, bool first) const override;

private:
    bool m_guardFormulas;
};

}  // namespace larkspan
