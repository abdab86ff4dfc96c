#include "cli/export_command.h"

#include <iostream>
#include <optional>

#include "cli/console_ui.h"
#include "core/error_report.h"
#include "core/program_files.h"
#include "host/error.h"
#include "output/output_panel.h"
#include "output/text_export.h"
#include "output/workbook_export.h"
#include "util/vb_string.h"
#include "workdb/work_database.h"

namespace zanfor::cli {

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

struct ExportRequest {
    const output::OutputInfo* output = nullptr;
    std::filesystem::path workDatabase;
    std::filesystem::path out;
    std::string target;
    bool utf8 = false;
};

std::optional<ExportRequest> Parse(const std::vector<std::string>& args, std::string& why) {
    ExportRequest request;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--workdb" && hasValue) {
            request.workDatabase = args[++i];
        } else if (a == "--out" && hasValue) {
            request.out = args[++i];
        } else if (a == "--target" && hasValue) {
            request.target = args[++i];
        } else if (a == "--utf8") {
            request.utf8 = true;
        } else if (!request.output && a.rfind("--", 0) != 0) {
            request.output = output::FindOutput(a);
            if (!request.output) {
                why = "不明な出力 '" + a + "'";
                return std::nullopt;
            }
        } else {
            why = "不明な引数 '" + a + "'";
            return std::nullopt;
        }
    }
    if (!request.output) {
        why = "出力の種類 (object, table, ... xlsx-query) を指定して下さい";
        return std::nullopt;
    }
    const bool book = request.output->workbook.has_value();
    if (!book && request.out.empty()) {
        why = "--out FILE を指定して下さい";
        return std::nullopt;
    }
    if (book && !request.out.empty() && util::UCase(request.out.extension().string()) != ".XLSX") {
        why = "ブックの --out は .xlsx のファイルです";
        return std::nullopt;
    }
    return request;
}

int ExportFile(const ExportRequest& request, const workdb::WorkDatabase& work) {
    const auto extension = request.output->frame == output::OutputFrame::Csv ? "csv" : "txt";
    const std::filesystem::path file = app::WithExtension(request.out.string(), extension);
    const auto result = output::WriteExport(
        request.output->kind, work, file,
        request.utf8 ? output::TextEncoding::Utf8WithBom : output::TextEncoding::Cp932);
    std::cout << request.output->cliName << " -> " << file.string() << " (" << result.records
              << " 件)\n";
    if (!result.lost.empty())
        std::cerr << output::LostTextWarning(result.lost)
                  << "\n(--utf8 で UTF-8 のまま出力します)\n";
    return kOk;
}

int ExportBook(const ExportRequest& request, const workdb::WorkDatabase& work,
               const std::filesystem::path& executable) {
    // The workbook goes where --out says, else beside the target as the window puts it.
    std::string target = request.target;
    if (!request.out.empty()) {
        auto stand = request.out;
        target = stand.replace_extension(".mdb").string();
    } else if (target.empty()) {
        target = output::CollectedTargetPath(work);
    }
    if (target.empty()) {
        throw host::Error(host::err::kFileNotFound,
                          "ブックの出力先が決まりません。--out か --target を指定して下さい。");
    }
    const auto folder = app::ResolveProgramFolder(executable);
    output::EnsureTemplate(folder);
    ConsoleUi ui(std::cerr);
    if (!output::ExportWorkbook(*request.output->workbook, work, target, folder, ui, false, {}))
        return kFailed;
    std::cout << request.output->cliName << " -> " << output::WorkbookPathFor(target).string()
              << "\n";
    return kOk;
}

}  // namespace

int RunExport(const std::vector<std::string>& args, const std::filesystem::path& executable) {
    std::string why;
    auto request = Parse(args, why);
    if (!request) {
        std::cerr << "zanfor-cli export: " << why << "\n";
        return kUsage;
    }
    try {
        if (request->workDatabase.empty()) {
            request->workDatabase =
                app::ResolveProgramFolder(executable) / workdb::kWorkDatabaseFileName;
        }
        const auto work = workdb::WorkDatabase::openForReading(request->workDatabase);
        return request->output->workbook ? ExportBook(*request, work, executable)
                                         : ExportFile(*request, work);
    } catch (const std::filesystem::filesystem_error& e) {
        PrintErrorReport(std::cerr,
                         app::BuildErrorReport(request->output->place,
                                               host::FileSystemError(e.path1(), e.code()),
                                               app::WindowKind::Output));
    } catch (const std::exception& e) {
        PrintErrorReport(std::cerr,
                         app::BuildErrorReport(request->output->place, e, app::WindowKind::Output));
    }
    return kFailed;
}

}  // namespace zanfor::cli
