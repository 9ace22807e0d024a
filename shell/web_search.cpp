#include "shell/web_search.h"

#include <QByteArray>

namespace larkspan {
namespace {

const QString kSearchAddress =
    QStringLiteral("http://www.google.com/search?ie=ISO-8859-1&hl=de&q=");

QByteArray latin1WithReferences(const QString& text) {
    QByteArray bytes;
    for (const char32_t character : text.toUcs4()) {
        if (character <= 0xFF) {
            bytes.append(static_cast<char>(character));
        } else {
            bytes.append("&#" + QByteArray::number(static_cast<quint32>(character)) + ';');
        }
    }
    return bytes;
}

}  // namespace

QUrl webSearchURL(const QString& text) {
    return QUrl(
        kSearchAddress + QString::fromLatin1(latin1WithReferences(text).toPercentEncoding()),
        QUrl::StrictMode);
}

}  // namespace larkspan
