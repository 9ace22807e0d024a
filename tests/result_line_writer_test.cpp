#include "capture/result_line_writer.h"

#include "capture/results_file.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace larkspan {
namespace {

// Lines written one by one through the buffer give the bytes of the whole results text.
TEST(ResultLineWriter, WritesTheBytesOfTheResultsText) {
    const QStringList cases[] = {
        {},
        {QStringLiteral("\"a\""), QStringLiteral("\"Caf\u00e9 \u2026\"")},
        {QStringLiteral("lone surrogate at the end ") + QChar(0xD800), QStringLiteral("next")},
        {QStringLiteral("x").repeated(300'000), QString(), QStringLiteral("y").repeated(70'000)},
    };
    for (const QStringList& lines : cases) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        ResultLineWriter writer(buffer);
        for (const QString& line : lines) {
            ASSERT_TRUE(writer.write(line));
        }
        ASSERT_TRUE(writer.flush());
        EXPECT_EQ(buffer.data(), encodeResultsText(lines)) << lines.size() << " lines";
    }
}

TEST(ResultLineWriter, ReportsADeviceThatRefusesBytes) {
    QBuffer closed;  // never opened: every write fails
    ResultLineWriter writer(closed);
    EXPECT_TRUE(writer.write(QStringLiteral("kept in the buffer")));
    EXPECT_FALSE(writer.flush());
    // Too long for the buffer, so the buffer goes to the device first.
    EXPECT_FALSE(writer.write(QStringLiteral("x").repeated(600'000)));
}

}  // namespace
}  // namespace larkspan
