#pragma once

#include <QString>

namespace larkspan {

// The text as lines, each followed by CR LF, the last one too. CR LF, a lone CR and a lone LF
// all end a line; a break at the very end does not start another line, and empty text stays
// empty.
QString withCrLfLineEnds(const QString& text);

}  // namespace larkspan
