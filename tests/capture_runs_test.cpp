// `larkspan capture` and `larkspan runs` as a user drives them, against the sample site served
// from 127.0.0.1: a run killed mid-way and resumed gives the lines of one never interrupted, a
// page refused for now is loaded again, repeated listings are dropped, and any run's lines can
// be written again.

#include "capture/result_fields.h"
#include "tests/support/featured_sample_site.h"
#include "tests/support/test_http_server.h"
#include "tests/support/workbook_reader.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <csignal>

namespace larkspan {
namespace {

using namespace std::chrono_literals;
using test::workbookRows;

const QString kSampleFolder = QStringLiteral(LARKSPAN_TEST_DATA "/../../samples/directory");
const QString kSamplesFolder = QStringLiteral(LARKSPAN_TEST_DATA "/../../samples");
const QString kPlainProfile = kSamplesFolder + QStringLiteral("/profiles/plain.json");
const QByteArray kUtf8Signature = QByteArrayLiteral("\xEF\xBB\xBF");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

// The hand-checked lines of the sample site, as a results file has them.
QByteArray expectedFile() {
    QByteArray lines =
        readFile(QStringLiteral(LARKSPAN_TEST_DATA "/sample_directory_expected.csv"));
    lines.replace("\n", "\r\n");
    return kUtf8Signature + lines;
}

QStringList expectedLines() {
    return QString::fromUtf8(expectedFile().mid(3))
        .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

QProcessEnvironment environmentWith(const QString& dataHome) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    return environment;
}

struct Run {
    int exitCode = -1;
    QStringList errorLines;
    QByteArray out;
};

// Runs the program with its data folder in `dataHome`; once standard error shows `killAfter`,
// sends it `signal`.
Run larkspan(const QString& dataHome, const QStringList& arguments,
             const QByteArray& killAfter = {}, int signal = 0) {
    QProcess process;
    process.setProcessEnvironment(environmentWith(dataHome));
    process.setProgram(QStringLiteral(LARKSPAN_EXECUTABLE));
    process.setArguments(arguments);
    QByteArray errors;
    bool sent = false;
    QObject::connect(&process, &QProcess::readyReadStandardError, &process, [&] {
        errors += process.readAllStandardError();
        if (!sent && !killAfter.isEmpty() && errors.contains(killAfter)) {
            sent = true;
            ::kill(pid_t(process.processId()), signal);
        }
    });
    // The server answers in this process, so the wait keeps the event loop running.
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(100s, &loop, &QEventLoop::quit);
    process.start();
    loop.exec();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return {-1, {QStringLiteral("<still running after 100 s>")}, {}};
    }
    errors += process.readAllStandardError();
    QStringList lines = QString::fromUtf8(errors).split(u'\n', Qt::SkipEmptyParts);
    lines.removeIf(
        [](const QString& line) { return line.startsWith("larkspan: running as root"); });
    return {process.exitStatus() == QProcess::CrashExit ? -signal : process.exitCode(), lines,
            process.readAllStandardOutput()};
}

// The sample site as files of the test's own, to take a page away and put it back.
bool copySampleSite(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        return false;
    }
    for (const QString name : {"page1.html", "page2.html", "page3.html"}) {
        if (!QFile::copy(kSampleFolder + u'/' + name, folder + u'/' + name)) {
            return false;
        }
    }
    return true;
}

QList<QStringList> expectedRows() {
    QList<QStringList> rows{{}};
    for (const ResultColumn& column : resultColumns()) {
        rows.front().append(column.title);
    }
    for (const QString& line : expectedLines()) {
        rows.append(resultFields(line));
    }
    return rows;
}

}  // namespace

class CaptureRunsTest : public QObject {
    Q_OBJECT

public:
    CaptureRunsTest() : m_server(kSampleFolder) {}

private slots:
    void initTestCase();
    void init();
    void resumedRunGivesTheLinesOfAnUninterruptedOne_data();
    void resumedRunGivesTheLinesOfAnUninterruptedOne();
    void refusedPageSucceedsOnTheThirdTry();
    void repeatedFeaturedListingIsDropped_data();
    void repeatedFeaturedListingIsDropped();
    void runsAreListedAndTheirLinesWrittenAgain();
    void resumeProblems_data();
    void resumeProblems();
    void runCutShortByAFailureIsResumed_data();
    void runCutShortByAFailureIsResumed();
    void resumeNeverWritesOverAFileWrittenSince();
    void secondRunOnTheSameFileRefusesAtOnce();
    void damagedPageFailsTheExport();
    void profileRunResumesWithTheRulesItStartedWith();
    void badProfileIsRefusedBeforeAnyPage_data();
    void badProfileIsRefusedBeforeAnyPage();
    void profileCheckShowsWhatTheProfileFinds();
    void batchKilledAndResumedGivesTheBytesOfOneUninterrupted_data();
    void batchKilledAndResumedGivesTheBytesOfOneUninterrupted();

private:
    test::TestHttpServer m_server;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void CaptureRunsTest::initTestCase() {
    QVERIFY(m_server.listen());
}

void CaptureRunsTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_server.setDelay(QStringLiteral("/page2.html"), 0ms);
    m_server.setDelay(QStringLiteral("/page3.html"), 0ms);
}

void CaptureRunsTest::resumedRunGivesTheLinesOfAnUninterruptedOne_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("pagesBefore");
    QTest::addColumn<QString>("output");
    QTest::newRow("killed after page 1") << int(SIGKILL) << 1 << "results.csv";
    QTest::newRow("terminated after page 2") << int(SIGTERM) << 2 << "results.csv";
    QTest::newRow("killed after page 1, a workbook") << int(SIGKILL) << 1 << "results.xlsx";
    QTest::newRow("killed after page 2, JSON Lines") << int(SIGKILL) << 2 << "results.jsonl";
    // A stream goes on where it stopped, without a second signature.
    QTest::newRow("killed after page 1, standard output") << int(SIGKILL) << 1 << "";
}

void CaptureRunsTest::resumedRunGivesTheLinesOfAnUninterruptedOne() {
    QFETCH(int, signal);
    QFETCH(int, pagesBefore);
    QFETCH(QString, output);
    const QString dataHome = m_dir->filePath(QStringLiteral("data"));
    const QString path = m_dir->filePath(output);
    const QString uninterrupted = m_dir->filePath(QStringLiteral("whole-") + output);
    const QStringList source{QStringLiteral("capture"), m_server.url("/page1.html").toString()};

    if (!output.isEmpty()) {
        QCOMPARE(larkspan(dataHome, source + QStringList{"-o", uninterrupted}).exitCode, 0);
    }
    // The next page never comes: the program is killed while it waits.
    m_server.setDelay(QStringLiteral("/page%1.html").arg(pagesBefore + 1), 90s);
    const Run killed =
        larkspan(dataHome, output.isEmpty() ? source : source + QStringList{"-o", path},
                 QStringLiteral("page %1: ").arg(pagesBefore).toUtf8(), signal);
    QVERIFY2(killed.exitCode == (signal == SIGKILL ? -SIGKILL : 130),
             qPrintable(killed.errorLines.join(u'\n')));
    m_server.setDelay(QStringLiteral("/page%1.html").arg(pagesBefore + 1), 0ms);

    const Run resumed = larkspan(dataHome, {QStringLiteral("capture"), QStringLiteral("--resume")});
    QVERIFY2(resumed.exitCode == 0, qPrintable(resumed.errorLines.join(u'\n')));
    QVERIFY2(resumed.errorLines.value(0).startsWith(
                 QStringLiteral("Resuming run %1 of ").arg(output.isEmpty() ? 1 : 2)),
             qPrintable(resumed.errorLines.join(u'\n')));
    QCOMPARE(resumed.errorLines.value(0).section(QStringLiteral(" after "), 1),
             QStringLiteral("%1 page%2, %3 lines so far")
                 .arg(QString::number(pagesBefore), pagesBefore == 1 ? "" : "s",
                      pagesBefore == 1 ? "21" : "41"));
    QVERIFY(
        resumed.errorLines.value(1).startsWith(QStringLiteral("page %1: ").arg(pagesBefore + 1)));
    QCOMPARE(resumed.errorLines.constLast(),
             QStringLiteral("A total of 60 addresses have been scraped!"));
    if (output.isEmpty()) {
        QCOMPARE(killed.out + resumed.out, expectedFile());
    } else if (output.endsWith(QStringLiteral(".xlsx"))) {
        QCOMPARE(workbookRows(path), expectedRows());
        QCOMPARE(workbookRows(uninterrupted), expectedRows());
    } else {
        QCOMPARE(readFile(path), readFile(uninterrupted));
        if (output.endsWith(QStringLiteral(".csv"))) {
            QCOMPARE(readFile(path), expectedFile());
        }
    }
    // It ended now, and there is nothing left to resume.
    QCOMPARE(larkspan(dataHome, {QStringLiteral("capture"), QStringLiteral("--resume")}).exitCode,
             1);
}

void CaptureRunsTest::refusedPageSucceedsOnTheThirdTry() {
    const QString path = m_dir->filePath(QStringLiteral("results.csv"));
    // A server that asks for no wait still gets one, growing.
    m_server.setRefusals(QStringLiteral("/page2.html"), 2, "0");
    const Run run = larkspan(m_dir->filePath(QStringLiteral("data")),
                             {QStringLiteral("capture"), m_server.url("/page1.html").toString(),
                              QStringLiteral("-o"), path});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errorLines.join(u'\n')));
    const QString refused = m_server.url("/page2.html").toString() +
                            QStringLiteral(
                                ": the server answered with HTTP status 429; trying "
                                "again in ");
    QCOMPARE(run.errorLines.mid(1, 2), (QStringList{refused + QStringLiteral("1 s (1 of 5)"),
                                                    refused + QStringLiteral("2 s (2 of 5)")}));
    QVERIFY(run.errorLines.value(3).startsWith(QStringLiteral("page 2: ")));
    QCOMPARE(readFile(path), expectedFile());
}

void CaptureRunsTest::repeatedFeaturedListingIsDropped_data() {
    QTest::addColumn<bool>("dedupe");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QStringList>("lastLines");
    QTest::newRow("kept") << false << 62
                          << QStringList{"A total of 62 addresses have been scraped!"};
    QTest::newRow("dropped") << true << 60
                             << QStringList{"2 repeated listings dropped",
                                            "A total of 60 addresses have been scraped!"};
}

void CaptureRunsTest::repeatedFeaturedListingIsDropped() {
    QFETCH(bool, dedupe);
    QFETCH(int, lines);
    QFETCH(QStringList, lastLines);
    const QString site = m_dir->filePath(QStringLiteral("site"));
    QVERIFY(test::writeFeaturedSampleSite(site));
    const QString path = m_dir->filePath(QStringLiteral("results.csv"));
    QStringList arguments{QStringLiteral("capture"), site + QStringLiteral("/page1.html"),
                          QStringLiteral("-o"), path};
    if (dedupe) {
        arguments.append(QStringLiteral("--dedupe"));
    }
    const Run run = larkspan(m_dir->filePath(QStringLiteral("data")), arguments);
    QVERIFY2(run.exitCode == 0, qPrintable(run.errorLines.join(u'\n')));
    QCOMPARE(run.errorLines.mid(3), lastLines);
    if (dedupe) {
        QVERIFY(run.errorLines[1].endsWith(
            QStringLiteral("page2.html: 20 listings (1 repeated ones dropped), 41 in all")));
        QCOMPARE(readFile(path), expectedFile());
    }
    QCOMPARE(readFile(path).count("\r\n"), lines);
}

void CaptureRunsTest::runsAreListedAndTheirLinesWrittenAgain() {
    const QString dataHome = m_dir->filePath(QStringLiteral("data"));
    QCOMPARE(larkspan(dataHome, {QStringLiteral("runs")}).out,
             QByteArray("No capture runs yet.\n"));
    const QString source = m_server.url("/page1.html").toString();
    QCOMPARE(larkspan(dataHome, {QStringLiteral("capture"), source, QStringLiteral("--max-pages"),
                                 QStringLiteral("2")})
                 .exitCode,
             0);

    const QStringList listing = QString::fromUtf8(larkspan(dataHome, {QStringLiteral("runs")}).out)
                                    .split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(listing.size(), 2);
    QCOMPARE(listing[0].simplified(),
             QStringLiteral("ID Started Kind From Pages Lines Source End"));
    QVERIFY2(listing[1].simplified().startsWith(QStringLiteral("1 20")), qPrintable(listing[1]));
    QVERIFY2(listing[1].simplified().endsWith(
                 QStringLiteral("command directory 2 41 %1 page limit").arg(source)),
             qPrintable(listing[1]));

    const QString jsonl = m_dir->filePath(QStringLiteral("again.jsonl"));
    const QString xlsx = m_dir->filePath(QStringLiteral("again.xlsx"));
    const Run json = larkspan(dataHome, {QStringLiteral("runs"), QStringLiteral("export"),
                                         QStringLiteral("1"), QStringLiteral("-o"), jsonl});
    QCOMPARE(json.errorLines, QStringList{QStringLiteral("Run 1: 41 lines written to ") + jsonl});
    QCOMPARE(readFile(jsonl).count('\n'), 41);
    QCOMPARE(larkspan(dataHome, {QStringLiteral("runs"), QStringLiteral("export"),
                                 QStringLiteral("1"), QStringLiteral("-o"), xlsx})
                 .exitCode,
             0);
    QCOMPARE(workbookRows(xlsx), expectedRows().mid(0, 42));
    const Run csv =
        larkspan(dataHome, {QStringLiteral("runs"), QStringLiteral("export"), QStringLiteral("1")});
    QCOMPARE(csv.out, kUtf8Signature + expectedLines().mid(0, 41).join("\r\n").toUtf8() + "\r\n");
}

void CaptureRunsTest::resumeProblems_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing to resume")
        << QStringList{"capture", "--resume"} << 1
        << "larkspan: no run to resume: every run of the command ended by itself or is under way";
    QTest::newRow("resume with a source")
        << QStringList{"capture", "--resume", "page1.html"} << 2
        << "larkspan: --resume takes a run ID (see larkspan runs), not 'page1.html'; the run goes "
           "on with its own SOURCE";
    QTest::newRow("resume with options of its own")
        << QStringList{"capture", "--resume", "--max-pages", "2"} << 2
        << "larkspan: --resume goes on with the run's own SOURCE and options; give none but a run "
           "ID and -o FILE";
    QTest::newRow("resume of a run that is not there")
        << QStringList{"capture", "--resume", "7", "-o", "x.csv"} << 1
        << "larkspan: there is no run 7";
    QTest::newRow("export of a run that is not there")
        << QStringList{"runs", "export", "7"} << 1 << "larkspan: there is no run 7";
    QTest::newRow("export without an ID")
        << QStringList{"runs", "export"} << 2
        << "larkspan: runs takes no arguments, or one of: export ID, delete ID..., prune "
           "[--keep N] [--older-than DAYS]";
    QTest::newRow("a workbook to standard output")
        << QStringList{"capture", "page1.html", "--format", "xlsx"} << 2
        << "larkspan: a workbook needs a file: give -o FILE.xlsx";
    QTest::newRow("a workbook into a .csv file")
        << QStringList{"capture", "page1.html", "-o", "x.csv", "--format", "xlsx"} << 2
        << "larkspan: --format xlsx contradicts the extension of x.csv";
    QTest::newRow("CSV exported into a .XLSX file")
        << QStringList{"runs", "export", "7", "-o", "x.XLSX", "--format", "csv"} << 2
        << "larkspan: --format csv contradicts the extension of x.XLSX";
    QTest::newRow("a formula guard for JSON")
        << QStringList{"capture", "page1.html", "-o", "x.jsonl", "--csv-formula-guard"} << 2
        << "larkspan: --csv-formula-guard is for CSV output only";
    QTest::newRow("a delay range backwards")
        << QStringList{"capture", "page1.html", "--delay", "3000-1000"} << 2
        << "larkspan: --delay needs MS or MIN-MAX, whole milliseconds with MIN not above MAX";
    QTest::newRow("a listing text into a workbook")
        << QStringList{"capture", "--from-text", "x.txt", "-o", "x.xlsx"} << 2
        << "larkspan: --from-text writes CSV only";
}

void CaptureRunsTest::resumeProblems() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Run run = larkspan(m_dir->filePath(QStringLiteral("data")), arguments);
    QCOMPARE(run.errorLines, QStringList{message});
    QCOMPARE(run.exitCode, exitCode);
}

// A run that a failure cut short says how to resume it, and the resume gives the lines of a run
// never cut short.
void CaptureRunsTest::runCutShortByAFailureIsResumed_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("standIn");  // what the page is meanwhile; empty: none
    QTest::addColumn<QString>("reason");   // "{page}" stands for the page's address
    QTest::newRow("page 3 missing") << "page3.html"
                                    << ""
                                    << "Cut short after 2 pages: {page}: the load failed: "
                                       "net::ERR_FILE_NOT_FOUND";
    QTest::newRow("page 2 asks for a human check")
        << "page2.html"
        << "widget.html"
        << "Cut short after 1 page: page 2 asks for a human check (captcha)";
}

void CaptureRunsTest::runCutShortByAFailureIsResumed() {
    QFETCH(QString, page);
    QFETCH(QString, standIn);
    QFETCH(QString, reason);
    const QString dataHome = m_dir->filePath(QStringLiteral("data"));
    const QString site = m_dir->filePath(QStringLiteral("site"));
    QVERIFY(copySampleSite(site));
    const QString path = m_dir->filePath(QStringLiteral("results.csv"));
    QVERIFY(QFile::rename(site + u'/' + page, site + QStringLiteral("/gone")));
    if (!standIn.isEmpty()) {
        QVERIFY(QFile::copy(QStringLiteral(LARKSPAN_TEST_DATA "/sources/checks/") + standIn,
                            site + u'/' + page));
    }

    const Run failed =
        larkspan(dataHome, {QStringLiteral("capture"), site + QStringLiteral("/page1.html"),
                            QStringLiteral("-o"), path});
    QCOMPARE(failed.exitCode, 1);
    QCOMPARE(failed.errorLines.constLast(),
             QString(reason).replace(QStringLiteral("{page}"),
                                     QUrl::fromLocalFile(site + u'/' + page).toString()) +
                 QStringLiteral("; to resume: larkspan capture --resume 1"));

    QFile::remove(site + u'/' + page);
    QVERIFY(QFile::rename(site + QStringLiteral("/gone"), site + u'/' + page));
    const Run resumed = larkspan(dataHome, {QStringLiteral("capture"), QStringLiteral("--resume")});
    QVERIFY2(resumed.exitCode == 0, qPrintable(resumed.errorLines.join(u'\n')));
    QCOMPARE(readFile(path), expectedFile());
}

// Run 1 was killed; run 2 wrote the same file since. Resuming run 1 would put its lines over
// those of run 2: it refuses, and resumes into another file when given one.
void CaptureRunsTest::resumeNeverWritesOverAFileWrittenSince() {
    const QString dataHome = m_dir->filePath(QStringLiteral("data"));
    const QString path = m_dir->filePath(QStringLiteral("report.csv"));
    const QString source = m_server.url("/page1.html").toString();
    m_server.setDelay(QStringLiteral("/page2.html"), 90s);
    const Run killed =
        larkspan(dataHome, {QStringLiteral("capture"), source, QStringLiteral("-o"), path},
                 "page 1: ", SIGKILL);
    QCOMPARE(killed.exitCode, -SIGKILL);
    m_server.setDelay(QStringLiteral("/page2.html"), 0ms);
    QCOMPARE(larkspan(dataHome, {QStringLiteral("capture"), source, QStringLiteral("-o"), path})
                 .exitCode,
             0);

    const Run refused = larkspan(dataHome, {QStringLiteral("capture"), QStringLiteral("--resume")});
    QCOMPARE(refused.errorLines,
             QStringList{QStringLiteral("larkspan: cannot resume run 1: %1 is no longer the file "
                                        "the run left (another run or program wrote it since); to "
                                        "resume into another file: larkspan capture --resume 1 "
                                        "-o FILE")
                             .arg(path)});
    QCOMPARE(refused.exitCode, 1);
    QCOMPARE(readFile(path), expectedFile());

    const QString other = m_dir->filePath(QStringLiteral("other.csv"));
    const Run resumed = larkspan(dataHome, {QStringLiteral("capture"), QStringLiteral("--resume"),
                                            QStringLiteral("1"), QStringLiteral("-o"), other});
    QVERIFY2(resumed.exitCode == 0, qPrintable(resumed.errorLines.join(u'\n')));
    QCOMPARE(readFile(other), expectedFile());
    QCOMPARE(readFile(path), expectedFile());
}

// The second run naming a file that a run is writing, under any of its names, refuses before it
// loads a page.
void CaptureRunsTest::secondRunOnTheSameFileRefusesAtOnce() {
    const QString dataHome = m_dir->filePath(QStringLiteral("data"));
    const QString path = m_dir->filePath(QStringLiteral("report.csv"));
    const QString link = m_dir->filePath(QStringLiteral("link.csv"));
    const QString source = m_server.url("/page1.html").toString();
    m_server.setDelay(QStringLiteral("/page2.html"), 90s);
    QProcess first;
    first.setProcessEnvironment(environmentWith(dataHome));
    first.start(QStringLiteral(LARKSPAN_EXECUTABLE),
                {QStringLiteral("capture"), source, QStringLiteral("-o"), path});
    QByteArray firstErrors;
    QTRY_VERIFY_WITH_TIMEOUT((firstErrors += first.readAllStandardError()).contains("page 1: "),
                             60'000);
    QVERIFY(QFile::link(path, link));

    const Run second =
        larkspan(dataHome, {QStringLiteral("capture"), source, QStringLiteral("-o"), link});
    QCOMPARE(second.errorLines,
             QStringList{QStringLiteral("larkspan: cannot write %1: another capture run is "
                                        "writing it")
                             .arg(link)});
    QCOMPARE(second.exitCode, 1);
    first.kill();
    first.waitForFinished();
    m_server.setDelay(QStringLiteral("/page2.html"), 0ms);
    // The lock goes with the run, however it ends.
    QCOMPARE(larkspan(dataHome, {QStringLiteral("capture"), source, QStringLiteral("-o"), link})
                 .exitCode,
             0);
    QCOMPARE(readFile(path), expectedFile());
}

void CaptureRunsTest::damagedPageFailsTheExport() {
    const QString dataHome = m_dir->filePath(QStringLiteral("data"));
    QCOMPARE(larkspan(dataHome, {QStringLiteral("capture"), m_server.url("/page1.html").toString(),
                                 QStringLiteral("--max-pages"), QStringLiteral("2")})
                 .exitCode,
             0);
    const QString journal = dataHome + QStringLiteral("/larkspan/journal.sqlite");
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "damage");
        database.setDatabaseName(journal);
        QVERIFY(database.open());
        QVERIFY(QSqlQuery(database).exec(
            QStringLiteral("UPDATE pages SET lines = '[\"a\", 5]' WHERE number = 2")));
        database.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("damage"));

    const QString path = m_dir->filePath(QStringLiteral("again.csv"));
    const Run exported = larkspan(dataHome, {QStringLiteral("runs"), QStringLiteral("export"),
                                             QStringLiteral("1"), QStringLiteral("-o"), path});
    QCOMPARE(exported.errorLines,
             QStringList{QStringLiteral("larkspan: the run journal %1 cannot read page 2 of run "
                                        "1: its lines are damaged")
                             .arg(journal)});
    QCOMPARE(exported.exitCode, 1);
    QVERIFY(!QFile::exists(path));
}

void CaptureRunsTest::profileRunResumesWithTheRulesItStartedWith() {
    test::TestHttpServer site(kSamplesFolder);
    QVERIFY(site.listen());
    const QString dataHome = m_dir->filePath(QStringLiteral("data"));
    const QString profile = m_dir->filePath(QStringLiteral("harbour.json"));
    QVERIFY(QFile::copy(kPlainProfile, profile));
    const QString path = m_dir->filePath(QStringLiteral("results.csv"));
    const QString uninterrupted = m_dir->filePath(QStringLiteral("whole.csv"));
    const QStringList capture{QStringLiteral("capture"), QStringLiteral("--profile"), profile,
                              site.url("/plain/page1.html").toString(), QStringLiteral("-o")};
    const Run whole = larkspan(dataHome, capture + QStringList{uninterrupted});
    QVERIFY2(whole.exitCode == 0, qPrintable(whole.errorLines.join(u'\n')));
    QVERIFY2(whole.errorLines.value(0).endsWith(QStringLiteral(
                 "4 listings, 4 in all (listings from profile Stonefruit Trades Guide)")),
             qPrintable(whole.errorLines.join(u'\n')));

    site.setDelay(QStringLiteral("/plain/page2.html"), 90s);
    const Run killed = larkspan(dataHome, capture + QStringList{path}, "page 1: ", SIGKILL);
    QCOMPARE(killed.exitCode, -SIGKILL);
    site.setDelay(QStringLiteral("/plain/page2.html"), 0ms);
    // The run keeps the rules it started with, whatever becomes of the file.
    QFile damaged(profile);
    QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("{");
    damaged.close();

    const Run resumed = larkspan(dataHome, {QStringLiteral("capture"), QStringLiteral("--resume")});
    QVERIFY2(resumed.exitCode == 0, qPrintable(resumed.errorLines.join(u'\n')));
    QCOMPARE(readFile(path), readFile(uninterrupted));
    const QString runs = QString::fromUtf8(larkspan(dataHome, {QStringLiteral("runs")}).out);
    QVERIFY2(runs.count(QStringLiteral(" command  profile Stonefruit Trades Guide ")) == 2,
             qPrintable(runs));
}

void CaptureRunsTest::badProfileIsRefusedBeforeAnyPage_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");
    QTest::newRow("no JSON") << QByteArray("{\"name\": \"x\",\n  \"listing\": \"a\",, }")
                             << "line 2, column 19: unterminated object";
    QTest::newRow("unknown key")
        << QByteArray(R"({"name": "x", "listing": "a", "fields": {"name": "b"}, "nxt": {}})")
        << "nxt: unknown key (known: name, matches, listing, fields, next, wait_for)";
    QTest::newRow("selector the engine refuses")
        << QByteArray(R"({"name": "x", "listing": "a", "fields": {"name": "b..c"}})")
        << "fields.name: 'b..c' is not a valid selector.";
    QTest::newRow("pattern PCRE2 refuses")
        << QByteArray(
               R"({"name": "x", "listing": "a", "fields": {"phone": {"selector": "b", "pattern": "(\\d"}}})")
        << "fields.phone.pattern: missing closing parenthesis at offset 3";
}

void CaptureRunsTest::badProfileIsRefusedBeforeAnyPage() {
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    const QString profile = m_dir->filePath(QStringLiteral("bad.json"));
    QFile file(profile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    const Run run = larkspan(m_dir->filePath(QStringLiteral("data")),
                             {QStringLiteral("capture"), QStringLiteral("--profile"), profile,
                              m_server.url("/page1.html").toString()});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.errorLines, QStringList{QStringLiteral("larkspan: ") + profile + ": " + error});
    QCOMPARE(larkspan(m_dir->filePath(QStringLiteral("data")), {QStringLiteral("runs")}).out,
             QByteArray("No capture runs yet.\n"));
}

void CaptureRunsTest::profileCheckShowsWhatTheProfileFinds() {
    test::TestHttpServer site(kSamplesFolder);
    QVERIFY(site.listen());
    const auto check = [&](const QString& page) {
        return larkspan(m_dir->filePath(QStringLiteral("data")),
                        {QStringLiteral("profile"), QStringLiteral("check"), kPlainProfile,
                         site.url(page).toString()});
    };
    const Run first = check(QStringLiteral("/plain/page1.html"));
    QCOMPARE(first.exitCode, 0);
    const QStringList lines = QString::fromUtf8(first.out).split(u'\n');
    QCOMPARE(lines.value(0),
             QStringLiteral("Profile Stonefruit Trades Guide (%1) on %2: 4 listings")
                 .arg(kPlainProfile, site.url("/plain/page1.html").toString()));
    QCOMPARE(lines.value(3).simplified(),
             QStringLiteral(
                 "name Ashgrove Electrical Brookside Plumbing & Gas Caf\u00e9 M\u00e9canique"));
    QCOMPARE(lines.value(18), QStringLiteral("Next page: \"Following page \u2192\" %1")
                                  .arg(site.url("/plain/page2.html").toString()));
    const Run last = check(QStringLiteral("/plain/page3.html"));
    QCOMPARE(last.exitCode, 0);
    QVERIFY(last.out.endsWith("No next page: no element matches \"nav.paging a.forward\"\n"));
    const Run elsewhere = check(QStringLiteral("/directory/page1.html"));
    QCOMPARE(elsewhere.exitCode, 1);
    QVERIFY(elsewhere.out.contains(": 0 listings\n"));
}

void CaptureRunsTest::batchKilledAndResumedGivesTheBytesOfOneUninterrupted_data() {
    QTest::addColumn<QStringList>("options");
    QTest::newRow("one search after another") << QStringList();
    QTest::newRow("searches at once, the source chosen for each")
        << QStringList({QStringLiteral("--parallel"), "3", "--source", "auto"});
}

// Three searches, the second of which is not there: the batch goes on past it and fails at
// its end, and killed in its last search and resumed, it gives the same bytes. Searches
// captured at once give the bytes and lines of searches one after another.
void CaptureRunsTest::batchKilledAndResumedGivesTheBytesOfOneUninterrupted() {
    QFETCH(QStringList, options);
    const QString dataHome = m_dir->filePath(QStringLiteral("data"));
    const QString list = m_dir->filePath(QStringLiteral("searches.txt"));
    QFile file(list);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(("# plumbers\n" + m_server.url("/page3.html").toString() + "\n\n" +
                m_server.url("/missing.html").toString() + "\n" +
                m_server.url("/page1.html").toString() + "\n")
                   .toUtf8());
    file.close();
    const QString path = m_dir->filePath(QStringLiteral("batch.jsonl"));
    const QString uninterrupted = m_dir->filePath(QStringLiteral("whole.jsonl"));
    const QStringList capture = QStringList{QStringLiteral("capture"), QStringLiteral("--sources"),
                                            list, QStringLiteral("--dedupe")} +
                                options + QStringList{QStringLiteral("-o")};

    const Run whole = larkspan(dataHome, capture + QStringList{uninterrupted});
    QCOMPARE(whole.exitCode, 1);
    QVERIFY(whole.errorLines.value(0).startsWith(
        QStringLiteral("search 1/3, page 1: %1: 19 listings (0 repeated ones dropped), 19 in all")
            .arg(m_server.url("/page3.html").toString())));
    if (options.contains(QStringLiteral("--parallel"))) {
        const QString oneByOne = m_dir->filePath(QStringLiteral("one-by-one.jsonl"));
        QStringList sequential = capture + QStringList{oneByOne};
        sequential.removeAt(sequential.indexOf(QStringLiteral("--parallel")) + 1);
        sequential.removeOne(QStringLiteral("--parallel"));
        const Run expected = larkspan(dataHome, sequential);
        QCOMPARE(whole.errorLines, expected.errorLines);
        QCOMPARE(readFile(uninterrupted), readFile(oneByOne));
    }
    QCOMPARE(whole.errorLines.mid(whole.errorLines.size() - 2),
             QStringList({QStringLiteral("1 of 3 searches did not end normally; they were:"),
                          QStringLiteral("  search 2/3: Cut short after 0 pages: %1: the server "
                                         "answered with HTTP status 404")
                              .arg(m_server.url("/missing.html").toString())}));
    // Page 3 comes again in the last search: --dedupe drops its listings across the batch.
    QCOMPARE(QString::fromUtf8(readFile(uninterrupted)).count(u'\n'), 19 + 21 + 20);

    m_server.setDelay(QStringLiteral("/page2.html"), 90s);
    const Run killed =
        larkspan(dataHome, capture + QStringList{path}, "search 3/3, page 1: ", SIGKILL);
    QCOMPARE(killed.exitCode, -SIGKILL);
    m_server.setDelay(QStringLiteral("/page2.html"), 0ms);
    const Run resumed = larkspan(dataHome, {QStringLiteral("capture"), QStringLiteral("--resume")});
    QCOMPARE(resumed.exitCode, 1);
    QCOMPARE(readFile(path), readFile(uninterrupted));
    const QString runs = QString::fromUtf8(larkspan(dataHome, {QStringLiteral("runs")}).out);
    QVERIFY2(runs.count(QStringLiteral("3 searches (3 done)")) >= 2, qPrintable(runs));
}

}  // namespace larkspan

QTEST_GUILESS_MAIN(larkspan::CaptureRunsTest)

#include "capture_runs_test.moc"
