#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <optional>
#include <stdexcept>

class QIODevice;

namespace larkspan {

class ListingTextReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a flattened listing text as it was saved from the Parser panel, a piece at a time:
// UTF-16 or UTF-8 when it starts with a byte-order mark (which is dropped), UTF-8 otherwise.
// The pieces together are exactly the text that decoding the whole at once gives.
class ListingTextReader {
public:
    // `name` says in messages what is read.
    ListingTextReader(QIODevice& device, QString name);

    // The next piece of the text (possibly empty); false once the text has ended. Throws
    // ListingTextReadError when the device fails.
    bool read(QString& piece);

private:
    qint64 readMore();
    qsizetype decodableLength() const;

    QIODevice& m_device;
    QString m_name;
    QByteArray m_bytes;  // read, not yet decoded
    QStringConverter::Encoding m_encoding = QStringConverter::Utf8;
    std::optional<QStringDecoder> m_decoder;
};

}  // namespace larkspan
