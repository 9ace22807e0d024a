#include "text/search_hint.h"

#include "qt_printers.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

// What the analysis takes from a pattern: the longest literal every match holds, and whether
// matches stay within one line. An empty literal means the search skips nothing, as for a
// literal that starts the pattern.
TEST(SearchHint, FindsTheLiteralEveryMatchHolds) {
    struct Case {
        QString pattern;
        bool dotMatchesAll;
        QString literal;
        bool withinOneLine;
    };
    const Case cases[] = {
        // The listing patterns.
        {QStringLiteral("listing-name: (.+)"), false, QString(), false},
        {QStringLiteral(R"re(href="(.+?)" title=.+?web site)re"), false,
         QStringLiteral(R"(" title=)"), true},
        {QStringLiteral(R"re(=["']?(.+?)["']? title="Visit Our Website)re"), false,
         QStringLiteral(R"( title="Visit Our Website)"), true},
        {QStringLiteral(R"re(span class=["']?alt["']?>(.+?) \(opens in a new window\))re"), false,
         QStringLiteral(" (opens in a new window)"), true},
        {QStringLiteral(R"re([_a-zA-Z\d\-\.]+@[_a-zA-Z\d\-]+(\.[_a-zA-Z\d\-]+)+)re"), true,
         QStringLiteral("@"), true},
        // "." crosses lines only with s on.
        {QStringLiteral("x(.+)name: "), false, QStringLiteral("name: "), true},
        {QStringLiteral("x(.+)name: "), true, QStringLiteral("name: "), false},
        // Quantified characters, groups and anchors end a literal.
        {QStringLiteral(".ab?cd"), false, QStringLiteral("cd"), true},
        {QStringLiteral(".abc{2}d"), false, QStringLiteral("ab"), true},
        {QStringLiteral(".x(abcdef)y"), false, QStringLiteral("x"), true},
        {QStringLiteral("^ab$"), false, QStringLiteral("ab"), true},
        {QStringLiteral(R"re(a\bcd)re"), false, QStringLiteral("cd"), true},
        // A brace that is no quantifier is an ordinary character.
        {QStringLiteral(".a{x}"), false, QStringLiteral("a{x}"), true},
        // Escaped characters are literal; a character by its code is left alone.
        {QStringLiteral(R"re(.\(a\.b\))re"), false, QStringLiteral("(a.b)"), true},
        {QStringLiteral(R"re(.ab\x41cd)re"), false, QStringLiteral("ab"), false},
        {QStringLiteral(R"re(a\x{2026}bcd)re"), false, QStringLiteral("bcd"), false},
        // Items that can match a line separator.
        {QStringLiteral(R"re(.ab\scd)re"), false, QStringLiteral("ab"), false},
        {QStringLiteral(".ab[^x]cd"), false, QStringLiteral("ab"), false},
        {QStringLiteral(".ab[\\n]cd"), false, QStringLiteral("ab"), false},
        {QStringLiteral(".ab[\t-\r]cd"), false, QStringLiteral("ab"), false},
        {QStringLiteral(".ab\u2026cd"), false, QStringLiteral("ab\u2026cd"), false},
        {QStringLiteral(R"re((a)\1bc)re"), false, QStringLiteral("bc"), false},
        // Class members that cannot.
        {QStringLiteral(R"re(.ab[\D\S\-]cd)re"), false, QStringLiteral("ab"), true},
        {QStringLiteral(".ab[]x]cd"), false, QStringLiteral("ab"), true},
        // Beyond the analysis: no hint.
        {QStringLiteral("ab|cd"), false, QString(), false},
        {QStringLiteral("(?s)ab"), false, QString(), false},
        {QStringLiteral("ab[cd"), false, QString(), false},
        {QStringLiteral("ab)"), false, QString(), false},
        {QStringLiteral(".+"), false, QString(), false},
        // An alternative inside a group leaves the literals outside it.
        {QStringLiteral("x(a|b)yz"), false, QStringLiteral("yz"), true},
        // A literal that starts the pattern, whatever follows.
        {QStringLiteral("tel:([\\- \\d]+)"), false, QString(), false},
    };
    for (const Case& c : cases) {
        const SearchHint hint = SearchHint::forPattern(c.pattern, c.dotMatchesAll);
        EXPECT_EQ(hint.literal(), c.literal) << c.pattern.toStdString();
        if (!c.literal.isEmpty()) {
            EXPECT_EQ(hint.withinOneLine(), c.withinOneLine) << c.pattern.toStdString();
        }
    }
}

TEST(SearchHint, SearchBeginsAtTheLineOfTheFirstLiteral) {
    struct Case {
        QString pattern;
        bool dotMatchesAll;
        QString subject;
        qsizetype start;
    };
    const Case cases[] = {
        {QStringLiteral("(.)name: "), false, QStringLiteral("a\r\nb name: x\nname: y"), 3},
        {QStringLiteral("(.)name: "), false, QStringLiteral("x name: y"), 0},
        {QStringLiteral("(.)name: "), false, QStringLiteral("a\u2026b\u2028xname: y"), 4},
        {QStringLiteral("(.)name: "), false, QStringLiteral("no label"), -1},
        // Long lines are walked four characters at a time.
        {QStringLiteral("(.)name: "), false,
         QStringLiteral("0123456789\n\u6f22\u5b57abcdefghijklmnopq name: x"), 11},
        {QStringLiteral("(.)name: "), false,
         QStringLiteral("\tab\x0B"
                        "cdefghijklmnopqrstuvwxyz name: x"),
         4},
        {QStringLiteral("(.)name: "), false, QStringLiteral("abcdefghijklmnopqrstuvwxyz name: x"),
         0},
        {QStringLiteral("(.)name: "), true, QStringLiteral("a\r\nb name: x"), 0},
        {QStringLiteral("a+@"), false, QStringLiteral("a\nb@c"), 2},
        {QStringLiteral(".+"), false, QStringLiteral("a\nb"), 0},
        {QStringLiteral("name: (.+)"), false, QStringLiteral("a\nname: x"), 0},
    };
    for (const Case& c : cases) {
        const SearchHint hint = SearchHint::forPattern(c.pattern, c.dotMatchesAll);
        EXPECT_EQ(hint.searchStart(c.subject), c.start) << c.subject.toStdString();
    }
}

}  // namespace
}  // namespace larkspan
