#include "capture/listing_text_parser.h"

#include "capture/goldleaf_au_entry.h"
#include "capture/listing_block_splitter.h"
#include "capture/listing_text_reader.h"

namespace larkspan {

ListingTextParser::ListingTextParser(ServiceAddresses addresses)
    : m_addresses(std::move(addresses)) {}

QStringList ListingTextParser::splitBlocks(const QString& flattenedText) {
    QStringList blocks;
    const auto keep = [&blocks](const QString& block) { blocks.append(block); };
    ListingBlockSplitter splitter;
    splitter.append(flattenedText, keep);
    splitter.finish(keep);
    return blocks;
}

QStringList ListingTextParser::resultLines(const QString& flattenedText) {
    QStringList lines;
    const auto parseBlock = [this, &lines](const QString& block) {
        if (auto line = resultLine(block)) {
            lines.append(std::move(*line));
        }
    };
    ListingBlockSplitter splitter;
    splitter.append(flattenedText, parseBlock);
    splitter.finish(parseBlock);
    return lines;
}

qint64 ListingTextParser::parse(ListingTextReader& text, const LineSink& sink) {
    qint64 count = 0;
    const auto parseBlock = [this, &sink, &count](const QString& block) {
        if (const auto line = resultLine(block)) {
            sink(*line);
            ++count;
        }
    };
    ListingBlockSplitter splitter;
    for (QString piece; text.read(piece);) {
        splitter.append(piece, parseBlock);
    }
    splitter.finish(parseBlock);
    return count;
}

std::optional<QString> ListingTextParser::resultLine(const QString& block) {
    if (m_stopRequested && m_stopRequested()) {
        throw ParseInterrupted();
    }
    TGoldleafAUentry entry(block, m_addresses, &m_cache);
    // Only named listings are kept, so a block without a name needs no other pattern.
    entry.readName();
    if (!isAcceptedName(entry.fNameOnly())) {
        return std::nullopt;
    }
    entry.readOtherFields();
    return entry.ResultLine();
}

bool ListingTextParser::isAcceptedName(const QString& name) {
    return !name.isEmpty() && name != QStringLiteral("Name:    ") &&
           name != QStringLiteral("[name]");
}

void ListingTextParser::setStopRequest(std::function<bool()> stopRequested) {
    m_stopRequested = std::move(stopRequested);
}

}  // namespace larkspan
