"""Prints an Excel workbook's first sheet as JSON, the way a spreadsheet program sees it: every
row's cells with their values (with the format's "_xHHHH_" escapes read, as spreadsheet programs
do), their types ("s" text, "n" number, "f" formula) and number formats, and the column widths.
Used by the results format tests."""
import json
import sys

import openpyxl
from openpyxl.utils.escape import unescape

sheet = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
print(json.dumps({
    "title": sheet.title,
    "rows": [["" if cell.value is None else unescape(str(cell.value)) for cell in row]
             for row in sheet.iter_rows()],
    "types": sorted({cell.data_type for row in sheet.iter_rows() for cell in row
                     if cell.value is not None}),
    "formats": sorted({cell.number_format for row in sheet.iter_rows() for cell in row}),
    "widths": [sheet.column_dimensions[letter].width for letter in "ABCDEFGHIJKLMN"],
    "frozen": sheet.freeze_panes,
}))
