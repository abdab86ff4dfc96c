#pragma once

// The output window frmOut without its widgets: its three frames, the eleven export buttons
// with everything each one needs (caption, source, headings, place label, the collector whose
// last run enables it, its command-line name) and what a click does. The window and
// `zanfor-cli export` read the same table.

#include <bitset>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "commands/commands.h"
#include "core/app_state.h"
#include "core/dialogs.h"
#include "core/run_ui.h"
#include "output/workbook_export.h"

namespace zanfor::workdb {
class WorkDatabase;
}

namespace zanfor::output {

enum class OutputFrame : std::uint8_t { Csv, Text, Excel };

struct OutputFrameInfo {
    OutputFrame frame;
    std::string_view name;  // "framCSV"
    std::string_view caption;
};
std::span<const OutputFrameInfo> OutputFrames();

enum class OutputKind : std::uint8_t {
    ObjectCsv,
    TableCsv,
    QueryCsv,
    FormCsv,
    ReportCsv,
    MacroCsv,
    SqlText,
    ModuleText,
    ObjectBook,
    TableBook,
    QueryBook,
};
inline constexpr std::size_t kOutputCount = 11;

struct OutputInfo {
    OutputKind kind;
    OutputFrame frame;
    std::string_view button;   // "cmdOCSV"
    std::string_view caption;  // "オブジェクト情報"
    std::string_view cliName;  // zanfor-cli export NAME
    app::Collector collector;  // its last-run option enables the button
    // The view or table read: a CSV writes its first `titles.size()` columns.
    std::string_view source;
    std::span<const std::string_view> titles;  // the CSV header; none for text and workbooks
    std::string_view place;                    // the error report's place label
    std::optional<WorkbookKind> workbook;      // the Excel buttons
};

std::span<const OutputInfo> Outputs();
const OutputInfo& Info(OutputKind kind);
const OutputInfo* FindOutput(std::string_view cliName);

inline constexpr std::string_view kOutputWindowTitle = "各種出力";
inline constexpr std::string_view kCsvFinished = "ＣＳＶファイル出力を終了しました";
inline constexpr std::string_view kTextFinished = "テキスト出力を終了しました";

// Form_Load: a button is enabled when its collector has run since the target was opened (or
// the loaded analysis file says it had).
std::bitset<kOutputCount> EnabledOutputs(const app::LastRunOptions& lastRun);

// What a click works with.
struct OutputContext {
    const workdb::WorkDatabase& work;
    app::Dialogs& dialogs;
    app::RunUi& ui;          // the output window: busy pointer and message boxes
    std::string targetPath;  // lblDBName; empty when an analysis file is loaded
    std::filesystem::path programFolder;
    OpenDocument openDocument;  // shows a finished workbook
};

// One button's click: the save dialog and file for a CSV or text export, the workbook for an
// Excel button. Failures are shown as the output window's error report; an error that says
// Access is unstable asks for the exit command.
app::CommandEnd ClickOutput(OutputKind kind, OutputContext& context);

// Where a workbook goes when no target is open: beside the target the work database's results
// were collected from (its T_DataBase row), as the window would have put it.
std::string CollectedTargetPath(const workdb::WorkDatabase& work);

}  // namespace zanfor::output
