#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace larkspan {

class CaptureHost;
namespace dom {
class Element;
}

// One page's listings as a source read them.
struct PageListings {
    // In page order.
    QStringList resultLines;
    // Of what the page gave, so a page that comes round again is known (see SeenPages).
    QByteArray digest;
    // What the user should hear about the reading of the page; empty for nothing.
    QString remark = {};
};

// Where a capture run finds the listings of a page and the link to the next one. The page chain
// around it (loading, turning, the loop guard, pauses, retries) is the same for every source.
class ListingSource {
public:
    virtual ~ListingSource() = default;

    // For the user: "directory", "structured data", "profile NAME".
    virtual QString name() const = 0;
    // Reads the page the host shows; nothing when the host stopped the run while the source
    // waited for the page. Throws CaptureError, or dom::DomError from the engine.
    virtual std::optional<PageListings> read(CaptureHost& host) = 0;
    // The shown page's link to the next result page, or null when it has none.
    virtual std::shared_ptr<dom::Element> nextPageLink(CaptureHost& host) = 0;
};

}  // namespace larkspan
