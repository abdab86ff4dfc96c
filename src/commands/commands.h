#pragma once

// The action buttons of the main window as commands the window calls without knowing what they
// do: each collector registers the run of its button in CollectorCommands, and the window only
// says which button was pressed.

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string_view>

#include "core/app_state.h"
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

// In the order of the main window's panels.
enum class CommandId {
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
};
inline constexpr std::size_t kCommandCount = 16;

// The Qt object name of the command's button ("cmdTable", "cmdHyousi(2)") and its caption.
std::string_view CommandButtonName(CommandId id);
std::string_view CommandCaption(CommandId id);
std::array<CommandId, kCommandCount> AllCommands();

// Everything a command works with while the target is open.
struct CommandContext {
    AppState& state;
    RunUi& ui;
    workdb::WorkDatabase& work;
    host::dao::Database& target;
    host::access::Application& access;  // the analysis Access instance
    const std::filesystem::path& programFolder;
};

// A command that hit an error of Access's unstable range asks for the exit command.
enum class CommandEnd { Done, ExitRequested };

class Commands {
public:
    virtual ~Commands() = default;
    virtual CommandEnd run(CommandId id, CommandContext& context) = 0;
};

// Where the collectors plug in: one handler per button. A button whose collector has not been
// registered yet does nothing.
class CollectorCommands : public Commands {
public:
    using Handler = std::function<CommandEnd(CommandContext&)>;

    void add(CommandId id, Handler handler);
    bool has(CommandId id) const;
    CommandEnd run(CommandId id, CommandContext& context) override;

private:
    std::array<Handler, kCommandCount> handlers_;
};

// Puts every collector written so far on its button: cmdObject the object inventory, cmdTable
// the tables and indexes, cmdQuery the queries, cmdProc, cmdModule, cmdModStep and cmdComment
// the code readers.
void AddCollectors(CollectorCommands& commands);

}  // namespace zanfor::app
