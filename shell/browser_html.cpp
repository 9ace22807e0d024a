#include "shell/browser_html.h"

#include "shell/crlf_lines.h"

namespace larkspan {

QString styledHtmlForBrowser(const QString& html) {
    return withCrLfLineEnds(QString::fromUtf16(kBrowserStylePrefix) + html);
}

}  // namespace larkspan
