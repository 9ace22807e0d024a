#include "capture/turn_to_next_page.h"

#include "browser/dom.h"
#include "capture/capture_error.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

namespace larkspan {
namespace {

constexpr QStringView NextPageText = u"NEXT \u00BB";
// A link into a single listing's page never turns a result page.
constexpr QStringView ListingPageTarget = u"listing.html";

struct Candidate {
    std::shared_ptr<dom::Element> element;
    QString tagName;
};

// The link a candidate stands for, or null when it has none.
std::shared_ptr<dom::Element> linkOf(const Candidate& candidate) {
    if (candidate.tagName == u"A") {
        return candidate.element;
    }
    // An LI has no link target of its own: it stands for the first link inside it, which then
    // takes the target test and the click. An LI without a link is skipped.
    const std::unique_ptr<dom::ElementCollection> links =
        candidate.element->getElementsByTagName(QStringLiteral("A"));
    return links->length() > 0 ? links->item(0) : nullptr;
}

}  // namespace

PageTurn pageTurnOf(const dom::LinkOutcome& outcome) {
    switch (outcome.result) {
        case dom::LinkOutcome::Result::Arrived:
            return {PageTurn::Result::Turned};
        case dom::LinkOutcome::Result::NoNavigation:
            return {PageTurn::Result::Failed, QStringLiteral("the NEXT link led nowhere")};
        case dom::LinkOutcome::Result::LoadFailed:
            break;
    }
    return {PageTurn::Result::Failed, outcome.failure, outcome.address, outcome.httpStatus,
            outcome.retryAfter};
}

std::shared_ptr<dom::Element> FindNextPageLink(dom::Document* document) {
    const std::unique_ptr<dom::ElementCollection> elements = htmlDocumentOf(document).all();

    // Tag names come from the engine's snapshot; only the candidates' text and target are
    // fetched, together, in one round trip.
    std::vector<Candidate> candidates;
    QList<int> indices;
    const int length = elements->length();
    for (int i = 0; i < length; ++i) {
        std::shared_ptr<dom::Element> element = elements->item(i);
        QString tagName = element->tagName();
        if (tagName == u"A" || tagName == u"LI") {
            candidates.push_back({std::move(element), std::move(tagName)});
            indices.append(i);
        }
    }
    if (indices.isEmpty()) {
        return nullptr;
    }
    elements->prefetch(indices, dom::ElementProperty::InnerText | dom::ElementProperty::Href);

    for (const Candidate& candidate : candidates) {
        if (candidate.element->innerText() != NextPageText) {
            continue;
        }
        std::shared_ptr<dom::Element> link = linkOf(candidate);
        if (link && !link->href().contains(ListingPageTarget)) {
            return link;
        }
    }
    return nullptr;
}

PageTurn TurnToNextPage(dom::Element& link, dom::PageLoader& loader) {
    return pageTurnOf(loader.clickAndWait(link));
}

}  // namespace larkspan
