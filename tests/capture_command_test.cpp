#include "qt_printers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const QByteArray kUtf8Signature = QByteArrayLiteral("\xEF\xBB\xBF");

struct ProcessResult {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

ProcessResult runLarkspan(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(LARKSPAN_EXECUTABLE), arguments);
    process.closeWriteChannel();
    process.waitForFinished(60'000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// Page capture run as root says once that it turned the engine's sandbox off.
QString withoutRootNotice(QString err) {
    const QString notice = QStringLiteral("larkspan: running as root");
    if (err.startsWith(notice)) {
        err.remove(0, err.indexOf(u'\n') + 1);
    }
    return err;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString sampleText() {
    return QStringLiteral(LARKSPAN_SOURCE_DIR "/samples/listing-text.txt");
}

// Expected lines are checked by hand; the fixtures keep them with LF line ends.
QByteArray expectedLines(const char* fixture) {
    QByteArray lines = readFile(QStringLiteral(LARKSPAN_TEST_DATA "/") + QLatin1String(fixture));
    lines.replace("\n", "\r\n");
    return lines;
}

QByteArray expectedResults() {
    return kUtf8Signature + expectedLines("listing-text-expected.csv");
}

TEST(CaptureFromText, WritesTheSampleResultsToStandardOutput) {
    const ProcessResult run =
        runLarkspan({QStringLiteral("capture"), QStringLiteral("--from-text"), sampleText()});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, expectedResults());
}

TEST(CaptureFromText, ReadsUtf16WithByteOrderMarkAndWritesTheOutputFile) {
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("page.txt"));
    const QString output = dir.filePath(QStringLiteral("out.csv"));
    QStringDecoder fromUtf8(QStringConverter::Utf8);
    const QString text = fromUtf8.decode(readFile(sampleText()));
    for (const auto encoding : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
        QStringEncoder toUtf16(encoding, QStringConverter::Flag::WriteBom);
        QFile file(input);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(toUtf16.encode(text));
        file.close();

        const ProcessResult run =
            runLarkspan({QStringLiteral("capture"), QStringLiteral("--from-text"), input,
                         QStringLiteral("-o"), output});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(readFile(output), expectedResults());
    }
}

TEST(CaptureFromText, ProblemsGiveOneLineOnStandardErrorAndFailure) {
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("keep.csv"));
    QFile keep(existing);
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("earlier results\r\n");
    keep.close();

    struct Case {
        QStringList arguments;
        QString errorStart;
    };
    const Case cases[] = {
        {{QStringLiteral("--from-text"), dir.filePath(QStringLiteral("missing.txt"))},
         QStringLiteral("larkspan: cannot read ")},
        {{QStringLiteral("--from-text"), dir.path()}, QStringLiteral("larkspan: cannot read ")},
        {{QStringLiteral("--from-text"), dir.filePath(QStringLiteral("missing.txt")),
          QStringLiteral("-o"), existing},
         QStringLiteral("larkspan: cannot read ")},
        {{},
         QStringLiteral("larkspan: capture needs a SOURCE, --sources FILE, or --from-text FILE")},
    };
    for (const Case& c : cases) {
        const ProcessResult run = runLarkspan(QStringList{QStringLiteral("capture")} + c.arguments);
        const QString err = withoutRootNotice(QString::fromUtf8(run.err));
        EXPECT_NE(run.exitCode, 0) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(err.startsWith(c.errorStart)) << err.toStdString();
        EXPECT_EQ(err.count(u'\n'), 1) << err.toStdString();
    }
    EXPECT_EQ(readFile(existing), QByteArray("earlier results\r\n"));
}

// Without a display and without the sandbox setting, so that nothing may try either.
TEST(FrontDoor, UnknownArgumentsHelpVersionAndNoDisplay) {
    struct Case {
        QStringList arguments;
        int exitCode;
        QByteArray outFirstLine;
        QByteArray err;
    };
    const QByteArray known = " (known: capture, runs, profile, --help, --version)\n";
    const Case cases[] = {
        {{"run"}, 2, "", "larkspan: unknown command 'run'" + known},
        {{"--bogus"}, 2, "", "larkspan: unknown option '--bogus'" + known},
        {{"capture", "--bogus"}, 2, "", "larkspan: Unknown option 'bogus'.\n"},
        {{"https://example.com/", "--bogus"}, 2, "", "larkspan: unknown option '--bogus'" + known},
        {{"https://example.com/", "/tmp/b.html"},
         2,
         "",
         "larkspan: unknown command '/tmp/b.html'" + known},
        {{"--version"}, 0, "larkspan " LARKSPAN_VERSION, ""},
        {{"--help"}, 0, "Usage: larkspan [ADDRESS]", ""},
        {{"capture", "--help"}, 0, "Usage: larkspan capture [options] SOURCE...", ""},
    };
    const QByteArray noDisplay =
        "larkspan: no display to open the window on; run it under xvfb-run (xvfb-run "
        "larkspan), or capture without a window: larkspan capture --help\n";
    // Each of these asks for the window: an address or file to open, the toolkit's options.
    const QStringList windowStarts[] = {
        {},
        {"https://example.com/search?q=a%2Cb"},
        {LARKSPAN_SOURCE_DIR "/samples/directory/page1.html"},
        {"-style", "fusion", "-platform", "xcb", "-reverse", "./missing.html"},
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    for (const QStringList& arguments : windowStarts) {
        all.push_back({arguments, 1, "", noDisplay});
    }
    for (const Case& c : all) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QTWEBENGINE_DISABLE_SANDBOX"}) {
            environment.remove(QString::fromLatin1(name));
        }
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(LARKSPAN_EXECUTABLE), c.arguments);
        ASSERT_TRUE(process.waitForFinished(60'000));
        const QString what = c.arguments.join(u' ');
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << what.toStdString();
        EXPECT_EQ(process.exitCode(), c.exitCode) << what.toStdString();
        EXPECT_EQ(process.readAllStandardOutput().split('\n').constFirst(), c.outFirstLine)
            << what.toStdString();
        EXPECT_EQ(process.readAllStandardError(), c.err) << what.toStdString();
    }
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString lastLine(const QByteArray& err) {
    const QStringList lines =
        withoutRootNotice(QString::fromUtf8(err)).split(u'\n', Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.constLast();
}

// Texts that once took minutes or lost fields: each gives exactly these lines.
TEST(CaptureFromText, HostileTextsGiveTheirLines) {
    struct Case {
        const char* name;
        QByteArray text;
        QByteArray lines;
    };
    const Case cases[] = {
        {"SectionSignFlood",
         "listing-name: Flood\r\nlisting-short-description: " +
             QByteArray("\xC2\xA7").repeated(2'000'000) + " tail\r\nlisting-name: After\r\n",
         R"("Flood","","","","","","","","","","","","","")"
         "\r\n"
         R"("After","","","","","","","","","","","","","")"
         "\r\n"},
        {"LineOfCommasBeforeTheAddress",
         "listing-name: Commas\r\nlisting-short-description: our address: " +
             QByteArray("lane, ").repeated(30) + "\r\nlisting-address: 1 Hay St, Perth WA 6000\r\n",
         R"("Commas","","","1 Hay St","6000","Perth","WA","","our address: )" +
             QByteArray("lane, ").repeated(30) +
             R"(","","","","http://maps.google.com/maps?t=m&q=1+Hay+St+Perth+WA+","")"
             "\r\n"},
        {"Empty", QByteArray(), QByteArray()},
    };
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("text.txt"));
    for (const Case& c : cases) {
        writeFile(input, c.text);
        const ProcessResult run =
            runLarkspan({QStringLiteral("capture"), QStringLiteral("--from-text"), input});
        EXPECT_EQ(run.exitCode, 0) << c.name << ": " << run.err.toStdString();
        EXPECT_EQ(run.out, kUtf8Signature + c.lines) << c.name;
        EXPECT_EQ(
            lastLine(run.err),
            QStringLiteral("A total of %1 addresses have been scraped!").arg(c.lines.count("\r\n")))
            << c.name;
    }
}

// A named pipe (or a device) given to -o is written to, never replaced by a regular file.
TEST(CaptureFromText, WritesIntoANamedPipe) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("results.pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QProcess process;
    process.start(QStringLiteral(LARKSPAN_EXECUTABLE),
                  {QStringLiteral("capture"), QStringLiteral("--from-text"), sampleText(),
                   QStringLiteral("-o"), pipe});
    QFile reader(pipe);
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));  // waits for the writer
    const QByteArray written = reader.readAll();
    ASSERT_TRUE(process.waitForFinished(60'000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(written, expectedResults());
    EXPECT_TRUE(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
}

// Ctrl+C in the middle of a text: exit 130, and an earlier output file stays as it was.
TEST(CaptureFromText, InterruptLeavesTheOutputFileAsItWas) {
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("text.pipe"));
    const QString output = dir.filePath(QStringLiteral("results.csv"));
    writeFile(output, "earlier\r\n");
    ASSERT_EQ(::mkfifo(QFile::encodeName(input).constData(), 0600), 0);
    QProcess process;
    process.start(QStringLiteral(LARKSPAN_EXECUTABLE),
                  {QStringLiteral("capture"), QStringLiteral("--from-text"), input,
                   QStringLiteral("-o"), output});
    QFile writer(input);
    ASSERT_TRUE(writer.open(QIODevice::WriteOnly));  // waits for the reader
    writer.write("listing-name: A\r\n\xC2\xA7");
    writer.flush();
    // The command now waits for more text; the interrupt is seen before the next block.
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    writer.write("listing-name: B\r\n\xC2\xA7listing-name: C\r\n");
    writer.close();
    ASSERT_TRUE(process.waitForFinished(60'000));
    EXPECT_EQ(process.exitCode(), 130);
    EXPECT_EQ(lastLine(process.readAllStandardError()), QStringLiteral("larkspan: interrupted"));
    EXPECT_EQ(readFile(output), QByteArray("earlier\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System),
              (QStringList{QStringLiteral("results.csv"), QStringLiteral("text.pipe")}));
}

QString samplePage(int number) {
    return QStringLiteral(LARKSPAN_SOURCE_DIR "/samples/directory/page%1.html").arg(number);
}

// The run number a cut-short run gives for its resume is the shared journal's: "N" here.
QStringList progressLines(const QByteArray& err) {
    QStringList lines = withoutRootNotice(QString::fromUtf8(err)).split(u'\n', Qt::SkipEmptyParts);
    lines.replaceInStrings(QRegularExpression(QStringLiteral("(--resume )\\d+$")),
                           QStringLiteral("\\1N"));
    return lines;
}

TEST(CapturePages, SampleSiteGivesTheHandCheckedLines) {
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("results.csv"));
    const QString flattened = dir.filePath(QStringLiteral("flat"));
    const ProcessResult run =
        runLarkspan({QStringLiteral("capture"), samplePage(1), QStringLiteral("-o"), output,
                     QStringLiteral("--flattened-dir"), flattened});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(readFile(output), kUtf8Signature + expectedLines("sample_directory_expected.csv"));

    const QStringList progress = progressLines(run.err);
    ASSERT_EQ(progress.size(), 4) << run.err.toStdString();
    EXPECT_TRUE(progress[0].startsWith(QStringLiteral("page 1: file://")));
    EXPECT_TRUE(progress[0].endsWith(QStringLiteral("page1.html: 21 listings, 21 in all")));
    EXPECT_TRUE(progress[2].endsWith(QStringLiteral("page3.html: 19 listings, 60 in all")));
    EXPECT_EQ(progress[3], QStringLiteral("A total of 60 addresses have been scraped!"));

    for (int page = 1; page <= 3; ++page) {
        const QByteArray text = readFile(flattened + QStringLiteral("/page%1.txt").arg(page));
        EXPECT_TRUE(text.startsWith("+-\xC2\xA7--search-contact-card call-to-actions: "))
            << "page " << page;
    }
}

// Shards of a list are disjoint and together give every search, each in the list's order.
TEST(CapturePages, ShardsShareAListOfSearches) {
    const QStringList searches{samplePage(1), samplePage(2), samplePage(3)};
    const auto capture = [&](const QStringList& more) {
        const ProcessResult run =
            runLarkspan(QStringList{QStringLiteral("capture"), QStringLiteral("--max-pages"),
                                    QStringLiteral("1")} +
                        searches + more);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return progressLines(run.err).filter(QStringLiteral(", page 1: "));
    };
    const auto searched = [](const QStringList& progress) {
        QStringList pages;
        for (const QString& line : progress) {
            pages.append(line.section(u'/', -1).section(u':', 0, 0));
        }
        return pages;
    };
    EXPECT_EQ(searched(capture({})), (QStringList{"page1.html", "page2.html", "page3.html"}));
    EXPECT_EQ(searched(capture({QStringLiteral("--shard"), QStringLiteral("1/2")})),
              (QStringList{"page1.html", "page3.html"}));
    EXPECT_EQ(searched(capture({QStringLiteral("--shard"), QStringLiteral("2/2")})),
              QStringList{"page2.html"});
}

// The first page given by its address this time, not its path.
TEST(CapturePages, MaxPagesStopsAndStandardOutputCarriesOneSignature) {
    const ProcessResult run =
        runLarkspan({QStringLiteral("capture"), QUrl::fromLocalFile(samplePage(1)).toString(),
                     QStringLiteral("--max-pages"), QStringLiteral("2")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray all = expectedLines("sample_directory_expected.csv");
    qsizetype end = 0;
    for (int line = 0; line < 41; ++line) {
        end = all.indexOf('\n', end) + 1;
    }
    EXPECT_EQ(run.out, kUtf8Signature + all.left(end));
}

// Whatever was captured before a failure stays, and a failed run never touches the output file.
TEST(CapturePages, ProblemsEndTheRunWithTheirMessage) {
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("results.csv"));
    QFile earlier(output);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier\r\n");
    earlier.close();

    struct Case {
        QStringList arguments;
        int exitCode;
        QStringList messages;
    };
    const Case cases[] = {
        {{QStringLiteral(LARKSPAN_SOURCE_DIR "/samples/listing-text.txt")},
         1,
         {QStringLiteral("A total of 0 addresses have been scraped!"),
          QStringLiteral("Cut short after 0 pages: Invalid HTML document; to resume: larkspan "
                         "capture --resume N")}},
        {{samplePage(1), QStringLiteral("--max-pages"), QStringLiteral("0")},
         2,
         {QStringLiteral("larkspan: --max-pages needs a whole number of at least 1")}},
        {{samplePage(1), QStringLiteral("--page-timeout"), QStringLiteral("0")},
         2,
         {QStringLiteral("larkspan: --page-timeout needs a whole number from 1 to 2000000")}},
        {{QStringLiteral("javascript:alert(1)")},
         2,
         {QStringLiteral("larkspan: cannot load javascript:alert(1): the source is a file, or an "
                         "http, https, file or data address")}},
        {{QStringLiteral("http://127.0.0.1:99999/")},
         2,
         {QStringLiteral("larkspan: cannot load http://127.0.0.1:99999/: Invalid port or port "
                         "number out of range")}},
        {{samplePage(1), samplePage(2), QStringLiteral("--parallel"), QStringLiteral("9")},
         2,
         {QStringLiteral("larkspan: --parallel needs a whole number from 1 to 8")}},
        {{samplePage(1), samplePage(2), QStringLiteral("--shard"), QStringLiteral("3/2")},
         2,
         {QStringLiteral("larkspan: --shard needs K/N, whole numbers with 1 <= K <= N")}},
        {{samplePage(1), QStringLiteral("--sources"), samplePage(2)},
         2,
         {QStringLiteral("larkspan: --sources FILE lists the searches; give no SOURCE besides")}},
        {{samplePage(1), QStringLiteral("--source"), QStringLiteral("schema")},
         2,
         {QStringLiteral("larkspan: --source takes directory, structured or auto, not 'schema'")}},
        {{samplePage(1), QStringLiteral("--source"), QStringLiteral("auto"),
          QStringLiteral("--profile"), QStringLiteral("p.json")},
         2,
         {QStringLiteral(
             "larkspan: --profile is a source of its own; give --source or --profile")}},
        {{samplePage(1), QStringLiteral("--profile"), dir.filePath(QStringLiteral("none.json"))},
         2,
         {QStringLiteral("larkspan: cannot read ") + dir.filePath(QStringLiteral("none.json")) +
          QStringLiteral(": No such file or directory")}},
        {{QStringLiteral("http://127.0.0.1:9/page%00.html?q=%00")},
         2,
         {QStringLiteral("larkspan: cannot load http://127.0.0.1:9/page%00.html?q=%00: the "
                         "browser loads no address with %00 before its query")}},
    };
    for (const Case& c : cases) {
        const ProcessResult run = runLarkspan(QStringList{QStringLiteral("capture")} + c.arguments +
                                              QStringList{QStringLiteral("-o"), output});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_EQ(progressLines(run.err), c.messages);
    }
    EXPECT_EQ(readFile(output), QByteArray("earlier\r\n"));
}

// A file in a folder that takes no new file (as /proc) cannot be replaced: the message says so,
// or what the system says about the file itself, never that it is missing.
TEST(CapturePages, AFileThatCannotBeReplacedIsToldOfAsItIs) {
    const QString target = QStringLiteral("/proc/cpuinfo");
    const QString reason = ::access("/proc/cpuinfo", W_OK) == 0
                               ? QStringLiteral(
                                     "cannot make a new file in /proc to replace it: "
                                     "No such file or directory")
                               : QStringLiteral("Permission denied");
    const QString message =
        QStringLiteral("cannot write ") + target + QStringLiteral(": ") + reason;
    const ProcessResult fromText =
        runLarkspan({QStringLiteral("capture"), QStringLiteral("--from-text"), sampleText(),
                     QStringLiteral("-o"), target});
    EXPECT_EQ(fromText.exitCode, 1);
    EXPECT_EQ(progressLines(fromText.err), QStringList{QStringLiteral("larkspan: ") + message});
    const ProcessResult pages =
        runLarkspan({QStringLiteral("capture"), samplePage(3), QStringLiteral("-o"), target});
    EXPECT_EQ(pages.exitCode, 1);
    EXPECT_EQ(progressLines(pages.err).constLast(),
              QStringLiteral("Cut short after 0 pages: ") + message +
                  QStringLiteral("; the file was left as it was; to resume: larkspan capture "
                                 "--resume N"));
}

TEST(CapturePages, InterruptKeepsThePagesCaptured) {
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("results.csv"));
    QProcess process;
    process.start(QStringLiteral(LARKSPAN_EXECUTABLE),
                  {QStringLiteral("capture"), samplePage(1), QStringLiteral("--delay"),
                   QStringLiteral("60000"), QStringLiteral("-o"), output});
    QByteArray err;
    process.setReadChannel(QProcess::StandardError);
    while (!err.contains("page 1:") && process.waitForReadyRead(60'000)) {
        err += process.readAllStandardError();
    }
    ASSERT_TRUE(err.contains("page 1:")) << err.toStdString();
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60'000));
    err += process.readAllStandardError();

    EXPECT_EQ(process.exitCode(), 130);
    EXPECT_EQ(progressLines(err).mid(1),
              (QStringList{QStringLiteral("A total of 21 addresses have been scraped!"),
                           QStringLiteral("Cut short after 1 page: interrupted; to resume: "
                                          "larkspan capture --resume N")}));
    const QByteArray firstPage = expectedLines("sample_directory_expected.csv");
    EXPECT_EQ(readFile(output).count("\r\n"), 21);
    EXPECT_TRUE(firstPage.startsWith(readFile(output).mid(3)));
}

}  // namespace
