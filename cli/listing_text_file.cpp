#include "cli/listing_text_file.h"

#include <QFile>
#include <QStringDecoder>

namespace larkspan {

QString readListingTextFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw ListingTextFileError(
            QStringLiteral("cannot read %1: %2").arg(path, file.errorString()).toStdString());
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw ListingTextFileError(
            QStringLiteral("cannot read %1: %2").arg(path, file.errorString()).toStdString());
    }
    const auto encoding = QStringConverter::encodingForData(bytes).value_or(QStringConverter::Utf8);
    QStringDecoder decoder(encoding);  // drops the byte-order mark
    return decoder.decode(bytes);
}

}  // namespace larkspan
