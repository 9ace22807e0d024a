#include "shell/save_file_types.h"

#include <QFileInfo>

namespace larkspan {
namespace {

const QString kWorkbookType = QStringLiteral("Excel workbook (*.xlsx)");
const QString kGuardedType = QStringLiteral("CSV with formulas guarded (*.csv)");

}  // namespace

const QString kSaveFileTypes =
    QStringLiteral("CSV database or excel text file (*.csv);;Text file (*.txt);;") + kWorkbookType +
    QStringLiteral(";;") + kGuardedType;

SaveTarget saveTargetFor(const QString& chosenPath, const QString& chosenType) {
    SaveTarget target{chosenPath};
    if (QFileInfo(chosenPath).suffix().isEmpty()) {
        target.path +=
            chosenType == kWorkbookType ? QStringLiteral(".xlsx") : QStringLiteral(".csv");
    }
    target.format = resultsFormatOfPath(target.path);
    target.guardFormulas = target.format == ResultsFormat::Csv && chosenType == kGuardedType;
    return target;
}

}  // namespace larkspan
