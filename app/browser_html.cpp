#include "app/browser_html.h"

#include "app/crlf_lines.h"

namespace larkspan {

QString styledHtmlForBrowser(const QString& html) {
    return withCrLfLineEnds(QString::fromUtf16(kBrowserStylePrefix) + html);
}

}  // namespace larkspan
