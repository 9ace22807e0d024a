#include "capture/listing_text_parser.h"

#include "capture/goldleaf_au_entry.h"
#include "text/perl_regex.h"

namespace larkspan {

ListingTextParser::ListingTextParser(ServiceAddresses addresses)
    : m_addresses(std::move(addresses)) {}

QStringList ListingTextParser::splitBlocks(const QString& flattenedText) {
    TPerlRegEx splitter(&m_cache);
    splitter.setRegEx(QStringLiteral("§"));
    splitter.setSubject(flattenedText);
    QStringList blocks;
    splitter.Split(blocks, 0);
    return blocks;
}

QStringList ListingTextParser::resultLines(const QString& flattenedText) {
    QStringList lines;
    for (const QString& block : splitBlocks(flattenedText)) {
        TGoldleafAUentry entry(block, m_addresses, &m_cache);
        entry.ExecuteL();
        if (isAcceptedName(entry.fNameOnly())) {
            lines.append(entry.ResultLine());
        }
    }
    return lines;
}

bool ListingTextParser::isAcceptedName(const QString& name) {
    return !name.isEmpty() && name != QStringLiteral("Name:    ") &&
           name != QStringLiteral("[name]");
}

}  // namespace larkspan
