#pragma once

#include <QString>

namespace larkspan {

// The result line with an apostrophe before every field that a spreadsheet would evaluate as
// a formula: one that starts with "=", "+", "-", "@", a tab or a carriage return, as spreadsheet
// makers advise. A plain number (a negative latitude, "-.5", "-33.", "+1e5") cannot be a
// formula and stays as it is.
QString guardFormulas(const QString& resultLine);

}  // namespace larkspan
