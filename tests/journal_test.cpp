#include "journal/journal_error.h"
#include "journal/run_journal.h"
#include "journal/run_lock.h"
#include "journal/run_pruning.h"
#include "journal/run_recorder.h"
#include "qt_printers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace larkspan {
namespace {

using Ending = JournalRun::Ending;
using Kind = JournalRun::Kind;

const QString kSource = QStringLiteral("http://d.example/search?page=1");

JournalPage page(int number, const QStringList& lines) {
    return {number, QStringLiteral("http://d.example/search?page=%1").arg(number),
            QDateTime::currentDateTimeUtc(), lines, QByteArray(32, char('a' + number))};
}

class JournalTest : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("data/larkspan/journal.sqlite")); }
    // As a killed process leaves its run: no ending, and the run's lock file held by nobody.
    qint64 killedRun(Kind kind = Kind::Command) {
        const qint64 id = RunJournal(path()).startRun(kind, kSource, {});
        QFile lock(m_dir.filePath(QStringLiteral("data/larkspan/run-%1.lock").arg(id)));
        EXPECT_TRUE(lock.open(QIODevice::WriteOnly));
        return id;
    }
    // Makes every record of a run's end fail, as a full disk or a locked journal would.
    void failEveryEnd(bool fail) {
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "saboteur");
            other.setDatabaseName(path());
            ASSERT_TRUE(other.open());
            ASSERT_TRUE(QSqlQuery(other).exec(
                fail ? QStringLiteral("CREATE TRIGGER no_end BEFORE UPDATE OF ending ON runs "
                                      "BEGIN SELECT RAISE(FAIL, 'disk I/O error'); END")
                     : QStringLiteral("DROP TRIGGER no_end")));
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("saboteur"));
    }
    void damagePage(qint64 id, int number, const QVariant& lines) {
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "saboteur");
            other.setDatabaseName(path());
            ASSERT_TRUE(other.open());
            QSqlQuery query(other);
            query.prepare(
                QStringLiteral("UPDATE pages SET lines = ? WHERE run = ? AND number = ?"));
            query.addBindValue(lines);
            query.addBindValue(id);
            query.addBindValue(number);
            ASSERT_TRUE(query.exec());
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("saboteur"));
    }

    QTemporaryDir m_dir;
};

// A run comes back as it was recorded, page by page, and says how it ended.
TEST_F(JournalTest, KeepsEveryPageAndHowTheRunEnded) {
    qint64 id = 0;
    {
        RunJournal journal(path());
        id = journal.startRun(Kind::Command, kSource, {{"output", "/tmp/out.csv"}});
        journal.recordPage(id, page(1, {"\"a\"", "\"b, \"\"c\"\"\""}), 0);
        journal.recordPage(id, page(2, {}), 1);
        journal.recordPage(id, page(3, {"\"d\u00e9\""}), 3);
        journal.endRun(id, Ending::RepeatedPage, QStringLiteral("page 4 repeats page 1"));
    }
    RunJournal reopened(path());
    const std::optional<JournalRun> run = reopened.run(id);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->kind, Kind::Command);
    EXPECT_EQ(run->source, kSource);
    EXPECT_EQ(run->settings.value("output").toString(), QStringLiteral("/tmp/out.csv"));
    EXPECT_EQ(run->pages, 3);
    EXPECT_EQ(run->lines, 3);
    EXPECT_EQ(run->dropped, 3);
    EXPECT_EQ(run->ending, Ending::RepeatedPage);
    EXPECT_EQ(endingText(*run, false), QStringLiteral("page 4 repeats page 1"));
    EXPECT_LE(qAbs(run->started.secsTo(QDateTime::currentDateTime())), 60);

    const QList<JournalPage> pages = reopened.pages(id);
    ASSERT_EQ(pages.size(), 3);
    const QList<JournalPage> recorded = {page(1, {"\"a\"", "\"b, \"\"c\"\"\""}), page(2, {}),
                                         page(3, {"\"d\u00e9\""})};
    for (qsizetype i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].number, recorded[i].number);
        EXPECT_EQ(pages[i].address, recorded[i].address);
        EXPECT_EQ(pages[i].lines, recorded[i].lines);
        EXPECT_EQ(pages[i].digest, recorded[i].digest);
    }
    EXPECT_FALSE(reopened.isUnderWay(id));
}

// Only a run that did not reach its own end can be resumed, and only while no process runs it.
TEST_F(JournalTest, TheLastRunThatDidNotEndIsTheOneToResume) {
    struct Case {
        Ending ending;  // None: as a killed process leaves it
        bool canResume;
        QString text;
    };
    const Case cases[] = {
        {Ending::LastPage, false, "last page"},
        {Ending::PageLimit, false, "page limit"},
        {Ending::Stopped, false, "stopped by the user"},
        {Ending::NotResumed, false, "did not end, not resumed"},
        {Ending::Failed, true, "cut short, can be resumed: the reason"},
        {Ending::Interrupted, true, "interrupted, can be resumed"},
        {Ending::None, true, "did not end, can be resumed"},
    };
    RunJournal journal(path());
    EXPECT_EQ(journal.lastResumableRun(Kind::Command), std::nullopt);
    for (const Case& c : cases) {
        qint64 id = 0;
        if (c.ending != Ending::None) {
            id = journal.startRun(Kind::Command, kSource, {});
            journal.endRun(id, c.ending, QStringLiteral("the reason"));
        } else {
            id = killedRun();
        }
        const std::optional<JournalRun> run = journal.run(id);
        EXPECT_EQ(run->canResume(), c.canResume) << c.text.toStdString();
        EXPECT_EQ(endingText(*run, false), c.text);
    }
    const qint64 killed = journal.recentRuns(1).constFirst().id;
    journal.endRun(killed, Ending::LastPage);
    const qint64 interrupted = killed - 1;
    EXPECT_EQ(journal.lastResumableRun(Kind::Command)->id, interrupted);
    EXPECT_EQ(journal.lastResumableRun(Kind::Window), std::nullopt);
    // A run recorded as ended leaves no lock file behind.
    EXPECT_EQ(
        QDir(QFileInfo(path()).absolutePath()).entryList({QStringLiteral("*.lock")}, QDir::Files),
        QStringList());

    // A run under way is nobody else's to take up.
    journal.resumeRun(interrupted, {});
    EXPECT_TRUE(journal.isUnderWay(interrupted));
    EXPECT_EQ(endingText(*journal.run(interrupted), true), QStringLiteral("under way"));
    RunJournal other(path());
    const qint64 cutShort = interrupted - 1;
    EXPECT_EQ(other.lastResumableRun(Kind::Command)->id, cutShort);
    EXPECT_THROW(other.resumeRun(interrupted, {}), JournalError);
    EXPECT_THROW(other.resumeRun(killed, {}), JournalError);
    EXPECT_EQ(journal.recentRuns(3).size(), 3);
}

// A run whose end the journal could not record is known as what it was: one that did not reach
// its own end stays resumable; one that did is never offered as unfinished. A run whose process
// let go of it without any end (its journal failed before) is the same.
TEST_F(JournalTest, AnEndThatCannotBeRecordedNeverMakesAFinishedRunResumable) {
    struct Case {
        std::optional<Ending> ending;  // none: the process ended without telling
        bool canResume;
        QString text;
    };
    const Case cases[] = {
        {Ending::LastPage, false, "ended, not recorded in full"},
        {Ending::RepeatedPage, false, "ended, not recorded in full"},
        {Ending::Stopped, false, "ended, not recorded in full"},
        {std::nullopt, false, "ended, not recorded in full"},
        {Ending::Failed, true, "did not end, can be resumed"},
        {Ending::Interrupted, true, "did not end, can be resumed"},
    };
    for (const Case& c : cases) {
        qint64 id = 0;
        {
            RunJournal journal(path());
            id = journal.startRun(Kind::Command, kSource, {});
            journal.recordPage(id, page(1, {"\"a\""}), 0);
            if (c.ending) {
                failEveryEnd(true);
                EXPECT_THROW(journal.endRun(id, *c.ending), JournalError);
                failEveryEnd(false);
            }
        }
        RunJournal reopened(path());
        const JournalRun run = *reopened.run(id);
        EXPECT_EQ(run.canResume(), c.canResume) << c.text.toStdString();
        EXPECT_EQ(endingText(run, reopened.isUnderWay(id)), c.text);
        EXPECT_EQ(reopened.lastResumableRun(Kind::Command).has_value(), c.canResume);
        if (c.canResume) {
            reopened.endRun(id, Ending::NotResumed);
        }
    }
}

// A page whose lines are not a list of texts stops whoever reads the run, naming run and page,
// instead of passing for a page without listings.
TEST_F(JournalTest, DamagedPageLinesAreReportedWithRunAndPage) {
    const QVariant damages[] = {QStringLiteral("[\"a\", "), QStringLiteral("{\"a\": 1}"),
                                QStringLiteral("[\"a\", 5]"), QStringLiteral("[null]"), 17};
    RunJournal journal(path());
    const qint64 id = journal.startRun(Kind::Command, kSource, {});
    journal.recordPage(id, page(1, {"\"a\""}), 0);
    journal.recordPage(id, page(2, {"\"b\""}), 0);
    for (const QVariant& damage : damages) {
        damagePage(id, 2, damage);
        try {
            journal.pages(id);
            ADD_FAILURE() << damage.toString().toStdString();
        } catch (const JournalError& error) {
            EXPECT_EQ(QString::fromUtf8(error.what()),
                      QStringLiteral("the run journal %1 cannot read page 2 of run %2: its lines "
                                     "are damaged")
                          .arg(path(), QString::number(id)));
        }
    }
    damagePage(id, 2, QStringLiteral("[]"));
    EXPECT_EQ(journal.pages(id).size(), 2);
}

// A journal of the version before output marks keeps its runs, and takes marks from then on.
TEST_F(JournalTest, AnEarlierJournalGetsOutputMarks) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path()).absolutePath()));
    {
        QSqlDatabase old = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "old");
        old.setDatabaseName(path());
        ASSERT_TRUE(old.open());
        QSqlQuery query(old);
        ASSERT_TRUE(query.exec(QStringLiteral(
            "CREATE TABLE runs (id INTEGER PRIMARY KEY, kind TEXT NOT NULL, started TEXT NOT "
            "NULL, source TEXT NOT NULL, settings TEXT NOT NULL, pages INTEGER NOT NULL DEFAULT "
            "0, lines INTEGER NOT NULL DEFAULT 0, dropped INTEGER NOT NULL DEFAULT 0, ended TEXT, "
            "ending TEXT, end_text TEXT)")));
        ASSERT_TRUE(query.exec(QStringLiteral(
            "INSERT INTO runs (kind, started, source, settings, pages, lines, ending) VALUES "
            "('command', '2026-01-02T03:04:05.000Z', 'http://d.example/', '{}', 3, 60, "
            "'last page')")));
        old.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("old"));

    RunJournal journal(path());
    EXPECT_EQ(endingText(*journal.run(1), false), QStringLiteral("last page"));
    EXPECT_EQ(journal.run(1)->outputMark, QString());
    const qint64 id = journal.startRun(Kind::Command, kSource, {}, QStringLiteral("{\"a\":1}"));
    journal.recordPage(id, page(1, {}), 0, QStringLiteral("{\"a\":2}"));
    EXPECT_EQ(RunJournal(path()).run(id)->outputMark, QStringLiteral("{\"a\":2}"));
}

// Started by the test below, as one of two programs opening the same journal at once.
TEST(JournalOpener, RecordsARun) {
    const QString journalPath = qEnvironmentVariable("LARKSPAN_TEST_JOURNAL");
    if (journalPath.isEmpty()) {
        GTEST_SKIP() << "started only by ProgramsOpeningANewJournalTogetherAllKeepIt";
    }
    RunJournal journal(journalPath);
    journal.endRun(journal.startRun(Kind::Command, kSource, {}), Ending::LastPage);
}

// Programs started together all keep their journal, also a new one: none gives up on it.
TEST_F(JournalTest, ProgramsOpeningANewJournalTogetherAllKeepIt) {
    constexpr int kRounds = 50;
    constexpr int kTogether = 2;
    for (int round = 0; round < kRounds; ++round) {
        const QString journalPath =
            m_dir.filePath(QStringLiteral("round%1/journal.sqlite").arg(round));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LARKSPAN_TEST_JOURNAL"), journalPath);
        std::vector<std::unique_ptr<QProcess>> openers;
        for (int i = 0; i < kTogether; ++i) {
            openers.push_back(std::make_unique<QProcess>());
            openers.back()->setProcessEnvironment(environment);
            openers.back()->start(QStringLiteral("/proc/self/exe"),
                                  {QStringLiteral("--gtest_filter=JournalOpener.RecordsARun")});
        }
        for (const std::unique_ptr<QProcess>& opener : openers) {
            ASSERT_TRUE(opener->waitForFinished(30'000));
            ASSERT_EQ(opener->exitCode(), 0)
                << "round " << round << ": " << opener->readAllStandardOutput().toStdString();
        }
        EXPECT_EQ(RunJournal(journalPath).recentRuns(10).size(), kTogether);
    }
}

// The lock goes with its process, however that ends.
TEST_F(JournalTest, ARunLockGoesWithItsProcess) {
    const QString lock = m_dir.filePath(QStringLiteral("run-1.lock"));
    EXPECT_FALSE(RunLock::isHeld(lock));
    {
        const std::unique_ptr<RunLock> held = RunLock::tryHold(lock);
        ASSERT_TRUE(held);
        EXPECT_TRUE(RunLock::isHeld(lock));
        EXPECT_EQ(RunLock::tryHold(lock), nullptr);
    }
    EXPECT_FALSE(RunLock::isHeld(lock));

    QProcess holder;
    // One process that takes the lock, says so, and sleeps.
    holder.start(QStringLiteral("python3"), {QStringLiteral("-c"),
                                             QStringLiteral("import fcntl, sys, time\n"
                                                            "lock = open(sys.argv[1], 'w')\n"
                                                            "fcntl.flock(lock, fcntl.LOCK_EX)\n"
                                                            "print('held', flush=True)\n"
                                                            "time.sleep(60)\n"),
                                             lock});
    ASSERT_TRUE(holder.waitForReadyRead(30'000));
    EXPECT_TRUE(RunLock::isHeld(lock));
    holder.kill();
    holder.waitForFinished();
    EXPECT_FALSE(RunLock::isHeld(lock));
    EXPECT_TRUE(RunLock::tryHold(lock));
}

// The recorder drops repeated listings before they reach the journal, and a resumed run knows
// them; a journal that fails is told once and costs the run nothing but its resume.
TEST_F(JournalTest, TheRecorderKeepsTheJournalOfWhatItKeeps) {
    const QString a =
        QStringLiteral("\"A\",\"1\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"");
    const QString b =
        QStringLiteral("\"B\",\"2\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"");
    RunJournal journal(path());
    qint64 id = 0;
    {
        RunRecorder recorder(&journal, true);
        recorder.start(Kind::Window, kSource, {{"dedupe", true}});
        id = journal.recentRuns(1).constFirst().id;
        EXPECT_EQ(recorder.keep({1, {a, b, a}, "d1"}, "http://d/1"), (QStringList{a, b}));
        EXPECT_EQ(recorder.dropped(), 1);
        EXPECT_EQ(recorder.takeJournalProblem(), QString());
    }
    // Left as a killed process leaves it: no ending.
    EXPECT_EQ(journal.run(id)->lines, 2);
    EXPECT_EQ(journal.run(id)->dropped, 1);

    RunRecorder resumed(&journal, true);
    EXPECT_EQ(resumed.resume(*journal.run(id), QUrl(QStringLiteral("x"))).pages, 1);
    EXPECT_EQ(resumed.keep({2, {b, a}, "d2"}, "http://d/2"), QStringList());
    EXPECT_EQ(resumed.dropped(), 3);

    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "saboteur");
        other.setDatabaseName(path());
        ASSERT_TRUE(other.open());
        ASSERT_TRUE(QSqlQuery(other).exec(QStringLiteral("DROP TABLE pages")));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("saboteur"));
    EXPECT_EQ(resumed.keep({3, {QStringLiteral("\"C\"")}, "d3"}, "http://d/3"),
              QStringList{QStringLiteral("\"C\"")});
    EXPECT_TRUE(resumed.takeJournalProblem().endsWith(
        QStringLiteral("; the run goes on, but cannot be resumed")));
    EXPECT_EQ(resumed.keep({4, {QStringLiteral("\"D\"")}, "d4"}, "http://d/4"),
              QStringList{QStringLiteral("\"D\"")});
    EXPECT_EQ(resumed.takeJournalProblem(), QString());
}

// The journal lives where XDG_DATA_HOME says only when that is an absolute path.
TEST(JournalPath, FollowsOnlyAnAbsoluteDataHome) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    const QString home = QDir::homePath() + QStringLiteral("/.local/share/larkspan/journal.sqlite");
    const struct {
        QByteArray dataHome;
        QString path;
    } cases[] = {
        {"/srv/data", QStringLiteral("/srv/data/larkspan/journal.sqlite")},
        {"data", home},
        {"./data", home},
        {"~/data", home},
        {"", home},
    };
    for (const auto& c : cases) {
        qputenv("XDG_DATA_HOME", c.dataHome);
        EXPECT_EQ(RunJournal::defaultPath(), c.path) << c.dataHome.toStdString();
    }
    qputenv("XDG_DATA_HOME", saved);
}

// A run of `lines` lines of `width` characters each, ended as told, started `daysAgo` days ago.
qint64 addRun(RunJournal& journal, const QString& path, Ending ending, int daysAgo = 0,
              int lines = 1, int width = 10) {
    const qint64 id = journal.startRun(Kind::Command, kSource, {});
    journal.recordPage(id, page(1, QStringList(lines, QString(width, u'x'))), 0);
    if (ending != Ending::None) {
        journal.endRun(id, ending);
    } else {
        // As a process that was killed leaves it.
        RunJournal(path).endRun(id, Ending::None);
    }
    QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "ager");
    other.setDatabaseName(path);
    EXPECT_TRUE(other.open());
    QSqlQuery age(other);
    age.prepare(QStringLiteral("UPDATE runs SET started = ? WHERE id = ?"));
    age.addBindValue(
        QDateTime::currentDateTimeUtc().addDays(-daysAgo).toString(Qt::ISODateWithMs));
    age.addBindValue(id);
    EXPECT_TRUE(age.exec());
    age = QSqlQuery();
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("ager"));
    return id;
}

QList<qint64> runIds(RunJournal& journal) {
    QList<qint64> ids;
    for (const JournalRun& run : journal.recentRuns(100)) {
        ids.prepend(run.id);
    }
    return ids;
}

qint64 bytesOnDisk(const QString& path) {
    return QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size();
}

// Deleted runs give their space back to the disk, also in a journal made without the setting
// that does it, and their ids are never given again.
TEST_F(JournalTest, DeletedRunsGiveTheirSpaceBack) {
    for (const bool madeBefore : {false, true}) {
        SCOPED_TRACE(madeBefore ? "a journal made before" : "a new journal");
        QTemporaryDir dir;
        const QString journalPath = dir.filePath(QStringLiteral("journal.sqlite"));
        if (madeBefore) {
            QSqlDatabase old = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "old");
            old.setDatabaseName(journalPath);
            ASSERT_TRUE(old.open());
            ASSERT_TRUE(QSqlQuery(old).exec(QStringLiteral("PRAGMA auto_vacuum = NONE")));
            ASSERT_TRUE(QSqlQuery(old).exec(QStringLiteral("CREATE TABLE t (x)")));
            old.close();
            old = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("old"));
        }
        RunJournal journal(journalPath);
        const qint64 big = addRun(journal, journalPath, Ending::LastPage, 0, 400, 10'000);
        const qint64 kept = addRun(journal, journalPath, Ending::LastPage, 0, 3);
        const qint64 last = addRun(journal, journalPath, Ending::PageLimit, 0, 200, 10'000);
        EXPECT_GT(journal.size(), 6'000'000);

        journal.deleteRuns({big, last});
        EXPECT_EQ(runIds(journal), QList<qint64>{kept});
        EXPECT_EQ(journal.pages(kept).constFirst().lines.size(), 3);
        EXPECT_TRUE(journal.pages(big).isEmpty());
        EXPECT_LT(journal.size(), 100'000);
        EXPECT_EQ(bytesOnDisk(journalPath), journal.size());
        EXPECT_EQ(journal.startRun(Kind::Command, kSource, {}), last + 1);
    }
}

// A run under way is never deleted, and a deletion that names one deletes nothing.
TEST_F(JournalTest, ARunUnderWayIsNotDeleted) {
    RunJournal journal(path());
    const qint64 ended = addRun(journal, path(), Ending::LastPage);
    RunJournal other(path());
    const qint64 underWay = other.startRun(Kind::Window, kSource, {});
    try {
        journal.deleteRuns({ended, underWay});
        ADD_FAILURE() << "deleted a run under way";
    } catch (const JournalError& error) {
        EXPECT_EQ(QString::fromUtf8(error.what()),
                  QStringLiteral("the run journal %1 cannot delete run %2: it is under way")
                      .arg(path(), QString::number(underWay)));
    }
    EXPECT_THROW(other.deleteRuns({underWay}), JournalError);
    EXPECT_EQ(runIds(journal), (QList<qint64>{ended, underWay}));
}

// Tidying up deletes runs that ended outside every limit given, and never one that did not
// end; to bring the journal under a size, the oldest go first, only as many as it takes.
TEST_F(JournalTest, PruningDeletesOnlyRunsThatEnded) {
    const struct {
        const char* what;
        std::optional<int> keep;
        std::optional<int> olderThan;
        std::optional<qint64> downTo;
        QList<qint64> left;
        int runs;
        qint64 lines;
        int unfinishedKept;
    } cases[] = {
        {"keep 2", 2, {}, {}, {2, 4, 5, 6}, 2, 7, 2},
        {"keep 0", 0, {}, {}, {2, 4}, 4, 13, 2},
        {"older than 30 days", {}, 30, {}, {2, 3, 4, 5, 6}, 1, 3, 1},
        {"keep 1, older than 15 days", 1, 15, {}, {2, 4, 5, 6}, 2, 7, 1},
        {"keep 10", 10, {}, {}, {1, 2, 3, 4, 5, 6}, 0, 0, 0},
        {"down to the size it has", {}, {}, 0, {1, 2, 3, 4, 5, 6}, 0, 0, 0},
        {"down to 1 MB", {}, {}, 1'000'000, {2, 4, 5, 6}, 2, 7, 1},
        {"down to nothing", {}, {}, 1, {2, 4}, 4, 13, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString journalPath = dir.filePath(QStringLiteral("journal.sqlite"));
        RunJournal journal(journalPath);
        // Lines of 100 kB: every run takes about its number of lines in tenths of a megabyte.
        constexpr int kWidth = 100'000;
        addRun(journal, journalPath, Ending::LastPage, 40, 3, kWidth);
        addRun(journal, journalPath, Ending::Interrupted, 40, 2, kWidth);
        addRun(journal, journalPath, Ending::PageLimit, 20, 4, kWidth);
        addRun(journal, journalPath, Ending::NotResumed, 10, 1, kWidth);
        addRun(journal, journalPath, Ending::RepeatedPage, 5, 5, kWidth);
        addRun(journal, journalPath, Ending::LastPage, 0, 1, kWidth);
        const qint64 before = journal.size();
        const PruneOutcome outcome =
            c.downTo ? RunPruning(journal).downTo(*c.downTo == 0 ? before : *c.downTo)
                     : RunPruning(journal).beyond(c.keep, c.olderThan,
                                                  QDateTime::currentDateTime());
        EXPECT_EQ(runIds(journal), c.left);
        EXPECT_EQ(outcome.runs, c.runs);
        EXPECT_EQ(outcome.lines, c.lines);
        EXPECT_EQ(outcome.unfinishedKept, c.unfinishedKept);
        EXPECT_EQ(outcome.sizeBefore, before);
        EXPECT_EQ(outcome.sizeAfter, journal.size());
        EXPECT_EQ(outcome.sizeAfter < before, c.runs > 0);
    }
}

}  // namespace
}  // namespace larkspan
