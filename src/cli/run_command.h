#pragma once

// zanfor-cli run: opens a target as the main window does, presses the chosen action buttons one
// after the other and writes every report they ask for into a folder. The target is read only.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "commands/commands.h"

namespace zanfor::cli {

// A panel option set from the command line, already checked against its control.
struct OptionValue {
    std::int16_t app::OptionSettings::*setting;
    std::int16_t value;
};

// The name a selected-object run reads from a picker.
struct PickedName {
    std::string app::Pickers::*text;
    std::string name;
};

struct RunRequest {
    std::string target;                    // an .mdb file or an object export folder
    std::vector<app::CommandId> commands;  // in this order; every registered one when empty
    std::vector<OptionValue> options;
    std::vector<PickedName> picks;
    // An analysis pattern (.apt): the batch window's run with its steps and options instead
    // of the commands.
    std::filesystem::path pattern;
    // zanfor-cli compare: the older analysis file the comparison's dialog is answered with, and
    // the file its one report goes to (the report's name in `outFolder` when empty).
    std::filesystem::path comparisonFile;
    std::filesystem::path reportFile;
    std::filesystem::path workDatabase;  // the program folder's when empty
    std::filesystem::path outFolder = "zanfor-out";
    std::string format = "pdf";  // or "html"
    // Fill the work database only: no report is written, and the report engine is not loaded.
    bool noReports = false;
    std::span<const app::CommandInfo> table = app::CommandTable();
};

// Parses the arguments after "run"; nothing on bad usage (the reason on `why`). `--only` takes
// the command-line names of the table's rows; without it every row that runs something runs.
// `--pattern FILE` runs the batch instead and cannot be combined with `--only`.
std::optional<RunRequest> ParseRunArguments(
    const std::vector<std::string>& args, std::string& why,
    std::span<const app::CommandInfo> table = app::CommandTable());

// 0 when every command ran and every report was written, 1 otherwise.
int RunCommands(const RunRequest& request, const std::filesystem::path& executable);

}  // namespace zanfor::cli
