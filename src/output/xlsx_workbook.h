#pragma once

// An Office Open XML workbook (.xlsx) read into memory, changed part by part and written back:
// the few things the workbook routine does to a sheet (values, clearing, borders, auto filter,
// auto fit, a pivot table) done on the file itself, since there is no spreadsheet program to
// drive. Rows and columns count from 1, as on the sheet.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/value.h"

namespace zanfor::output {

// A file that does not read as a workbook (not a zip, a part missing or not well-formed XML).
inline constexpr int kWorkbookDamaged = 30030;
// The sheet has no room for what was asked (a column past XFD, a row past 1048576).
inline constexpr int kWorkbookLimit = 1004;

inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;

struct CellRange {
    int firstRow = 1;
    int firstColumn = 1;
    int lastRow = 1;
    int lastColumn = 1;
};

// 1 -> "A", 27 -> "AA".
std::string ColumnName(int column);
// "A4:F10"; a single cell as "A4".
std::string RangeAddress(const CellRange& range);
// The width of `text` in character cells of the sheet's default font: East Asian wide
// characters take two, half-width katakana one; the widest line counts.
double TextWidth(std::string_view text);

// The styles the template workbook is drawn with (cellXfs indexes of a created workbook).
enum class TemplateStyle { Normal = 0, Title = 1, Heading = 2 };

class XlsxWorkbook {
public:
    // Host error 53 when the file is missing, kWorkbookDamaged when it is not a workbook.
    static XlsxWorkbook open(const std::filesystem::path& path);
    static XlsxWorkbook fromBytes(std::string bytes);
    // A workbook with no sheet yet, its styles those of TemplateStyle.
    static XlsxWorkbook create();

    XlsxWorkbook(XlsxWorkbook&&) noexcept;
    XlsxWorkbook& operator=(XlsxWorkbook&&) noexcept;
    ~XlsxWorkbook();

    // Writes every part into a temporary file beside `path` that then replaces it.
    void save(const std::filesystem::path& path);
    std::string toBytes();

    std::vector<std::string> sheetNames() const;
    // The sheet's position (0-based) by its name, compared as Excel does (ignoring ASCII case);
    // host error 9 when the workbook has no such sheet.
    int sheetIndex(std::string_view name) const;
    // Appends a sheet; the name is made unique and fit for a sheet tab. Returns its position.
    int addSheet(std::string_view name);

    // Null empties the cell; dates become serial numbers shown through a date format. The cell
    // keeps its style otherwise.
    void setValue(int sheet, int row, int column, const host::Value& value);
    void setStyle(int sheet, int row, int column, TemplateStyle style);
    // What the cell shows, roughly: text, shortest numbers, dates as "yyyy/mm/dd hh:mm:ss".
    std::string cellText(int sheet, int row, int column) const;
    // The last row holding a value, 0 when none does.
    int lastUsedRow(int sheet) const;

    // Removes values and formulas, keeps the cells' styles.
    void clearContents(int sheet, const CellRange& range);
    // Thin continuous lines in the automatic colour on every edge of every cell, no diagonals.
    void drawThinBorders(int sheet, const CellRange& range);
    // The sheet's auto filter, its first row the heading row.
    void setAutoFilter(int sheet, const CellRange& range);
    // Row heights from the lines of their texts; column widths from their widest texts.
    void autoFitRows(int sheet, int firstRow, int lastRow);
    void autoFitColumns(int sheet, int firstColumn, int lastColumn);
    void setColumnWidth(int sheet, int column, double width);
    // The sheet shown when the workbook opens, with the cursor on the cell; `pageLayout` shows
    // it as pages.
    void activate(int sheet, int row, int column, bool pageLayout);

    // A pivot table over `source` of `sourceSheet` (its first row the field names) on a new
    // sheet: one field on the rows, one on the columns, the total (or, for text, the count) of
    // a third in the body. Fields count from 1 within the source. Returns the new sheet.
    // kWorkbookLimit when a field lies outside the source or the row and column fields are one.
    int addPivotTable(int sourceSheet, const CellRange& source, std::string_view name, int rowField,
                      int columnField, int dataField);

    struct Impl;

private:
    explicit XlsxWorkbook(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace zanfor::output
