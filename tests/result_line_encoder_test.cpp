#include "capture/result_line_encoder.h"

#include "capture/results_file.h"

#include <gtest/gtest.h>

namespace larkspan {

namespace {

// Lines encoded one by one, in batches, give the bytes of the whole results text.
TEST(ResultLineEncoder, BatchesMakeTheResultsText) {
    const QStringList cases[] = {
        {},
        {QStringLiteral("\"a\""), QStringLiteral("\"Caf\u00e9 \u2026\"")},
        {QStringLiteral("lone surrogate at the end ") + QChar(0xD800), QStringLiteral("next")},
        {QStringLiteral("x").repeated(300'000), QString(), QStringLiteral("y").repeated(70'000)},
        QStringList(20'000, QStringLiteral("\"Harbour Kitchen\",\"02 9251 4321\"")),
    };
    for (const QStringList& lines : cases) {
        ResultLineEncoder encoder;
        QByteArray bytes;
        int batches = 0;
        for (const QString& line : lines) {
            encoder.append(line);
            if (encoder.isFull()) {
                bytes += encoder.takeBatch();
                ++batches;
            }
        }
        bytes += encoder.takeBatch();
        EXPECT_EQ(bytes, encodeResultsText(lines)) << lines.size() << " lines";
        EXPECT_LE(batches, 3) << lines.size() << " lines";
    }
}

}  // namespace
}  // namespace larkspan
