#pragma once

// The inside of XlsxWorkbook, shared by its files (cells and styles, pivot tables).

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "output/xlsx_package.h"
#include "output/xlsx_workbook.h"

namespace zanfor::output {

inline constexpr std::string_view kWorksheetType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";

struct SheetRef {
    std::string part;
    pugi::xml_node entry;  // <sheet> of the workbook part
    bool indexed = false;
    std::map<int, pugi::xml_node> rows;
};

struct XlsxWorkbook::Impl {
    XlsxPackage package;
    std::string fileName;
    std::string workbookPart;
    std::vector<SheetRef> sheets;
    std::optional<std::vector<std::string>> sharedStrings;
    std::map<std::string, int> styleCache;

    void loadSheets();
    pugi::xml_node workbookRoot();
    SheetRef& sheet(int index);
    pugi::xml_node worksheet(int index);
    pugi::xml_node row(int sheet, int row, bool create);
    pugi::xml_node cell(int sheet, int row, int column, bool create);
    std::string text(const pugi::xml_node& cell);
    pugi::xml_node styleSheet();
    // The cellXfs entry like `base` but with `attribute` set to `value` (and its apply flag).
    int derivedStyle(int base, const char* attribute, int value, const char* apply);
    int customNumberFormat(std::string_view code);
    int thinBorder();
    bool isDateStyle(int style);
    void setText(int sheet, int row, int column, std::string_view text);
    void setNumber(int sheet, int row, int column, double value);
    int appendSheet(std::string_view name);
};

// "AB12" -> row 12, column 28; false when it is no cell reference.
bool ParseCellReference(std::string_view ref, int& row, int& column);
std::string ShortestNumber(double value);
// Text made safe for an XML part: invalid UTF-8 becomes U+FFFD, control characters XML cannot
// hold the "_xHHHH_" escapes of the format, and a cell's text stops at Excel's 32767 characters.
std::string CellSafeText(std::string_view text);

}  // namespace zanfor::output
