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
    const QString suffix = QFileInfo(chosenPath).suffix().toLower();
    if (chosenType == kWorkbookType) {
        // The dialog keeps the name it offered when the user picks another type.
        if (suffix == u"csv" || suffix == u"txt") {
            return {chosenPath.chopped(suffix.size()) + QStringLiteral("xlsx"),
                    ResultsFormat::Workbook};
        }
        return {suffix.isEmpty() ? chosenPath + QStringLiteral(".xlsx") : chosenPath,
                ResultsFormat::Workbook};
    }
    SaveTarget target{suffix.isEmpty() ? chosenPath + QStringLiteral(".csv") : chosenPath};
    target.format = resultsFormatOfPath(target.path);
    target.guardFormulas = target.format == ResultsFormat::Csv && chosenType == kGuardedType;
    return target;
}

}  // namespace larkspan
