#include "capture/listing_dedupe.h"
#include "capture/page_turn_delay.h"
#include "capture/result_fields.h"
#include "qt_printers.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using std::chrono::milliseconds;

QString listing(const QString& name, const QString& phone, const QString& page) {
    QStringList fields(kResultColumnCount);
    fields[NameField] = name;
    fields[PhoneField] = phone;
    fields[ListingPageField] = page;
    return resultLineOf(fields);
}

// A listing is known again by its listing page, or without one by its name and phone; a link
// that several listings of a page carry is no listing's own page.
TEST(ListingDedupe, DropsListingsCapturedBeforeInTheRun) {
    const QString featured = listing("Featured Cafe", "02 1", "http://d/featured-1-listing.html");
    const QString renamed =
        listing("Featured Cafe (ad)", "02 9", "http://d/featured-1-listing.html");
    const QString noPage = listing("Corner Shop", "02 2", "");
    const QString otherPhone = listing("Corner Shop", "02 3", "");
    const QString group = QStringLiteral("http://d/gum-tree-plumbing-7-listing.html");
    const QString ryde = listing("Gum Tree Plumbing Ryde", "02 5", group);
    const QString epping = listing("Gum Tree Plumbing Epping", "02 6", group);
    const QString manly = listing("Gum Tree Plumbing Manly", "02 7", group);
    struct Case {
        const char* what;
        QList<QStringList> pages;
        QList<QStringList> kept;
        qint64 dropped;
    };
    const Case cases[] = {
        {"featured on every page",
         {{featured, noPage}, {featured, otherPhone}, {renamed}},
         {{featured, noPage}, {otherPhone}, {}},
         2},
        {"twice on one page", {{noPage, noPage}}, {{noPage}}, 1},
        {"nothing repeats", {{noPage}, {otherPhone}}, {{noPage}, {otherPhone}}, 0},
        {"branches part of one group",
         {{ryde, epping}, {epping, manly}, {ryde}},
         {{ryde, epping}, {manly}, {}},
         2},
        {"a group link seen alone first",
         {{ryde}, {epping, manly}, {ryde}},
         {{ryde}, {epping, manly}, {}},
         1},
    };
    for (const Case& c : cases) {
        ListingDedupe dedupe;
        QList<QStringList> kept;
        for (const QStringList& page : c.pages) {
            kept.append(dedupe.newListings(page));
        }
        EXPECT_EQ(kept, c.kept) << c.what;
        EXPECT_EQ(dedupe.dropped(), c.dropped) << c.what;
    }
    // A resumed run knows the listings of its first part.
    ListingDedupe resumed;
    resumed.remember({featured});
    EXPECT_EQ(resumed.newListings({renamed, noPage}), QStringList{noPage});
    EXPECT_EQ(resumed.dropped(), 1);
    ListingDedupe resumedGroup;
    resumedGroup.remember({ryde, epping});
    EXPECT_EQ(resumedGroup.newListings({manly, ryde}), QStringList{manly});
}

TEST(PageTurnDelay, FixedOrARandomTimeInARange) {
    struct Case {
        QString text;
        std::optional<std::pair<int, int>> range;
    };
    const Case cases[] = {
        {"0", {{0, 0}}},     {"1500", {{1500, 1500}}}, {"1000-3000", {{1000, 3000}}},
        {"5-5", {{5, 5}}},   {"3000-1000", {}},        {"-5", {}},
        {"1.5", {}},         {"1000 - 2000", {}},      {"", {}},
        {"99999999999", {}},
    };
    for (const Case& c : cases) {
        const std::optional<PageTurnDelay> delay = PageTurnDelay::parse(c.text);
        ASSERT_EQ(delay.has_value(), c.range.has_value()) << c.text.toStdString();
        if (delay) {
            EXPECT_EQ(delay->shortest(), milliseconds(c.range->first));
            EXPECT_EQ(delay->longest(), milliseconds(c.range->second));
            EXPECT_EQ(PageTurnDelay::parse(delay->text())->longest(), delay->longest());
        }
    }
    const PageTurnDelay range(milliseconds(10), milliseconds(12));
    for (int pick = 0; pick < 100; ++pick) {
        EXPECT_GE(range.pick(), milliseconds(10));
        EXPECT_LE(range.pick(), milliseconds(12));
    }
}

}  // namespace
}  // namespace larkspan
