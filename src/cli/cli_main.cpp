// zanfor-cli: the collectors and reports without windows, for scripts and CI.
// Exit status: 0 success, 1 a reported error (in the system's words on stderr), 2 bad usage.

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/console_ui.h"
#include "cli/diff_command.h"
#include "cli/export_command.h"
#include "cli/form_picture.h"
#include "cli/graph_commands.h"
#include "cli/inspect.h"
#include "cli/report_output.h"
#include "cli/run_command.h"
#include "cli/site_command.h"
#include "cli/usage.h"
#include "commands/form_capture.h"
#include "core/error_report.h"
#include "core/program_files.h"
#include "host/access/design_printout.h"
#include "host/access/file_application.h"
#include "host/error.h"
#include "host/jet/jet_database.h"
#include "util/vb_string.h"
#include "workdb/work_database.h"

namespace {

using namespace zanfor;
using cli::RenderReportFile;
using cli::WriteInspectJson;
using cli::WriteInspectText;

constexpr int kOk = 0;
constexpr int kReportedError = 1;
constexpr int kUsage = 2;

int usage(std::ostream& out) {
    cli::WriteUsage(out);
    return kUsage;
}

std::filesystem::path executablePath() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe;
}

std::filesystem::path defaultWorkDatabase() {
    return app::ResolveProgramFolder(executablePath()) / workdb::kWorkDatabaseFileName;
}

int init(const std::vector<std::string>& args) {
    std::filesystem::path file;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--workdb" && i + 1 < args.size()) {
            file = args[++i];
        } else {
            return usage(std::cerr);
        }
    }
    if (file.empty())
        file = defaultWorkDatabase();
    const bool existed = std::filesystem::exists(file);
    auto db = workdb::WorkDatabase::open(file);
    std::cout << "作業用データベース: " << std::filesystem::absolute(file).string()
              << (existed ? "" : " (作成しました)") << "\n"
              << "スキーマ版: " << db.schemaVersion() << "\n";
    // One read of the file for the whole listing: each count on its own took and let go of the
    // file's locks again.
    db.execute("BEGIN");
    const auto names = db.tableNames();
    for (const auto& name : names) {
        const auto* table = workdb::FindWorkTable(name);
        std::cout << "  " << name << "\t" << table->columns.size() << " 項目\t" << db.rowCount(name)
                  << " 件\n";
    }
    db.execute("COMMIT");
    std::cout << "テーブル数: " << names.size() << "\n";
    return kOk;
}

// The stored design of a form, report or macro of that name, looked for in that order, with
// every property and where its value came from.
int printDesign(const host::access::FileApplication& app, const std::string& name) {
    using host::access::ObjectType;
    for (const auto type : {ObjectType::Form, ObjectType::Report, ObjectType::Macro}) {
        if (host::access::PrintStoredObject(app.project(), type, name, std::cout))
            return kOk;
    }
    cli::PrintErrorReport(
        std::cerr, app::BuildErrorReport(
                       "場所:inspect", host::err::kNoSuchObject,
                       "'" + name + "' というフォーム、レポート、マクロは保存されていません。",
                       app::WindowKind::Main));
    return kReportedError;
}

int inspect(const std::vector<std::string>& args) {
    std::string target;
    std::string source;
    std::string design;
    bool json = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if (args[i] == "--source" && i + 1 < args.size()) {
            source = args[++i];
        } else if (args[i] == "--design" && i + 1 < args.size()) {
            design = args[++i];
        } else if (target.empty() && args[i].rfind("--", 0) != 0) {
            target = args[i];
        } else {
            return usage(std::cerr);
        }
    }
    if (target.empty())
        return usage(std::cerr);
    host::access::FileApplication app;
    host::dao::Database* db = nullptr;
    std::unique_ptr<host::dao::Database> alone;
    std::string projectError;
    try {
        app.openCurrentDatabase(target);
        db = &app.currentDb();
    } catch (const host::Error& e) {
        // An .mdb whose Access project cannot be read still shows its DAO side.
        if (!source.empty() || !design.empty() || std::filesystem::is_directory(target))
            throw;
        alone = host::jet::JetEngine().openDatabase(target);
        db = alone.get();
        projectError = app::ErrorSummary(e.number(), e.description());
    }
    if (!source.empty()) {
        const auto& model = app.openModule(source).model();
        std::cout << model.Lines(1, model.CountOfLines()) << "\n";
        return kOk;
    }
    if (!design.empty())
        return printDesign(app, design);
    host::access::FileApplication* shown = alone ? nullptr : &app;
    if (json) {
        WriteInspectJson(*db, shown, projectError, std::cout);
    } else {
        WriteInspectText(*db, shown, projectError, std::cout);
    }
    return kOk;
}

int report(const std::vector<std::string>& args) {
    std::string name;
    std::filesystem::path file;
    std::filesystem::path out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--workdb" && i + 1 < args.size()) {
            file = args[++i];
        } else if (args[i] == "--out" && i + 1 < args.size()) {
            out = args[++i];
        } else if (name.empty() && args[i].rfind("--", 0) != 0) {
            name = args[i];
        } else {
            return usage(std::cerr);
        }
    }
    if (name.empty() || out.empty())
        return usage(std::cerr);
    // Any other name would get a PDF under a name that promises something else (victim.mdb).
    if (out.extension() != ".pdf" && out.extension() != ".html") {
        std::cerr << "zanfor-cli report: --out は .pdf か .html のファイルです: " << out.string()
                  << "\n";
        return usage(std::cerr);
    }
    if (file.empty())
        file = defaultWorkDatabase();
    RenderReportFile(file, name, out);
    std::cout << name << " -> " << out.string() << "\n";
    return kOk;
}

// Copies the work database, with the bookkeeping `run` wrote into it, as an analysis file.
int save(const std::vector<std::string>& args) {
    std::filesystem::path chosen;
    std::filesystem::path file;
    bool force = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--workdb" && i + 1 < args.size())
            file = args[++i];
        else if (args[i] == "--force")
            force = true;
        else if (chosen.empty() && args[i].rfind("--", 0) != 0)
            chosen = args[i];
        else
            return usage(std::cerr);
    }
    if (chosen.empty())
        return usage(std::cerr);
    if (file.empty())
        file = defaultWorkDatabase();
    const std::filesystem::path out = app::WithExtension(chosen.string(), "adb");
    if (std::filesystem::exists(out) && !force) {
        throw host::Error(
            host::err::kFileAlreadyExists,
            "ファイル '" + out.string() + "' は既にあります (--force で置き換えます)。");
    }
    if (!std::filesystem::is_regular_file(file)) {
        throw host::Error(host::err::kFileNotFound,
                          "作業用データベース '" + file.string() + "' が見つかりません。");
    }
    const auto db = workdb::WorkDatabase::open(file);
    // A work database no run has finished in would load as "保存処理が失敗しています。".
    if (db.rowCount("T_AcSaveFlag") == 0) {
        throw host::Error(host::err::kWorkDatabase,
                          "作業用データベースに保存する解析結果がありません。先に zanfor-cli run "
                          "を実行して下さい。");
    }
    db.saveCopyAs(out);
    std::cout << file.string() << " -> " << out.string() << "\n";
    return kOk;
}

// The developer support window's comparison, headless: the objects of TARGET against the list
// an older analysis file keeps.
int compare(const std::vector<std::string>& args) {
    cli::RunRequest request;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size()) {
            request.reportFile = args[++i];
        } else if (args[i] == "--workdb" && i + 1 < args.size()) {
            request.workDatabase = args[++i];
        } else if (args[i].rfind("--", 0) == 0) {
            return usage(std::cerr);
        } else if (request.comparisonFile.empty()) {
            request.comparisonFile = args[i];
        } else if (request.target.empty()) {
            request.target = args[i];
        } else {
            return usage(std::cerr);
        }
    }
    if (request.target.empty())
        return usage(std::cerr);
    if (request.reportFile.empty())
        request.reportFile = request.outFolder / "R_AcObjectUpdate.pdf";
    const auto extension = request.reportFile.extension();
    if (extension != ".pdf" && extension != ".html") {
        std::cerr << "zanfor-cli compare: --out は .pdf か .html のファイルです\n";
        return usage(std::cerr);
    }
    request.commands = {app::CommandId::ObjUpdate};
    return cli::RunCommands(request, executablePath());
}

// The form picture the capture button takes, written to a file instead of the viewer: form
// view unless --design, the client area unless --window. The target is only read.
int capture(const std::vector<std::string>& args) {
    std::string target;
    std::string form;
    std::filesystem::path out;
    bool design = false;
    bool wholeWindow = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == "--design")
            design = true;
        else if (args[i] == "--window")
            wholeWindow = true;
        else if (args[i].rfind("--", 0) == 0)
            return usage(std::cerr);
        else if (target.empty())
            target = args[i];
        else if (form.empty())
            form = args[i];
        else
            return usage(std::cerr);
    }
    if (target.empty() || form.empty() || out.empty())
        return usage(std::cerr);
    const auto extension = out.extension().string();
    if (!util::EqualsIgnoreCase(extension, ".png") && !util::EqualsIgnoreCase(extension, ".bmp")) {
        std::cerr << "zanfor-cli capture: --out は .png か .bmp のファイルです: " << out.string()
                  << "\n";
        return usage(std::cerr);
    }
    auto refuse = [](const app::ErrorReport& report) {
        cli::PrintErrorReport(std::cerr, report);
        return kReportedError;
    };
    try {
        std::error_code ec;
        const auto found = std::filesystem::status(target, ec);
        if (ec && ec != std::errc::no_such_file_or_directory)
            throw host::FileSystemError(target, ec);
        if (!std::filesystem::exists(found))
            throw host::Error(host::err::kFileNotFound,
                              "ファイル '" + target + "' が見つかりません。");
        // Anything but a file or a folder (a FIFO, a device) could block the reader for ever.
        if (!std::filesystem::is_regular_file(found) && !std::filesystem::is_directory(found)) {
            throw host::Error(host::err::kUnrecognizedFormat,
                              "'" + target + "' はデータベース ファイルではありません。");
        }
        host::access::FileApplication access;
        access.openCurrentDatabase(target);
        const auto& picked =
            access.openForm(form, design ? host::access::View::Design : host::access::View::Normal);
        if (!design && app::NeedsAnotherForm(picked, access.currentDb())) {
            return refuse(app::BuildSpecialErrorReport(
                app::kCapturePlace, host::err::kActionCancelled,
                {std::string(app::kNeedsAnotherForm), "--design を付けて実行してください。"}));
        }
        cli::WriteFormPicture(picked, access, access.currentDb(), out, design, wholeWindow);
    } catch (const host::Error& e) {
        // The renderer's 2501 is a design with nothing to draw, not an unstable Access.
        if (e.number() == host::err::kActionCancelled) {
            return refuse(app::BuildSpecialErrorReport(app::kCapturePlace, e.number(),
                                                       {"内容:" + e.description()}));
        }
        return refuse(app::BuildErrorReport(app::kCapturePlace, e, app::WindowKind::Main));
    }
    std::cout << form << " -> " << out.string() << "\n";
    return kOk;
}

int run(const std::vector<std::string>& args) {
    std::string why;
    const auto request = cli::ParseRunArguments(args, why);
    if (!request) {
        std::cerr << "zanfor-cli run: " << why << "\n";
        return usage(std::cerr);
    }
    return cli::RunCommands(*request, executablePath());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return usage(std::cerr);
    const std::string verb = args.front();
    args.erase(args.begin());
    try {
        if (verb == "--help" || verb == "-h") {
            usage(std::cout);
            return kOk;
        }
        if (verb == "init")
            return init(args);
        if (verb == "inspect")
            return inspect(args);
        if (verb == "report")
            return report(args);
        if (verb == "run")
            return run(args);
        if (verb == "save")
            return save(args);
        if (verb == "compare")
            return compare(args);
        if (verb == "capture")
            return capture(args);
        if (verb == "export") {
            const int rc = cli::RunExport(args, executablePath());
            return rc == kUsage ? usage(std::cerr) : rc;
        }
        if (verb == "deps" || verb == "unused" || verb == "diff" || verb == "site") {
            const int rc = verb == "deps"     ? cli::RunDeps(args)
                           : verb == "unused" ? cli::RunUnused(args)
                           : verb == "diff"   ? cli::RunDiff(args, executablePath())
                                              : cli::RunSite(args, executablePath());
            return rc == kUsage ? usage(std::cerr) : rc;
        }
        std::cerr << "zanfor-cli: 不明なコマンド '" << verb << "'\n";
        return usage(std::cerr);
    } catch (const std::filesystem::filesystem_error& e) {
        cli::PrintErrorReport(
            std::cerr,
            app::BuildErrorReport("場所:" + verb, host::FileSystemError(e.path1(), e.code()),
                                  app::WindowKind::Main));
        return kReportedError;
    } catch (const std::exception& e) {
        cli::PrintErrorReport(std::cerr,
                              app::BuildErrorReport("場所:" + verb, e, app::WindowKind::Main));
        return kReportedError;
    }
}
