#include "capture/results_workbook.h"

#include "capture/output_file.h"
#include "capture/result_fields.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <memory>
#include <xlsxwriter.h>

namespace larkspan {
namespace {

constexpr qsizetype kCellMaxCharacters = 32'767;
constexpr double kNarrowest = 8;
constexpr double kWidest = 60;

[[noreturn]] void fail(const QString& reason) {
    throw OutputFileError(QStringLiteral("cannot make the workbook: %1").arg(reason).toStdString());
}

void check(lxw_error error) {
    if (error != LXW_NO_ERROR) {
        fail(QString::fromUtf8(lxw_strerror(error)));
    }
}

// The format writes a character it cannot hold as "_xHHHH_" (the library does so for control
// characters), so such text in a field needs its underscore written that way too.
QByteArray cellText(const QString& field) {
    static const QRegularExpression escapeLike(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    return QString(field)
        .replace(escapeLike, QStringLiteral("_x005F_\\1"))
        .left(kCellMaxCharacters)
        .toUtf8();
}

std::array<double, kResultColumnCount> columnWidths(const QList<QStringList>& rows) {
    std::array<double, kResultColumnCount> widths{};
    for (int column = 0; column < kResultColumnCount; ++column) {
        widths[column] = double(resultColumns()[column].title.size());
    }
    for (const QStringList& fields : rows) {
        for (int column = 0; column < kResultColumnCount; ++column) {
            widths[column] = std::max(widths[column], double(fields[column].size()));
        }
    }
    for (double& width : widths) {
        width = std::clamp(width + 2, kNarrowest, kWidest);
    }
    return widths;
}

void writeSheet(lxw_workbook* workbook, const QList<QStringList>& rows) {
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Listings");
    lxw_format* text = workbook_add_format(workbook);
    format_set_num_format(text, "@");
    lxw_format* header = workbook_add_format(workbook);
    format_set_num_format(header, "@");
    format_set_bold(header);

    const std::array<double, kResultColumnCount> widths = columnWidths(rows);
    for (int column = 0; column < kResultColumnCount; ++column) {
        check(worksheet_set_column(sheet, lxw_col_t(column), lxw_col_t(column), widths[column],
                                   text));
        check(worksheet_write_string(sheet, 0, lxw_col_t(column),
                                     resultColumns()[column].title.toUtf8().constData(), header));
    }
    lxw_row_t row = 1;
    for (const QStringList& fields : rows) {
        for (int column = 0; column < kResultColumnCount; ++column) {
            check(worksheet_write_string(sheet, row, lxw_col_t(column),
                                         cellText(fields[column]).constData(), text));
        }
        ++row;
    }
    worksheet_freeze_panes(sheet, 1, 0);
    check(worksheet_autofilter(sheet, 0, 0, row - 1, kResultColumnCount - 1));
}

}  // namespace

QByteArray resultsWorkbook(const QStringList& lines) {
    if (lines.size() > kWorkbookMaxListings) {
        fail(QStringLiteral("a workbook holds at most %1 listings").arg(kWorkbookMaxListings));
    }
    QList<QStringList> rows;
    rows.reserve(lines.size());
    for (const QString& line : lines) {
        rows.append(resultFields(line));
    }

    // The library writes to a file of its own, with its work files beside it.
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        fail(folder.errorString());
    }
    const QByteArray path = QFile::encodeName(folder.filePath(QStringLiteral("results.xlsx")));
    QByteArray workFolder = QFile::encodeName(folder.path());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = workFolder.data();
    lxw_workbook* workbook = workbook_new_opt(path.constData(), &options);
    if (workbook == nullptr) {
        fail(QStringLiteral("the library could not start it"));
    }
    try {
        writeSheet(workbook, rows);
    } catch (...) {
        workbook_close(workbook);
        throw;
    }
    check(workbook_close(workbook));

    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly)) {
        fail(file.errorString());
    }
    return file.readAll();
}

}  // namespace larkspan
