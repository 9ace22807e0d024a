#pragma once

#include <QByteArray>
#include <QStringList>

namespace larkspan {

// The most listings a workbook holds: a sheet has 1,048,576 rows, one of them the header.
inline constexpr qint64 kWorkbookMaxListings = 1'048'575;

// An Excel workbook of result lines: a header row with the fourteen column titles, then one
// row per line, every cell stored as text (so nothing a page wrote is evaluated as a formula,
// and postcodes keep their leading zeros), the columns sized to read. A field longer than a
// cell holds (32,767 characters) is cut there. Throws OutputFileError when it cannot be made.
QByteArray resultsWorkbook(const QStringList& lines);

}  // namespace larkspan
