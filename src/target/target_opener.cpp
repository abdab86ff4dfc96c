#include "target/target_opener.h"

#include <ctime>
#include <exception>
#include <optional>

#include "core/error_report.h"
#include "core/profile.h"
#include "core/program_files.h"
#include "core/settings_file.h"
#include "target/object_pickers.h"

namespace zanfor::target {

namespace {

using app::Collector;

enum class Source { Dialog, RecentFile };

class Opening {
public:
    Opening(OpenTargetState& s, const OpenEnvironment& env, Source source)
        : s_(s), env_(env), source_(source) {}

    OpenResult run(const std::string& recentPath) {
        try {
            return steps(recentPath);
        } catch (const host::Error& e) {
            return report(e.number(), e.description());
        } catch (const std::exception& e) {
            return report(host::err::kInvalidProcedureCall, e.what());
        }
    }

private:
    OpenResult steps(const std::string& recentPath) {
        marker_ = 1;
        if (s_.state.openMode == app::OpenMode::AnalysisFile) {
            box(std::string(kAnalysisFileLoaded) + "\n" + std::string(kRestartPlease));
            return OpenResult::Refused;
        }
        marker_ = 2;
        const std::string path = source_ == Source::Dialog ? chooseFile() : recentPath;
        if (path.empty())
            return OpenResult::Cancelled;
        if (!s_.state.targetPath.empty() && s_.state.openMode != app::OpenMode::Nothing)
            LeaveTarget(s_.session, s_.state);
        s_.panel.commands.reset();
        s_.state.targetPath = path;

        openDatabases(path);
        switchStartupProperties(*s_.session.target);
        readObjects();
        fillReportHeader();
        enableCommands();
        s_.state.previewEnabled.fill(false);
        env_.desktop.inhibitScreenSaver();
        s_.panel.macroFrame = s_.panel.controlFrame = s_.panel.etcFrame = true;
        marker_ = 33;

        s_.ui.setBusy(false);
        s_.ui.showMessage("");
        s_.ui.showGauge(false);
        if (s_.state.autoExec)
            box(kAutoExecMessage);
        marker_ = 34;
        return OpenResult::Opened;
    }

    // The dialog comes before the current target is left, so that cancelling it keeps that
    // target open instead of leaving the window without one.
    std::string chooseFile() {
        return env_.dialogs.openFileName({std::string(kOpenDialogTitle),
                                          std::string(kOpenFilterDescription),
                                          std::string(kOpenFilterPattern), initialFolder(), true});
    }

    void openDatabases(const std::string& path) {
        if (source_ == Source::Dialog)
            marker_ = 5;
        s_.session.access = env_.accessFactory.createApplication();
        s_.state.openMode = app::OpenMode::Target;
        marker_ = 3;
        s_.session.target = env_.engine.openDatabase(path);
        s_.session.work.emplace(workdb::WorkDatabase::open(env_.workDatabase));
        marker_ = 9;
        s_.session.work->execute("delete * from T_AcTitle;");
        marker_ = 10;
        s_.state.savedStartup = {"", true, true};
        marker_ = 12;
    }

    void readObjects() {
        s_.state.currentObjectKind = "Form";
        s_.ui.setBusy(true);
        marker_ = 15;
        s_.ui.showMessage(kModulesMessage);
        s_.state.counts.modules = static_cast<long>(s_.session.target->documents("Modules").size());
        marker_ = 16;
        s_.state.lastRun.reset();
        FillPickers(*s_.session.target, s_.state, s_.ui, [this](int i) { marker_ = 17 + i; });
        if (s_.state.counts.modules == 0)
            s_.state.lastRun[Collector::ModuleListing] = app::kNoObjects;
    }

    std::string initialFolder() const { return app::InitialFolder(env_.defaultFolder); }

    // Every error here is passed over: a target need not define any of these properties.
    void switchStartupProperties(host::dao::Database& target) {
        auto& props = target.properties();
        auto& saved = s_.state.savedStartup;
        auto& values = s_.state.startupValues;
        auto attempt = [](auto&& step) {
            try {
                step();
            } catch (const host::Error&) {
            }
        };
        attempt([&] {
            saved.startupForm = props.get("StartupForm").toText();
            props.set("StartupForm", std::string(kStartupFormOff));
        });
        attempt([&] {
            if (!props.get("StartupShowDBWindow").toBool()) {
                props.set("StartupShowDBWindow", true);
                saved.startupShowDbWindow = false;
            }
        });
        marker_ = 13;
        attempt([&] {
            if (!props.get("AllowFullMenus").toBool()) {
                props.set("AllowFullMenus", true);
                saved.allowFullMenus = false;
            }
        });
        marker_ = 14;
        attempt([&] {
            values.appTitle = props.get("AppTitle").toText();
            s_.state.header.system = values.appTitle;
        });
        attempt([&] { values.startupMenuBar = props.get("StartupMenuBar").toText(); });
        attempt([&] { values.startupShowStatusBar = props.get("StartupShowStatusBar").toBool(); });
        attempt([&] { values.allowShortcutMenus = props.get("AllowShortcutMenus").toBool(); });
        attempt([&] { values.allowBuiltinToolbars = props.get("AllowBuiltinToolbars").toBool(); });
    }

    void fillReportHeader() {
        const auto profile = app::ReadProfile(env_.programFolder);
        marker_ = 22;
        auto& h = s_.state.header;
        h.title = profile.title.empty() ? std::string(kDefaultTitle) : profile.title;
        marker_ = 23;
        h.company = profile.kisya;
        marker_ = 24;
        h.bumon = profile.bumon;
        marker_ = 25;
        h.capTime = profile.capTm.empty() ? std::string(kDefaultCaptureTime) : profile.capTm;
        marker_ = 26;
        h.auther = profile.auther;
        marker_ = 50;
        h.date = env_.today ? env_.today() : TodayText();
    }

    void enableCommands() {
        s_.panel.commands = app::EnabledOnOpening(s_.state.lastRun, env_.commands, env_.runner);
        s_.panel.save = true;
        marker_ = 31;
    }

    app::MsgResult box(std::string_view text) {
        return s_.ui.messageBox(text, app::kProductTitle, app::MsgButtons::Ok, app::MsgIcon::None);
    }

    OpenResult report(int number, std::string_view description) {
        OpenResult result = OpenResult::Failed;
        std::string text;
        if (number == host::err::kPasswordProtected && source_ == Source::Dialog) {
            text = app::BuildSpecialErrorReport(kOpenPlace, number,
                                                {"解析元ファイルのパスワード", "を解除して下さい。",
                                                 "システムを終了します。"})
                       .text();
            result = OpenResult::ExitRequested;
        } else if (app::IsUnstableSystemError(number) || number == host::err::kOlderAccessVersion) {
            const auto common =
                app::BuildErrorReport(kOpenPlace, number, description, app::WindowKind::Main);
            text = common.text();
            if (common.shutdown)
                result = OpenResult::ExitRequested;
        } else {
            text = app::BuildErrorReport(kOpenPlace, number, description, app::WindowKind::Main,
                                         marker_)
                       .text();
        }
        s_.ui.messageBox(text, app::kProductTitle, app::MsgButtons::Ok, app::MsgIcon::Critical);
        s_.ui.setBusy(false);
        return result;
    }

    OpenTargetState& s_;
    const OpenEnvironment& env_;
    Source source_;
    int marker_ = 0;
};

}  // namespace

OpenResult OpenTargetWithDialog(OpenTargetState& s, const OpenEnvironment& env) {
    return Opening(s, env, Source::Dialog).run({});
}

OpenResult OpenRecentTarget(OpenTargetState& s, const OpenEnvironment& env,
                            const std::string& path) {
    return Opening(s, env, Source::RecentFile).run(path);
}

void LeaveTarget(Session& session, app::AppState& state) {
    if (state.openMode == app::OpenMode::Target && session.target)
        GiveBackStartupSettings(*session.target, state.savedStartup);
    session.release();
    state.resetForNewTarget();
    state.openMode = app::OpenMode::Nothing;
}

std::string TodayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y/%m/%d", &local);
    return text;
}

}  // namespace zanfor::target
