#include "commands/support_panel.h"

#include "collect/collector_run.h"
#include "core/error_report.h"
#include "core/program_files.h"
#include "vba/procedure_table.h"

namespace zanfor::app {

namespace {

using C = CommandId;
using F = SupportFrame;

constexpr std::array kLinkTableButtons{C::LinkTable};
constexpr std::array kObjUpdateButtons{C::ObjUpdate};
constexpr std::array kTeigiButtons{C::Teigi};
constexpr std::array kLinkFormButtons{C::LinkForm};
constexpr std::array kLinkReportButtons{C::LinkReport};
constexpr std::array kHensuButtons{C::Hensu, C::HensuH, C::HensuT, C::HensuU};
constexpr std::array kLinkProcButtons{C::LinkProc};

constexpr std::array kFrames{
    SupportFrameInfo{F::LinkTable, "framLinkTable", "テーブル引用先情報",
                     "指定したテーブルがどこで使用されているかを表示します。", kLinkTableButtons},
    SupportFrameInfo{F::ObjUpdate, "framObjUpdate", "オブジェクト更新状況",
                     "前回解析したファイルと今回解析するファイルの更新状況をオブジェクト単位で比較"
                     "します。",
                     kObjUpdateButtons},
    SupportFrameInfo{F::Teigi, "framTeigi", "変換定義情報",
                     "テキストをインポート又はエクスポートする時に使用する変換定義情報を印刷します"
                     "。\nACCESSが自動設定された内容を確認出来るので大変重宝すると思います。",
                     kTeigiButtons},
    SupportFrameInfo{F::LinkForm, "framLinkForm", "オブジェクト参照元情報(フォーム)",
                     "特定のフォームが関連しているオブジェクトは何か調査し表示します。",
                     kLinkFormButtons},
    SupportFrameInfo{F::LinkReport, "framLinkReport", "オブジェクト参照元情報(レポート)",
                     "特定のレポートが関連しているオブジェクトは何か調査し表示します。",
                     kLinkReportButtons},
    SupportFrameInfo{F::Hensu, "framHensu", "変数情報",
                     "使用している変数の一覧をユーザー定義型、定数、変数別にそれぞれ作成します。",
                     kHensuButtons},
    SupportFrameInfo{F::LinkProc, "framLinkProc", "プロシージャ引用先情報",
                     "個々のプローシージャがどこで使用されているかを表示します。クロスリファレン"
                     "スとも呼びます。",
                     kLinkProcButtons},
};
static_assert(kFrames.size() == kSupportFrameCount);

void Set(SupportPanel& panel, F frame, bool on) {
    panel.frames.set(static_cast<std::size_t>(frame), on);
}

void Set(SupportPanel& panel, C id, bool on) {
    panel.commands.set(static_cast<std::size_t>(id), on);
}

// A frame and its buttons; the catalogue's list buttons follow their own rule.
void SetFrame(SupportPanel& panel, F frame, bool on) {
    Set(panel, frame, on);
    for (const C id : Info(frame).buttons)
        if (id != C::HensuH && id != C::HensuT && id != C::HensuU)
            Set(panel, id, on);
}

void Pick(const std::vector<std::string>& names, long count, std::string& text) {
    text = count != 0 && !names.empty() ? names.front() : std::string();
}

}  // namespace

std::span<const SupportFrameInfo> SupportFrames() { return kFrames; }

const SupportFrameInfo& Info(SupportFrame frame) {
    return kFrames[static_cast<std::size_t>(frame)];
}

void EnableSupportTools(SupportPanel& panel, const AppState& state,
                        const std::function<bool(CommandId)>& runs) {
    const bool ready = state.support.initialized;
    // The table search needs no procedure table: it is left usable before the initial
    // processing, as the window was designed.
    SetFrame(panel, F::LinkTable, !ready || state.counts.tables != 0);
    SetFrame(panel, F::LinkForm, ready && state.counts.forms != 0);
    SetFrame(panel, F::LinkReport, ready && state.counts.reports != 0);
    for (const F frame : {F::LinkProc, F::Hensu, F::Teigi, F::ObjUpdate})
        SetFrame(panel, frame, ready);
    for (const C list : {C::HensuH, C::HensuT, C::HensuU})
        Set(panel, list, ready && state.support.variableLists);
    Set(panel, C::Syoki, true);
    for (const auto& row : SupportCommandTable())
        if (!runs(row.id))
            Set(panel, row.id, false);
}

SupportPanel OpenSupportPanel(AppState& state, const std::function<bool(CommandId)>& runs) {
    SupportPanel panel;
    panel.tables = state.pickers.tables;
    Pick(panel.tables, state.counts.tables, state.support.tableText);
    panel.forms = state.pickers.forms;
    Pick(panel.forms, state.counts.forms, state.support.formText);
    panel.reports = state.pickers.reports;
    Pick(panel.reports, state.counts.reports, state.support.reportText);
    EnableSupportTools(panel, state, runs);
    ClickFormSelect(panel, state, 1);
    ClickReportSelect(panel, state, 1);
    return panel;
}

void ClickFormSelect(SupportPanel& panel, AppState& state, int index) {
    state.support.formMode = static_cast<std::int16_t>(index + 1);
    panel.formPicker = index == 1;
}

void ClickReportSelect(SupportPanel& panel, AppState& state, int index) {
    state.support.reportMode = static_cast<std::int16_t>(index + 1);
    panel.reportPicker = index == 1;
}

CommandEnd RunInitialProcessing(CommandContext& c) {
    c.ui.setBusy(true);
    try {
        // Emptied also for a target without modules: the procedures of the previous target
        // would otherwise be found as calls in this one.
        std::vector<ProcedureEntry> table;
        if (c.state.counts.modules != 0) {
            collect::RunContext ctx{c.state, c.work, c.target, c.ui, &c.access};
            collect::AttachAccess(ctx);
            table = vba::BuildProcedureTable(ctx);
        }
        c.state.support.procedures = std::move(table);
    } catch (const std::exception& e) {
        const auto report = BuildErrorReport(kSyokiPlace, e, WindowKind::DeveloperSupport);
        c.ui.setBusy(false);
        c.ui.messageBox(report.text(), report.title, MsgButtons::Ok, MsgIcon::Critical);
        return report.shutdown ? CommandEnd::ExitRequested : CommandEnd::Done;
    }
    c.ui.setBusy(false);
    c.state.support.initialized = true;
    c.ui.messageBox(kSyokiFinished, kProductTitle, MsgButtons::Ok, MsgIcon::None);
    return CommandEnd::Done;
}

}  // namespace zanfor::app
