#pragma once

#include <QString>

namespace larkspan {

// Put before every HTML text written into a browser, so that even an empty text shows a styled
// page.
inline constexpr char16_t kBrowserStylePrefix[] =
    u"<head><style type=\"text/css\">body {padding-left: 13em;font-family: Georgia, "
    u"\"Times New Roman\",Times, serif;font-size:75%;color:#404040;"
    u"background-color: #FFFF33}</style></head>";

// The text handed to the browser for an HTML text: the style prefix directly followed by the
// HTML, as lines each ended by CR LF.
QString styledHtmlForBrowser(const QString& html);

}  // namespace larkspan
