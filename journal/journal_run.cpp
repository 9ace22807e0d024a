#include "journal/journal_run.h"

namespace larkspan {

QString kindName(JournalRun::Kind kind) {
    return kind == JournalRun::Kind::Window ? QStringLiteral("window") : QStringLiteral("command");
}

QString endingText(const JournalRun& run, bool underWay) {
    switch (run.ending) {
        case JournalRun::Ending::None:
            return underWay ? QStringLiteral("under way")
                            : QStringLiteral("did not end, can be resumed");
        case JournalRun::Ending::LastPage:
            return QStringLiteral("last page");
        case JournalRun::Ending::PageLimit:
            return QStringLiteral("page limit");
        case JournalRun::Ending::RepeatedPage:
            return run.endText;
        case JournalRun::Ending::Stopped:
            return QStringLiteral("stopped by the user");
        case JournalRun::Ending::Failed:
            return QStringLiteral("cut short, can be resumed: ") + run.endText;
        case JournalRun::Ending::Interrupted:
            return QStringLiteral("interrupted, can be resumed");
        case JournalRun::Ending::NotResumed:
            return QStringLiteral("did not end, not resumed");
        case JournalRun::Ending::Unrecorded:
            return QStringLiteral("ended, not recorded in full");
    }
    return {};
}

}  // namespace larkspan
