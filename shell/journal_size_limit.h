#pragma once

#include <QString>

namespace larkspan {

class RunJournal;

// Keeps the run journal under `megabytes`: the oldest runs that ended go first, and runs that
// did not end stay. What it did, in words for the status bar; empty when the journal fit.
// Throws JournalError.
QString keepJournalUnder(RunJournal& journal, int megabytes);

}  // namespace larkspan
