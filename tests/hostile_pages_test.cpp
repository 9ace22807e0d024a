// `larkspan capture` against sites that misbehave, served from 127.0.0.1: every run ends, says
// why, keeps what it captured, and succeeds only when it reached the end of the site.

#include "tests/support/test_http_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <csignal>

namespace larkspan {
namespace {

using namespace std::chrono_literals;

const QString kHostileFolder = QStringLiteral(LARKSPAN_TEST_DATA "/hostile");

// What may happen to the command once it has reported its first page.
enum class AfterFirstPage { Nothing, RendererKilled, Interrupted };

struct Run {
    int exitCode = -1;
    QStringList errorLines;
};

// The names of the listings in a results file, in order.
QStringList listingNames(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {QStringLiteral("<no file>")};
    }
    QStringList names;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"))) {
        if (!line.isEmpty()) {
            names.append(line.section(u',', 0, 0).remove(u'"').remove(u'\uFEFF'));
        }
    }
    return names;
}

// The parent of every process, by process id.
QHash<qint64, qint64> parentProcesses() {
    QHash<qint64, qint64> parents;
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs)) {
        QFile stat(proc.filePath(entry + QStringLiteral("/stat")));
        if (stat.open(QIODevice::ReadOnly)) {
            // The parent's id is the second field after the command's name in brackets.
            const QByteArray fields = stat.readAll();
            parents.insert(
                entry.toLongLong(),
                fields.mid(fields.lastIndexOf(')') + 2).split(' ').value(1).toLongLong());
        }
    }
    return parents;
}

// The engine's page renderers of the process: the engine starts them from its zygote
// processes, the process's children.
QList<qint64> rendererProcesses(qint64 process) {
    const QHash<qint64, qint64> parents = parentProcesses();
    QList<qint64> renderers;
    for (auto child = parents.cbegin(); child != parents.cend(); ++child) {
        if (parents.value(child.value()) == process) {
            renderers.append(child.key());
        }
    }
    return renderers;
}

Run capture(const QStringList& arguments, AfterFirstPage after) {
    QProcess process;
    process.setProgram(QStringLiteral(LARKSPAN_EXECUTABLE));
    process.setArguments(QStringList{QStringLiteral("capture")} + arguments);
    QByteArray errors;
    bool acted = false;
    QObject::connect(&process, &QProcess::readyReadStandardError, &process, [&] {
        errors += process.readAllStandardError();
        if (acted || after == AfterFirstPage::Nothing || !errors.contains("page 1:")) {
            return;
        }
        acted = true;
        if (after == AfterFirstPage::Interrupted) {
            ::kill(pid_t(process.processId()), SIGINT);
            return;
        }
        for (const qint64 renderer : rendererProcesses(process.processId())) {
            ::kill(pid_t(renderer), SIGKILL);
        }
    });
    // The server answers in this process, so the wait must keep the event loop running.
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(100s, &loop, &QEventLoop::quit);
    process.start();
    loop.exec();
    errors += process.readAllStandardError();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return {-1, {QStringLiteral("<still running after 100 s>")}};
    }
    return {process.exitCode(), QString::fromUtf8(errors).split(u'\n', Qt::SkipEmptyParts)};
}

}  // namespace
}  // namespace larkspan

Q_DECLARE_METATYPE(larkspan::AfterFirstPage)

namespace larkspan {

class HostilePagesTest : public QObject {
    Q_OBJECT

public:
    HostilePagesTest() : m_server(kHostileFolder) {}

private slots:
    void initTestCase();
    void everyRunEndsAndSaysWhy_data();
    void everyRunEndsAndSaysWhy();
    void addressIsShownAsGiven();
    void noPauseAfterTheLastPage();

private:
    test::TestHttpServer m_server;
};

void HostilePagesTest::initTestCase() {
    QVERIFY(QFile::exists(kHostileFolder + QStringLiteral("/loop-a.html")));
    QVERIFY(m_server.listen());
    m_server.setRedirect(QStringLiteral("/circle.html"), "/circle.html");
    m_server.setStalled(QStringLiteral("/stalled.html"));
}

void HostilePagesTest::everyRunEndsAndSaysWhy_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<AfterFirstPage>("after");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("pages");  // progress lines, one per captured page, come first
    // "{base}" stands for the server's address.
    QTest::addColumn<QStringList>("lastLines");
    QTest::addColumn<QStringList>("listings");

    const auto none = AfterFirstPage::Nothing;
    const QString one = QStringLiteral("A total of 1 addresses have been scraped!");
    QTest::newRow("NEXT links from A to B and back")
        << "/loop-a.html" << none << 0 << 2
        << QStringList{"page 3 repeats page 1 ({base}/loop-a.html); the run ends here",
                       "A total of 3 addresses have been scraped!"}
        << QStringList{"Alder Cafe", "Acacia Books", "Birch Bakery"};
    QTest::newRow("NEXT link to the same page with a query added")
        << "/same-page-again.html" << none << 0 << 1
        << QStringList{"page 2 repeats page 1 ({base}/same-page-again.html?x=1); the run ends "
                       "here",
                       one}
        << QStringList{"Cedar Florist"};
    QTest::newRow("NEXT link to its own page, the usual last page")
        << "/next-itself.html" << none << 0 << 1
        << QStringList{"page 2 repeats page 1 ({base}/next-itself.html); the run ends here", one}
        << QStringList{"Daisy Dental"};
    QTest::newRow("next page not found")
        << "/next-missing.html" << none << 1 << 1
        << QStringList{one,
                       "Cut short after 1 page: {base}/missing.html: the server answered "
                       "with HTTP status 404"}
        << QStringList{"Elm Electrical"};
    QTest::newRow("next page is a download")
        << "/next-download.html" << none << 1 << 1
        << QStringList{one, "Cut short after 1 page: {base}/file.bin: it is a download, not a page"}
        << QStringList{"Fern Fencing"};
    QTest::newRow("next page redirects to itself")
        << "/next-circle.html" << none << 1 << 1
        << QStringList{one,
                       "Cut short after 1 page: {base}/circle.html: the load failed: "
                       "net::ERR_TOO_MANY_REDIRECTS"}
        << QStringList{"Gum Gardening"};
    QTest::newRow("server stalls in the next page")
        << "/next-stalled.html" << none << 1 << 1
        << QStringList{one,
                       "Cut short after 1 page: {base}/stalled.html: it did not finish "
                       "loading within 2 seconds"}
        << QStringList{"Hazel Hair"};
    QTest::newRow("server stalls in the first page")
        << "/stalled.html" << none << 1 << 0
        << QStringList{"A total of 0 addresses have been scraped!",
                       "Cut short after 0 pages: {base}/stalled.html: it did not finish loading "
                       "within 2 seconds"}
        << QStringList{"<no file>"};
    QTest::newRow("script in the head that never returns")
        << "/head-script-loop.html" << none << 1 << 0
        << QStringList{"A total of 0 addresses have been scraped!",
                       "Cut short after 0 pages: {base}/head-script-loop.html: it did not finish "
                       "loading within 2 seconds"}
        << QStringList{"<no file>"};
    // A page's request to close its window costs the run neither the page nor its NEXT link.
    QTest::newRow("first page closes itself in its head")
        << "/closes-itself.html" << none << 0 << 2
        << QStringList{"A total of 2 addresses have been scraped!"}
        << QStringList{"Ivy Interiors", "Maple Motors"};
    QTest::newRow("next page closes itself in its head")
        << "/next-closes-itself.html" << none << 0 << 3
        << QStringList{"A total of 3 addresses have been scraped!"}
        << QStringList{"Hakea Hardware", "Ivy Interiors", "Maple Motors"};
    QTest::newRow("first page closes itself after its load")
        << "/closes-itself-later.html" << AfterFirstPage::Nothing << 0 << 2
        << QStringList{"A total of 2 addresses have been scraped!"}
        << QStringList{"Jarrah Joinery", "Maple Motors"};
    QTest::newRow("NEXT link to a blank page")
        << "/next-blank.html" << none << 1 << 1
        << QStringList{one,
                       "Cut short after 1 page: about:blank: a blank page came instead of the "
                       "page asked for"}
        << QStringList{"Kurrajong Kitchens"};
    QTest::newRow("40 list items of the pager before its link")
        << "/pager-of-list-items.html" << none << 0 << 2
        << QStringList{"A total of 2 addresses have been scraped!"}
        << QStringList{"Nettle Nursery", "Maple Motors"};
    QTest::newRow("a description of 20,000 section signs")
        << "/section-sign-flood.html?signs=20000" << none << 0 << 1
        << QStringList{"A total of 2 addresses have been scraped!"}
        << QStringList{"Oak Office Supplies", "Olive Optometry"};
    QTest::newRow("renderer ends after the first page")
        << "/loop-a.html" << AfterFirstPage::RendererKilled << 1 << 1
        << QStringList{"A total of 2 addresses have been scraped!",
                       "Cut short after 1 page: {base}/loop-a.html: the page's renderer ended"}
        << QStringList{"Alder Cafe", "Acacia Books"};
    QTest::newRow("interrupt while the next page stalls")
        << "/next-stalled.html" << AfterFirstPage::Interrupted << 130 << 1
        << QStringList{one, "Cut short after 1 page: interrupted"} << QStringList{"Hazel Hair"};
}

void HostilePagesTest::everyRunEndsAndSaysWhy() {
    QFETCH(QString, page);
    QFETCH(AfterFirstPage, after);
    QFETCH(int, exitCode);
    QFETCH(int, pages);
    QFETCH(QStringList, lastLines);
    QFETCH(QStringList, listings);

    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("results.csv"));
    // The pause gives the renderer's end time to come before the page turn.
    const QString delay =
        after == AfterFirstPage::RendererKilled ? QStringLiteral("3000") : QStringLiteral("0");
    const Run run = capture(
        {m_server.url(page).toString(), QStringLiteral("-o"), output,
         QStringLiteral("--page-timeout"), QStringLiteral("2"), QStringLiteral("--delay"), delay},
        after);

    const QString base = m_server.url({}).toString();
    for (QString& line : lastLines) {
        line.replace(QStringLiteral("{base}"), base);
    }
    // Every run cut short can be resumed, and says how; its number is the journal's.
    QStringList said = run.errorLines;
    if (exitCode != 0) {
        static const QRegularExpression resumeHint(
            QStringLiteral("; to resume: larkspan capture --resume \\d+$"));
        QVERIFY2(!said.isEmpty() && said.last().contains(resumeHint), qPrintable(said.join(u'\n')));
        said.last().remove(resumeHint);
    }
    QVERIFY2(said.mid(pages) == lastLines, qPrintable(run.errorLines.join(u'\n')));
    for (int number = 1; number <= pages; ++number) {
        QVERIFY2(
            run.errorLines.value(number - 1).startsWith(QStringLiteral("page %1: ").arg(number)),
            qPrintable(run.errorLines.join(u'\n')));
    }
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(listingNames(output), listings);
}

// Escapes in the address are no placeholders of the progress line.
void HostilePagesTest::addressIsShownAsGiven() {
    const QString address = m_server.url(QStringLiteral("/last.html")).toString() +
                            QStringLiteral("?what%3Dcafe%2C+sydney%2F%25");
    const Run run = capture({address}, AfterFirstPage::Nothing);
    QCOMPARE(run.errorLines,
             (QStringList{
                 QStringLiteral("page 1: ") + address + QStringLiteral(": 1 listings, 1 in all"),
                 QStringLiteral("A total of 1 addresses have been scraped!")}));
    QCOMPARE(run.exitCode, 0);
}

// The pause comes before a page turn, and after the last page there is none: a run of one page
// with a ten-minute pause ends at once.
void HostilePagesTest::noPauseAfterTheLastPage() {
    const Run run = capture({m_server.url(QStringLiteral("/last.html")).toString(),
                             QStringLiteral("--delay"), QStringLiteral("600000")},
                            AfterFirstPage::Nothing);
    QCOMPARE(run.errorLines.value(1), QStringLiteral("A total of 1 addresses have been scraped!"));
    QCOMPARE(run.exitCode, 0);
}

}  // namespace larkspan

QTEST_GUILESS_MAIN(larkspan::HostilePagesTest)

#include "hostile_pages_test.moc"
