#pragma once

#include <QStringList>

namespace larkspan {

// Where a capture run's result lines go, a page at a time; one implementation per output
// format.
class ResultsWriter {
public:
    virtual ~ResultsWriter() = default;

    // Adds the lines of one page. Once it returns they are kept, whatever happens to the run
    // later (a format that can only be written whole keeps them until finish()). When it fails
    // it throws OutputFileError, saying how many lines the output holds; those of the earlier
    // pages stay.
    virtual void writePage(const QStringList& lines) = 0;
    // The output already holds this many lines from an earlier part of the run (a stream a
    // resumed run cannot write again): what follows continues it, without what a format
    // writes only at its start. A format that is written whole ignores it.
    virtual void continueOutput([[maybe_unused]] qint64 linesThere) {}
    // Called once when the run is over, however it ended: writes what the format can only
    // write whole. Throws OutputFileError.
    virtual void finish() {}
    // The lines written, or held for finish(), so far.
    virtual qint64 linesWritten() const = 0;
    // Fields longer than the format holds, cut to fit: known once finish() has run.
    virtual qint64 cellsCut() const { return 0; }
};

}  // namespace larkspan
