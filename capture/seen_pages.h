#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

namespace larkspan {

// The flattened texts of the pages one run has captured, so that a page that comes round again
// (NEXT links in a circle, or to the same page under another address) ends the run instead of
// repeating it for ever. Only a digest of each text is kept: memory stays small over any run.
class SeenPages {
public:
    // The number of the earlier page whose text this is; nothing for a new text or an empty one.
    std::optional<int> earlierPageWith(const QString& text) const;
    void remember(const QString& text, int pageNumber);

private:
    static QByteArray digestOf(const QString& text);

    QHash<QByteArray, int> m_pages;
};

}  // namespace larkspan
