#pragma once

#include <QString>
#include <QStringView>

namespace larkspan {

// The text with its HTML character references decoded: the named ones of HTML 4 and "&apos;",
// "&#NNN;" and "&#xHHHH;" (a number that names no character gives U+FFFD). A reference needs
// its semicolon; anything else stays as written.
QString decodeHtmlEntities(QStringView text);

// A value of structured data as a result line holds it: references decoded, trimmed, every run
// of white space one blank.
QString structuredValueText(QStringView text);

}  // namespace larkspan
