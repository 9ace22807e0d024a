#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace larkspan {

// The bytes of a results file: every line followed by CR LF, in the system encoding; a UTF-8
// file starts with the UTF-8 signature so spreadsheets read it right.
QByteArray encodeResultsText(const QStringList& lines);

// The two parts of it, for output written a page at a time: the signature (empty unless the
// system encoding is UTF-8), then the encoded lines.
QByteArray resultsFileSignature();
QByteArray encodeResultLines(const QStringList& lines);

}  // namespace larkspan
