#include "capture/listing_block_splitter.h"

#include "qt_printers.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

// However the text arrives, the blocks are those between "§" characters, empty ones included.
TEST(ListingBlockSplitter, BlocksDoNotDependOnThePieces) {
    struct Case {
        QString text;
        QStringList blocks;
    };
    const Case cases[] = {
        {QStringLiteral("a§§b"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {QStringLiteral("§a"), {QString(), QStringLiteral("a")}},
        {QStringLiteral("a§"), {QStringLiteral("a"), QString()}},
        {QStringLiteral("ab"), {QStringLiteral("ab")}},
        {QString(), {QString()}},
        {QStringLiteral("+-§--x: 1\r\n+-§--y"),
         {QStringLiteral("+-"), QStringLiteral("--x: 1\r\n+-"), QStringLiteral("--y")}},
    };
    for (const Case& c : cases) {
        for (const qsizetype step : {1, 2, 3, 100}) {
            QStringList blocks;
            const auto keep = [&blocks](const QString& block) { blocks.append(block); };
            ListingBlockSplitter splitter;
            for (qsizetype at = 0; at < c.text.size(); at += step) {
                splitter.append(QStringView(c.text).mid(at, step), keep);
            }
            splitter.finish(keep);
            EXPECT_EQ(blocks, c.blocks) << c.text.toStdString() << ", pieces of " << step;
        }
    }
}

}  // namespace
}  // namespace larkspan
