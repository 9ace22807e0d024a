#include "shell/web_search.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

struct SearchCase {
    const char* name;
    const char16_t* text;
    const char* query;  // after "q=", as sent
};

// Names the case instead of dumping its bytes in test listings.
void PrintTo(const SearchCase& searchCase, std::ostream* os) {
    *os << searchCase.name;
}

class WebSearchTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(WebSearchTest, EncodesTheTextIntoTheQuery) {
    const SearchCase& c = GetParam();
    EXPECT_EQ(webSearchURL(QString::fromUtf16(c.text)).toString(QUrl::FullyEncoded).toStdString(),
              std::string("http://www.google.com/search?ie=ISO-8859-1&hl=de&q=") + c.query);
}

const SearchCase kCases[] = {
    {"Plain", u"restaurants", "restaurants"},
    {"Blank", u"thai food", "thai%20food"},
    {"Ampersand", u"fish&chips", "fish%26chips"},
    {"Hash", u"#1 pizza", "%231%20pizza"},
    {"Plus", u"c++", "c%2B%2B"},
    {"EqualsAndPercent", u"a=b%", "a%3Db%25"},
    {"Latin1Letter", u"caf\u00e9", "caf%E9"},
    {"OutsideLatin1", u"\u20ac5", "%26%238364%3B5"},
    {"OutsideTheBasicPlane", u"\U0001F355", "%26%23127829%3B"},
    {"Empty", u"", ""},
};

INSTANTIATE_TEST_SUITE_P(Texts, WebSearchTest, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace larkspan
