#pragma once

#include "capture/text_results_writer.h"

namespace larkspan {

// One JSON object per listing and line, for programs: the fourteen fields under their keys
// (see capture/result_fields.h) in the fields' order, name first; UTF-8 without a signature,
// each line ended by LF.
class JsonLinesResultsWriter : public TextResultsWriter {
public:
    using TextResultsWriter::TextResultsWriter;

protected:
    QByteArray encodePage(const QStringList& lines, bool first) const override;
};

}  // namespace larkspan
