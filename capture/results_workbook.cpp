#include "capture/results_workbook.h"

#include "capture/output_file.h"
#include "capture/result_fields.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
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

// A reader counts a cell's characters in UTF-16 units. A longer field keeps what fits with an
// ellipsis after it, never half of a surrogate pair.
QString fittedToCell(const QString& field) {
    if (field.size() <= kCellMaxCharacters) {
        return field;
    }
    qsizetype kept = kCellMaxCharacters - 1;
    if (field[kept - 1].isHighSurrogate()) {
        --kept;
    }
    return field.first(kept) + u'\u2026';
}

// The format writes a character it cannot hold as "_xHHHH_", so control characters are written
// that way and an underscore that would start such a text as "_x005F_". Escaped after the cut:
// the reader counts the characters it shows, not the escapes.
QByteArray escapedCellText(const QString& text) {
    static const QRegularExpression escapeLike(QStringLiteral("_(?=x[0-9A-Fa-f]{4}_)"));
    const auto isControl = [](QChar character) {
        const char16_t code = character.unicode();
        return code != 0 && code < 0x20 && code != u'\t' && code != u'\n';
    };
    const QString underscoresEscaped = QString(text).replace(escapeLike, QStringLiteral("_x005F_"));
    if (std::none_of(underscoresEscaped.cbegin(), underscoresEscaped.cend(), isControl)) {
        return underscoresEscaped.toUtf8();
    }
    QString escaped;
    for (const QChar character : underscoresEscaped) {
        if (isControl(character)) {
            escaped += QStringLiteral("_x%1_").arg(QString::number(character.unicode(), 16).toUpper(),
                                                   4, u'0');
        } else {
            escaped += character;
        }
    }
    return escaped.toUtf8();
}

qsizetype codePoints(const QByteArray& utf8) {
    return std::count_if(utf8.cbegin(), utf8.cend(),
                         [](char byte) { return (byte & 0xC0) != 0x80; });
}

// The library measures the escaped text against the cell's limit, so a text that fits but whose
// escapes do not is handed to it after its check: written as a space first, then put in that
// cell's place (the cell of a row being written stays in the sheet's row array until the next
// row starts).
void writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const QByteArray& text,
               lxw_format* format) {
    if (text.size() <= kCellMaxCharacters || codePoints(text) <= kCellMaxCharacters) {
        check(worksheet_write_string(sheet, row, column, text.constData(), format));
        return;
    }
    check(worksheet_write_string(sheet, row, column, " ", format));
    lxw_cell* cell = sheet->optimize && sheet->array ? sheet->array[column] : nullptr;
    if (cell == nullptr || cell->type != INLINE_STRING_CELL || cell->row_num != row) {
        fail(QStringLiteral("the library keeps its cells in an unknown way"));
    }
    char* const copy = strdup(text.constData());
    if (copy == nullptr) {
        fail(QStringLiteral("out of memory"));
    }
    free(cell->u.string);
    cell->u.string = copy;
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

void writeSheet(lxw_workbook* workbook, const QList<QStringList>& rows, qint64* cellsCut) {
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
            const QString cellText = fittedToCell(fields[column]);
            if (cellText.size() != fields[column].size()) {
                ++*cellsCut;
            }
            writeCell(sheet, row, lxw_col_t(column), escapedCellText(cellText), text);
        }
        ++row;
    }
    worksheet_freeze_panes(sheet, 1, 0);
    check(worksheet_autofilter(sheet, 0, 0, row - 1, kResultColumnCount - 1));
}

}  // namespace

QString cellsCutText(qint64 cells) {
    return (cells == 1 ? QStringLiteral("1 cell was") : QString::number(cells) + QStringLiteral(" cells were")) +
           QStringLiteral(" cut to the 32,767 characters a workbook cell holds");
}

ResultsWorkbook resultsWorkbook(const QStringList& lines) {
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
    ResultsWorkbook made;
    try {
        writeSheet(workbook, rows, &made.cellsCut);
    } catch (...) {
        workbook_close(workbook);
        throw;
    }
    check(workbook_close(workbook));

    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly)) {
        fail(file.errorString());
    }
    made.bytes = file.readAll();
    return made;
}

}  // namespace larkspan
