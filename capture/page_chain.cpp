#include "capture/page_chain.h"

#include "browser/dom.h"
#include "capture/flatten_page.h"
#include "capture/listing_text_parser.h"
#include "capture/turn_to_next_page.h"

namespace larkspan {

void capturePageChain(CaptureHost& host, ListingTextParser& parser) {
    for (int pageNumber = 1;; ++pageNumber) {
        const QString text = host.flattenedText(FlattenPage(host.currentDocument().get()));
        host.pageCaptured(pageNumber, parser.resultLines(text));
        if (!host.shouldTurnPage(pageNumber) ||
            !TurnToNextPage(host.currentDocument().get(), host.pageLoader())) {
            return;
        }
    }
}

}  // namespace larkspan
