#include "shell/crlf_lines.h"

namespace larkspan {

QString withCrLfLineEnds(const QString& text) {
    QString result;
    result.reserve(text.size() + text.size() / 32 + 2);
    qsizetype lineStart = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n') {
            ++i;
            continue;
        }
        result.append(QStringView(text).sliced(lineStart, i - lineStart)).append(u"\r\n");
        i += (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') ? 2 : 1;
        lineStart = i;
    }
    if (lineStart < text.size()) {
        result.append(QStringView(text).sliced(lineStart)).append(u"\r\n");
    }
    return result;
}

}  // namespace larkspan
