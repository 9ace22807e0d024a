#include "capture/goldleaf_au_entry.h"

#include "csv_reader.h"
#include "qt_printers.h"
#include "text/regex_cache.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

const ServiceAddresses kAddresses{QStringLiteral("http://dir.test"),
                                  QStringLiteral("http://map.test")};

// The fourteen columns of a result line, in their order.
struct Fields {
    QString name{}, phone{}, email{}, street{}, postcode{}, city{}, state{}, heading{},
        description{}, website{}, longitude{}, latitude{}, mapLink{}, listingPage{};

    QStringList columns() const {
        return {name,    phone,       email,   street,    postcode, city,    state,
                heading, description, website, longitude, latitude, mapLink, listingPage};
    }
};

QStringList parsedColumns(const QString& block, RegexCache* cache = nullptr) {
    TGoldleafAUentry entry(block, kAddresses, cache);
    entry.ExecuteL();
    return readCsvRecord(entry.ResultLine());
}

QString crlf(std::initializer_list<const char*> lines) {
    QString text;
    for (const char* line : lines) {
        text += QString::fromUtf8(line) + QStringLiteral("\r\n");
    }
    return text;
}

struct BlockCase {
    const char* name;
    QString block;
    Fields expected;
};

// Names the case instead of dumping its bytes in test listings.
void PrintTo(const BlockCase& blockCase, std::ostream* os) {
    *os << blockCase.name;
}

std::string testName(const testing::TestParamInfo<BlockCase>& param) {
    return param.param.name;
}

class ListingBlockTest : public testing::TestWithParam<BlockCase> {};

TEST_P(ListingBlockTest, GivesExpectedColumns) {
    const BlockCase& c = GetParam();
    EXPECT_EQ(parsedColumns(c.block), c.expected.columns());
    RegexCache cache;
    EXPECT_EQ(parsedColumns(c.block, &cache), c.expected.columns()) << "with shared patterns";
}

const QString kMapByAddress = QStringLiteral("http://map.test/maps?t=m&q=");

INSTANTIATE_TEST_SUITE_P(
    Names, ListingBlockTest,
    testing::Values(BlockCase{"EmptyLineThenLaterName",
                              crlf({"listing-name: ", "listing-name: Bondi Bakery"}),
                              {.name = QStringLiteral("Bondi Bakery")}},
                    BlockCase{"QuotesRemovedApostropheKept",
                              crlf({R"(listing-name: Joe's "Best" Cafe)"}),
                              {.name = QStringLiteral("Joe's Best Cafe")}},
                    BlockCase{"EllipsisEndsName",
                              crlf({"listing-name: Harbour\u2026 Views"}),
                              {.name = QStringLiteral("Harbour")}},
                    BlockCase{"LineAndParagraphSeparatorsEndName",
                              QStringLiteral("listing-name: A\u2028B\r\nlisting-heading: C\u2029D"),
                              {.name = QStringLiteral("A"), .heading = QStringLiteral("C")}},
                    BlockCase{"NextLineIsPartOfName",
                              QStringLiteral("listing-name: A\u0085B"),
                              {.name = QStringLiteral("A\u0085B")}},
                    BlockCase{"NulEndsTheBlock",
                              QStringLiteral("listing-heading: Cafes") + QChar(0) +
                                  QStringLiteral("\r\nlisting-name: Hidden"),
                              {.heading = QStringLiteral("Cafes")}}),
    testName);

INSTANTIATE_TEST_SUITE_P(
    Addresses, ListingBlockTest,
    testing::Values(
        BlockCase{"Plain",
                  crlf({"listing-address: 12 Smith St, Sydney NSW 2000"}),
                  {.street = QStringLiteral("12 Smith St"),
                   .postcode = QStringLiteral("2000"),
                   .city = QStringLiteral("Sydney"),
                   .state = QStringLiteral("NSW"),
                   .mapLink = kMapByAddress + QStringLiteral("12+Smith+St+Sydney+NSW+")}},
        BlockCase{
            "InnerCommas",
            crlf({"listing-address: Shop 3, 12 Smith St, North Sydney NSW 2060"}),
            {.street = QStringLiteral("Shop 3, 12 Smith St"),
             .postcode = QStringLiteral("2060"),
             .city = QStringLiteral("North Sydney"),
             .state = QStringLiteral("NSW"),
             .mapLink = kMapByAddress + QStringLiteral("Shop+3,+12+Smith+St+North+Sydney+NSW+")}},
        BlockCase{"CountrySuffix",
                  crlf({"listing-address: 12 Smith St, Sydney NSW 2000, Australia"}),
                  {.street = QStringLiteral("12 Smith St"),
                   .postcode = QStringLiteral("2000"),
                   .city = QStringLiteral("Sydney"),
                   .state = QStringLiteral("NSW"),
                   .mapLink = kMapByAddress + QStringLiteral("12+Smith+St+Sydney+NSW+")}},
        BlockCase{"NoBlankAfterComma",
                  crlf({"listing-address: 12 Smith St,Sydney NSW 2000"}),
                  {.street = QStringLiteral("12 Smith St"),
                   .postcode = QStringLiteral("2000"),
                   .city = QStringLiteral("Sydney"),
                   .state = QStringLiteral("NSW"),
                   .mapLink = kMapByAddress + QStringLiteral("12+Smith+St+Sydney+NSW+")}},
        BlockCase{"NoCommaAndNoMarkup", crlf({"listing-address: Sydney NSW 2000"}), {}},
        BlockCase{"LowerCaseState", crlf({"listing-address: 12 Smith St, Sydney nsw 2000"}), {}},
        BlockCase{
            "FallbackTakesMarkup",
            crlf({"listing-address: Sydney NSW 2000", "x: <a>b</a><span>Sydney NSW 2000</span>"}),
            {.postcode = QStringLiteral("2000"),
             .city = QStringLiteral("b</a><span>Sydney"),
             .state = QStringLiteral("NSW"),
             .mapLink = kMapByAddress + QStringLiteral("+b</a><span>Sydney+NSW+")}},
        BlockCase{"NonBreakingSpaceStaysInMapLink",
                  crlf({"listing-address: 1\u00a0Main Rd, Perth WA 6000"}),
                  {.street = QStringLiteral("1\u00a0Main Rd"),
                   .postcode = QStringLiteral("6000"),
                   .city = QStringLiteral("Perth"),
                   .state = QStringLiteral("WA"),
                   .mapLink = kMapByAddress + QStringLiteral("1\u00a0Main+Rd+Perth+WA+")}}),
    testName);

// A line of many commas that is no address once made the address pattern give up on the whole
// block; the real address further down is found.
INSTANTIATE_TEST_SUITE_P(CostlyLines, ListingBlockTest,
                         testing::Values(BlockCase{
                             "EarlierLineOfCommas",
                             QStringLiteral("listing-short-description: our address: ") +
                                 QStringLiteral("lane, ").repeated(30) +
                                 QStringLiteral("\r\nlisting-address: 1 Hay St, Perth WA 6000\r\n"),
                             {.street = QStringLiteral("1 Hay St"),
                              .postcode = QStringLiteral("6000"),
                              .city = QStringLiteral("Perth"),
                              .state = QStringLiteral("WA"),
                              .description = QStringLiteral("our address: ") +
                                             QStringLiteral("lane, ").repeated(30),
                              .mapLink = kMapByAddress + QStringLiteral("1+Hay+St+Perth+WA+")}}),
                         testName);

INSTANTIATE_TEST_SUITE_P(
    Contacts, ListingBlockTest,
    testing::Values(
        BlockCase{
            "PhoneAfterPlusLink",
            crlf(
                {R"(primary-contacts: <a href="tel:+61 2 1111">x</a><a href="tel:02 9999-1234">y</a>)"}),
            {.phone = QStringLiteral("02 9999-1234")}},
        BlockCase{
            "OnlyPlusPhone", crlf({R"(primary-contacts: <a href="tel:+61 2 1111">x</a>)"}), {}},
        BlockCase{"EmailLeavesSentenceStop",
                  crlf({"listing-short-description: Mail info@bakery.com.au. Today"}),
                  {.email = QStringLiteral("info@bakery.com.au"),
                   .description = QStringLiteral("Mail info@bakery.com.au. Today")}},
        BlockCase{
            "HeadingAndDescription",
            crlf({"listing-heading: Cafes", "listing-short-description: Coffee & cake"}),
            {.heading = QStringLiteral("Cafes"), .description = QStringLiteral("Coffee & cake")}},
        BlockCase{
            "ListingPageGetsDirectoryBase",
            crlf({R"(x: <a href='/nsw/sydney/cafe-12345-listing.html'>x</a>)"}),
            {.listingPage = QStringLiteral("http://dir.test/nsw/sydney/cafe-12345-listing.html")}}),
    testName);

INSTANTIATE_TEST_SUITE_P(
    Websites, ListingBlockTest,
    testing::Values(
        BlockCase{"AltSpan",
                  crlf({R"(x: <span class="alt">www.cafe.com.au (opens in a new window)</span>)"}),
                  {.website = QStringLiteral("www.cafe.com.au")}},
        BlockCase{"AltSpanButtonLabelFallsToTitleLink",
                  crlf({R"(x: <span class="alt">Visit Our Website (opens in a new window)</span>)",
                        R"(y: <a href="http://b.example" title="Visit Our Website">)"}),
                  {.website = QStringLiteral("http://b.example")}},
        BlockCase{"TitleLinkKeepsOtherAttributes",
                  crlf({R"(y: <a class="w" href="http://b.example" title="Visit Our Website">)"}),
                  {.website = QStringLiteral(R"(w" href="http://b.example)")}},
        BlockCase{"PlainEntry",
                  crlf({"website: http://c.example"}),
                  {.website = QStringLiteral("http://c.example")}},
        BlockCase{"PlainEntryLookAtOurWebsiteAnyCase",
                  crlf({"website: Look At Our Website",
                        "z: <a href=\"http://d.example\" title=\"our web site\">"}),
                  {.website = QStringLiteral("http://d.example")}},
        BlockCase{"SmallLetterVisitIsKept",
                  crlf({"website: visit our website"}),
                  {.website = QStringLiteral("visit our website")}},
        BlockCase{"WebSiteTitle",
                  crlf({R"(z: <a href="http://d.example" title="Go to web site">)"}),
                  {.website = QStringLiteral("http://d.example")}},
        BlockCase{"WwwTitle",
                  crlf({R"(z: <a title="www.e.example" class="w">)"}),
                  {.website = QStringLiteral(R"(http://www.e.example")")}},
        BlockCase{"OnlyFirstOpensInNewWindowRemoved",
                  crlf({"website: a (opens in a new window) (opens in a new window)"}),
                  {.website = QStringLiteral("a (opens in a new window)")}}),
    testName);

INSTANTIATE_TEST_SUITE_P(
    Coordinates, ListingBlockTest,
    testing::Values(
        BlockCase{"Both",
                  crlf({R"(--card: <div longitude="151.2093" latitude="-33.8688">)",
                        "listing-address: 1 A St, Sydney NSW 2000"}),
                  {.street = QStringLiteral("1 A St"),
                   .postcode = QStringLiteral("2000"),
                   .city = QStringLiteral("Sydney"),
                   .state = QStringLiteral("NSW"),
                   .longitude = QStringLiteral("151.2093"),
                   .latitude = QStringLiteral("-33.8688"),
                   .mapLink = QStringLiteral("http://map.test/maps?q=-33.8688,151.2093&t=m")}},
        BlockCase{"LongitudeOnly",
                  crlf({R"(--card: <div longitude="151.2">)"}),
                  {.longitude = QStringLiteral("151.2"),
                   .mapLink = QStringLiteral("http://map.test/maps?q=,151.2&t=m")}},
        BlockCase{
            "LatitudeOnly",
            crlf({R"(--card: <div latitude="-33.8">)", "listing-address: 1 A St, Sydney NSW 2000"}),
            {.street = QStringLiteral("1 A St"),
             .postcode = QStringLiteral("2000"),
             .city = QStringLiteral("Sydney"),
             .state = QStringLiteral("NSW"),
             .latitude = QStringLiteral("-33.8"),
             .mapLink = kMapByAddress + QStringLiteral("1+A+St+Sydney+NSW+")}},
        BlockCase{"LatitudeOnlyNoAddress",
                  crlf({R"(--card: <div latitude="-33.8">)"}),
                  {.latitude = QStringLiteral("-33.8")}}),
    testName);

TEST(ListingBlock, EmptyBlockGivesFourteenEmptyFields) {
    TGoldleafAUentry entry{QString()};
    entry.ExecuteL();
    EXPECT_EQ(entry.ResultLine(), QStringLiteral(R"("","","","","","","","","","","","","","")"));
    EXPECT_EQ(entry.ResultLine().size(), 41);
    EXPECT_EQ(entry.fNameOnly(), QString());
}

TEST(ListingBlock, LineWithoutQuotesIsWrittenAsIs) {
    TGoldleafAUentry entry(
        crlf({"listing-name: Ann's", "listing-address: 2 B Rd, Hobart TAS 7000"}), kAddresses);
    entry.ExecuteL();
    EXPECT_EQ(entry.ResultLine(),
              QStringLiteral(R"("Ann's","","","2 B Rd","7000","Hobart","TAS","","","","","",)"
                             R"("http://map.test/maps?t=m&q=2+B+Rd+Hobart+TAS+","")"));
}

// Quotes inside fields are doubled, so a CSV reader gets the fourteen fields back unchanged.
TEST(ListingBlock, QuotesInFieldsStayInsideTheirField) {
    const QString block =
        crlf({R"(listing-name: The "Quoted" Inn)", R"(listing-heading: Pubs "and" Bars)",
              R"(listing-short-description: Voted "best" 2013, "twice")",
              R"(website: <a href="http://inn.example">x</a>)"});
    TGoldleafAUentry entry(block, kAddresses);
    entry.ExecuteL();
    const QStringList columns = readCsvRecord(entry.ResultLine());
    ASSERT_EQ(columns.size(), 14);
    EXPECT_EQ(columns[0], QStringLiteral("The Quoted Inn"));
    EXPECT_EQ(columns[7], QStringLiteral(R"(Pubs "and" Bars)"));
    EXPECT_EQ(columns[8], QStringLiteral(R"(Voted "best" 2013, "twice")"));
    EXPECT_EQ(columns[9], QStringLiteral(R"(<a href="http://inn.example">x</a>)"));
}

TEST(ListingBlock, TakeOutLastComma) {
    EXPECT_EQ(TGoldleafAUentry::TakeOutLastComma(QStringLiteral("Shop 3, 12 Smith St,")),
              QStringLiteral("Shop 3, 12 Smith St"));
    EXPECT_EQ(TGoldleafAUentry::TakeOutLastComma(QStringLiteral(",")), QString());
}

// A hostile address line must cost bounded time and leave every other field intact.
TEST(ListingBlock, RunawayAddressLineLeavesOtherFields) {
    const QString block = crlf({"listing-name: Survivor", "listing-heading: Cafes"}) +
                          QStringLiteral("listing-address: ") +
                          QStringLiteral("lane,").repeated(3000) + QStringLiteral(" end\r\n");
    RegexCache cache;
    for (RegexCache* usedCache : {static_cast<RegexCache*>(nullptr), &cache}) {
        TGoldleafAUentry entry(block, kAddresses, usedCache);
        entry.ExecuteL();
        EXPECT_EQ(entry.fNameOnly(), QStringLiteral("Survivor"));
        EXPECT_EQ(entry.fActividad(), QStringLiteral("Cafes"));
        EXPECT_EQ(entry.fCity(), QString());
        EXPECT_EQ(readCsvRecord(entry.ResultLine()).size(), 14);
    }
}

}  // namespace
}  // namespace larkspan
