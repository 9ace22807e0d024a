#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace larkspan {

// The most listings a workbook holds: a sheet has 1,048,576 rows, one of them the header.
inline constexpr qint64 kWorkbookMaxListings = 1'048'575;

struct ResultsWorkbook {
    QByteArray bytes;
    // Fields longer than a cell holds, cut to fit.
    qint64 cellsCut = 0;
};

// An Excel workbook of result lines: a header row with the fourteen column titles, then one
// row per line, every cell stored as text (so nothing a page wrote is evaluated as a formula,
// and postcodes keep their leading zeros), the columns sized to read. A field longer than a
// cell holds (32,767 characters as the reader counts them) keeps its first 32,766 with "…"
// after them. Throws OutputFileError when it cannot be made.
ResultsWorkbook resultsWorkbook(const QStringList& lines);

// For the user: "3 cells were cut to the 32,767 characters a workbook cell holds".
QString cellsCutText(qint64 cells);

}  // namespace larkspan
