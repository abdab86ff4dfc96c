#pragma once

// The three Excel buttons of the output window (cmdExObj, cmdExTbl, cmdExQry): each fills one
// sheet of a copy of the program's template workbook with an export view of the work database,
// through the general workbook routine (output/kolvex.h).

#include <filesystem>
#include <functional>
#include <string_view>

namespace zanfor::app {
class RunUi;
}
namespace zanfor::workdb {
class WorkDatabase;
}

namespace zanfor::output {

enum class WorkbookKind { Object, Table, Query };

inline constexpr std::string_view kTemplateFileName = "Template.xlsx";

// Opens a finished workbook in the desktop's spreadsheet program.
using OpenDocument = std::function<void(const std::filesystem::path&)>;

// The workbook written for a target: its path with a ".mdb" ending (any case) replaced by
// ".xlsx"; a path with another ending keeps it and gains ".xlsx".
std::filesystem::path WorkbookPathFor(const std::filesystem::path& targetPath);

// Copies the template of `programFolder` to WorkbookPathFor(targetPath) and fills the kind's
// sheet from row 4. With `openAfterwards` the finished workbook is handed to `openDocument`
// (the command line passes false and only writes). Returns false when a message was shown
// instead of a finished workbook.
bool ExportWorkbook(WorkbookKind kind, const workdb::WorkDatabase& work,
                    const std::filesystem::path& targetPath,
                    const std::filesystem::path& programFolder, app::RunUi& ui, bool openAfterwards,
                    const OpenDocument& openDocument);

// Writes the template workbook into `programFolder` when it is not there; an existing one (the
// user may have restyled it) is left alone. Failures are the caller's to report.
void EnsureTemplate(const std::filesystem::path& programFolder);

}  // namespace zanfor::output
