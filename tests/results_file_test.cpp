#include "capture/results_file.h"

#include "capture/csv_results_writer.h"
#include "capture/output_file.h"
#include "capture/results_format.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace larkspan {
namespace {

const QByteArray kUtf8Signature = QByteArrayLiteral("\xEF\xBB\xBF");

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

std::string errorOf(const std::function<void()>& write) {
    try {
        write();
    } catch (const OutputFileError& error) {
        return error.what();
    }
    return "no error";
}

TEST(ResultsText, LinesEndWithCrLfAfterTheSignature) {
    struct Case {
        QStringList lines;
        QByteArray bytes;
    };
    const Case cases[] = {
        {{}, kUtf8Signature},
        {{QStringLiteral("Scraping results, one page at a time...")},
         kUtf8Signature + "Scraping results, one page at a time...\r\n"},
        {{QStringLiteral("\"a\""), QStringLiteral("\"Caf\u00e9 \u2026\"")},
         kUtf8Signature + "\"a\"\r\n\"Caf\xC3\xA9 \xE2\x80\xA6\"\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(encodeResultsText(c.lines), c.bytes);
    }
}

// After every page the file holds every line so far; before the first one it is untouched.
TEST(ResultsWriter, TheFileHoldsEveryPageWrittenAndKeepsItsPermissions) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.csv"));
    writeAll(path, "earlier\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const QString link = dir.filePath(QStringLiteral("link.csv"));
    ASSERT_TRUE(QFile::link(path, link));

    CsvResultsWriter writer{OutputFile(link)};
    struct Step {
        QStringList page;
        QByteArray file;
    };
    const Step steps[] = {
        {{"a", "b"}, kUtf8Signature + "a\r\nb\r\n"},
        {{}, kUtf8Signature + "a\r\nb\r\n"},
        {{"c"}, kUtf8Signature + "a\r\nb\r\nc\r\n"},
    };
    EXPECT_EQ(readAll(path), "earlier\r\n");
    for (const Step& step : steps) {
        writer.writePage(step.page);
        EXPECT_EQ(readAll(path), step.file);
    }
    EXPECT_EQ(writer.linesWritten(), 3);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFile::permissions(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                            QFile::WriteUser | QFile::ReadGroup);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// A page that cannot be written is taken back whole, and the error says what the file holds.
TEST(ResultsWriter, AFailedPageLeavesTheEarlierPagesAndSaysSo) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    const QString folder = dir.filePath(QStringLiteral("folder.csv"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString missing = dir.filePath(QStringLiteral("missing/out.csv"));
    const QString big(300, u'x');

    // The file may not grow beyond 100 bytes, as on a disk that is full.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const auto restore = qScopeGuard([&] {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    });
    const rlimit limited{100, saved.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);

    struct Case {
        QString target;
        QList<QStringList> pages;  // the last one fails
        QByteArray fileBefore;
        QString error;
        QByteArray fileAfter;
    };
    const Case cases[] = {
        {path,
         {{"a", "b"}, {"c", big}},
         "earlier\r\n",
         path + ": File too large; the file holds the first 2 lines",
         kUtf8Signature + "a\r\nb\r\n"},
        {path,
         {{big}},
         "earlier\r\n",
         path + ": File too large; the file was left as it was",
         "earlier\r\n"},
        {folder, {{"a"}}, {}, folder + ": Is a directory; the file was left as it was", {}},
        {missing,
         {{"a"}},
         {},
         missing + ": No such file or directory; the file was left as it was",
         {}},
    };
    for (const Case& c : cases) {
        if (!c.fileBefore.isNull()) {
            writeAll(c.target, c.fileBefore);
        }
        CsvResultsWriter writer{OutputFile(c.target)};
        for (qsizetype page = 0; page + 1 < c.pages.size(); ++page) {
            writer.writePage(c.pages[page]);
        }
        EXPECT_EQ(errorOf([&] { writer.writePage(c.pages.constLast()); }),
                  "cannot write " + c.error.toStdString());
        if (!c.fileAfter.isNull()) {
            EXPECT_EQ(readAll(c.target), c.fileAfter) << c.target.toStdString();
        }
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.csv"});
}

// A named pipe stays a pipe: its reader gets the lines, and one that has gone is an error.
TEST(ResultsWriter, ANamedPipeIsWrittenToNeverReplaced) {
    QTemporaryDir dir;
    const QByteArray pipe = QFile::encodeName(dir.filePath(QStringLiteral("pipe")));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    const int reader = ::open(pipe.constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);

    CsvResultsWriter writer{OutputFile(QFile::decodeName(pipe))};
    writer.writePage({"a"});
    writer.writePage({"b"});
    char received[64] = {};
    const ssize_t size = ::read(reader, received, sizeof received);
    EXPECT_EQ(QByteArray(received, int(size)), kUtf8Signature + "a\r\nb\r\n");

    ::close(reader);
    const auto previousHandler = std::signal(SIGPIPE, SIG_IGN);
    EXPECT_EQ(errorOf([&] { writer.writePage({"c"}); }),
              "cannot write " + pipe.toStdString() + ": Broken pipe; 2 lines were written before");
    std::signal(SIGPIPE, previousHandler);
    struct stat status {};
    ASSERT_EQ(::stat(pipe.constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

// Saving from the window: the whole file at once, or nothing.
TEST(ResultsFile, ReplacesAnExistingFileWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.csv"));
    writeResults(path, ResultsFormat::Csv, {QStringLiteral("old"), QStringLiteral("lines")});
    writeResults(path, ResultsFormat::Csv, {QStringLiteral("new")});
    EXPECT_EQ(readAll(path), kUtf8Signature + "new\r\n");
    EXPECT_THROW(writeResults(dir.path(), ResultsFormat::Csv, {QStringLiteral("x")}),
                 OutputFileError);
    EXPECT_EQ(readAll(path), kUtf8Signature + "new\r\n");
}

}  // namespace
}  // namespace larkspan
