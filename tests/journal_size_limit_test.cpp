#include "journal/run_journal.h"
#include "qt_printers.h"
#include "shell/journal_size_limit.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using Ending = JournalRun::Ending;

// What the window says when it brings the journal under its size: nothing when it fits, and
// that runs which did not end keep it over the size when they do.
TEST(JournalSizeLimit, SaysWhatItDeletedAndWhatKeepsTheJournalOver) {
    const struct {
        const char* what;
        QList<Ending> endings;
        QString text;
        int runsLeft;
    } cases[] = {
        {"within the size", {Ending::LastPage}, "", 1},
        {"over, runs that did not end only",
         {Ending::Interrupted, Ending::NotResumed, Ending::NotResumed},
         "The run journal takes 1.2 MB, over 1 MB, and holds only runs that did not end", 3},
        {"over after deleting",
         {Ending::LastPage, Ending::NotResumed, Ending::NotResumed, Ending::NotResumed},
         "The run journal was over 1 MB: deleted 1 run (40 lines) that ended, the oldest first; "
         "it takes 1.2 MB now, and holds only runs that did not end",
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        RunJournal journal(path);
        // About 0.4 MB a run.
        for (const Ending ending : c.endings) {
            const qint64 id = journal.startRun(JournalRun::Kind::Window, QStringLiteral("x"), {});
            journal.recordPage(id,
                               {1, QStringLiteral("x"), QDateTime::currentDateTimeUtc(),
                                QStringList(40, QString(10'000, u'x')), "d"},
                               0);
            journal.endRun(id, ending);
        }
        const QString text = keepJournalUnder(journal, 1);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(journal.recentRuns(10).size(), c.runsLeft);
    }
}

}  // namespace
}  // namespace larkspan
