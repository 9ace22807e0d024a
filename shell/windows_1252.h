#pragma once

#include <QByteArrayView>
#include <QString>

namespace larkspan {

// Decodes Windows-1252 text. Qt decodes that code page only when it was built with ICU, so the
// 32 characters where it differs from Latin-1 come from a table of our own. The five bytes the
// code page leaves undefined become the control characters of the same number, as Windows does.
QString decodeWindows1252(QByteArrayView bytes);

}  // namespace larkspan
