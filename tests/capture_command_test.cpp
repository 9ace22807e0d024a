#include "qt_printers.h"

#include <QFile>
#include <QProcess>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString sampleText() {
    return QStringLiteral(LARKSPAN_SOURCE_DIR "/samples/listing-text.txt");
}

// The expected lines were checked by hand; the fixture keeps them with LF line ends.
QByteArray expectedResults() {
    QByteArray lines = readFile(QStringLiteral(LARKSPAN_TEST_DATA "/listing-text-expected.csv"));
    lines.replace("\n", "\r\n");
    return kUtf8Signature + lines;
}

TEST(CaptureFromText, WritesTheSampleResultsToStandardOutput) {
    const ProcessResult run = runLarkspan({QStringLiteral("capture"), QStringLiteral("--from-text"), sampleText()});
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

        const ProcessResult run = runLarkspan({QStringLiteral("capture"), QStringLiteral("--from-text"), input,
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
        {{}, QStringLiteral("larkspan: capture needs --from-text FILE")},
    };
    for (const Case& c : cases) {
        const ProcessResult run = runLarkspan(QStringList{QStringLiteral("capture")} + c.arguments);
        const QString err = QString::fromUtf8(run.err);
        EXPECT_NE(run.exitCode, 0) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(err.startsWith(c.errorStart)) << err.toStdString();
        EXPECT_EQ(err.count(u'\n'), 1) << err.toStdString();
    }
    EXPECT_EQ(readFile(existing), QByteArray("earlier results\r\n"));
}

}  // namespace
