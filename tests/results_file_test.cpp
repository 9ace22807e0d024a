#include "capture/results_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace larkspan {
namespace {

const QByteArray kUtf8Signature = QByteArrayLiteral("\xEF\xBB\xBF");

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
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

TEST(ResultsFile, ReplacesAnExistingFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.csv"));
    writeResultsFile(path, {QStringLiteral("old"), QStringLiteral("lines")});
    writeResultsFile(path, {QStringLiteral("new")});
    EXPECT_EQ(readAll(path), kUtf8Signature + "new\r\n");
}

TEST(ResultsFile, FailedWriteLeavesEarlierFileIntact) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.csv"));
    writeResultsFile(path, {QStringLiteral("kept")});
    // A folder where the file's name should be makes the write fail.
    const QString blocked = dir.filePath(QStringLiteral("folder.csv"));
    ASSERT_TRUE(QDir().mkdir(blocked));
    EXPECT_THROW(writeResultsFile(blocked, {QStringLiteral("x")}), ResultsFileError);
    EXPECT_THROW(writeResultsFile(dir.filePath(QStringLiteral("missing/r.csv")), {}),
                 ResultsFileError);
    EXPECT_EQ(readAll(path), kUtf8Signature + "kept\r\n");
}

}  // namespace
}  // namespace larkspan
