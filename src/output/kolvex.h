#pragma once

// Kolvex: the general workbook routine of the Excel buttons. It fills a sheet of a workbook
// with the rows of a work-database table or view from a given cell, optionally with field
// names, borders, an auto filter, fitted rows or columns and a pivot table, after copying a
// template workbook over the output file. Text arguments use "0" for "not given".

#include <string>
#include <string_view>

#include "output/workbook_export.h"

namespace zanfor::output {

inline constexpr std::string_view kKolvexTitle = "Kolvex　Ver.2.5";
inline constexpr int kMaxKolvexColumn = 78;

struct KolvexArguments {
    std::string source;               // a table or view of the work database
    std::string outputFile;           // the workbook filled
    std::string sheet;                // the sheet filled
    long startRow = 1;                // below 1 becomes 1
    long startColumn = 1;             // 1 to 78
    long clearRows = 0;               // rows cleared at least; 0: as many as records
    int fieldNameRow = 0;             // 1: field names in the start row
    int keepClosed = 0;               // 0: open the workbook afterwards
    int borders = 0;                  // 1: thin borders on the output
    int autoFilter = 0;               // 1: auto filter over the output
    int autoFit = 0;                  // 1 rows and columns, 2 rows, 3 columns
    int countMessage = 0;             // 1: tell how many records were written
    std::string pivotName = "0";      // the pivot table's name
    std::string pivotRowField = "0";  // field numbers from 1
    std::string pivotColumnField = "0";
    std::string pivotDataField = "0";
    std::string templateFile = "0";  // copied over the output file first
    std::string finalSheet = "0";    // the sheet shown at the end ("0": `sheet`)
    int finalView = 0;               // 1: the final sheet shown as pages
};

enum class KolvexEnd {
    Written,  // the workbook was saved (and opened, with keep closed 0)
    Refused,  // an argument or the source was refused with a message; no file was touched
    Failed,   // an error was reported; the workbook was not saved
};

// Every message is shown through `ui` with the title kKolvexTitle. A workbook that another
// program holds open (its lock file beside it) is neither replaced nor filled.
KolvexEnd Kolvex(KolvexArguments arguments, const workdb::WorkDatabase& work, app::RunUi& ui,
                 const OpenDocument& openDocument);

// Whether a spreadsheet program has `workbook` open: LibreOffice's ".~lock.NAME#" or Excel's
// "~$NAME" beside it.
bool WorkbookOpenElsewhere(const std::filesystem::path& workbook);

}  // namespace zanfor::output
