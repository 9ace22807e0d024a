#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace larkspan {

// A capture run as the journal keeps it.
struct JournalRun {
    enum class Kind { Window, Command };
    // How the run ended. A run that never said (the program was killed, crashed or lost its
    // power) has None.
    enum class Ending {
        None,
        LastPage,      // no next page was left
        PageLimit,     // the command's --max-pages was reached
        RepeatedPage,  // a page repeated an earlier one of the run
        Stopped,       // the user pressed STOP!
        Failed,        // an error ended it, or a next page did not arrive
        Interrupted,   // Ctrl+C, SIGTERM, or the window closed during the run
        NotResumed,    // it did not end, and the user chose not to resume it
        // Its process let go of it without a word on how it ended: the journal failed it, at its
        // end or before. Never stored; read from a run with no ending whose process is gone.
        Unrecorded,
    };

    qint64 id = 0;
    Kind kind = Kind::Command;
    QDateTime started;
    // The first result page's address.
    QString source;
    // What the run was asked to do, for resuming it the same way.
    QJsonObject settings;
    int pages = 0;
    qint64 lines = 0;
    // Repeated listings left out.
    qint64 dropped = 0;
    Ending ending = Ending::None;
    // Why, in words for the user, when it says more than the ending itself.
    QString endText;
    // The output file as the run last left it, in the words of whoever wrote it; empty when the
    // run writes no file.
    QString outputMark;

    // A run that did not reach its own end (killed, interrupted, or cut short by a failure) goes
    // on from its first page not yet captured.
    static bool canResume(Ending ending) {
        return ending == Ending::None || ending == Ending::Failed || ending == Ending::Interrupted;
    }
    bool canResume() const { return canResume(ending); }
};

// "window" or "command", as the journal stores it and lists it.
QString kindName(JournalRun::Kind kind);

// How the run ended, in words for the user: "last page", "cut short: REASON",
// "interrupted, can be resumed"... A run that never said is "under way" while a process holds it.
QString endingText(const JournalRun& run, bool underWay);

// One captured page of a run.
struct JournalPage {
    int number = 0;
    QString address;
    QDateTime captured;
    QStringList lines;
    QByteArray digest;
};

}  // namespace larkspan
