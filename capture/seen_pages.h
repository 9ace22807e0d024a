#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

namespace larkspan {

// The flattened texts of the pages one run has captured, so that a page that comes round again
// (NEXT links in a circle, or to the same page under another address) ends the run instead of
// repeating it for ever. Only a digest of each text is kept: memory stays small over any run,
// and a resumed run gets the pages of its first part back from its journal.
class SeenPages {
public:
    // The digest of a page's text; empty for an empty text. Pages without listings all look
    // alike, and a run may well pass several of them, so those are never known again.
    static QByteArray digestOf(const QString& text);

    // The number of the earlier page with this digest; nothing for a new one or an empty one.
    std::optional<int> earlierPageWith(const QByteArray& digest) const;
    void remember(const QByteArray& digest, int pageNumber);

private:
    QHash<QByteArray, int> m_pages;
};

}  // namespace larkspan
