#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>

namespace larkspan {

namespace dom {
class Document;
class Element;
}  // namespace dom

// The page a listing source reads: the capture browser's, in the window or the command.
class ShownPage {
public:
    virtual ~ShownPage() = default;

    // The browser's document as it is now (null when there is none).
    virtual std::shared_ptr<dom::Document> currentDocument() = 0;
    // The address of the page shown.
    virtual QUrl currentAddress() = 0;
    // The flattened text of the page just read; gives the text to cut into listings. The window
    // shows it in its Parser panel and parses exactly what the panel then holds.
    virtual QString flattenedText(const QString& text) { return text; }
};

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
    // Reads the page shown; nothing when the run was stopped while the source waited for it. Throws
    // CaptureError, or dom::DomError from the engine.
    virtual std::optional<PageListings> read(ShownPage& page) = 0;
    // The shown page's link to the next result page, or null when it has none.
    virtual std::shared_ptr<dom::Element> nextPageLink(ShownPage& page) = 0;
};

}  // namespace larkspan
