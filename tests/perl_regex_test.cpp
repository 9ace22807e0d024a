#include "text/perl_regex.h"

#include "qt_printers.h"
#include "text/regex_cache.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

TEST(PerlRegExMatch, EmptyMatchesAreRefused) {
    TPerlRegEx regex;
    regex.setRegEx(QStringLiteral("x*"));
    regex.setSubject(QStringLiteral("ab"));
    EXPECT_FALSE(regex.Match());
}

TEST(PerlRegExReplaceAll, DeletesEveryDoubleQuote) {
    struct Case {
        QString subject;
        bool replaced;
        QString result;
    };
    for (const Case& c : {Case{QStringLiteral(R"re(Joe's "Best" "Cafe)re"), true,
                               QStringLiteral("Joe's Best Cafe")},
                          Case{QStringLiteral("no quotes"), false, QStringLiteral("no quotes")},
                          Case{QStringLiteral(R"re(""")re"), true, QString()}}) {
        TPerlRegEx regex;
        regex.setRegEx(QStringLiteral("\""));
        regex.setSubject(c.subject);
        EXPECT_EQ(regex.ReplaceAll(), c.replaced);
        EXPECT_EQ(regex.Subject(), c.result);
    }
}

TEST(PerlRegExReplaceAll, NeverSearchesTheInsertedReplacement) {
    TPerlRegEx regex;
    regex.setRegEx(QStringLiteral("a"));
    regex.setReplacement(QStringLiteral("aa"));
    regex.setSubject(QStringLiteral("xax"));
    EXPECT_TRUE(regex.ReplaceAll());
    EXPECT_EQ(regex.Subject(), QStringLiteral("xaax"));
}

TEST(PerlRegExMatch, GroupsOfTheFirstMatch) {
    struct Case {
        QString subject;
        QString group1;
    };
    const QString pattern = QStringLiteral(R"re(longitude="([\-.\d]+)")re");
    for (const Case& c :
         {Case{QStringLiteral(R"re(<a longitude="151.2" x longitude="1">)re"),
               QStringLiteral("151.2")},
          Case{QStringLiteral("a\r\nb longitude=\"-33.86\"\r\n"), QStringLiteral("-33.86")},
          Case{QStringLiteral(R"re(longitude="")re"), QString()},
          Case{QStringLiteral(R"re(longitude="1e5")re"), QString()}}) {
        TPerlRegEx regex;
        regex.setRegEx(pattern);
        regex.setOptions(PerlRegExOption::preMultiLine);
        regex.setSubject(c.subject);
        EXPECT_EQ(regex.Match(), !c.group1.isEmpty()) << c.subject.toStdString();
        EXPECT_EQ(regex.Groups(1), c.group1);
        EXPECT_EQ(regex.Groups(2), QString());
    }
}

TEST(PerlRegExMatch, AnyUnicodeLineEndIsANewline) {
    for (const QString& lineEnd :
         {QStringLiteral("\r"), QStringLiteral("\n"), QStringLiteral("\r\n"),
          QStringLiteral("\x0B"), QStringLiteral("\f"), QStringLiteral("\u0085"),
          QStringLiteral("\u2028"), QStringLiteral("\u2029")}) {
        TPerlRegEx regex;
        regex.setRegEx(QStringLiteral("^b"));
        regex.setOptions(PerlRegExOption::preMultiLine);
        regex.setSubject(QStringLiteral("a") + lineEnd + QStringLiteral("b"));
        EXPECT_TRUE(regex.Match()) << lineEnd.toStdString();
    }
}

TEST(PerlRegExErrors, BadPatternRaisesOnUse) {
    TPerlRegEx regex;
    regex.setRegEx(QStringLiteral("(a"));
    regex.setSubject(QStringLiteral("a"));
    EXPECT_THROW(regex.Match(), PcreCompileError);
    EXPECT_THROW(regex.ReplaceAll(), PcreCompileError);
}

TEST(PerlRegExCache, SharedPatternGivesSameResults) {
    RegexCache cache;
    for (int round = 0; round < 2; ++round) {
        TPerlRegEx regex(&cache);
        regex.setRegEx(QStringLiteral("§(.)"));
        regex.setSubject(QStringLiteral("a§b"));
        ASSERT_TRUE(regex.Match());
        EXPECT_EQ(regex.Groups(1), QStringLiteral("b"));
    }
}

}  // namespace
}  // namespace larkspan
