#pragma once

#include <QString>
#include <QStringView>

#include <functional>

namespace larkspan {

// Cuts a flattened text into listing blocks at every "§" as the text arrives, piece by piece,
// holding no more than the block being cut. The blocks are those of a split of the whole text:
// the one before the first "§" and the one after the last included, empty ones too.
class ListingBlockSplitter {
public:
    using BlockSink = std::function<void(const QString& block)>;

    // Hands every block that the text completes to the sink, in order.
    void append(QStringView text, const BlockSink& sink);
    // Hands over the last block; the splitter is then ready for another text.
    void finish(const BlockSink& sink);

private:
    QString m_pending;
};

}  // namespace larkspan
