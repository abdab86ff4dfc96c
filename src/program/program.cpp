#include "program/program.h"

#include <exception>
#include <system_error>

#include "collect/collector_run.h"
#include "core/error_report.h"
#include "core/profile.h"
#include "core/program_files.h"
#include "graph/graph_builder.h"
#include "host/error.h"
#include "util/ini_file.h"

namespace zanfor::app {

Program::Program(Startup startup, ProgramServices services, RunUi& ui)
    : startup_(std::move(startup)), services_(std::move(services)), ui_(ui) {
    ResetPanel(panel_, state_);
}

std::array<RecentMenuEntry, 4> Program::recentMenu() const {
    return RecentFileMenu(startup_.settings.recent);
}

target::OpenEnvironment Program::openEnvironment() {
    return {services_.engine,
            services_.accessFactory,
            services_.dialogs,
            services_.desktop,
            startup_.paths.folder,
            startup_.paths.workDatabase,
            startup_.settings.defaultFolder,
            services_.today,
            services_.commandTable,
            &services_.commands};
}

target::OpenTargetState Program::openState() { return {session_, state_, panel_, ui_}; }

target::OpenResult Program::openTarget() {
    auto s = openState();
    return target::OpenTargetWithDialog(s, openEnvironment());
}

target::OpenResult Program::openRecentFile(std::size_t k) {
    const auto menu = recentMenu();
    if (k >= menu.size() || !menu[k].visible)
        return target::OpenResult::Cancelled;
    auto s = openState();
    return target::OpenRecentTarget(s, openEnvironment(), menu[k].caption);
}

void Program::saveProfile() {
    const auto& h = state_.header;
    try {
        WriteProfile(startup_.paths.folder,
                     ProfileFromTextBoxes(h.title, h.company, h.bumon, h.capTime, h.auther));
    } catch (const std::exception& e) {
        // A profile that was not written must not be announced as registered.
        const auto report =
            BuildErrorReport(kProfilePlace, host::err::kPathNotFound, e.what(), WindowKind::Main);
        ui_.messageBox(report.text(), report.title, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    ui_.showMessage(kProfileRegistered);
    ui_.messageBox(kProfileRegistered, kProductTitle, MsgButtons::Ok, MsgIcon::None);
}

CommandEnd Program::runCommand(CommandId id) { return runCommand(id, ui_); }

CommandEnd Program::runCommand(CommandId id, RunUi& ui) {
    if (!session_.isOpen())
        return CommandEnd::Done;
    CommandContext context{state_,
                           ui,
                           *session_.work,
                           *session_.target,
                           *session_.access,
                           startup_.paths.folder,
                           &services_.dialogs,
                           services_.capture};
    const auto* support = FindCommand(id, SupportCommandTable());
    const auto window = support ? WindowKind::DeveloperSupport : WindowKind::Main;
    try {
        if (support)
            return support->run ? support->run(context) : CommandEnd::Done;
        return services_.commands.run(id, context);
    } catch (const std::exception& e) {
        // The collectors report their own errors; this only keeps an unforeseen one from
        // ending the program without a word.
        const auto report = BuildErrorReport("場所:" + std::string(CaptionOf(id)),
                                             host::err::kInvalidProcedureCall, e.what(), window);
        ui.messageBox(report.text(), report.title, MsgButtons::Ok, MsgIcon::Critical);
        ui.setBusy(false);
        return report.shutdown ? CommandEnd::ExitRequested : CommandEnd::Done;
    }
}

std::string_view Program::CaptionOf(CommandId id) const {
    const auto* row = FindCommand(id, services_.commandTable);
    if (!row)
        row = FindCommand(id, SupportCommandTable());
    return row ? row->caption : std::string_view();
}

bool Program::requireTarget() {
    // A loaded analysis file has no target shown, but its results are there to output.
    if (!state_.targetPath.empty() || state_.openMode == OpenMode::AnalysisFile)
        return true;
    ui_.messageBox(kSelectDatabase, kProductTitle, MsgButtons::Ok, MsgIcon::None);
    return false;
}

graph::DependencyGraph Program::dependencyGraph() {
    if (!session_.access)
        throw host::Error(host::err::kAccessClosed, "データベースが開かれていません。");
    collect::MakeCurrent(*session_.access, state_.targetPath);
    return graph::BuildGraph(session_.access->currentDb(), *session_.access);
}

bool Program::confirmExit(bool cancellable) {
    const auto answer =
        ui_.messageBox(kExitMessage, kProductTitle,
                       cancellable ? MsgButtons::OkCancel : MsgButtons::Ok, MsgIcon::None);
    return !cancellable || answer == MsgResult::Ok;
}

void Program::shutDown(std::int32_t topTwips, std::int32_t leftTwips, bool writeSettings) {
    auto ignoringErrors = [](auto&& step) {
        try {
            step();
        } catch (...) {
        }
    };
    ignoringErrors([&] { target::LeaveTarget(session_, state_); });
    ignoringErrors([&] { services_.desktop.releaseScreenSaver(); });
    if (!writeSettings)
        return;
    util::IniFile ini(startup_.paths.settingsFile);
    ignoringErrors([&] {
        ini.write("POS", "T", std::to_string(topTwips));
        ini.write("POS", "L", std::to_string(leftTwips));
    });
    ignoringErrors([&] { ini.write("DEF", "Folder", FolderPart(state_.targetPath)); });
    ignoringErrors([&] { WriteRecentFiles(ini, state_.targetPath, startup_.settings.recent); });
}

batch::BatchOutcome Program::runBatch(RunUi& ui) {
    if (!session_.isOpen())
        return {};
    CommandContext context{
        state_, ui, *session_.work, *session_.target, *session_.access, startup_.paths.folder};
    return batch::RunBatch(context, services_.commands);
}

}  // namespace zanfor::app
