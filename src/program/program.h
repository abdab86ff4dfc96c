#pragma once

// The desktop program without its windows: the state every window shares, the open target,
// and what the main window's menus and buttons do. The windows show this state and forward the
// user's clicks here.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "batch/batch_run.h"
#include "commands/commands.h"
#include "commands/main_panel.h"
#include "core/app_state.h"
#include "core/desktop.h"
#include "core/dialogs.h"
#include "core/run_ui.h"
#include "core/settings_file.h"
#include "core/startup.h"
#include "graph/dependency_graph.h"
#include "host/access.h"
#include "host/dao.h"
#include "target/session.h"
#include "target/target_opener.h"

namespace zanfor::app {

inline constexpr std::string_view kExitMessage = "終了します。";
inline constexpr std::string_view kSelectDatabase = "データベースを選択して下さい。";
inline constexpr std::string_view kProfilePlace = "場所:登録";

struct ProgramServices {
    host::dao::Engine& engine;
    host::access::ApplicationFactory& accessFactory;
    Dialogs& dialogs;
    Desktop& desktop;
    Commands& commands;
    std::function<std::string()> today;  // "yyyy/mm/dd"; the clock's date when empty
    std::span<const CommandInfo> commandTable = CommandTable();  // what `commands` runs
    CaptureDesk* capture = nullptr;  // the desktop's clipboard, windows and Timer2 for cmdFmImage
};

// Whether a file named at start-up is a target rather than an analysis file: a folder (an
// object export folder) or a name ending in .mdb or .accdb in any case. A desktop's file
// association passes all of these to the program.
bool OpensAsTarget(const std::filesystem::path& file);

class Program {
public:
    // `ui` is the main window; it is not used before the first command.
    Program(Startup startup, ProgramServices services, RunUi& ui);

    AppState& state() { return state_; }
    const AppState& state() const { return state_; }
    PanelState& panel() { return panel_; }
    const PanelState& panel() const { return panel_; }
    const ProgramPaths& paths() const { return startup_.paths; }
    const StartupSettings& settings() const { return startup_.settings; }
    std::array<RecentMenuEntry, 4> recentMenu() const;
    target::Session& session() { return session_; }

    // m1a and RecentFile(k).
    target::OpenResult openTarget();
    target::OpenResult openRecentFile(std::size_t k);

    void clickOption(OptionGroup group, int index) { ClickOption(panel_, state_, group, index); }
    void clickCheck(CheckBox box, bool checked) { ClickCheck(state_, box, checked); }

    // m1b: the last-run options and the object list written into the work database, which is
    // then copied to the chosen .adb file. Nothing happens while no target is open.
    CommandEnd saveAnalysisFile();
    // What a save writes into the work database before it copies it: the T_AcSaveFlag row and
    // the object list of the open target. The command line writes it after every run, so that
    // `zanfor-cli save` copies a work database that says what it holds.
    void writeAnalysisRecords();
    // m1c: an analysis file chosen in the dialog loaded (see below).
    CommandEnd loadAnalysisFile();
    // Loads `file`: checked and read from a private copy (the file is never written), its
    // results made the work database's, the panel filled from its flags and the menus locked.
    // A file that is refused leaves the program as it was. At start-up (a file named on the
    // command line) no closing message is shown, and a file that OpensAsTarget opens as the
    // target instead, as a recent-file entry would.
    CommandEnd loadAnalysisFile(const std::filesystem::path& file, bool atStartUp);
    bool menuEnabled(Menu menu) const { return MenuEnabled(state_, menu); }

    // cmdSave: the report-header texts of the state become Zanfor.dat.
    void saveProfile();

    // An action button. Nothing happens while no target is open. A button of the developer
    // support window runs its row of the support table and writes to that window's `ui`.
    CommandEnd runCommand(CommandId id);
    CommandEnd runCommand(CommandId id, RunUi& ui);
    // cmdExec of the batch window (`ui`): the chosen steps of the state's batch, one after the
    // other; nothing happens while no target is open.
    batch::BatchOutcome runBatch(RunUi& ui);

    // m6, m7, m8, m9: false, with its message, while no target is shown.
    bool requireTarget();

    // m10: the dependency graph of the open target, built from its queries, designs, macros
    // and code with the target made Access's current database again. Host errors as opening the
    // target raises them; a part that does not read is one of the graph's problems.
    graph::DependencyGraph dependencyGraph();

    // The exit question: the close box can only be confirmed, m1z can be cancelled.
    bool confirmExit(bool cancellable);

    // The shutdown steps with every error ignored: startup properties given back, target and
    // Access released, screen saver allowed again and, unless the settings window's error
    // ends the program, Zanfor.ini written with the window's position in twips.
    void shutDown(std::int32_t topTwips, std::int32_t leftTwips, bool writeSettings = true);

private:
    std::string_view CaptionOf(CommandId id) const;
    target::OpenEnvironment openEnvironment();
    target::OpenTargetState openState();

    Startup startup_;
    ProgramServices services_;
    RunUi& ui_;
    AppState state_;
    PanelState panel_;
    target::Session session_;
};

}  // namespace zanfor::app
