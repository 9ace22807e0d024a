#include "capture/address_patterns.h"

#include "qt_printers.h"
#include "text/regexpr.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

const QString kStreetPattern = QStringLiteral(R"re(address: ((.+),)+? ?(.+?) ([A-Z]+) (\d+))re");
const QString kMarkupPattern = QStringLiteral(R"re(>(.+) ([A-Z]+) (\d+))re");

struct AddressCase {
    const char* name;
    QString block;
    bool matches;
    QStringList parts;  // street (with its comma), city, state, postcode
};

void PrintTo(const AddressCase& addressCase, std::ostream* os) {
    *os << addressCase.name;
}

QStringList parts(const std::optional<AddressMatch>& match) {
    if (!match) {
        return {};
    }
    return {match->street.toString(), match->city.toString(), match->state.toString(),
            match->postcode.toString()};
}

// The groups the backtracking matcher gives for a pattern, in the order of AddressMatch.
QStringList matcherParts(const QString& pattern, const QString& block, bool withStreet) {
    TRegExpr regex;
    regex.setModifierS(false);
    regex.setExpression(pattern);
    if (!regex.Exec(block)) {
        return {};
    }
    return withStreet ? QStringList{regex.Match(1), regex.Match(3), regex.Match(4), regex.Match(5)}
                      : QStringList{QString(), regex.Match(1), regex.Match(2), regex.Match(3)};
}

QString manyCommas(int count) {
    QString text;
    for (int i = 0; i < count; ++i) {
        text += QStringLiteral("lane %1, ").arg(i);
    }
    return text;
}

// Blocks on which the backtracking matcher finishes: both give the same parts.
class StreetAddressTest : public testing::TestWithParam<AddressCase> {};

TEST_P(StreetAddressTest, GivesTheMatchersParts) {
    const AddressCase& c = GetParam();
    EXPECT_EQ(parts(matchStreetAddress(c.block)), c.matches ? c.parts : QStringList());
    EXPECT_EQ(matcherParts(kStreetPattern, c.block, true), c.matches ? c.parts : QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, StreetAddressTest,
    testing::Values(
        AddressCase{"Plain",
                    QStringLiteral("listing-address: 12 Smith St, Sydney NSW 2000"),
                    true,
                    {QStringLiteral("12 Smith St,"), QStringLiteral("Sydney"),
                     QStringLiteral("NSW"), QStringLiteral("2000")}},
        AddressCase{"LastUsableComma",
                    QStringLiteral("address: a, b, Cc DD 12, Australia"),
                    true,
                    {QStringLiteral("a, b,"), QStringLiteral("Cc"), QStringLiteral("DD"),
                     QStringLiteral("12")}},
        AddressCase{"NoBlankAfterComma",
                    QStringLiteral("address: 12 Smith St,Sydney NSW 2000"),
                    true,
                    {QStringLiteral("12 Smith St,"), QStringLiteral("Sydney"),
                     QStringLiteral("NSW"), QStringLiteral("2000")}},
        AddressCase{"BlankKeptWhenTheCityNeedsIt",
                    QStringLiteral("address: x,  AB 12"),
                    true,
                    {QStringLiteral("x,"), QStringLiteral(" "), QStringLiteral("AB"),
                     QStringLiteral("12")}},
        AddressCase{
            "CommaNeedsTextBeforeIt", QStringLiteral("address: , Sydney NSW 2000"), false, {}},
        AddressCase{"StateIsAWholeRunOfCapitals",
                    QStringLiteral("address: 1 St, Sydney NSWa 2000 VIC 3000"),
                    true,
                    {QStringLiteral("1 St,"), QStringLiteral("Sydney NSWa 2000"),
                     QStringLiteral("VIC"), QStringLiteral("3000")}},
        AddressCase{"PostcodeTakesEveryDigit",
                    QStringLiteral("address: 1 St, Sydney NSW 2000123x"),
                    true,
                    {QStringLiteral("1 St,"), QStringLiteral("Sydney"), QStringLiteral("NSW"),
                     QStringLiteral("2000123")}},
        AddressCase{
            "LineEndsTheAddress", QStringLiteral("address: 1 St,\r\nSydney NSW 2000"), false, {}},
        AddressCase{
            "EllipsisEndsTheLine", QStringLiteral("address: 1 St, Syd\u2026 NSW 2000"), false, {}},
        AddressCase{
            "LoneSurrogateEndsTheLine",
            QStringLiteral("address: 1 St, Sy") + QChar(0xD800) + QStringLiteral("d NSW 2000"),
            false,
            {}},
        AddressCase{"SurrogatePairIsOneCharacter",
                    QStringLiteral("address: 1 St, Sy\U0001F600d NSW 2000"),
                    true,
                    {QStringLiteral("1 St,"), QStringLiteral("Sy\U0001F600d"),
                     QStringLiteral("NSW"), QStringLiteral("2000")}},
        AddressCase{
            "NulEndsTheInput",
            QStringLiteral("address: 1 St, Sydney NSW 20") + QChar(0) + QStringLiteral("00"),
            true,
            {QStringLiteral("1 St,"), QStringLiteral("Sydney"), QStringLiteral("NSW"),
             QStringLiteral("20")}},
        AddressCase{"LeftmostLabelWins",
                    QStringLiteral("address: x address: 1 St, Sydney NSW 2000"),
                    true,
                    {QStringLiteral("x address: 1 St,"), QStringLiteral("Sydney"),
                     QStringLiteral("NSW"), QStringLiteral("2000")}},
        AddressCase{"LaterLineAfterOneThatFails",
                    QStringLiteral("x: our address: a, b\r\nlisting-address: 1 St, Perth WA 6000"),
                    true,
                    {QStringLiteral("1 St,"), QStringLiteral("Perth"), QStringLiteral("WA"),
                     QStringLiteral("6000")}}),
    [](const testing::TestParamInfo<AddressCase>& param) { return std::string(param.param.name); });

class MarkupAddressTest : public testing::TestWithParam<AddressCase> {};

TEST_P(MarkupAddressTest, GivesTheMatchersParts) {
    const AddressCase& c = GetParam();
    EXPECT_EQ(parts(matchMarkupAddress(c.block)), c.matches ? c.parts : QStringList());
    EXPECT_EQ(matcherParts(kMarkupPattern, c.block, false), c.matches ? c.parts : QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MarkupAddressTest,
    testing::Values(AddressCase{"TakesMarkupUpToTheLastTail",
                                QStringLiteral("x: <a>b</a><span>Sydney NSW 2000</span>"),
                                true,
                                {QString(), QStringLiteral("b</a><span>Sydney"),
                                 QStringLiteral("NSW"), QStringLiteral("2000")}},
                    AddressCase{"LastTailOfTheLine",
                                QStringLiteral("<p>Manly NSW 2095 or Perth WA 6000</p>"),
                                true,
                                {QString(), QStringLiteral("Manly NSW 2095 or Perth"),
                                 QStringLiteral("WA"), QStringLiteral("6000")}},
                    AddressCase{"CityNeedsACharacter", QStringLiteral("x> NSW 2000"), false, {}},
                    AddressCase{"NextLineWhenTheFirstHasNone",
                                QStringLiteral("<b>no address</b>\n<i>Hobart TAS 7000"),
                                true,
                                {QString(), QStringLiteral("Hobart"), QStringLiteral("TAS"),
                                 QStringLiteral("7000")}}),
    [](const testing::TestParamInfo<AddressCase>& param) { return std::string(param.param.name); });

// Lines of commas drive a backtracking search into its matching limits, which then gives up on
// the whole block and loses the address: here the address is found.
TEST(AddressPatterns, LinesOfCommasDoNotHideTheAddress) {
    struct Case {
        const char* name;
        QString block;
        QStringList parts;
    };
    const QString real = QStringLiteral("\r\nlisting-address: 1 Hay St, Perth WA 6000");
    const QStringList perth{QStringLiteral("1 Hay St,"), QStringLiteral("Perth"),
                            QStringLiteral("WA"), QStringLiteral("6000")};
    const Case cases[] = {
        {"EarlierLineOfCommas", QStringLiteral("x: our address: ") + manyCommas(25) + real, perth},
        {"CommasAfterTheRealAddress",
         QStringLiteral("listing-address: 1 Hay St, Perth WA 6000, ") + manyCommas(25), perth},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(matcherParts(kStreetPattern, c.block, true), QStringList()) << c.name;
        EXPECT_EQ(parts(matchStreetAddress(c.block)), c.parts) << c.name;
    }
}

}  // namespace
}  // namespace larkspan
