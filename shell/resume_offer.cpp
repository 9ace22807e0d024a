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
    const QString state = run.ending == JournalRun::Ending::Failed
                              ? QStringLiteral("was cut short (") + run.endText + u')'
                              : QStringLiteral("did not end");
    return QStringLiteral(
               "The capture run started %1 %2: %3 and %4 lines from %5.\n\n"
               "Resume it? Its lines come back to the Results pane, and the capture goes on "
               "from page %6.")
        .arg(run.started.toString(QStringLiteral("yyyy-MM-dd HH:mm")), state,
             pageCountText(run.pages), QString::number(run.lines), run.source,
             QString::number(run.pages + 1));
}

}  // namespace larkspan
