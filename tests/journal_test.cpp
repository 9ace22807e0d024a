#include "journal/journal_error.h"
#include "journal/run_journal.h"
#include "journal/run_lock.h"
#include "journal/run_recorder.h"
#include "qt_printers.h"

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

// Only a run that did not end by itself can be resumed, and only while no process runs it.
TEST_F(JournalTest, TheLastRunThatDidNotEndIsTheOneToResume) {
    struct Case {
        Ending ending;
        bool canResume;
        QString text;
    };
    const Case cases[] = {
        {Ending::LastPage, false, "last page"},
        {Ending::PageLimit, false, "page limit"},
        {Ending::Stopped, false, "stopped by the user"},
        {Ending::Failed, false, "cut short: the reason"},
        {Ending::NotResumed, false, "did not end, not resumed"},
        {Ending::Interrupted, true, "interrupted, can be resumed"},
        {Ending::None, true, "did not end, can be resumed"},
    };
    RunJournal journal(path());
    EXPECT_EQ(journal.lastResumableRun(Kind::Command), std::nullopt);
    for (const Case& c : cases) {
        const qint64 id = journal.startRun(Kind::Command, kSource, {});
        if (c.ending != Ending::None) {
            journal.endRun(id, c.ending, QStringLiteral("the reason"));
        } else {
            // As a process that was killed leaves it.
            RunJournal(path()).endRun(id, Ending::None);
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

    // A run under way is nobody else's to take up.
    journal.resumeRun(interrupted);
    EXPECT_TRUE(journal.isUnderWay(interrupted));
    EXPECT_EQ(endingText(*journal.run(interrupted), true), QStringLiteral("under way"));
    RunJournal other(path());
    EXPECT_EQ(other.lastResumableRun(Kind::Command), std::nullopt);
    EXPECT_THROW(other.resumeRun(interrupted), JournalError);
    EXPECT_THROW(other.resumeRun(killed), JournalError);
    EXPECT_EQ(journal.recentRuns(3).size(), 3);
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
    EXPECT_EQ(resumed.resume(*journal.run(id)).pages, 1);
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

}  // namespace
}  // namespace larkspan
