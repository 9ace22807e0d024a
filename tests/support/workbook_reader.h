#pragma once

#include <QJsonObject>
#include <QList>
#include <QStringList>

namespace larkspan::test {

// The first sheet of a workbook as a common reader (Python's openpyxl) sees it: the JSON object
// tests/read_workbook.py prints. Empty, with the reader's message logged, when it fails.
QJsonObject readWorkbook(const QString& path);

// Its rows, the header first.
QList<QStringList> workbookRows(const QString& path);

}  // namespace larkspan::test
