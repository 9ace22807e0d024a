#include "capture/listing_text_reader.h"

#include "qt_printers.h"
#include "trickling_device.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

namespace larkspan {
namespace {

// What decoding the whole file at once gives: the text as it was read before it was streamed.
QString decodedAtOnce(const QByteArray& bytes) {
    QStringDecoder decoder(
        QStringConverter::encodingForData(bytes).value_or(QStringConverter::Utf8));
    return decoder.decode(bytes);
}

QString readInPieces(const QByteArray& bytes, qint64 step) {
    TricklingDevice device(bytes, step);
    ListingTextReader reader(device, QStringLiteral("input"));
    QString text;
    for (QString piece; reader.read(piece);) {
        text += piece;
    }
    return text;
}

// However the bytes arrive, even one at a time, splitting characters and byte-order marks,
// the text is the one decoding the whole gives.
TEST(ListingTextReader, PiecesMakeTheWholeText) {
    const QString text = QStringLiteral("listing-name: Caf\u00e9 \u20ac\U0001F600\u00a7x\r\n");
    const auto encoded = [&text](QStringConverter::Encoding encoding, bool bom) {
        QStringEncoder encoder(
            encoding, bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
        return QByteArray(encoder.encode(text));
    };
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"Utf8", encoded(QStringConverter::Utf8, false)},
        {"Utf8WithMark", encoded(QStringConverter::Utf8, true)},
        {"Utf16LittleEndian", encoded(QStringConverter::Utf16LE, true)},
        {"Utf16BigEndian", encoded(QStringConverter::Utf16BE, true)},
        {"Utf32Mark", encoded(QStringConverter::Utf32LE, true)},
        {"BadUtf8", QByteArray("a\xFF"
                               "b\xC3"
                               "c\xE2\x82"
                               "d\xF0\x9F\x98")},
        {"BrokenLeadBeforeLead", QByteArray("\xED\xC2"
                                            "a\xE2\x80")},
        {"NoAsciiAtAll", QByteArray("\xC2\xA7").repeated(1000)},
        {"CutUtf16", encoded(QStringConverter::Utf16LE, true).chopped(1)},
        {"MarkOnly", QByteArray("\xFF\xFE")},
        {"Empty", QByteArray()},
    };
    for (const Case& c : cases) {
        for (const qint64 step : {1, 2, 3, 5, 1 << 20}) {
            EXPECT_EQ(readInPieces(c.bytes, step), decodedAtOnce(c.bytes))
                << c.name << ", " << step << " bytes at a time";
        }
    }
}

TEST(ListingTextReader, ReadErrorNamesTheInput) {
    TricklingDevice device(QByteArray("listing-name: A"), 4, true);
    ListingTextReader reader(device, QStringLiteral("page.txt"));
    QString piece;
    try {
        while (reader.read(piece)) {
        }
        ADD_FAILURE() << "no error";
    } catch (const ListingTextReadError& error) {
        EXPECT_STREQ(error.what(), "cannot read page.txt: Input/output error");
    }
}

}  // namespace
}  // namespace larkspan
