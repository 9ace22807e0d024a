#include "capture/results_file.h"

#include <QStringEncoder>

namespace larkspan {
namespace {

// The system encoding has no reliable name, so ask it how it writes two non-ASCII characters.
bool systemEncodingIsUtf8() {
    QStringEncoder encoder(QStringConverter::System);
    const QByteArray probe = encoder.encode(QStringView(u"\u00E9\u20AC"));
    return probe == QByteArrayLiteral("\xC3\xA9\xE2\x82\xAC");
}

}  // namespace

QByteArray resultsFileSignature() {
    return systemEncodingIsUtf8() ? QByteArrayLiteral("\xEF\xBB\xBF") : QByteArray();
}

QByteArray encodeResultLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    return QStringEncoder(QStringConverter::System).encode(text);
}

QByteArray encodeResultsText(const QStringList& lines) {
    return resultsFileSignature() + encodeResultLines(lines);
}

}  // namespace larkspan
