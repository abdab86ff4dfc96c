#include "cli/site_command.h"

#include <stdlib.h>

#include <cerrno>
#include <future>
#include <iostream>
#include <optional>

#include "cli/console_ui.h"
#include "cli/diff_command.h"
#include "cli/form_picture.h"
#include "commands/form_capture.h"
#include "core/error_report.h"
#include "core/program_files.h"
#include "graph/graph_builder.h"
#include "host/access/file_application.h"
#include "host/error.h"
#include "site/site_writer.h"
#include "workdb/work_database.h"

namespace zanfor::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr std::string_view kPlace = "場所:サイト作成";

// The runs that fill what the pages show: the index list first (it shares the table command
// with the detailed table list), then every design with its most detailed option, the
// procedure list, the code of every module and the files beside the target.
const std::vector<std::vector<std::string>> kRuns = {
    {"--only", "tables", "--option", "table=1"},
    {"--only", "objects,tables,queries,forms,reports,macros,proc,module,files", "--option",
     "object=7", "--option", "table=3", "--option", "query=3", "--option", "form=2", "--option",
     "report=2", "--option", "macro=2", "--option", "module=4"},
};

struct SiteRequest {
    fs::path target;
    fs::path out;
    bool pictures = true;
};

std::optional<SiteRequest> Parse(const std::vector<std::string>& args, std::string& why) {
    SiteRequest request;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size()) {
            request.out = args[++i];
        } else if (args[i] == "--no-pictures") {
            request.pictures = false;
        } else if (!args[i].starts_with("--") && request.target.empty()) {
            request.target = args[i];
        } else {
            why = "不明な引数 '" + args[i] + "'";
            return std::nullopt;
        }
    }
    if (request.target.empty() || request.out.empty()) {
        why = "対象 (.mdb またはエクスポートフォルダ) と --out フォルダを指定して下さい";
        return std::nullopt;
    }
    return request;
}

void Phase(std::string_view name) { std::cerr << "zanfor-cli site: " << name << "\n"; }

// The sections of each form and report, and, with `pictures`, the picture of each form (form
// view, or design view where form view will not open) and each report (design view) into
// `folder`/img. A build without the report engine has none: the pages say so and one warning is
// given. A design that does not open is left out; the rest are read on.
void ReadDesigns(host::access::FileApplication& access, const std::vector<site::ObjectPage>& pages,
                 const fs::path& folder, bool pictures, site::SiteOptions& options) {
    using host::access::View;
    for (const auto& page : pages) {
        if (page.kind != site::PageKind::Form && page.kind != site::PageKind::Report)
            continue;
        const bool form = page.kind == site::PageKind::Form;
        const auto type = form ? host::access::ObjectType::Form : host::access::ObjectType::Report;
        const auto file = "img/" + page.file.substr(0, page.file.size() - 5) + ".png";
        auto open = [&](bool design) -> host::access::DesignObject& {
            return form ? access.openForm(page.name, design ? View::Design : View::Normal)
                        : access.openReport(page.name, View::Design);
        };
        auto draw = [&](host::access::DesignObject& object, bool design) {
            fs::create_directories(folder / "img");
            QueueFormPicture(object, access, access.currentDb(), folder / file, design, false);
            options.pictures.emplace(page.file, file);
        };
        try {
            auto& design = open(true);
            options.sections.emplace(page.file, site::SectionsOf(design));
            if (pictures && !form)
                draw(design, true);
            access.close(type, page.name);
            if (pictures && form) {
                auto& shown = open(false);
                const bool inForm = !app::NeedsAnotherForm(shown, access.currentDb());
                if (!inForm) {
                    access.close(type, page.name);
                    draw(open(true), true);
                } else {
                    draw(shown, false);
                }
                access.close(type, page.name);
            }
        } catch (const host::Error& e) {
            access.close(type, page.name);
            if (e.number() == host::err::kNoReportEngine) {
                std::cerr << "zanfor-cli site: " << e.description() << " 画像なしで作成します。\n";
                options.noPicture = "この版では画像を作成できないため、画像はありません。";
                pictures = false;
                continue;
            }
            std::cerr << "zanfor-cli site: " << page.name << " を読めません (" << e.number() << " "
                      << e.description() << ")\n";
        }
    }
    if (!options.pictures.empty())
        FinishFormPictures();
    std::error_code ignored;
    fs::remove(folder / "img", ignored);  // only when no picture was written
}

int Write(const SiteRequest& request, const fs::path& executable) {
    // Collecting makes the program folder the current directory: the paths given are taken
    // from where the command was called first.
    const auto target = fs::absolute(request.target);
    const auto out = fs::absolute(request.out).lexically_normal();
    std::error_code ec;
    if (!fs::exists(target, ec))
        throw host::Error(host::err::kFileNotFound,
                          "ファイル '" + request.target.string() + "' が見つかりません。");
    site::CheckSiteFolder(out);

    // The graph is read from the target while the collectors fill the work database: both
    // only read the target, each through its own objects, and together they take the longest.
    Phase("収集");
    host::access::FileApplication access;
    auto reading = std::async(std::launch::async, [&] {
        access.openCurrentDatabase(target.string());
        return graph::BuildGraph(access.currentDb(), access);
    });
    const ScratchFolder scratch("zanfor-site");
    const auto file = scratch.path() / "site.db";
    if (!CollectRuns(target, file, executable, kRuns)) {
        reading.wait();
        return kFailed;
    }
    const auto work = workdb::WorkDatabase::openForReading(file);
    Phase("依存関係");
    const auto graph = reading.get();
    const site::SiteWriter writer(work, graph, access.currentDb().relations());

    site::SiteOptions options;
    options.fileLine = app::FileNamePart(target.string());
    if (!request.pictures)
        options.noPicture = "画像は作成していません。";
    site::PublishSite(out, [&](const fs::path& staging) {
        // Graphviz lays out the diagrams in processes of its own while the pictures are drawn (a
        // future made by std::async waits for its thread however this block is left).
        Phase("図");
        auto diagrams = std::async(std::launch::async, [&] { return writer.layOutDiagrams(true); });
        ReadDesigns(access, writer.pages(), staging, request.pictures, options);
        auto laidOut = diagrams.get();
        Phase("ページ");
        writer.write(staging, options, std::move(laidOut));
    });
    access.closeCurrentDatabase();
    std::cout << out.string() << "\n";
    return kOk;
}

}  // namespace

int RunSite(const std::vector<std::string>& args, const fs::path& executable) {
    std::string why;
    const auto request = Parse(args, why);
    if (!request) {
        std::cerr << "zanfor-cli site: " << why << "\n";
        return kUsage;
    }
    return RunReported(kPlace, [&] { return Write(*request, executable); });
}

}  // namespace zanfor::cli
