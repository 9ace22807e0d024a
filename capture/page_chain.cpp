#include "capture/page_chain.h"

#include "browser/dom.h"
#include "capture/flatten_page.h"
#include "capture/listing_text_parser.h"
#include "capture/seen_pages.h"
#include "capture/turn_to_next_page.h"

#include <exception>

namespace larkspan {
namespace {

RunEnd followNextLinks(CaptureHost& host, ListingTextParser& parser, int& pagesCaptured) {
    SeenPages seen;
    for (int pageNumber = 1;; ++pageNumber) {
        const QString text = host.flattenedText(FlattenPage(host.currentDocument().get()));
        if (const std::optional<int> earlier = seen.earlierPageWith(text)) {
            return {.cause = RunEnd::Cause::RepeatedPage,
                    .pagesCaptured = pagesCaptured,
                    .repeatingPage = pageNumber,
                    .repeatedPage = *earlier};
        }
        seen.remember(text, pageNumber);
        host.pageCaptured(pageNumber, parser.resultLines(text));
        pagesCaptured = pageNumber;

        if (!host.shouldTurnPage(pageNumber)) {
            return {.cause = RunEnd::Cause::HostStopped, .pagesCaptured = pagesCaptured};
        }
        const PageTurn turn = TurnToNextPage(host.currentDocument().get(), host.pageLoader());
        if (turn.result == PageTurn::Result::NoNextLink) {
            return {.cause = RunEnd::Cause::LastPage, .pagesCaptured = pagesCaptured};
        }
        if (turn.result == PageTurn::Result::Failed) {
            return {.cause = RunEnd::Cause::TurnFailed,
                    .pagesCaptured = pagesCaptured,
                    .failure = turn.failure};
        }
    }
}

}  // namespace

RunEnd capturePageChain(CaptureHost& host, ListingTextParser& parser) {
    int pagesCaptured = 0;
    try {
        return followNextLinks(host, parser, pagesCaptured);
    } catch (const std::exception& error) {
        return {.cause = RunEnd::Cause::Error,
                .pagesCaptured = pagesCaptured,
                .failure = QString::fromUtf8(error.what())};
    }
}

}  // namespace larkspan
