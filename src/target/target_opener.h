#pragma once

// Opening a target database (m1a with the open dialog, RecentFile(k) without): the analysis
// Access instance, the target and work databases, the startup-property switch, the pickers,
// the report-header texts and which commands the target's contents allow. Each stage sets a
// step marker that the error report shows.

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "commands/main_panel.h"
#include "core/app_state.h"
#include "core/desktop.h"
#include "core/dialogs.h"
#include "core/run_ui.h"
#include "host/access.h"
#include "host/dao.h"
#include "target/session.h"

namespace zanfor::target {

inline constexpr std::string_view kOpenPlace = "場所:選択";
inline constexpr std::string_view kOpenDialogTitle = "解析ファイルの選択";
// Access 2007 and later files are read as well, so the dialog offers them beside the .mdb.
inline constexpr std::string_view kOpenFilterDescription = "Access(*.mdb *.accdb)";
inline constexpr std::string_view kOpenFilterPattern = "*.mdb *.accdb";
inline constexpr std::string_view kModulesMessage = "モジュール情報　取得中";
inline constexpr std::string_view kDefaultTitle = "プログラム仕様書";
inline constexpr std::string_view kDefaultCaptureTime = "5";
inline constexpr std::string_view kStartupFormOff = "(表示しない)";
inline constexpr std::string_view kAutoExecMessage =
    "AutoExecマクロの名前を変更してから解析して下さい。";
inline constexpr std::string_view kAnalysisFileLoaded =
    "保存ファイルが選択されておりますので処理出来ません。";
inline constexpr std::string_view kRestartPlease = "終了し再度本ソフトを起動お願いします。";

struct OpenEnvironment {
    host::dao::Engine& engine;
    host::access::ApplicationFactory& accessFactory;
    app::Dialogs& dialogs;
    app::Desktop& desktop;
    std::filesystem::path programFolder;  // Zanfor.dat
    std::filesystem::path workDatabase;
    std::string defaultFolder;           // [DEF] Folder as read at start-up; "0..." when not set
    std::function<std::string()> today;  // "yyyy/mm/dd"
    std::span<const app::CommandInfo> commands = app::CommandTable();
    // What the buttons run; a command it cannot run yet stays disabled. Every row when null.
    const app::Commands* runner = nullptr;
};

enum class OpenResult {
    Opened,
    Cancelled,      // the dialog was cancelled: nothing changed
    Refused,        // an analysis file is loaded
    Failed,         // an error was reported
    ExitRequested,  // the error report ends with the exit command
};

struct OpenTargetState {
    Session& session;
    app::AppState& state;
    app::PanelState& panel;
    app::RunUi& ui;
};

// m1a: the open dialog, then the target chosen.
OpenResult OpenTargetWithDialog(OpenTargetState& s, const OpenEnvironment& env);
// RecentFile(k): the path of that entry, without a dialog.
OpenResult OpenRecentTarget(OpenTargetState& s, const OpenEnvironment& env,
                            const std::string& path);

// Leaves the open target: its startup properties given back, everything released, nothing
// the commands could still reach. Errors are ignored.
void LeaveTarget(Session& session, app::AppState& state);

// Today as the report header shows it.
std::string TodayText();

}  // namespace zanfor::target
