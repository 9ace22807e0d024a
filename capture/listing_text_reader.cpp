#include "capture/listing_text_reader.h"

#include <QIODevice>

namespace larkspan {
namespace {

constexpr qsizetype kPieceBytes = 256 * 1024;
// A byte-order mark is told from the first four bytes at most.
constexpr qsizetype kMarkBytes = 4;

int utf8SequenceLength(uchar lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead < 0xC2) {
        return 0;  // a continuation byte, or a lead that is never valid
    }
    return lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
}

bool isValidUtf8Sequence(const uchar* bytes, int length) {
    // The second byte's range rules out overlong forms (after E0 and F0), surrogates (after
    // ED) and code points above U+10FFFF (after F4).
    uchar low = 0x80;
    uchar high = 0xBF;
    switch (bytes[0]) {
        case 0xE0:
            low = 0xA0;
            break;
        case 0xED:
            high = 0x9F;
            break;
        case 0xF0:
            low = 0x90;
            break;
        case 0xF4:
            high = 0x8F;
            break;
        default:
            break;
    }
    if (length > 1 && (bytes[1] < low || bytes[1] > high)) {
        return false;
    }
    for (int i = 2; i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80) {
            return false;
        }
    }
    return true;
}

// How much of the bytes ends where a decoder holds nothing back: after an ASCII byte or a
// complete, valid sequence. Qt's decoder can lose characters when it resumes inside a broken
// sequence, so a broken one is never cut; the rest waits for the next piece.
qsizetype completeUtf8Length(QByteArrayView bytes) {
    const auto* data = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype end = size; end > 0 && end >= size - 8; --end) {
        if (data[end - 1] < 0x80) {
            return end;
        }
        qsizetype lead = end - 1;
        while (lead > 0 && lead > end - 4 && (data[lead] & 0xC0) == 0x80) {
            --lead;
        }
        const int length = utf8SequenceLength(data[lead]);
        if (length == end - lead && isValidUtf8Sequence(data + lead, length)) {
            return end;
        }
    }
    // Broken bytes at the end: wait for the last ASCII byte.
    const qsizetype ascii =
        std::find_if(bytes.rbegin(), bytes.rend(), [](char c) { return uchar(c) < 0x80; }) -
        bytes.rbegin();
    return size - ascii;
}

}  // namespace

ListingTextReader::ListingTextReader(QIODevice& device, QString name)
    : m_device(device), m_name(std::move(name)) {}

qint64 ListingTextReader::readMore() {
    const qsizetype held = m_bytes.size();
    m_bytes.resize(held + kPieceBytes);
    const qint64 got = m_device.read(m_bytes.data() + held, kPieceBytes);
    m_bytes.resize(held + std::max<qint64>(got, 0));
    if (got < 0) {
        throw ListingTextReadError(
            QStringLiteral("cannot read %1: %2").arg(m_name, m_device.errorString()).toStdString());
    }
    return got;
}

qsizetype ListingTextReader::decodableLength() const {
    switch (m_encoding) {
        case QStringConverter::Utf8:
            return completeUtf8Length(m_bytes);
        case QStringConverter::Utf16LE:
        case QStringConverter::Utf16BE: {
            // Whole code units, and never half of a surrogate pair.
            qsizetype length = m_bytes.size() & ~qsizetype(1);
            if (length >= 2) {
                const bool littleEndian = m_encoding == QStringConverter::Utf16LE;
                const auto high = uchar(m_bytes[length - (littleEndian ? 1 : 2)]);
                if ((high & 0xFC) == 0xD8) {
                    length -= 2;
                }
            }
            return length;
        }
        default:
            return m_bytes.size() & ~qsizetype(3);  // UTF-32
    }
}

bool ListingTextReader::read(QString& piece) {
    qint64 got = readMore();
    if (!m_decoder) {
        // A pipe may hand over fewer bytes than the mark needs.
        while (got > 0 && m_bytes.size() < kMarkBytes) {
            got = readMore();
        }
        m_encoding = QStringConverter::encodingForData(m_bytes).value_or(QStringConverter::Utf8);
        m_decoder.emplace(m_encoding);
    }
    if (m_bytes.isEmpty()) {
        return false;
    }
    // At the end, whatever is left goes, as when decoding the whole at once.
    const qsizetype length = got == 0 ? m_bytes.size() : decodableLength();
    piece.resize(m_decoder->requiredSpace(length));
    const QChar* end =
        m_decoder->appendToBuffer(piece.data(), QByteArrayView(m_bytes).first(length));
    piece.truncate(end - piece.constData());
    m_bytes.remove(0, length);
    return true;
}

}  // namespace larkspan
