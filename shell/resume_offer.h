#pragma once

#include "journal/journal_run.h"

#include <optional>

class QWidget;

namespace larkspan {

class RunJournal;
class UserDialogs;

// At start-up, the window offers to resume its last capture run that did not reach its own end
// (the program was killed, crashed, lost its power, its window was closed during the run, or a
// failure cut it short) and had captured a page. A run the user declines is not offered again.
class ResumeOffer {
public:
    ResumeOffer(RunJournal& journal, UserDialogs& dialogs);

    // The run to resume, when there is one and the user wants it. Throws JournalError.
    std::optional<JournalRun> ask(QWidget* parent);

    // "The capture run started 2024-06-01 14:03 did not end: ..."
    static QString question(const JournalRun& run);

private:
    RunJournal& m_journal;
    UserDialogs& m_dialogs;
};

}  // namespace larkspan
