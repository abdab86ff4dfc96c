#include "commands/commands.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "collect/analysis_records.h"
#include "collect/control_count.h"
#include "collect/cover_page.h"
#include "collect/file_list.h"
#include "collect/form_collector.h"
#include "collect/import_specs.h"
#include "collect/macro_collector.h"
#include "collect/object_inventory.h"
#include "collect/query_collector.h"
#include "collect/report_collector.h"
#include "collect/table_collector.h"
#include "commands/form_capture.h"
#include "commands/support_panel.h"
#include "core/program_files.h"
#include "refs/object_references.h"
#include "refs/table_references.h"
#include "vba/comment_listing.h"
#include "vba/module_listing.h"
#include "vba/procedure_listing.h"
#include "vba/procedure_references.h"
#include "vba/step_counts.h"
#include "vba/variable_catalogue.h"

namespace zanfor::app {

namespace {

// A collector runs in the frame of its collection, writing to the window through the context's
// RunUi; only an error of Access's unstable range reaches the window as the exit command.
template <collect::RunResult (*Run)(collect::RunContext&)>
CommandEnd Collect(CommandContext& c) {
    collect::RunContext ctx{c.state, c.work, c.target, c.ui, &c.access};
    return Run(ctx) == collect::RunResult::ShutdownRequested ? CommandEnd::ExitRequested
                                                             : CommandEnd::Done;
}

template <std::size_t N>
using Names = std::array<std::string_view, N>;

constexpr Names<1> kObjectReports{"R_AcObjectAll"};
constexpr Names<2> kTableReports{"R_AcTblIndex", "R_AcTblTable"};
constexpr Names<2> kQueryReports{"R_AcQerySql", "R_AcQeryAll"};
constexpr Names<1> kFormReports{"R_AcFrmCntl"};
constexpr Names<1> kReportReports{"R_AcRepCntl"};
constexpr Names<2> kProcReports{"R_AcProcName", "R_AcProcName50"};
constexpr Names<4> kModuleReports{"R_AcModule", "R_AcModule50", "R_AcModule2", "R_AcModule250"};
constexpr Names<1> kModStepReports{"R_AcModStep"};
constexpr Names<1> kMacroReports{"R_AcMacro"};
constexpr Names<1> kControlReports{"R_AcControlCount"};
constexpr Names<1> kFileReports{"R_AcFile"};
constexpr Names<1> kCommentReports{"R_AcComment"};
constexpr Names<1> kCoverReports{"R_AcHyousi"};
constexpr Names<1> kLabelVReports{"R_AcHyousiH"};
constexpr Names<1> kLabelHReports{"R_AcHyousiW"};

constexpr Names<3> kHensuReports{"R_AcHensuH", "R_AcHensuT", "R_AcHensuU"};
constexpr Names<1> kHensuHReports{"R_AcHensuH"};
constexpr Names<1> kHensuTReports{"R_AcHensuT"};
constexpr Names<1> kHensuUReports{"R_AcHensuU"};
constexpr Names<1> kLinkProcReports{"R_AcLinkProc"};
constexpr Names<1> kLinkTableReports{"R_AcLinkTable"};
constexpr Names<1> kTeigiReports{"R_AcTextTeigi"};
constexpr Names<1> kLinkObjectReports{"R_AcLinkObject"};
constexpr std::array kHensuLists{CommandId::HensuH, CommandId::HensuT, CommandId::HensuU};

constexpr Names<1> kObjUpdateReports{"R_AcObjectUpdate"};

inline constexpr std::string_view kChooseComparisonFile = "比較用ファイルを選択して下さい。";

// cmdObjUpdate: the older analysis file is asked for first; without one nothing changes.
CommandEnd CompareObjects(CommandContext& c) {
    std::error_code ec;
    const auto here = std::filesystem::current_path(ec);
    const auto file = c.dialogs ? c.dialogs->openFileName({"比較用ファイルの選択", "Zanfor(*.adb)",
                                                           "*.adb", ec ? "" : here.string()})
                                : std::string();
    if (file.empty()) {
        c.ui.messageBox(kChooseComparisonFile, kProductTitle, MsgButtons::Ok, MsgIcon::None);
        return CommandEnd::Done;
    }
    collect::RunContext ctx{c.state, c.work, c.target, c.ui, &c.access};
    return collect::RunObjectComparison(ctx, file) == collect::RunResult::ShutdownRequested
               ? CommandEnd::ExitRequested
               : CommandEnd::Done;
}

// A list button only opens its report over what the tables hold.
template <const Names<1>* Report>
CommandEnd Preview(CommandContext& c) {
    c.ui.showReport(Report->front(), 0);
    return CommandEnd::Done;
}

using P = PreviewButton;
using E = EnabledWhen;

constexpr std::array kTable{
    CommandInfo{.id = CommandId::Object,
                .button = "cmdObject",
                .caption = "オブジェクト一覧",
                .cliName = "objects",
                .preview = P::OPre,
                .enabledWhen = E::Always,
                .run = Collect<collect::RunObjectInventory>,
                .reports = kObjectReports},
    CommandInfo{.id = CommandId::Table,
                .button = "cmdTable",
                .caption = "テーブル一覧",
                .cliName = "tables",
                .preview = P::TPre,
                .enabledWhen = E::Tables,
                .run = Collect<collect::RunTableCollection>,
                .reports = kTableReports},
    CommandInfo{.id = CommandId::Query,
                .button = "cmdQuery",
                .caption = "クエリー一覧",
                .cliName = "queries",
                .preview = P::QPre,
                .enabledWhen = E::Queries,
                .run = Collect<collect::RunQueryCollection>,
                .reports = kQueryReports},
    CommandInfo{.id = CommandId::Form,
                .button = "cmdForm",
                .caption = "コントロール一覧",
                .cliName = "forms",
                .preview = P::FPre,
                .enabledWhen = E::Forms,
                .run = Collect<collect::RunFormCollection>,
                .reports = kFormReports},
    CommandInfo{.id = CommandId::Report,
                .button = "cmdReport",
                .caption = "コントロール一覧",
                .cliName = "reports",
                .preview = P::RPre,
                .enabledWhen = E::Reports,
                .run = Collect<collect::RunReportCollection>,
                .reports = kReportReports},
    CommandInfo{.id = CommandId::Proc,
                .button = "cmdProc",
                .caption = "プロシージャ一覧",
                .cliName = "proc",
                .preview = P::PPre,
                .enabledWhen = E::Code,
                .run = Collect<vba::RunProcedureListing>,
                .reports = kProcReports},
    CommandInfo{.id = CommandId::Module,
                .button = "cmdModule",
                .caption = "モジュールリスト",
                .cliName = "module",
                .preview = P::MPre,
                .enabledWhen = E::Code,
                .run = Collect<vba::RunModuleListing>,
                .reports = kModuleReports},
    CommandInfo{.id = CommandId::ModStep,
                .button = "cmdModStep",
                .caption = "ステップ数一覧",
                .cliName = "modstep",
                .preview = P::MsPre,
                .enabledWhen = E::Code,
                .run = Collect<vba::RunStepCounts>,
                .reports = kModStepReports},
    CommandInfo{.id = CommandId::Macro,
                .button = "cmdMacro",
                .caption = "マクロ一覧",
                .cliName = "macros",
                .preview = P::MCPre,
                .enabledWhen = E::Macros,
                .run = Collect<collect::RunMacroCollection>,
                .reports = kMacroReports},
    CommandInfo{.id = CommandId::Control,
                .button = "cmdControl",
                .caption = "ｺﾝﾄﾛｰﾙ数一覧",
                .cliName = "controls",
                .preview = P::CPre,
                .run = Collect<collect::RunControlCount>,
                .reports = kControlReports},
    CommandInfo{.id = CommandId::File,
                .button = "cmdFile",
                .caption = "ファイル一覧",
                .cliName = "files",
                .preview = P::FlPre,
                .run = Collect<collect::RunFileList>,
                .reports = kFileReports},
    CommandInfo{.id = CommandId::Comment,
                .button = "cmdComment",
                .caption = "コメント一覧",
                .cliName = "comment",
                .preview = P::CmPre,
                .run = Collect<vba::RunCommentListing>,
                .reports = kCommentReports},
    CommandInfo{.id = CommandId::FmImage,
                .button = "cmdFmImage",
                .caption = "画面イメージ",
                .cliName = "fmimage",
                .enabledWhen = E::Forms,
                .run = RunFormCapture},
    CommandInfo{.id = CommandId::Hyousi1,
                .button = "cmdHyousi(1)",
                .caption = "表　紙",
                .cliName = "cover",
                .run = Collect<collect::RunCoverSheet>,
                .reports = kCoverReports},
    CommandInfo{.id = CommandId::Hyousi2,
                .button = "cmdHyousi(2)",
                .caption = "ラベル(縦)",
                .cliName = "label-v",
                .run = Collect<collect::RunCoverLabelPortrait>,
                .reports = kLabelVReports},
    CommandInfo{.id = CommandId::Hyousi3,
                .button = "cmdHyousi(3)",
                .caption = "ラベル(横)",
                .cliName = "label-h",
                .run = Collect<collect::RunCoverLabelLandscape>,
                .reports = kLabelHReports},
};
static_assert(kTable.size() <= kCommandCapacity);

constexpr std::array kSupportTable{
    CommandInfo{.id = CommandId::Syoki,
                .button = "cmdSyoki",
                .caption = "初期処理",
                .cliName = "syoki",
                .run = RunInitialProcessing},
    CommandInfo{.id = CommandId::LinkTable,
                .button = "cmdLinkTable",
                .caption = "実行",
                .cliName = "linktable",
                .run = Collect<refs::RunTableReferences>,
                .reports = kLinkTableReports},
    CommandInfo{.id = CommandId::ObjUpdate,
                .button = "cmdObjUpdate",
                .caption = "オブジェクト比較表",
                .cliName = "objupdate",
                .run = CompareObjects,
                .reports = kObjUpdateReports},
    CommandInfo{.id = CommandId::Teigi,
                .button = "cmdTeigi",
                .caption = "変換定義一覧",
                .cliName = "teigi",
                .run = Collect<collect::RunImportSpecList>,
                .reports = kTeigiReports},
    CommandInfo{.id = CommandId::LinkForm,
                .button = "cmdLinkForm",
                .caption = "実行",
                .cliName = "linkform",
                .run = Collect<refs::RunFormReferences>,
                .reports = kLinkObjectReports},
    CommandInfo{.id = CommandId::LinkReport,
                .button = "cmdLinkReport",
                .caption = "実行",
                .cliName = "linkreport",
                .run = Collect<refs::RunReportReferences>,
                .reports = kLinkObjectReports},
    CommandInfo{.id = CommandId::Hensu,
                .button = "cmdHensu",
                .caption = "変数情報取得",
                .cliName = "hensu",
                .run = Collect<vba::RunVariableCatalogue>,
                .reports = kHensuReports,
                .then = kHensuLists},
    CommandInfo{.id = CommandId::HensuH,
                .button = "cmdHensuH",
                .caption = "変　数　一　覧",
                .run = Preview<&kHensuHReports>,
                .reports = kHensuHReports},
    CommandInfo{.id = CommandId::HensuT,
                .button = "cmdHensuT",
                .caption = "定　数　一　覧",
                .run = Preview<&kHensuTReports>,
                .reports = kHensuTReports},
    CommandInfo{.id = CommandId::HensuU,
                .button = "cmdHensuU",
                .caption = "定 義 型 一 覧",
                .run = Preview<&kHensuUReports>,
                .reports = kHensuUReports},
    CommandInfo{.id = CommandId::LinkProc,
                .button = "cmdLinkProc",
                .caption = "プロシージャ引用先一覧",
                .cliName = "linkproc",
                .run = Collect<vba::RunProcedureReferences>,
                .reports = kLinkProcReports},
};

bool Has(const LastRunOptions& lastRun, Collector c) { return lastRun[c] != kNoObjects; }

bool Enabled(EnabledWhen when, const LastRunOptions& lastRun) {
    switch (when) {
        case EnabledWhen::Always:
            return true;
        case EnabledWhen::Tables:
            return Has(lastRun, Collector::Tables);
        case EnabledWhen::Queries:
            return Has(lastRun, Collector::Queries);
        case EnabledWhen::Forms:
            return Has(lastRun, Collector::Forms);
        case EnabledWhen::Reports:
            return Has(lastRun, Collector::Reports);
        case EnabledWhen::Macros:
            return Has(lastRun, Collector::Macros);
        case EnabledWhen::Code:
            // Code lives in the modules of forms and reports as well as in standard modules.
            return Has(lastRun, Collector::Forms) || Has(lastRun, Collector::Reports) ||
                   Has(lastRun, Collector::ModuleListing);
    }
    return false;
}

}  // namespace

std::span<const CommandInfo> CommandTable() { return kTable; }

std::span<const CommandInfo> SupportCommandTable() { return kSupportTable; }

const CommandInfo* FindCommand(CommandId id, std::span<const CommandInfo> table) {
    for (const auto& row : table)
        if (row.id == id)
            return &row;
    return nullptr;
}

const CommandInfo* FindCommand(std::string_view cliName, std::span<const CommandInfo> table) {
    for (const auto& row : table)
        if (row.cliName == cliName)
            return &row;
    return nullptr;
}

std::bitset<kCommandCapacity> EnabledOnOpening(const LastRunOptions& lastRun,
                                               std::span<const CommandInfo> table,
                                               const Commands* runner) {
    std::bitset<kCommandCapacity> enabled;
    for (const auto& row : table) {
        const bool runs = !runner || runner->runs(row.id);
        enabled.set(static_cast<std::size_t>(row.id), runs && Enabled(row.enabledWhen, lastRun));
    }
    return enabled;
}

bool TableCommands::runs(CommandId id) const {
    if (handlers_.contains(id))
        return true;
    const auto* row = FindCommand(id, table_);
    return row && row->run;
}

CommandEnd TableCommands::run(CommandId id, CommandContext& context) {
    if (const auto handler = handlers_.find(id); handler != handlers_.end())
        return handler->second(context);
    const auto* row = FindCommand(id, table_);
    return row && row->run ? row->run(context) : CommandEnd::Done;
}

}  // namespace zanfor::app
