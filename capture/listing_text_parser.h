#pragma once

#include "capture/service_addresses.h"
#include "text/regex_cache.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <stdexcept>

namespace larkspan {

class ListingTextReader;

// A parse that its stop request ended.
class ParseInterrupted : public std::runtime_error {
public:
    ParseInterrupted() : std::runtime_error("interrupted") {}
};

// Turns a flattened page into result lines: cuts it into listing blocks at every "§", parses
// each block and keeps the listings that have a real name. One parser serves a whole run so the
// patterns are compiled once.
class ListingTextParser {
public:
    using LineSink = std::function<void(const QString& resultLine)>;

    explicit ListingTextParser(ServiceAddresses addresses = {});

    // The pieces between "§" characters, empty ones included; a text without "§" is one piece.
    static QStringList splitBlocks(const QString& flattenedText);

    // Result lines of the accepted listings, in page order.
    QStringList resultLines(const QString& flattenedText);

    // The same for a text read a piece at a time, each line handed over as soon as its block
    // is parsed; gives the number of lines. Memory stays within the largest block.
    qint64 parse(ListingTextReader& text, const LineSink& sink);

    // The result line of one listing block, or nothing when its listing is not kept.
    std::optional<QString> resultLine(const QString& block);

    // A name is kept unless it is empty or one of the directory's placeholder names.
    static bool isAcceptedName(const QString& name);

    // Asked before every block: a long parse returns to no event loop, so an interrupt has to
    // be looked for here. When it answers true the parse ends with ParseInterrupted.
    void setStopRequest(std::function<bool()> stopRequested);

private:
    ServiceAddresses m_addresses;
    RegexCache m_cache;
    std::function<bool()> m_stopRequested;
};

}  // namespace larkspan
