#include "cli/run_command.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <iostream>
#include <optional>
#include <set>
#include <span>
#include <tuple>

#include "batch/analysis_pattern.h"
#include "cli/console_ui.h"
#include "cli/report_output.h"
#include "commands/main_panel.h"
#include "commands/support_panel.h"
#include "core/desktop.h"
#include "core/dialogs.h"
#include "core/error_report.h"
#include "core/startup.h"
#include "host/access/file_application.h"
#include "host/error.h"
#include "program/program.h"
#include "util/vb_string.h"

namespace zanfor::cli {

namespace {

constexpr std::string_view kRunPlace = "場所:解析実行";
constexpr std::string_view kReportPlace = "場所:レポート出力";
constexpr std::string_view kSavePlace = "場所:保存";

// The picker a selected-object run reads its name from.
std::string app::Pickers::*PickerText(std::string_view kind) {
    if (kind == "table")
        return &app::Pickers::tableText;
    if (kind == "query")
        return &app::Pickers::queryText;
    if (kind == "form")
        return &app::Pickers::formText;
    if (kind == "report")
        return &app::Pickers::reportText;
    if (kind == "macro")
        return &app::Pickers::macroText;
    return nullptr;
}

// An option is named after its control on the main window's panel without the prefix ("optTable"
// is "table", "chkLink" is "link") and takes only a value that control can set.
std::int16_t app::OptionSettings::*FindOption(std::string_view name, int value) {
    auto named = [&](std::string_view control) {
        return util::EqualsIgnoreCase(control.substr(3), name);
    };
    for (const auto& group : app::OptionGroups()) {
        if (named(group.name))
            return value >= 1 && value <= std::ssize(group.captions) ? group.setting : nullptr;
    }
    for (const auto& box : app::CheckBoxes()) {
        if (named(box.name))
            return value == box.checkedValue || value == box.uncheckedValue ? box.setting : nullptr;
    }
    return nullptr;
}

bool SplitPair(const std::string& text, std::pair<std::string, std::string>& out) {
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0)
        return false;
    out = {text.substr(0, eq), text.substr(eq + 1)};
    return true;
}

// No window to ask: message boxes go to the console as the run's own do (and count as its
// errors), and the file "chosen" is the target named on the command line, or the older
// analysis file when the comparison asks for one.
class ConsoleDialogs : public app::Dialogs {
public:
    ConsoleDialogs(ConsoleUi& ui, std::string file, std::string analysisFile)
        : ui_(&ui), file_(std::move(file)), analysisFile_(std::move(analysisFile)) {}

    app::MsgResult messageBox(std::string_view text, std::string_view title,
                              app::MsgButtons buttons, app::MsgIcon icon) override {
        return ui_->messageBox(text, title, buttons, icon);
    }
    std::string openFileName(const app::OpenFileRequest& request) override {
        return request.filterPattern == "*.adb" ? analysisFile_ : file_;
    }
    std::string saveFileName(const app::OpenFileRequest&) override { return {}; }

private:
    ConsoleUi* ui_;
    std::string file_;
    std::string analysisFile_;
};

// A run from a script has no screen saver to hold off and opens no documents.
class HeadlessDesktop : public app::Desktop {
public:
    void inhibitScreenSaver() override {}
    void releaseScreenSaver() override {}
    bool openScreenSaverSettings() override { return false; }
    bool openDocument(const std::filesystem::path&) override { return false; }
};

// A name of the main window's table or of the developer support window's.
template <typename Key>
const app::CommandInfo* FindRow(const Key& key, std::span<const app::CommandInfo> table) {
    const auto* row = app::FindCommand(key, table);
    return row ? row : app::FindCommand(key, app::SupportCommandTable());
}

bool IsSupportTool(app::CommandId id) {
    return app::FindCommand(id, app::SupportCommandTable()) != nullptr;
}

bool EnabledInSupportWindow(const app::AppState& state, app::CommandId id) {
    app::SupportPanel panel;
    app::EnableSupportTools(panel, state, [](app::CommandId) { return true; });
    return panel.enabled(id);
}

}  // namespace

std::optional<RunRequest> ParseRunArguments(const std::vector<std::string>& args, std::string& why,
                                            std::span<const app::CommandInfo> table) {
    RunRequest request;
    request.table = table;
    auto value = [&](std::size_t& i) -> const std::string* {
        return i + 1 < args.size() ? &args[++i] : nullptr;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto& a = args[i];
        if (a == "--only") {
            const auto* list = value(i);
            if (!list) {
                why = "--only には処理名の一覧が必要です";
                return std::nullopt;
            }
            const auto before = request.commands.size();
            std::size_t start = 0;
            while (start <= list->size()) {
                const auto comma = std::min(list->find(',', start), list->size());
                const auto name = list->substr(start, comma - start);
                start = comma + 1;
                if (name.empty())
                    continue;
                const auto* row = FindRow(name, table);
                if (!row) {
                    why = "不明な処理名: " + name;
                    return std::nullopt;
                }
                if (!row->run) {
                    why = "この版ではまだ実行できない処理です: " + name;
                    return std::nullopt;
                }
                if (row->id == app::CommandId::FmImage) {
                    why = "画面イメージは zanfor-cli capture で取得して下さい: " + name;
                    return std::nullopt;
                }
                request.commands.push_back(row->id);
            }
            if (request.commands.size() == before) {
                why = "--only には処理名の一覧が必要です";
                return std::nullopt;
            }
        } else if (a == "--option" || a == "--pick") {
            const auto* text = value(i);
            std::pair<std::string, std::string> pair;
            if (!text || !SplitPair(*text, pair)) {
                why = a + " は 名前=値 の形で指定して下さい";
                return std::nullopt;
            }
            if (a == "--option") {
                std::int16_t number = 0;
                const auto* end = pair.second.data() + pair.second.size();
                const auto [ptr, ec] = std::from_chars(pair.second.data(), end, number);
                const auto setting =
                    ec == std::errc() && ptr == end ? FindOption(pair.first, number) : nullptr;
                if (!setting) {
                    why = "不明なオプションか値です: " + *text;
                    return std::nullopt;
                }
                request.options.push_back({setting, number});
            } else {
                const auto picker = PickerText(pair.first);
                if (!picker) {
                    why = "--pick は table, query, form, report, macro のいずれかです: " + *text;
                    return std::nullopt;
                }
                request.picks.push_back({picker, pair.second});
            }
        } else if (a == "--no-reports") {
            request.noReports = true;
        } else if (a == "--workdb" || a == "--out" || a == "--format" || a == "--pattern") {
            const auto* text = value(i);
            if (!text) {
                why = a + " には値が必要です";
                return std::nullopt;
            }
            if (a == "--pattern")
                request.pattern = *text;
            else if (a == "--workdb")
                request.workDatabase = *text;
            else if (a == "--out")
                request.outFolder = *text;
            else if (*text == "pdf" || *text == "html")
                request.format = *text;
            else {
                why = "--format は pdf か html です";
                return std::nullopt;
            }
        } else if (request.target.empty() && a.rfind("--", 0) != 0) {
            request.target = a;
        } else {
            why = "不明な引数: " + a;
            return std::nullopt;
        }
    }
    if (request.target.empty()) {
        why = "解析するファイルを指定して下さい";
        return std::nullopt;
    }
    if (!request.pattern.empty()) {
        if (!request.commands.empty()) {
            why = "--pattern と --only は一緒に指定できません";
            return std::nullopt;
        }
        return request;
    }
    if (request.commands.empty()) {
        // The form picture needs a window to show it in; the capture verb writes it instead.
        for (const auto& row : table)
            if (row.run && row.id != app::CommandId::FmImage)
                request.commands.push_back(row.id);
        // The developer support tools follow, except the list buttons their runs bring along
        // and the comparison, which needs an older analysis file (zanfor-cli compare).
        for (const auto& row : app::SupportCommandTable())
            if (row.run && !row.cliName.empty() && row.id != app::CommandId::ObjUpdate)
                request.commands.push_back(row.id);
    }
    return request;
}

int RunCommands(const RunRequest& request, const std::filesystem::path& executable) {
    std::error_code ec;
    const auto target = std::filesystem::absolute(request.target, ec).lexically_normal();
    const auto found = ec ? std::filesystem::file_status() : std::filesystem::status(target, ec);
    auto refuse = [&](const host::Error& why) {
        PrintErrorReport(std::cerr, app::BuildErrorReport(kRunPlace, why, app::WindowKind::Main));
        return 1;
    };
    if (ec && ec != std::errc::no_such_file_or_directory)
        return refuse(host::FileSystemError(request.target, ec));
    if (!std::filesystem::exists(found)) {
        return refuse(host::Error(host::err::kFileNotFound,
                                  "ファイル '" + request.target + "' が見つかりません。"));
    }
    // Anything but a file or a folder (a FIFO, a device) could block the reader for ever.
    if (!std::filesystem::is_regular_file(found) && !std::filesystem::is_directory(found)) {
        return refuse(
            host::Error(host::err::kUnrecognizedFormat,
                        "'" + request.target + "' はデータベース ファイルではありません。"));
    }
    // Start-up makes the program folder the current directory: the paths the caller gave are
    // taken relative to where it was called first.
    const auto outFolder = std::filesystem::absolute(request.outFolder);
    const auto givenWorkDatabase = request.workDatabase.empty()
                                       ? std::filesystem::path()
                                       : std::filesystem::absolute(request.workDatabase);
    // A pattern that cannot be read stops the run before the target is opened.
    std::optional<app::BatchState> pattern;
    if (!request.pattern.empty()) {
        pattern.emplace();
        batch::OpenBatch(*pattern);
        try {
            batch::ReadPatternFile(std::filesystem::absolute(request.pattern), *pattern);
        } catch (const host::Error& e) {
            PrintErrorReport(std::cerr,
                             app::BuildSpecialErrorReport(
                                 batch::kReadPlace, e.number(),
                                 {std::string(batch::kPatternNotRead), "内容:" + e.description()}));
            return 1;
        }
    }
    ConsoleUi ui(std::cerr, false, ::isatty(STDERR_FILENO) == 0);
    const auto comparisonFile = request.comparisonFile.empty()
                                    ? std::filesystem::path()
                                    : std::filesystem::absolute(request.comparisonFile);
    const auto reportFile = request.reportFile.empty()
                                ? std::filesystem::path()
                                : std::filesystem::absolute(request.reportFile);
    ConsoleDialogs dialogs(ui, target.string(), comparisonFile.string());
    auto startup = app::StartUp(executable, dialogs, givenWorkDatabase);
    if (!startup)
        return 1;
    const auto workDatabase = startup->paths.workDatabase;

    host::access::FileEngine engine;
    host::access::FileApplicationFactory access;
    HeadlessDesktop desktop;
    app::TableCommands commands(request.table);
    app::Program program(std::move(*startup),
                         {engine, access, dialogs, desktop, commands, {}, request.table}, ui);

    int failures = 0;
    if (program.openTarget() != target::OpenResult::Opened) {
        // The opener reports its own errors; an opening that ended without one is said here.
        if (ui.errorCount() == 0)
            ui.showError(
                app::BuildErrorReport(kRunPlace, host::err::kCannotOpenFile,
                                      "解析ファイル '" + target.string() + "' を開けませんでした。",
                                      app::WindowKind::Main));
        program.shutDown(0, 0, false);
        return 1;
    }
    auto& state = program.state();
    for (const auto& [setting, value] : request.options)
        state.options.*setting = value;
    for (const auto& [text, name] : request.picks)
        state.pickers.*text = name;
    // The developer support window's pickers: the table picked or the first one, and every form
    // and report unless one was picked.
    auto picked = [&](std::string app::Pickers::*text) {
        return std::any_of(request.picks.begin(), request.picks.end(),
                           [&](const auto& pick) { return pick.text == text; });
    };
    state.support.tableText = state.pickers.tableText;
    state.support.formText = state.pickers.formText;
    state.support.formMode = picked(&app::Pickers::formText) ? 2 : 1;
    state.support.reportText = state.pickers.reportText;
    state.support.reportMode = picked(&app::Pickers::reportText) ? 2 : 1;

    std::filesystem::create_directories(outFolder, ec);
    std::set<std::string> written;
    // Reports are written on worker threads while the next commands run; each shows the work
    // database as its command left it. A report that could not be written is reported when it
    // is taken, and counts as a failure of the run.
    std::optional<ReportWriter> writer;
    int reportFailures = 0;
    auto takeWritten = [&](bool wait) {
        if (!writer)
            return;
        for (const auto& done : writer->take(wait)) {
            if (!done.error) {
                std::cout << done.report << " -> " << done.file.string() << "\n";
                continue;
            }
            try {
                std::rethrow_exception(done.error);
            } catch (const std::exception& e) {
                ui.showError(app::BuildErrorReport(kReportPlace, e, app::WindowKind::Main));
            }
            ++reportFailures;
        }
        std::cout.flush();
    };
    // False when a report could not be started (the error shown).
    auto writeReports = [&](std::span<const std::string> reports, std::string_view who) {
        bool wrote = true;
        if (request.noReports)
            return wrote;
        for (const auto& report : reports) {
            // Two commands may show one report over their own rows (the form and the report
            // reference searches): the later one's file is named after its command too.
            auto stem = report;
            if (!written.insert(stem).second)
                stem += "." + std::string(who);
            const auto file =
                reportFile.empty() ? outFolder / (stem + "." + request.format) : reportFile;
            try {
                if (!writer)
                    writer.emplace(workDatabase);
                writer->add(report, file);
            } catch (const std::exception& e) {
                ui.showError(app::BuildErrorReport(kReportPlace, e, app::WindowKind::Main));
                wrote = false;
            }
        }
        takeWritten(false);
        return wrote;
    };
    // What a save would write, so that `zanfor-cli save` finds the work database ready.
    auto recordForSaving = [&] {
        try {
            program.writeAnalysisRecords();
            return true;
        } catch (const std::exception& e) {
            ui.showError(app::BuildErrorReport(kSavePlace, e, app::WindowKind::Main));
            return false;
        }
    };
    if (pattern) {
        // The batch window's chkLink is the command line's link option, ticked unless given.
        pattern->link = state.options.link;
        state.batch = *pattern;
        batch::BatchPanel panel;
        batch::ShowPattern(panel, state);
        std::cout << "== batch (" << request.pattern.filename().string() << ")\n";
        const auto outcome = program.runBatch(ui);
        const bool wrote = writeReports(outcome.reports, "batch");
        const bool recorded = recordForSaving();
        takeWritten(true);
        program.shutDown(0, 0, false);
        const bool allWell = !outcome.failed && outcome.end == app::CommandEnd::Done && wrote &&
                             reportFailures == 0 && recorded && ui.errorCount() == 0;
        return allWell ? 0 : 1;
    }
    auto runOne = [&](const app::CommandInfo& row) {
        const auto before = ui.requestedReports().size();
        const auto errorsBefore = ui.errorCount();
        const std::string_view who = row.cliName.empty() ? row.button : row.cliName;
        std::cout << "== " << who << " (" << row.caption << ")\n";
        const auto end = program.runCommand(row.id);
        const auto& reports = ui.requestedReports();
        const bool wrote = writeReports(std::span(reports).subspan(before), who);
        const bool failed = ui.errorCount() != errorsBefore || !wrote;
        if (failed || end == app::CommandEnd::ExitRequested)
            ++failures;
        return std::pair(end, failed);
    };
    for (const auto id : request.commands) {
        const auto& row = *FindRow(id, request.table);
        // Most support tools need the procedure table; the window would not let them run
        // before the initial processing, so the command line does it first.
        if (IsSupportTool(id) && !EnabledInSupportWindow(state, id)) {
            const auto [end, failed] =
                runOne(*app::FindCommand(app::CommandId::Syoki, app::SupportCommandTable()));
            if (end == app::CommandEnd::ExitRequested)
                break;
            if (failed)
                continue;
        }
        auto [end, failed] = runOne(row);
        for (auto next = row.then.begin();
             end == app::CommandEnd::Done && !failed && next != row.then.end(); ++next)
            std::tie(end, failed) = runOne(*FindRow(*next, request.table));
        if (end == app::CommandEnd::ExitRequested)
            break;
    }
    // The comparison's own T_AcSaveFlag row (the two names) stays for its report.
    if (request.comparisonFile.empty() && !recordForSaving())
        ++failures;
    takeWritten(true);
    program.shutDown(0, 0, false);
    return failures == 0 && reportFailures == 0 ? 0 : 1;
}

}  // namespace zanfor::cli
