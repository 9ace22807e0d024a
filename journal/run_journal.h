#pragma once

#include "journal/journal_run.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class QSqlQuery;

namespace larkspan {

class RunLock;

// The journal of capture runs, in an SQLite file in the user's data folder: every run, each
// of its pages (address, number, time, result lines) and how it ended, so a run that did not end
// can be resumed and any run's lines written again. Each page is one transaction, at the same
// cost however long the run. While a run goes on, a lock file beside the journal says so, and
// no other start of the program takes the run for one that did not end. Every failure throws
// JournalError.
class RunJournal {
public:
    enum class Access { ReadWrite, ReadOnly };

    // <data folder>/larkspan/journal.sqlite (the data folder follows an absolute XDG_DATA_HOME).
    static QString defaultPath();

    // Opens the journal, making it and its folder when missing. Read-only, it must exist, is
    // never changed, and can be read also in a folder that cannot be written.
    explicit RunJournal(const QString& path = defaultPath(), Access access = Access::ReadWrite);
    ~RunJournal();
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;

    // A new run, held by this journal until it ends; its id. `outputMark`: its output file as it
    // is before the run writes to it.
    qint64 startRun(JournalRun::Kind kind, const QString& source, const QJsonObject& settings,
                    const QString& outputMark = {});
    // Takes up a run that can be resumed and is not held elsewhere: it is under way again, with
    // these settings and output file.
    void resumeRun(qint64 id, const QJsonObject& settings, const QString& outputMark = {});
    // With the output file as the page left it.
    void recordPage(qint64 id, const JournalPage& page, qint64 droppedSoFar,
                    const QString& outputMark = {});
    // The output file changed without a page: a resumed run wrote its first part again, or a
    // format written whole was written.
    void markOutput(qint64 id, const QString& outputMark);
    // The run's settings changed while it went on: it took its listing source on its first page.
    void updateSettings(qint64 id, const QJsonObject& settings);
    // Lets go of the run; a run that is being resumed or that ended earlier keeps its ending
    // only until it is told again. When the end cannot be recorded, a run that can be resumed
    // stays one that did not end, and any other is known as unrecorded, never as unfinished.
    void endRun(qint64 id, JournalRun::Ending ending, const QString& text = {});

    std::optional<JournalRun> run(qint64 id);
    // The latest first.
    QList<JournalRun> recentRuns(int count);
    // The latest run of that kind that can be resumed and is not under way elsewhere.
    std::optional<JournalRun> lastResumableRun(JournalRun::Kind kind);
    // Whether a process (this one included) is running it now.
    bool isUnderWay(qint64 id);
    // Its pages in order. Throws JournalError naming the page whose lines are damaged.
    QList<JournalPage> pages(qint64 id);

    // Deletes the runs, all or none, and gives their space back to the disk. A run under way is
    // refused. Their ids are never given to later runs.
    void deleteRuns(const QList<qint64>& ids);
    // The bytes its content takes: the size of its file once the log is written in.
    qint64 size();

private:
    void openReadOnly();
    void openForWriting();
    void useWriteAheadLog();
    void createTables();
    bool hasOutputMarks();
    void addOutputMarks();
    // Runs one statement with the values bound in order; fails with `what` when it cannot.
    QSqlQuery execute(const QString& statement, const QVariantList& values, const QString& what);
    qint64 pragmaValue(const QString& name);
    // Runs the statements as one transaction: all of them are kept, or none.
    void inOneTransaction(const QString& what, const std::function<void()>& statements);
    // Deleted pages go back to the disk at once in a journal made with that setting; one made
    // before it is set up that way first.
    void giveSpaceBack();
    void hold(qint64 id);
    QString lockPath(qint64 id) const;
    JournalRun runOf(const QSqlQuery& query) const;
    [[noreturn]] void fail(const QString& what, const QString& reason) const;

    QString m_path;
    QString m_connection;
    // The columns a run is read from.
    QString m_runColumns;
    QSqlDatabase m_database;
    QHash<qint64, std::shared_ptr<RunLock>> m_held;
};

}  // namespace larkspan
