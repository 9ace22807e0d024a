// `larkspan runs` run as a user runs it, on a journal the test writes: the listing, deleting
// and pruning runs, and reading a data folder that cannot be written.

#include "journal/run_journal.h"
#include "qt_printers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace larkspan {
namespace {

using Ending = JournalRun::Ending;

struct ProcessResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The command with its data folder in `dataHome`, its clock in UTC; as a user without the
// right to write what root may write, when the test runs as root.
ProcessResult runs(const QString& dataHome, const QStringList& arguments,
                   bool unprivileged = false) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    process.setProcessEnvironment(environment);
    QStringList command =
        QStringList{QStringLiteral(LARKSPAN_EXECUTABLE), QStringLiteral("runs")} + arguments;
    if (unprivileged && ::geteuid() == 0) {
        command = QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"),
                              QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups")} +
                  command;
    }
    process.start(command.takeFirst(), command);
    process.waitForFinished(60'000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// Wide enough that a run has pages of its own in the journal's file.
const QString kLine = u'"' + QString(10'000, u'x') + u'"';

struct RunShape {
    QString source;
    Ending ending;
    int daysAgo = 0;
    int lines = 1;
};

// Changes what the journal API does not: the start of a run, or its count of lines.
void setColumn(const QString& path, const QString& column, const QVariant& value, qint64 id) {
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "fixture");
        database.setDatabaseName(path);
        ASSERT_TRUE(database.open());
        QSqlQuery query(database);
        query.prepare(QStringLiteral("UPDATE runs SET %1 = ? WHERE id = ?").arg(column));
        query.addBindValue(value);
        query.addBindValue(id);
        ASSERT_TRUE(query.exec());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
}

// A journal in `dataHome` holding the runs, each started its days before `noon`; its path.
QString writeJournal(const QString& dataHome, const QList<RunShape>& shapes,
                     const QDateTime& noon = QDateTime::currentDateTimeUtc()) {
    const QString path = dataHome + QStringLiteral("/larkspan/journal.sqlite");
    {
        RunJournal journal(path);
        for (const RunShape& shape : shapes) {
            const qint64 id = journal.startRun(JournalRun::Kind::Command, shape.source, {});
            journal.recordPage(id,
                               {1, shape.source, QDateTime::currentDateTimeUtc(),
                                QStringList(shape.lines, kLine), "digest"},
                               0);
            if (shape.ending != Ending::None) {
                journal.endRun(id, shape.ending);
            } else {
                RunJournal(path).endRun(id, Ending::None);
            }
            setColumn(path, QStringLiteral("started"),
                      noon.addDays(-shape.daysAgo).toString(Qt::ISODateWithMs), id);
        }
    }
    return path;
}

QList<qint64> runIds(const QString& path) {
    QList<qint64> ids;
    for (const JournalRun& run : RunJournal(path).recentRuns(100)) {
        ids.prepend(run.id);
    }
    return ids;
}

qint64 bytesOnDisk(const QString& path) {
    return QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size();
}

QString kilobytes(qint64 bytes) {
    return QString::number((bytes + 500) / 1000) + QStringLiteral(" kB");
}

const QString kSource = QStringLiteral("http://d.example/search?page=1");

// Runs 1 to 6: what ended and what did not, of several ages.
const QList<RunShape> kSixRuns = {
    {kSource, Ending::LastPage, 40, 3},    {kSource, Ending::Interrupted, 40, 2},
    {kSource, Ending::PageLimit, 20, 4},   {kSource, Ending::NotResumed, 10, 1},
    {kSource, Ending::RepeatedPage, 5, 5}, {kSource, Ending::LastPage, 0, 1},
};

// Deleting and pruning say what they did and give the space back; mistakes are usage errors,
// a run that is not there a failure, and either deletes nothing.
TEST(RunsCommand, DeletesAndPrunesAsTold) {
    const QString kept =
        QStringLiteral("Kept %1 that did not end: larkspan runs delete ID deletes one\n");
    const struct {
        QStringList arguments;
        int exitCode;
        // %1: the journal's size after, %2: before.
        QString out;
        QString err;
        QList<qint64> left;
    } cases[] = {
        {{"delete", "3"},
         0,
         "Deleted run 3 (4 lines); the run journal takes %1 (was %2)\n",
         "",
         {1, 2, 4, 5, 6}},
        {{"delete", "6", "1", "6"},
         0,
         "Deleted runs 6, 1 (4 lines); the run journal takes %1 (was %2)\n",
         "",
         {2, 3, 4, 5}},
        {{"delete", "4"},
         0,
         "Deleted run 4 (1 line); the run journal takes %1 (was %2)\n",
         "",
         {1, 2, 3, 5, 6}},
        {{"delete", "2", "9"}, 1, "", "larkspan: there is no run 9\n", {1, 2, 3, 4, 5, 6}},
        {{"delete", "2", "x"},
         2,
         "",
         "larkspan: delete needs run IDs, not 'x'\n",
         {1, 2, 3, 4, 5, 6}},
        {{"delete", "0"}, 2, "", "larkspan: delete needs run IDs, not '0'\n", {1, 2, 3, 4, 5, 6}},
        {{"delete"},
         2,
         "",
         "larkspan: runs delete needs the IDs of the runs to delete\n",
         {1, 2, 3, 4, 5, 6}},
        {{"prune", "--keep", "2"},
         0,
         "Deleted 2 runs (7 lines); the run journal takes %1 (was %2)\n" + kept.arg("2 runs"),
         "",
         {2, 4, 5, 6}},
        {{"prune", "--older-than", "30"},
         0,
         "Deleted 1 run (3 lines); the run journal takes %1 (was %2)\n" + kept.arg("1 run"),
         "",
         {2, 3, 4, 5, 6}},
        {{"prune", "--keep", "1", "--older-than", "15"},
         0,
         "Deleted 2 runs (7 lines); the run journal takes %1 (was %2)\n" + kept.arg("1 run"),
         "",
         {2, 4, 5, 6}},
        {{"prune", "--keep", "10"},
         0,
         "No runs to delete; the run journal takes %1\n",
         "",
         {1, 2, 3, 4, 5, 6}},
        {{"prune"},
         2,
         "",
         "larkspan: runs prune needs --keep N, --older-than DAYS or both\n",
         {1, 2, 3, 4, 5, 6}},
        {{"prune", "--keep", "-1"},
         2,
         "",
         "larkspan: --keep needs a whole number of at least 0\n",
         {1, 2, 3, 4, 5, 6}},
        {{"prune", "3"},
         2,
         "",
         "larkspan: runs takes no arguments, or one of: export ID, delete ID..., prune [--keep N] "
         "[--older-than DAYS]\n",
         {1, 2, 3, 4, 5, 6}},
        {{"--keep", "3"}, 2, "", "larkspan: --keep is for runs prune only\n", {1, 2, 3, 4, 5, 6}},
        {{"delete", "1", "-o", "x.csv"},
         2,
         "",
         "larkspan: --output is for runs export only\n",
         {1, 2, 3, 4, 5, 6}},
        {{"prune", "--count", "3", "--keep", "1"},
         2,
         "",
         "larkspan: --count is for listing runs only\n",
         {1, 2, 3, 4, 5, 6}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        QTemporaryDir dir;
        const QString path = writeJournal(dir.path(), kSixRuns);
        const qint64 before = bytesOnDisk(path);
        const ProcessResult result = runs(dir.path(), c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode);
        const qint64 after = bytesOnDisk(path);
        const QString out = c.out.contains(u"%2")   ? c.out.arg(kilobytes(after), kilobytes(before))
                            : c.out.contains(u"%1") ? c.out.arg(kilobytes(after))
                                                    : c.out;
        EXPECT_EQ(QString::fromUtf8(result.out), out);
        EXPECT_EQ(QString::fromUtf8(result.err), c.err);
        EXPECT_EQ(runIds(path), c.left);
        EXPECT_EQ(after < before, c.left.size() < kSixRuns.size());
    }
}

// A run that a process runs is not deleted.
TEST(RunsCommand, LeavesARunUnderWay) {
    QTemporaryDir dir;
    const QString path = writeJournal(dir.path(), kSixRuns);
    RunJournal journal(path);
    journal.resumeRun(2, {});
    const ProcessResult result = runs(dir.path(), {"delete", "1", "2"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(result.err),
              QStringLiteral("larkspan: the run journal %1 cannot delete run 2: it is under way\n")
                  .arg(path));
    EXPECT_EQ(runIds(path), (QList<qint64>{1, 2, 3, 4, 5, 6}));
}

// The columns line up whatever the values; a long address is cut in its middle, and one with
// spaces or letters beyond ASCII is shown encoded.
TEST(RunsCommand, ListsRunsInAlignedColumns) {
    QTemporaryDir dir;
    const QString fifty = QStringLiteral("http://d.example/") + QString(33, u'a');
    const QString long_ = QStringLiteral("http://directory.example/search?what=") +
                          QString(200, u'b') + QStringLiteral("&where=sydney&page=1");
    const QString path = writeJournal(
        dir.path(),
        {{QStringLiteral("http://d.example/1"), Ending::LastPage, 0, 21},
         {fifty, Ending::PageLimit, 0, 2},
         {fifty + u'a', Ending::Interrupted, 0, 1},
         {long_, Ending::LastPage, 0, 1},
         {QStringLiteral("file:///home/me/My Site/caf\u00e9.html"), Ending::NotResumed, 0, 1}},
        QDateTime(QDate(2026, 1, 2), QTime(12, 0), Qt::UTC));
    setColumn(path, QStringLiteral("lines"), 1234567, 2);
    const ProcessResult result = runs(dir.path(), {});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(result.out),
              QStringLiteral("ID  Started              Kind     From       Pages    Lines  Source  "
                             "                          "
                             "                  End\n"
                             " 5  2026-01-02 12:00:00  command  directory      1        1  "
                             "file:///home/me/My%20Site/caf%C3%A"
                             "9.html            did not end, not resumed\n"
                             " 4  2026-01-02 12:00:00  command  directory      1        1  "
                             "http://directory.example\u2026bbbb"
                             "b&where=sydney&page=1  last page\n"
                             " 3  2026-01-02 12:00:00  command  directory      1        1  "
                             "http://d.example/aaaaaaa\u2026aaaa"
                             "aaaaaaaaaaaaaaaaaaaaa  interrupted, can be resumed\n"
                             " 2  2026-01-02 12:00:00  command  directory      1  1234567  "
                             "http://d.example/aaaaaaaaaaaaaaaaa"
                             "aaaaaaaaaaaaaaaa  page limit\n"
                             " 1  2026-01-02 12:00:00  command  directory      1       21  "
                             "http://d.example/1                "
                             "                  last page\n"));
}

// Listing and writing lines again only read: they work where the data folder cannot be
// written, change nothing there, and make no journal where there is none.
TEST(RunsCommand, OnlyReadsTheDataFolder) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none"));
    EXPECT_EQ(runs(missing, {}).out, QByteArray("No capture runs yet.\n"));
    EXPECT_EQ(runs(missing, {"export", "1"}).err, QByteArray("larkspan: there is no run 1\n"));
    EXPECT_FALSE(QFileInfo::exists(missing));

    const QString path = writeJournal(dir.path(), {{kSource, Ending::LastPage, 0, 2}});
    const QString folder = QFileInfo(path).absolutePath();
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                        QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    for (const QString& readable : {dir.path(), folder}) {
        ASSERT_TRUE(QFile::setPermissions(readable, readOnly));
    }
    ASSERT_TRUE(QFile::setPermissions(path, readOnly));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();

    const ProcessResult listing = runs(dir.path(), {}, true);
    EXPECT_EQ(listing.exitCode, 0) << listing.err.toStdString();
    EXPECT_TRUE(listing.out.contains("  last page\n")) << listing.out.toStdString();
    const ProcessResult exported = runs(dir.path(), {"export", "1"}, true);
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out, "\xEF\xBB\xBF" + (kLine + QStringLiteral("\r\n")).repeated(2).toUtf8());
    EXPECT_EQ(exported.err, QByteArray("Run 1: 2 lines written to standard output\n"));

    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("journal.sqlite")});
    for (const QString& writable : {dir.path(), folder}) {
        QFile::setPermissions(writable, readOnly | QFile::WriteOwner);
    }
}

}  // namespace
}  // namespace larkspan
