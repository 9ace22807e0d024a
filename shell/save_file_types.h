#pragma once

#include "capture/results_format.h"

#include <QString>

namespace larkspan {

// The file types "Save" offers: the plain results file as CSV or text, an Excel workbook, and
// CSV with formulas guarded (see capture/formula_guard.h). One filter string for the dialog.
extern const QString kSaveFileTypes;

// How to save the Results pane's lines.
struct SaveTarget {
    QString path;
    ResultsFormat format = ResultsFormat::Csv;
    bool guardFormulas = false;
};

// The file the user chose, with the type chosen in the dialog. The workbook type makes a
// workbook, named ".xlsx" unless another extension than ".csv" or ".txt" was typed. With the
// other types a name without an extension gets ".csv", and the extension gives the format, as
// for the command's -o.
SaveTarget saveTargetFor(const QString& chosenPath, const QString& chosenType);

}  // namespace larkspan
