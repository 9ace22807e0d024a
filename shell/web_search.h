#pragma once

#include <QString>
#include <QUrl>

namespace larkspan {

// The web search service's result page for a text, as the hidden search box asks for it. The
// service reads the query as ISO-8859-1, so the text goes in as those bytes, percent-encoded;
// a character outside that charset goes in as a numeric character reference ("&#8364;"), as a
// browser sends it in a form of that charset.
QUrl webSearchURL(const QString& text);

}  // namespace larkspan
