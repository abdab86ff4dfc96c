#pragma once

// The action buttons of the main window as one table: a row says everything about a command
// (its button, preview button, caption, command-line name, when it is enabled, what runs, the
// reports it shows). The main window, the command line and the enabling rules read the table,
// so a new collector is one new row.

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string_view>

#include "core/app_state.h"
#include "core/dialogs.h"
#include "core/form_capture.h"
#include "core/run_ui.h"

namespace zanfor::host::dao {
class Database;
}
namespace zanfor::host::access {
class Application;
}
namespace zanfor::workdb {
class WorkDatabase;
}

namespace zanfor::app {

// The commands the program's code names; a row of the table needs a name here only when code
// outside the table refers to it.
enum class CommandId : std::uint8_t {
    Object,   // cmdObject
    Table,    // cmdTable
    Query,    // cmdQuery
    Form,     // cmdForm
    Report,   // cmdReport
    Proc,     // cmdProc
    Module,   // cmdModule
    ModStep,  // cmdModStep
    Macro,    // cmdMacro
    Control,  // cmdControl
    File,     // cmdFile
    Comment,  // cmdComment
    FmImage,  // cmdFmImage
    Hyousi1,  // cmdHyousi(1) "表　紙"
    Hyousi2,  // cmdHyousi(2) "ラベル(縦)"
    Hyousi3,  // cmdHyousi(3) "ラベル(横)"
    // The developer support window's buttons.
    Syoki,       // cmdSyoki "初期処理"
    LinkTable,   // cmdLinkTable
    ObjUpdate,   // cmdObjUpdate
    Teigi,       // cmdTeigi
    LinkForm,    // cmdLinkForm
    LinkReport,  // cmdLinkReport
    Hensu,       // cmdHensu
    HensuH,      // cmdHensuH
    HensuT,      // cmdHensuT
    HensuU,      // cmdHensuU
    LinkProc,    // cmdLinkProc
};
// Room for every row a table may have, the program's and any a build adds.
inline constexpr std::size_t kCommandCapacity = 32;

// Everything a command works with while the target is open.
struct CommandContext {
    AppState& state;
    RunUi& ui;
    workdb::WorkDatabase& work;
    host::dao::Database& target;
    host::access::Application& access;  // the analysis Access instance
    const std::filesystem::path& programFolder;
    Dialogs* dialogs = nullptr;      // for the commands that ask for a file
    CaptureDesk* capture = nullptr;  // the form image capture's clipboard, windows and timer
};

// A command that hit an error of Access's unstable range asks for the exit command.
enum class CommandEnd { Done, ExitRequested };

using CommandRun = CommandEnd (*)(CommandContext&);

// When opening a target enables the button: always, or when the target has objects of the
// collector's kind (its last-run option is not "no objects").
enum class EnabledWhen : std::uint8_t { Always, Tables, Queries, Forms, Reports, Macros, Code };

struct CommandInfo {
    CommandId id{};
    std::string_view button{};  // the Qt object name: "cmdTable", "cmdHyousi(2)"
    std::string_view caption{};
    std::string_view cliName{};  // zanfor-cli run --only NAME
    std::optional<PreviewButton> preview{};
    EnabledWhen enabledWhen = EnabledWhen::Always;
    CommandRun run = nullptr;  // none yet: the button does nothing and the command line refuses it
    std::span<const std::string_view> reports{};  // the reports its runs show
    // What the command line runs after it: the list buttons a run of the variable catalogue
    // enables print what it collected.
    std::span<const CommandId> then{};
};

// The program's commands in the order of the main window's panels.
std::span<const CommandInfo> CommandTable();
// The developer support window's buttons, the initial processing first.
std::span<const CommandInfo> SupportCommandTable();

const CommandInfo* FindCommand(CommandId id, std::span<const CommandInfo> table = CommandTable());
const CommandInfo* FindCommand(std::string_view cliName,
                               std::span<const CommandInfo> table = CommandTable());

class Commands {
public:
    virtual ~Commands() = default;
    virtual CommandEnd run(CommandId id, CommandContext& context) = 0;
    // False for a command whose collector is not built yet: its button stays disabled.
    virtual bool runs(CommandId) const { return true; }
};

// Runs the commands of a table; a handler put in for a command replaces its row's run (the
// windows' tests use this to watch what a button does).
class TableCommands : public Commands {
public:
    using Handler = std::function<CommandEnd(CommandContext&)>;

    explicit TableCommands(std::span<const CommandInfo> table = CommandTable()) : table_(table) {}

    void replace(CommandId id, Handler handler) { handlers_[id] = std::move(handler); }
    bool runs(CommandId id) const override;
    CommandEnd run(CommandId id, CommandContext& context) override;

private:
    std::span<const CommandInfo> table_;
    std::map<CommandId, Handler> handlers_;
};

// The buttons enabled on opening a target: by each row's rule on the collectors' last-run
// options, and only when `runner` (if given) can run the command.
std::bitset<kCommandCapacity> EnabledOnOpening(const LastRunOptions& lastRun,
                                               std::span<const CommandInfo> table = CommandTable(),
                                               const Commands* runner = nullptr);

}  // namespace zanfor::app
