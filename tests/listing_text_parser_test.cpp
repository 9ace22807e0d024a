#include "capture/listing_text_parser.h"

#include "capture/listing_text_reader.h"
#include "qt_printers.h"
#include "trickling_device.h"

#include <QFile>

#include <gtest/gtest.h>

namespace larkspan {
namespace {

QString nameLine(const QString& name) {
    return QStringLiteral("listing-name: ") + name + QStringLiteral("\r\n");
}

QString firstColumn(const QString& resultLine) {
    return resultLine.section(u',', 0, 0);
}

TEST(ListingTextParser, KeepsOnlyRealNames) {
    struct Case {
        QString name;
        bool accepted;
    };
    const Case cases[] = {
        {QStringLiteral("Bondi Bakery"), true}, {QStringLiteral("Name:    "), false},
        {QStringLiteral("[name]"), false},      {QStringLiteral("name:    "), true},
        {QStringLiteral("Name:   "), true},     {QStringLiteral("[NAME]"), true},
    };
    for (const Case& c : cases) {
        ListingTextParser parser;
        const QStringList lines = parser.resultLines(nameLine(c.name));
        EXPECT_EQ(lines.size(), c.accepted ? 1 : 0) << c.name.toStdString();
    }
}

TEST(ListingTextParser, OneLinePerAcceptedBlockInPageOrder) {
    const QString text = nameLine(QStringLiteral("First")) + QStringLiteral("+-§--card: x\r\n") +
                         nameLine(QStringLiteral("Second")) + QStringLiteral("+-§--card: y\r\n") +
                         QStringLiteral("listing-heading: no name here\r\n+-§--card: z\r\n") +
                         nameLine(QStringLiteral("Third"));
    ListingTextParser parser;
    const QStringList lines = parser.resultLines(text);
    QStringList names;
    for (const QString& line : lines) {
        names.append(firstColumn(line));
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral("\"First\""), QStringLiteral("\"Second\""),
                                  QStringLiteral("\"Third\"")}));
}

TEST(ListingTextParser, TextWithoutNamesGivesNothing) {
    ListingTextParser parser;
    EXPECT_TRUE(parser.resultLines(QString()).isEmpty());
    EXPECT_EQ(parser.splitBlocks(QString()), QStringList{QString()});
}

// A "§" inside a value cuts the listing in two: the part after it no longer has the name.
TEST(ListingTextParser, SectionSignInTextIsAnExtraCut) {
    const QString text = nameLine(QStringLiteral("Cafe")) +
                         QStringLiteral("listing-heading: Sweets § Savouries\r\n");
    ListingTextParser parser;
    EXPECT_EQ(parser.splitBlocks(text).size(), 2);
    const QStringList lines = parser.resultLines(text);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.front().contains(QStringLiteral("\"Sweets \"")))
        << lines.front().toStdString();
}

TEST(ListingTextParser, UsesItsServiceAddresses) {
    ListingTextParser parser(
        ServiceAddresses{QStringLiteral("http://d.test"), QStringLiteral("http://m.test")});
    const QStringList lines =
        parser.resultLines(nameLine(QStringLiteral("A")) +
                           QStringLiteral("x: <a href=\"/a-1-listing.html\" longitude=\"1\">\r\n"));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.front().endsWith(
        QStringLiteral("\"http://m.test/maps?q=,1&t=m\",\"http://d.test/a-1-listing.html\"")))
        << lines.front().toStdString();
}

QString sampleText() {
    QFile file(QStringLiteral(LARKSPAN_SOURCE_DIR "/samples/listing-text.txt"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(ListingTextParser, ReadingAsAStreamGivesTheLinesOfTheWholeText) {
    const QString text =
        sampleText() + QStringLiteral("§") + nameLine(QStringLiteral("Last")) + QStringLiteral("§");
    ListingTextParser parser;
    const QStringList whole = parser.resultLines(text);
    ASSERT_EQ(whole.size(), 4);

    TricklingDevice device(text.toUtf8(), 7);
    ListingTextReader reader(device, QStringLiteral("sample"));
    QStringList streamed;
    const qint64 count =
        parser.parse(reader, [&streamed](const QString& line) { streamed.append(line); });
    EXPECT_EQ(streamed, whole);
    EXPECT_EQ(count, whole.size());
}

// The stop request is asked before each block; blocks already parsed keep their lines.
TEST(ListingTextParser, StopRequestEndsTheParseBetweenBlocks) {
    const QString text = nameLine(QStringLiteral("A")) + QStringLiteral("§") +
                         nameLine(QStringLiteral("B")) + QStringLiteral("§") +
                         nameLine(QStringLiteral("C"));
    ListingTextParser parser;
    int asked = 0;
    parser.setStopRequest([&asked] { return ++asked == 3; });
    TricklingDevice device(text.toUtf8(), 1 << 20);
    ListingTextReader reader(device, QStringLiteral("text"));
    QStringList names;
    EXPECT_THROW(
        parser.parse(reader, [&names](const QString& line) { names.append(firstColumn(line)); }),
        ParseInterrupted);
    EXPECT_EQ(names, (QStringList{QStringLiteral("\"A\""), QStringLiteral("\"B\"")}));
}

}  // namespace
}  // namespace larkspan
