#include "capture/host_pacing.h"
#include "capture/searches_in_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <vector>

namespace larkspan {
namespace {

using namespace std::chrono_literals;

// What searches report, in the order they report it: a page ("s1p2": search 1's page 2), an
// end ("s1."), an end by an error after one page ("s1x"), or a page whose keeping fails
// ("s1p2!").
struct OrderCase {
    const char* name;
    std::vector<QString> events;
    // What was handed on: pages as "s1p2", ends as "s1.", an error as "s1:ERROR after PAGES".
    QStringList handedOn;
};

class SearchesInOrderTest : public testing::TestWithParam<OrderCase> {};

TEST_P(SearchesInOrderTest, HandsOnPagesInTheOrderOfTheList) {
    QStringList handedOn;
    SearchesInOrder order(
        1,
        [&](int search, const CapturedPage& page, const PageOrigin& origin) {
            if (origin.address.endsWith(u'!')) {
                throw std::runtime_error("disk full");
            }
            handedOn.append(QStringLiteral("s%1p%2").arg(search).arg(page.number));
        },
        [&](int search, const RunEnd& end) {
            if (end.cause == RunEnd::Cause::Error) {
                handedOn.append(QStringLiteral("s%1:%2 after %3")
                                    .arg(search)
                                    .arg(end.failure)
                                    .arg(end.pagesCaptured));
                return false;
            }
            handedOn.append(QStringLiteral("s%1.").arg(search));
            return true;
        });
    for (const QString& event : GetParam().events) {
        const int search = event.mid(1, 1).toInt();
        if (event.endsWith(u'.')) {
            order.searchEnded(search, {.cause = RunEnd::Cause::LastPage});
        } else if (event.endsWith(u'x')) {
            order.searchEnded(search, {.cause = RunEnd::Cause::Error,
                                       .pagesCaptured = 1,
                                       .failure = QStringLiteral("renderer ended")});
        } else {
            CapturedPage page;
            page.number = event.mid(3, 1).toInt();
            order.pageCaptured(search, page,
                               {.address = event.endsWith(u'!') ? QStringLiteral("!") : ""});
        }
    }
    EXPECT_EQ(handedOn, GetParam().handedOn);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchesInOrderTest,
    testing::Values(OrderCase{"first search's pages pass at once",
                              {"s1p1", "s1p2", "s1."},
                              {"s1p1", "s1p2", "s1."}},
                    OrderCase{"later searches wait for the first",
                              {"s2p1", "s3p1", "s3.", "s1p1", "s2p2", "s1.", "s2."},
                              {"s1p1", "s1.", "s2p1", "s2p2", "s2.", "s3p1", "s3."}},
                    OrderCase{"a search that became first goes on at once",
                              {"s2p1", "s1.", "s2p2"},
                              {"s1.", "s2p1", "s2p2"}},
                    OrderCase{"a held page that cannot be kept ends the batch there",
                              {"s2p1", "s2p2!", "s3p1", "s3.", "s1.", "s2.", "s3p2"},
                              {"s1.", "s2p1", "s2:disk full after 1"}},
                    OrderCase{"nothing after an error that ends the batch",
                              {"s1p1", "s2p1", "s1x", "s2.", "s3p1"},
                              {"s1p1", "s1:renderer ended after 1"}}),
    [](const testing::TestParamInfo<OrderCase>& test) {
        std::string name = test.param.name;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

TEST(HostPacingTest, KeepsTheLoadsOfOneHostApart) {
    HostPacing pacing(PageTurnDelay(1000ms, 1000ms));
    const HostPacing::Clock::time_point start{};
    struct Load {
        const char* host;
        std::chrono::milliseconds at;  // from the start
        std::chrono::milliseconds wait;
    };
    const std::vector<Load> loads{
        {"a.example", 0ms, 0ms},       // the first of its host
        {"a.example", 0ms, 1000ms},    // a delay after the first
        {"b.example", 0ms, 0ms},       // another host is not held
        {"a.example", 500ms, 1500ms},  // after the one booked at 1000 ms
        {"a.example", 5000ms, 0ms},    // long after the last
    };
    for (const Load& load : loads) {
        EXPECT_EQ(pacing.bookLoad(load.host, start + load.at), load.wait)
            << load.host << " at " << load.at.count();
    }
    // A host that asked to wait holds its next load, and a shorter hold does not shorten it.
    pacing.hold("b.example", 30s, start + 1000ms);
    pacing.hold("b.example", 2s, start + 1000ms);
    EXPECT_EQ(pacing.bookLoad("b.example", start + 2000ms), 29s);
}

}  // namespace
}  // namespace larkspan
