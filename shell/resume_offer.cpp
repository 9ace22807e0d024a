#include "shell/resume_offer.h"

#include "capture/run_end.h"
#include "journal/run_journal.h"
#include "shell/user_dialogs.h"

namespace larkspan {

ResumeOffer::ResumeOffer(RunJournal& journal, UserDialogs& dialogs)
    : m_journal(journal), m_dialogs(dialogs) {}

std::optional<JournalRun> ResumeOffer::ask(QWidget* parent) {
    const std::optional<JournalRun> run = m_journal.lastResumableRun(JournalRun::Kind::Window);
    if (!run || run->pages == 0) {
        return std::nullopt;
    }
    if (m_dialogs.question(parent, question(*run))) {
        return run;
    }
    m_journal.endRun(run->id, JournalRun::Ending::NotResumed);
    return std::nullopt;
}

QString ResumeOffer::question(const JournalRun& run) {
    return QStringLiteral(
               "The capture run started %1 did not end: %2 and %3 lines from %4.\n\n"
               "Resume it? Its lines come back to the Results pane, and the capture goes on "
               "from page %5.")
        .arg(run.started.toString(QStringLiteral("yyyy-MM-dd HH:mm")), pageCountText(run.pages))
        .arg(run.lines)
        .arg(run.source)
        .arg(run.pages + 1);
}

}  // namespace larkspan
