#include "cli/diff_command.h"

#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include "cli/console_ui.h"
#include "cli/run_command.h"
#include "core/error_report.h"
#include "diff/analysis_diff.h"
#include "diff/diff_output.h"
#include "host/error.h"
#include "util/encoding.h"
#include "util/vb_string.h"
#include "workdb/work_database.h"

namespace zanfor::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr std::string_view kPlace = "場所:差分比較";

// The runs `zanfor-cli run` makes to collect everything the comparison reads: the index list
// first, since it shares the table command with the detailed table list, one option each; then
// every design with its most detailed option (the detailed control lists of forms and reports,
// queries with their SQL, macros with their arguments, the code of every kind of module).
const std::vector<std::vector<std::string>> kRuns = {
    {"--only", "tables", "--option", "table=1"},
    {"--only", "objects,tables,queries,forms,reports,macros,module", "--option", "object=7",
     "--option", "table=3", "--option", "query=3", "--option", "form=2", "--option", "report=2",
     "--option", "macro=2", "--option", "module=4"},
};

struct DiffRequest {
    std::string before;
    std::string after;
    fs::path html;
    bool json = false;
};

std::optional<DiffRequest> Parse(const std::vector<std::string>& args, std::string& why) {
    DiffRequest request;
    std::vector<std::string> sides;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--html" && i + 1 < args.size()) {
            request.html = args[++i];
        } else if (args[i] == "--json") {
            request.json = true;
        } else if (args[i].rfind("--", 0) != 0 && sides.size() < 2) {
            sides.push_back(args[i]);
        } else {
            why = "不明な引数 '" + args[i] + "'";
            return std::nullopt;
        }
    }
    if (sides.size() != 2) {
        why = "比較する二つの版 (.mdb、エクスポートフォルダ、解析ファイル .adb) を指定して下さい";
        return std::nullopt;
    }
    request.before = sides[0];
    request.after = sides[1];
    return request;
}

bool IsAnalysisFile(const fs::path& path) {
    return util::UCase(path.extension().string()) == ".ADB";
}

std::optional<workdb::WorkDatabase> OpenSide(const fs::path& side, const fs::path& scratch,
                                             const std::string& tag, const fs::path& executable) {
    if (IsAnalysisFile(side))
        return workdb::WorkDatabase::openForReading(side);
    const auto file = scratch / (tag + ".db");
    if (!CollectForComparison(side, file, executable))
        return std::nullopt;
    return workdb::WorkDatabase::openForReading(file);
}

int Compare(const DiffRequest& request, const fs::path& executable) {
    // Collecting makes the program folder the current directory: the paths given are taken
    // from where the command was called first.
    const auto before = fs::absolute(request.before);
    const auto after = fs::absolute(request.after);
    const auto html = request.html.empty() ? fs::path() : fs::absolute(request.html);
    const ScratchFolder scratch("zanfor-diff");
    const auto older = OpenSide(before, scratch.path(), "before", executable);
    if (!older)
        return kFailed;
    const auto newer = OpenSide(after, scratch.path(), "after", executable);
    if (!newer)
        return kFailed;
    const auto diff = diff::CompareAnalyses(*older, *newer);
    if (!html.empty()) {
        std::ofstream page(html, std::ios::binary | std::ios::trunc);
        diff::WriteDiffHtml(diff, request.before, request.after, page);
        page.close();
        if (!page)
            throw host::Error(host::err::kPathNotFound,
                              "ファイル '" + html.string() + "' に書き込めません。");
    }
    if (request.json)
        diff::WriteDiffJson(diff, request.before, request.after, std::cout);
    else
        diff::WriteDiffText(diff, request.before, request.after, std::cout);
    return kOk;
}

}  // namespace

ScratchFolder::ScratchFolder(std::string_view prefix) {
    const auto pattern = fs::temp_directory_path() / (std::string(prefix) + "-");
    try {
        path_ = util::MakeUniqueFolder(pattern);
    } catch (const std::system_error& e) {
        throw host::FileSystemError(pattern, e.code());
    }
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

bool CollectForComparison(const fs::path& target, const fs::path& workDatabase,
                          const fs::path& executable) {
    return CollectRuns(target, workDatabase, executable, kRuns);
}

bool CollectRuns(const fs::path& target, const fs::path& workDatabase, const fs::path& executable,
                 const std::vector<std::vector<std::string>>& runs) {
    for (const auto& run : runs) {
        std::vector<std::string> args{target.string()};
        args.insert(args.end(), run.begin(), run.end());
        args.insert(args.end(), {"--no-reports", "--workdb", workDatabase.string(), "--out",
                                 (workDatabase.parent_path() / "out").string()});
        std::string why;
        const auto request = ParseRunArguments(args, why);
        if (!request)
            throw host::Error(host::err::kInvalidProcedureCall, why);
        std::string errors;
        int status = kFailed;
        {
            const CapturedOutput captured;
            status = RunCommands(*request, executable);
            errors = captured.err();
        }
        if (status != kOk) {
            std::cerr << errors;
            return false;
        }
    }
    return true;
}

int RunDiff(const std::vector<std::string>& args, const fs::path& executable) {
    std::string why;
    const auto request = Parse(args, why);
    if (!request) {
        std::cerr << "zanfor-cli diff: " << why << "\n";
        return kUsage;
    }
    return RunReported(kPlace, [&] { return Compare(*request, executable); });
}

}  // namespace zanfor::cli
