#include "text/regexpr.h"

#include "qt_printers.h"
#include "text/regex_cache.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

// Listing patterns run with s off: "." stops at the matcher's line separators.
TRegExpr restrictedMatcher(RegexCache* cache = nullptr) {
    TRegExpr regex(cache);
    regex.setModifierStr(QStringLiteral("-m"));
    regex.setModifierS(false);
    return regex;
}

struct MatchCase {
    const char* name;
    QString pattern;
    QString input;
    bool dotMatchesAll;
    bool matches;
    QStringList groups;  // group 0, 1, ...
};

// Names the case instead of dumping its bytes in test listings.
void PrintTo(const MatchCase& matchCase, std::ostream* os) {
    *os << matchCase.name;
}

class RegExprMatchTest : public testing::TestWithParam<MatchCase> {};

TEST_P(RegExprMatchTest, GivesExpectedGroups) {
    const MatchCase& c = GetParam();
    // Cached (JIT) and one-off (interpreted) compilation must agree.
    RegexCache cache;
    for (RegexCache* usedCache : {static_cast<RegexCache*>(nullptr), &cache}) {
        TRegExpr regex = restrictedMatcher(usedCache);
        regex.setModifierS(c.dotMatchesAll);
        regex.setExpression(c.pattern);
        ASSERT_EQ(regex.Exec(c.input), c.matches);
        for (int group = 0; group < c.groups.size(); ++group) {
            EXPECT_EQ(regex.Match(group), c.groups[group]) << "group " << group;
        }
    }
}

const QString kEllipsis = QStringLiteral("\u2026");

INSTANTIATE_TEST_SUITE_P(
    Semantics, RegExprMatchTest,
    testing::Values(
        MatchCase{"DotStopsAtEllipsis",
                  QStringLiteral("listing-name: (.+)"),
                  QStringLiteral("listing-name: Joe") + kEllipsis + QStringLiteral(" Cafe"),
                  false,
                  true,
                  {QStringLiteral("listing-name: Joe"), QStringLiteral("Joe")}},
        MatchCase{"DotTakesNel",
                  QStringLiteral("listing-name: (.+)"),
                  QStringLiteral("listing-name: A\u0085B"),
                  false,
                  true,
                  {QStringLiteral("listing-name: A\u0085B"), QStringLiteral("A\u0085B")}},
        MatchCase{"DotStopsAtLineAndParagraphSeparators",
                  QStringLiteral("n: (.+)"),
                  QStringLiteral("n: A\u2028B\u2029C"),
                  false,
                  true,
                  {QStringLiteral("n: A"), QStringLiteral("A")}},
        MatchCase{"DotStopsAtCrOfCrLf",
                  QStringLiteral("n: (.+)"),
                  QStringLiteral("n: Ann\r\nx"),
                  false,
                  true,
                  {QStringLiteral("n: Ann"), QStringLiteral("Ann")}},
        MatchCase{"DotStopsAtVtAndFf",
                  QStringLiteral("n: (.+)"),
                  QStringLiteral("n: a\x0B"
                                 "b\fc"),
                  false,
                  true,
                  {QStringLiteral("n: a")}},
        MatchCase{"DotAllCrossesLines",
                  QStringLiteral("a(.+)c"),
                  QStringLiteral("a\r\nb\u2026c"),
                  true,
                  true,
                  {QStringLiteral("a\r\nb\u2026c"), QStringLiteral("\r\nb\u2026")}},
        MatchCase{"EmptyValueLineIsSkipped",
                  QStringLiteral("listing-name: (.+)"),
                  QStringLiteral("listing-name: \r\nlisting-name: Second"),
                  false,
                  true,
                  {QStringLiteral("listing-name: Second"), QStringLiteral("Second")}},
        MatchCase{"InputEndsAtNul",
                  QStringLiteral("after"),
                  QStringLiteral("before") + QChar(0) + QStringLiteral("after"),
                  false,
                  false,
                  {}},
        MatchCase{"TextBeforeNulStillMatches",
                  QStringLiteral("b(.+)"),
                  QStringLiteral("before") + QChar(0) + QStringLiteral("after"),
                  false,
                  true,
                  {QStringLiteral("before"), QStringLiteral("efore")}},
        MatchCase{"AddressGroupTakesLastUsableComma",
                  QStringLiteral(R"re(address: ((.+),)+? ?(.+?) ([A-Z]+) (\d+))re"),
                  QStringLiteral("address: a, b, Cc DD 12"),
                  false,
                  true,
                  {QStringLiteral("address: a, b, Cc DD 12"), QStringLiteral("a, b,"),
                   QStringLiteral("a, b"), QStringLiteral("Cc"), QStringLiteral("DD"),
                   QStringLiteral("12")}},
        MatchCase{"ClassOfHyphenBlankDigit",
                  QStringLiteral(R"re(tel:([\- \d]+))re"),
                  QStringLiteral("tel:+61 2; tel:02-99 1x"),
                  false,
                  true,
                  {QStringLiteral("tel:02-99 1"), QStringLiteral("02-99 1")}},
        MatchCase{"EscapedAngleIsLiteral",
                  QStringLiteral(R"re(\<b\>)re"),
                  QStringLiteral("a <b> c"),
                  false,
                  true,
                  {QStringLiteral("<b>")}},
        MatchCase{"UpperRangeRefusesSmallLetters",
                  QStringLiteral("([A-Z]+) 1"),
                  QStringLiteral("nsw 1"),
                  false,
                  false,
                  {}},
        MatchCase{
            "CaseMatters", QStringLiteral("Visit"), QStringLiteral("visit"), false, false, {}},
        MatchCase{"DigitIsAsciiOnly",
                  QStringLiteral(R"re(\d+)re"),
                  QStringLiteral("\u0663\u0664 42"),
                  false,
                  true,
                  {QStringLiteral("42")}},
        MatchCase{"WordIsAsciiOnly",
                  QStringLiteral(R"re(\w+)re"),
                  QStringLiteral("\u00e9t\u00e9"),
                  false,
                  true,
                  {QStringLiteral("t")}},
        MatchCase{"SpaceNeverTakesVt",
                  QStringLiteral(R"re(a\sb)re"),
                  QStringLiteral("a\x0B"
                                 "b a\tb"),
                  false,
                  true,
                  {QStringLiteral("a\tb")}},
        MatchCase{"NotSpaceTakesVt",
                  QStringLiteral(R"re(a\Sb)re"),
                  QStringLiteral("a\x0B"
                                 "b"),
                  false,
                  true,
                  {QStringLiteral("a\x0B"
                                  "b")}},
        MatchCase{"SpaceInClassNeverTakesVt",
                  QStringLiteral(R"re(a[\s]b)re"),
                  QStringLiteral("a\x0B"
                                 "b"),
                  false,
                  false,
                  {}},
        MatchCase{"UpperEscapesInClassAreLetters",
                  QStringLiteral(R"re([\D\W\S]+)re"),
                  QStringLiteral("1DWS2"),
                  false,
                  true,
                  {QStringLiteral("DWS")}},
        MatchCase{
            "DollarOnlyAtVeryEnd", QStringLiteral("b$"), QStringLiteral("ab\n"), false, false, {}},
        MatchCase{"BigZIsVeryEnd",
                  QStringLiteral(R"re(b\Z)re"),
                  QStringLiteral("ab\n"),
                  false,
                  false,
                  {}},
        MatchCase{"UnknownLetterEscapeIsLiteral",
                  QStringLiteral(R"re(\q\y)re"),
                  QStringLiteral("qy"),
                  false,
                  true,
                  {QStringLiteral("qy")}},
        MatchCase{"SingleDigitBackReference",
                  QStringLiteral(R"re((a)\10)re"),
                  QStringLiteral("aa0"),
                  false,
                  true,
                  {QStringLiteral("aa0")}},
        MatchCase{"BracketFirstInClassIsMember",
                  QStringLiteral("[]a]+"),
                  QStringLiteral("x]a]"),
                  false,
                  true,
                  {QStringLiteral("]a]")}},
        MatchCase{"DotInClassIsLiteral",
                  QStringLiteral("[.]"),
                  QStringLiteral("a\u2026."),
                  false,
                  true,
                  {QStringLiteral(".")}},
        MatchCase{"HexEscapes",
                  QStringLiteral(R"re(\x41\x{2026})re"),
                  QStringLiteral("A\u2026"),
                  false,
                  true,
                  {QStringLiteral("A\u2026")}},
        MatchCase{"LazyTakesShortest",
                  QStringLiteral("<(.+?)>"),
                  QStringLiteral("<a><b>"),
                  false,
                  true,
                  {QStringLiteral("<a>"), QStringLiteral("a")}},
        MatchCase{"RepeatedGroupKeepsLastRepetition",
                  QStringLiteral("(ab)+"),
                  QStringLiteral("ababab"),
                  false,
                  true,
                  {QStringLiteral("ababab"), QStringLiteral("ab")}}),
    [](const testing::TestParamInfo<MatchCase>& param) { return std::string(param.param.name); });

TEST(RegExprSlots, AreUnsetAfterAFailedSearch) {
    TRegExpr regex = restrictedMatcher();
    regex.setExpression(QStringLiteral("(a)(b)"));
    ASSERT_TRUE(regex.Exec(QStringLiteral("ab")));
    ASSERT_FALSE(regex.Exec(QStringLiteral("xyz")));
    EXPECT_EQ(regex.Match(0), QString());
    EXPECT_EQ(regex.Match(1), QString());
    EXPECT_EQ(regex.MatchPos(1), -1);
    EXPECT_EQ(regex.MatchLen(1), -1);
}

TEST(RegExprSlots, GivePositionsFromOne) {
    struct Case {
        int group;
        qsizetype pos;
        qsizetype len;
    };
    TRegExpr regex = restrictedMatcher();
    regex.setExpression(QStringLiteral("b(c)(x)?(d)"));
    ASSERT_TRUE(regex.Exec(QStringLiteral("abcd")));
    for (const Case& c : {Case{0, 2, 3}, Case{1, 3, 1}, Case{2, -1, -1}, Case{3, 4, 1},
                          Case{-1, -1, -1}, Case{15, -1, -1}}) {
        EXPECT_EQ(regex.MatchPos(c.group), c.pos) << "group " << c.group;
        EXPECT_EQ(regex.MatchLen(c.group), c.len) << "group " << c.group;
    }
}

TEST(RegExprModifiers, DefaultsAndLetterSyntax) {
    struct Case {
        QString letters;
        QString after;
    };
    for (const Case& c : {Case{QString(), QStringLiteral("rsg-imx")},
                          Case{QStringLiteral("-m"), QStringLiteral("rsg-imx")},
                          Case{QStringLiteral("-s"), QStringLiteral("rg-ismx")},
                          Case{QStringLiteral("-sr"), QStringLiteral("g-irsmx")},
                          Case{QStringLiteral("S-R"), QStringLiteral("sg-irmx")}}) {
        TRegExpr regex;
        regex.setModifierStr(c.letters);
        EXPECT_EQ(regex.ModifierStr(), c.after) << c.letters.toStdString();
    }
}

TEST(RegExprModifiers, SwitchingSOffRestrictsTheDot) {
    TRegExpr regex;
    regex.setExpression(QStringLiteral("a.b"));
    EXPECT_TRUE(regex.Exec(QStringLiteral("a\nb")));
    regex.setModifierStr(QStringLiteral("-s"));
    EXPECT_FALSE(regex.Exec(QStringLiteral("a\nb")));
}

TEST(RegExprErrors, BadModifierLettersAreRefused) {
    for (const QString& letters :
         {QStringLiteral("q"), QStringLiteral("-m-s"), QStringLiteral("s ")}) {
        TRegExpr regex;
        EXPECT_THROW(regex.setModifierStr(letters), ERegExpr) << letters.toStdString();
        EXPECT_EQ(regex.ModifierStr(), QStringLiteral("rsg-imx"));
    }
}

TEST(RegExprErrors, UnsupportedModifiersFailClearly) {
    for (const QString& letters :
         {QStringLiteral("i"), QStringLiteral("m"), QStringLiteral("x"), QStringLiteral("-g")}) {
        TRegExpr regex;
        regex.setModifierStr(letters);
        regex.setExpression(QStringLiteral("a"));
        EXPECT_THROW(regex.Exec(QStringLiteral("a")), ERegExpr) << letters.toStdString();
    }
}

TEST(RegExprErrors, CompileErrorCarriesPositionInTheOriginalPattern) {
    struct Case {
        QString pattern;
        qsizetype position;
    };
    // The restricted dot expands to a long class; positions must still point at what was written.
    for (const Case& c : {Case{QStringLiteral("..(a"), 5}, Case{QStringLiteral("[z-a]"), 4},
                          Case{QStringLiteral(R"re(\s\s[)re"), 6}}) {
        TRegExpr regex = restrictedMatcher();
        regex.setExpression(c.pattern);
        try {
            regex.Exec(QStringLiteral("x"));
            ADD_FAILURE() << "no error for " << c.pattern.toStdString();
        } catch (const ERegExpr& error) {
            EXPECT_NE(error.ErrorCode(), 0);
            EXPECT_EQ(error.CompilerErrorPos(), c.position) << c.pattern.toStdString();
        }
    }
}

TEST(RegExprErrors, MoreThanFourteenGroupsIsAnError) {
    TRegExpr regex;
    regex.setExpression(QStringLiteral("(a)").repeated(15));
    EXPECT_THROW(regex.Exec(QStringLiteral("a")), ERegExpr);
    regex.setExpression(QStringLiteral("(a)").repeated(14));
    EXPECT_TRUE(regex.Exec(QStringLiteral("a").repeated(14)));
    EXPECT_EQ(regex.Match(14), QStringLiteral("a"));
}

// The address pattern backtracks exponentially on a long comma-rich line that never matches;
// the matching limits must turn that into "no match" and let the caller go on.
TEST(RegExprLimits, RunawayBacktrackingIsNoMatch) {
    const QString hostile = QStringLiteral("address: ") + QStringLiteral("a,").repeated(4000) +
                            QStringLiteral(" no state here");
    RegexCache cache;
    for (RegexCache* usedCache : {static_cast<RegexCache*>(nullptr), &cache}) {
        TRegExpr regex = restrictedMatcher(usedCache);
        regex.setExpression(QStringLiteral(R"re(address: ((.+),)+? ?(.+?) ([A-Z]+) (\d+))re"));
        EXPECT_FALSE(regex.Exec(hostile));
        regex.setExpression(QStringLiteral("address: (a)"));
        EXPECT_TRUE(regex.Exec(hostile));
    }
}

TEST(RegExprInput, InvalidUtf16IsSearchedNotRefused) {
    TRegExpr regex = restrictedMatcher();
    regex.setExpression(QStringLiteral("name: (.+)"));
    const QString broken = QStringLiteral("x") + QChar(0xD800) + QStringLiteral(" name: Ann");
    ASSERT_TRUE(regex.Exec(broken));
    EXPECT_EQ(regex.Match(1), QStringLiteral("Ann"));
}

}  // namespace
}  // namespace larkspan
