#include "capture/formula_guard.h"
#include "capture/result_fields.h"
#include "capture/results_format.h"
#include "capture/results_workbook.h"
#include "qt_printers.h"
#include "tests/support/workbook_reader.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using test::readWorkbook;

QStringList fields(std::initializer_list<QString> given) {
    QStringList all(given);
    all.resize(kResultColumnCount);
    return all;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The listings every format is checked with: ordinary ones, and fields that a spreadsheet or a
// JSON reader could get wrong.
const QList<QStringList> kListings = {
    fields({"Harbour Lane Bakery", "02 9251 4410", "hello@hlb.com.au", "112 Kent St", "2000",
            "Sydney", "NSW", "Bakeries", "Pies, \"real\" ones", "www.hlb.com.au", "151.2048",
            "-33.8679", "http://maps.example/maps?q=-33.8679,151.2048&t=m",
            "http://dir.example/hlb-1-listing.html"}),
    fields({"Red Sand Camel Treks", "", "", "PO Box 412", "0871", "Alice Springs", "NT"}),
    fields({"=HYPERLINK(\"http://evil.example\",\"Click\")", "+61 cmd|' /C calc'!A0", "@SUM(1+1)",
            "-2+3", "\tTab", "\rReturn"}),
    fields({"Caf\u00e9 \u00d1and\u00fa \u2026 \u20ac", "back\\slash", "control \x01 char",
            "_x0041_ stays as written"}),
};

QStringList resultLines() {
    QStringList lines;
    for (const QStringList& listing : kListings) {
        lines.append(resultLineOf(listing));
    }
    return lines;
}

TEST(ResultFields, LinesSplitIntoTheirFourteenFields) {
    struct Case {
        QString line;
        QStringList fields;
    };
    const Case cases[] = {
        {QStringLiteral("\"a\",\"b, c\",\"say \"\"hi\"\"\""), fields({"a", "b, c", "say \"hi\""})},
        {QStringLiteral("\"\",\"\""), fields({})},
        {QStringLiteral("\"a \"quoted\" word\",\"b\""), fields({"a \"quoted\" word", "b"})},
        {QStringLiteral("Scraping results, one page at a time..."),
         fields({"Scraping results, one page at a time..."})},
        {QString(), fields({})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(resultFields(c.line), c.fields) << c.line.toStdString();
    }
    for (const QStringList& listing : kListings) {
        EXPECT_EQ(resultFields(resultLineOf(listing)), listing);
    }
}

TEST(FormulaGuard, FieldsASpreadsheetWouldEvaluateGetAnApostrophe) {
    struct Case {
        QStringList fields;
        QStringList guarded;
    };
    const Case cases[] = {
        {fields({"=1+1", "+61 2", "-cmd", "@SUM(A1)", "\tx", "\rx"}),
         fields({"'=1+1", "'+61 2", "'-cmd", "'@SUM(A1)", "'\tx", "'\rx"})},
        {fields({"-33.8679", "+5", "-2+3", "a=b", " =x"}),
         fields({"-33.8679", "+5", "'-2+3", "a=b", " =x"})},
        {fields({"-.5", "-33.", "+1e5", "-1.5E-3", "-2.e+7", "-1.2.3", "-", "-.", "-e5", "-1e",
                 "-5\n"}),
         fields({"-.5", "-33.", "+1e5", "-1.5E-3", "-2.e+7", "'-1.2.3", "'-", "'-.", "'-e5",
                 "'-1e", "'-5\n"})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(guardFormulas(resultLineOf(c.fields)), resultLineOf(c.guarded));
    }
    // A line that needs no guard stays byte for byte as captured, quotes and all.
    const QString plain = QStringLiteral("\"a \"quoted\" word\",\"b\"");
    EXPECT_EQ(guardFormulas(plain), plain);
}

TEST(ResultsFormats, CsvIsTheResultsFileWithFormulasGuardedWhenAsked) {
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.csv"));
    const QString guarded = dir.filePath(QStringLiteral("guarded.csv"));
    writeResults(plain, ResultsFormat::Csv, resultLines());
    writeResults(guarded, ResultsFormat::Csv, resultLines(), true);

    QByteArray expected = "\xEF\xBB\xBF";
    for (const QString& line : resultLines()) {
        expected += line.toUtf8() + "\r\n";
    }
    EXPECT_EQ(readAll(plain), expected);
    const QList<QByteArray> lines = readAll(guarded).split('\n');
    EXPECT_EQ(lines.value(2), resultLineOf(fields({"'=HYPERLINK(\"http://evil.example\",\"Click\")",
                                                   "'+61 cmd|' /C calc'!A0", "'@SUM(1+1)", "'-2+3",
                                                   "'\tTab", "'\rReturn"}))
                                      .toUtf8() +
                                  '\r');
}

TEST(ResultsFormats, JsonLinesReadBackAsTheFields) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.jsonl"));
    writeResults(path, ResultsFormat::JsonLines, resultLines());
    const QList<QByteArray> lines = readAll(path).split('\n');
    ASSERT_EQ(lines.size(), kListings.size() + 1);
    EXPECT_TRUE(lines.constLast().isEmpty());
    // The keys in the fields' order, as a person reading the line expects.
    EXPECT_EQ(lines[1],
              "{\"name\":\"Red Sand Camel Treks\",\"phone\":\"\",\"email\":\"\",\"street\":\"PO "
              "Box 412\",\"postcode\":\"0871\",\"city\":\"Alice Springs\",\"state\":\"NT\","
              "\"heading\":\"\",\"description\":\"\",\"website\":\"\",\"longitude\":\"\","
              "\"latitude\":\"\",\"map_link\":\"\",\"listing_page\":\"\"}");
    for (qsizetype row = 0; row < kListings.size(); ++row) {
        QJsonParseError error{};
        const QJsonObject object = QJsonDocument::fromJson(lines[row], &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << lines[row].toStdString();
        ASSERT_EQ(object.size(), kResultColumnCount);
        for (int column = 0; column < kResultColumnCount; ++column) {
            EXPECT_EQ(object.value(resultColumns()[column].key).toString(), kListings[row][column])
                << row << " " << resultColumns()[column].key.toStdString();
        }
    }
}

// A cell holds 32,767 characters as the reader counts them (UTF-16 units), however many the
// format's escapes take; a longer field ends in an ellipsis and is counted as cut.
TEST(ResultsFormats, WorkbookCutsFieldsToWhatACellHolds) {
    const QString emoji = QStringLiteral("\U0001F600");
    const QString escapeLike = QStringLiteral("_x0041_").repeated(4'600);
    struct Case {
        QString field;
        QString cell;
    };
    const Case cases[] = {
        {QString(40'002, u'x'), QString(32'766, u'x') + u'\u2026'},
        {QString(32'765, u'x') + emoji + QString(100, u'y'), QString(32'765, u'x') + u'\u2026'},
        {QString(32'764, u'x') + emoji + QString(100, u'y'),
         QString(32'764, u'x') + emoji + u'\u2026'},
        {QString(32'767, u'x'), QString(32'767, u'x')},
        {escapeLike, escapeLike},
        {QStringLiteral("_x0041_\x01").repeated(3'600), QStringLiteral("_x0041_\x01").repeated(3'600)},
    };
    QStringList lines;
    for (const Case& c : cases) {
        lines.append(resultLineOf(fields({"Long", "", "", "", "", "", "", "", c.field})));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.xlsx"));
    EXPECT_EQ(writeResults(path, ResultsFormat::Workbook, lines), 3);

    const QJsonArray rows = readWorkbook(path).value("rows").toArray();
    ASSERT_EQ(rows.size(), std::size(cases) + 1);
    for (size_t row = 0; row < std::size(cases); ++row) {
        const QString cell = rows[qsizetype(row) + 1].toArray()[8].toString();
        EXPECT_EQ(cell.size(), cases[row].cell.size()) << row;
        EXPECT_TRUE(cell == cases[row].cell) << row;
    }
    EXPECT_EQ(cellsCutText(3),
              QStringLiteral("3 cells were cut to the 32,767 characters a workbook cell holds"));
    EXPECT_EQ(cellsCutText(1),
              QStringLiteral("1 cell was cut to the 32,767 characters a workbook cell holds"));
}

// Read back by a common reader, the workbook holds the CSV's fields, every cell as text.
TEST(ResultsFormats, WorkbookReadsBackFieldForFieldAsText) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.xlsx"));
    QStringList lines = resultLines();
    lines.append(resultLineOf(fields({"Long", "", "", "", "", "", "", "", QString(100, u'x')})));
    EXPECT_EQ(writeResults(path, ResultsFormat::Workbook, lines), 0);

    const QJsonObject workbook = readWorkbook(path);
    EXPECT_EQ(workbook.value("title").toString(), QStringLiteral("Listings"));
    const QJsonArray rows = workbook.value("rows").toArray();
    ASSERT_EQ(rows.size(), lines.size() + 1);
    QStringList header;
    for (const ResultColumn& column : resultColumns()) {
        header.append(column.title);
    }
    EXPECT_EQ(rows[0].toVariant().toStringList(), header);
    for (qsizetype row = 0; row < kListings.size(); ++row) {
        EXPECT_EQ(rows[row + 1].toVariant().toStringList(), kListings[row]) << row;
    }
    EXPECT_EQ(workbook.value("types").toVariant().toStringList(), QStringList{"s"});
    EXPECT_EQ(workbook.value("formats").toVariant().toStringList(), QStringList{"@"});
    EXPECT_EQ(workbook.value("frozen").toString(), QStringLiteral("A2"));
    // Sized to the longest field of each column, within limits.
    const QJsonArray widths = workbook.value("widths").toArray();
    EXPECT_NEAR(widths[4].toDouble(), 10, 1);  // "Postcode" + 2
    EXPECT_NEAR(widths[8].toDouble(), 60, 1);  // cut at 60
}

}  // namespace
}  // namespace larkspan
