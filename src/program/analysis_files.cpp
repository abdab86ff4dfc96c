// The File menu's analysis files: saving the work database as an .adb and loading one.

#include <filesystem>
#include <system_error>

#include "collect/analysis_records.h"
#include "core/error_report.h"
#include "core/program_files.h"
#include "core/settings_file.h"
#include "host/memory/memory_target.h"
#include "program/program.h"
#include "util/vb_string.h"

namespace zanfor::app {

namespace {

constexpr std::string_view kFilter = "Zanfor(*.adb)";
constexpr std::string_view kPattern = "*.adb";
constexpr std::string_view kSavePlace = "場所:保存";
constexpr std::string_view kLoadPlace = "場所:読込";
constexpr std::string_view kSaving = "解析結果ファイル　保存中";
constexpr std::string_view kSaved = "保存終了しました。";
constexpr std::string_view kLoaded = "読み込みました。";
constexpr std::string_view kSaveFailed = "保存処理が失敗しています。";
constexpr std::string_view kTargetChosen =
    "解析ファイルが選択されておりますので処理出来ません。\n終了し再度本ソフトを起動お願いします。";

}  // namespace

bool OpensAsTarget(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec))
        return true;
    const auto extension = util::UCase(file.extension().string());
    return extension == ".MDB" || extension == ".ACCDB";
}

void Program::writeAnalysisRecords() {
    auto& work = *session_.work;
    workdb::Transaction tx(work);
    collect::WriteSaveFlag(work, collect::FlagsOf(state_));
    collect::WriteObjectSnapshot(work, *session_.target);
    tx.commit();
}

CommandEnd Program::saveAnalysisFile() {
    if (!session_.isOpen() || state_.openMode != OpenMode::Target) {
        requireTarget();
        return CommandEnd::Done;
    }
    const auto chosen = services_.dialogs.saveFileName(
        {"Zanforファイルの保存", std::string(kFilter), std::string(kPattern),
         InitialFolder(startup_.settings.defaultFolder)});
    if (chosen.empty())
        return CommandEnd::Done;
    const std::filesystem::path file = WithExtension(chosen, "adb");
    std::error_code ec;
    // The shell's copy asked before it replaced a file; so does this.
    if (std::filesystem::exists(file, ec) &&
        ui_.messageBox("'" + file.string() + "' は既にあります。\n置き換えますか？", kProductTitle,
                       MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes)
        return CommandEnd::Done;
    auto& work = *session_.work;
    ui_.setBusy(true);
    ui_.showGauge(true);
    ui_.setProgress(0);
    try {
        ui_.showMessage(kSaving);
        ui_.setProgress(15);
        writeAnalysisRecords();
        ui_.setProgress(85);
        work.saveCopyAs(file);
        ui_.setProgress(100);
    } catch (const std::exception& e) {
        ui_.setBusy(false);
        const auto report = BuildErrorReport(kSavePlace, e, WindowKind::Main);
        ui_.messageBox(report.text(), report.title, MsgButtons::Ok, MsgIcon::Critical);
        return report.shutdown ? CommandEnd::ExitRequested : CommandEnd::Done;
    }
    ui_.setBusy(false);
    ui_.messageBox(kSaved, kProductTitle, MsgButtons::Ok, MsgIcon::None);
    state_.analysisSaved = true;
    return CommandEnd::Done;
}

CommandEnd Program::loadAnalysisFile() {
    if (!state_.targetPath.empty()) {
        ui_.messageBox(kTargetChosen, kProductTitle, MsgButtons::Ok, MsgIcon::None);
        return CommandEnd::Done;
    }
    const auto file = services_.dialogs.openFileName(
        {"Zanforファイルの読込", std::string(kFilter), std::string(kPattern),
         InitialFolder(startup_.settings.defaultFolder)});
    if (file.empty())
        return CommandEnd::Done;
    return loadAnalysisFile(file, false);
}

CommandEnd Program::loadAnalysisFile(const std::filesystem::path& file, bool atStartUp) {
    if (atStartUp && OpensAsTarget(file)) {
        auto s = openState();
        const auto opened = target::OpenRecentTarget(s, openEnvironment(), file.string());
        return opened == target::OpenResult::ExitRequested ? CommandEnd::ExitRequested
                                                           : CommandEnd::Done;
    }
    std::optional<collect::SavedFlags> flags;
    try {
        auto copy = workdb::WorkDatabase::openCopy(file);
        flags = collect::ReadSaveFlag(copy);
        // A save that did not finish is refused before anything changes, so the program is
        // left as it was and another file can be chosen.
        if (!flags) {
            ui_.messageBox(kSaveFailed, kProductTitle, MsgButtons::Ok, MsgIcon::None);
            return CommandEnd::Done;
        }
        auto work = workdb::WorkDatabase::open(startup_.paths.workDatabase);
        work.replaceWith(copy);
        session_.release();
        // The loaded results stand where a target's would: the work database holds them, and an
        // empty target named after the file stands in for the commands that read only those
        // results (the cover sheet).
        session_.access = services_.accessFactory.createApplication();
        session_.target = std::make_unique<host::memory::MemoryDatabase>(
            host::memory::MemoryTargetBuilder(file.string()).build());
        session_.work.emplace(std::move(work));
    } catch (const std::exception& e) {
        const auto report = BuildErrorReport(kLoadPlace, e, WindowKind::Main);
        ui_.messageBox(report.text(), report.title, MsgButtons::Ok, MsgIcon::Critical);
        return report.shutdown ? CommandEnd::ExitRequested : CommandEnd::Done;
    }
    state_.openMode = OpenMode::AnalysisFile;
    const auto capTime = state_.header.capTime;
    state_.header = flags->header;
    state_.header.capTime = capTime;
    ShowSavedFlags(panel_, state_, flags->lastRun, flags->scopes, flags->proc50, flags->mod50);
    if (!atStartUp)
        ui_.messageBox(kLoaded, kProductTitle, MsgButtons::Ok, MsgIcon::None);
    return CommandEnd::Done;
}

}  // namespace zanfor::app
