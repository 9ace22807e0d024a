#pragma once

#include <QStringList>

namespace larkspan {

// Where a capture run's result lines go, a page at a time; one implementation per output
// format.
class ResultsWriter {
public:
    virtual ~ResultsWriter() = default;

    // Adds the lines of one page. Once it returns they are kept, whatever happens to the run
    // later. When it fails it throws OutputFileError, saying how many lines the output holds;
    // those of the earlier pages stay.
    virtual void writePage(const QStringList& lines) = 0;
    // The lines written so far.
    virtual qint64 linesWritten() const = 0;
};

}  // namespace larkspan
