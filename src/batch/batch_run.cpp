#include "batch/batch_run.h"

#include <exception>

#include "collect/collector_run.h"
#include "core/error_report.h"
#include "core/program_files.h"
#include "core/progress.h"
#include "host/error.h"

namespace zanfor::batch {

namespace {

using app::Collector;
using app::CommandId;
using app::OptionSettings;

template <std::size_t N>
using Captions = std::array<std::string_view, N>;

constexpr Captions<3> kTableOptions{"インデックス一覧", "テーブル一覧(簡易)", "テーブル一覧(詳細)"};
constexpr Captions<3> kQueryOptions{"ＳＱＬ一覧", "クエリー一覧(簡易)", "クエリー一覧(詳細)"};
constexpr Captions<2> kControlListOptions{"ｺﾝﾄﾛｰﾙ一覧(簡易)", "ｺﾝﾄﾛｰﾙ一覧(詳細)"};
constexpr Captions<2> kMacroOptions{"マクロ一覧(簡易)", "マクロ一覧(詳細)"};
constexpr Captions<2> kProcOptions{"ﾌﾟﾛｼｰｼﾞｬ一覧(簡易)", "ﾌﾟﾛｼｰｼﾞｬ一覧(詳細)"};
constexpr Captions<4> kModuleOptions{"ﾓｼﾞｭｰﾙﾘｽﾄ(ﾌｫｰﾑ)", "ﾓｼﾞｭｰﾙﾘｽﾄ(ﾚﾎﾟｰﾄ)", "ﾓｼﾞｭｰﾙﾘｽﾄ(ﾓｼﾞｭｰﾙ)",
                                     "ﾓｼﾞｭｰﾙﾘｽﾄ(全て)"};
constexpr Captions<4> kModStepOptions{"ステップ一覧(ﾌｫｰﾑ)", "ステップ一覧(ﾚﾎﾟｰﾄ)",
                                      "ステップ一覧(ﾓｼﾞｭｰﾙ)", "ステップ一覧(全て)"};
constexpr Captions<3> kControlCountOptions{"ｺﾝﾄﾛｰﾙ数一覧(ﾌｫｰﾑ)", "ｺﾝﾄﾛｰﾙ数一覧(ﾚﾎﾟｰﾄ)",
                                           "ｺﾝﾄﾛｰﾙ数一覧(全て)"};
constexpr Captions<3> kFileOptions{"同一ﾌｫﾙﾀﾞ(関連)", "ﾌｧｲﾙ一覧(ﾘﾝｸ元参照)", "同一ﾌｫﾙﾀﾞ(全て)"};

constexpr std::array<BatchStep, app::kBatchStepCount> kSteps{{
    {"chkObj",
     "オブジェクト一覧(全て)",
     "",
     {},
     kAllObjectKinds,
     "場所:オブジェクト情報(一括)",
     "データベース情報　取得中",
     CommandId::Object,
     std::nullopt,
     &OptionSettings::object,
     "OBJECT",
     ""},
    {"chkTbl", "テーブル情報", "optTbl", kTableOptions, 2, "場所:テーブル情報(一括)",
     "テーブル情報　取得中", CommandId::Table, Collector::Tables, &OptionSettings::table, "TABLE",
     "mtable"},
    {"chkQery", "クエリー情報", "optQery", kQueryOptions, 3, "場所:クエリー情報(一括)",
     "クエリー情報　取得中", CommandId::Query, Collector::Queries, &OptionSettings::query, "QUERY",
     "mquery"},
    {"chkForm", "フォーム情報", "optForm", kControlListOptions, 1, "場所:フォーム情報(一括)",
     "フォーム情報　取得中", CommandId::Form, Collector::Forms, &OptionSettings::form, "FORM",
     "mform"},
    {"chkRep", "レポート情報", "optRep", kControlListOptions, 1, "場所:レポート情報(一括)",
     "レポート情報　取得中", CommandId::Report, Collector::Reports, &OptionSettings::report,
     "REPORT", "mreport"},
    {"chkMac", "マクロ情報", "optMac", kMacroOptions, 2, "場所:マクロ情報(一括)",
     "マクロ情報　取得中", CommandId::Macro, Collector::Macros, &OptionSettings::macro, "MACRO",
     "mmacro"},
    {"chkProc", "プロシージャ情報", "optProc", kProcOptions, 2, "場所:プロシージャ情報(一括)",
     "プロシージャ情報　取得中", CommandId::Proc, Collector::ModuleListing, &OptionSettings::proc,
     "PROC", "mproc"},
    {"chkMod", "モジュール情報", "optMod", kModuleOptions, 3, "場所:モジュール情報(一括)",
     "モジュール情報　取得中", CommandId::Module, Collector::ModuleListing, &OptionSettings::module,
     "MODULE", "mmodule"},
    {"chkModStep", "モジュールステップ数", "optModStep", kModStepOptions, 4,
     "場所:モジュールステップ(一括)", "モジュールステップ　取得中", CommandId::ModStep,
     Collector::ModuleListing, &OptionSettings::modstep, "MODSTEP", "mmodstep"},
    {"chkControl", "コントロール数", "optControl", kControlCountOptions, 1,
     "場所:コントロール数(一括)", "コントロール数　取得中", CommandId::Control, std::nullopt,
     &OptionSettings::control, "CONTROL", "mcontrol"},
    {"chkFile", "ファイル一覧", "optFile", kFileOptions, 1, "場所:ファイル情報(一括)",
     "ファイル情報　取得中", CommandId::File, std::nullopt, &OptionSettings::file, "FILE", "mfile"},
    {"chkComent",
     "コメント一覧",
     "",
     {},
     0,
     "場所:コメント情報(一括)",
     "コメント情報　取得中",
     CommandId::Comment,
     std::nullopt,
     nullptr,
     "COMMENT",
     ""},
}};

// The collectors' own 0..100 % drawn inside the step's share of the batch's gauge. The batch
// holds the busy pointer for its whole run and opens no report.
class StepUi : public app::RunUi {
public:
    StepUi(app::RunUi& window, std::size_t done, std::size_t total)
        : window_(window), done_(static_cast<long>(done)), total_(static_cast<long>(total)) {}

    void showMessage(std::string_view text) override { window_.showMessage(text); }
    void showGauge(bool visible) override { window_.showGauge(visible); }
    void setProgress(std::int16_t percent) override {
        window_.setProgress(app::ProgressPercent(done_ * 100 + percent, total_ * 100));
    }
    void setBusy(bool) override {}
    app::MsgResult messageBox(std::string_view text, std::string_view title,
                              app::MsgButtons buttons, app::MsgIcon icon) override {
        return window_.messageBox(text, title, buttons, icon);
    }
    void showReport(std::string_view, int) override {}
    void startClearTimer(int) override {}

private:
    app::RunUi& window_;
    long done_;
    long total_;
};

bool HasNoObjects(const app::AppState& state, const BatchStep& step) {
    return step.noObjects && state.lastRun[*step.noObjects] == app::kNoObjects;
}

// Runs one step's command with the batch's mark on the state, which the collection frame reads.
// An error that escapes the command is reported here as the frame would have.
struct StepEnd {
    app::CommandEnd end = app::CommandEnd::Done;
    bool failed = false;
    std::string report;
};

StepEnd RunStep(app::CommandContext& context, app::Commands& commands, const BatchStep& step) {
    auto& running = context.state.batch.running;
    running.emplace();
    running->place = step.place;
    StepEnd result;
    try {
        result.end = commands.run(step.command, context);
        result.failed = running->failed;
        result.report = std::move(running->report);
    } catch (const std::exception& e) {
        const auto report = app::BuildErrorReport(step.place, host::err::kInvalidProcedureCall,
                                                  e.what(), app::WindowKind::Batch);
        context.ui.messageBox(report.text(), report.title, app::MsgButtons::Ok,
                              app::MsgIcon::Critical);
        result.failed = true;
    }
    running.reset();
    return result;
}

}  // namespace

std::span<const BatchStep> BatchSteps() { return kSteps; }

BatchPanel OpenBatch(app::BatchState& batch) {
    batch.flags.fill(0);
    for (std::size_t i = 0; i < kSteps.size(); ++i)
        batch.options[i] = kSteps[i].initialOption;
    batch.link = 2;
    batch.running.reset();
    return {};
}

void ClickStep(BatchPanel& panel, app::AppState& state, std::size_t step, bool ticked) {
    auto& batch = state.batch;
    panel.ticked[step] = ticked;
    batch.flags[step] = ticked ? 1 : 0;
    if (step == 0)
        batch.options[0] = ticked ? kAllObjectKinds : 0;
    if (HasNoObjects(state, kSteps[step]))
        batch.flags[step] = app::kNoObjects;
}

void ClickStepOption(app::BatchState& batch, std::size_t step, int index) {
    batch.options[step] = static_cast<std::int16_t>(index + 1);
}

void ShowPattern(BatchPanel& panel, app::AppState& state) {
    for (std::size_t i = 0; i < kSteps.size(); ++i) {
        if (state.batch.flags[i] == 1) {
            ClickStep(panel, state, i, true);
        } else {
            panel.ticked[i] = false;
            if (i == 0)
                state.batch.options[0] = 0;
        }
    }
}

bool WillRun(const app::BatchState& batch, std::size_t step) {
    return batch.flags[step] == 1 && (step != 0 || batch.options[0] == kAllObjectKinds);
}

BatchOutcome RunBatch(app::CommandContext& context, app::Commands& commands) {
    auto& state = context.state;
    auto& ui = context.ui;
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < kSteps.size(); ++i)
        if (WillRun(state.batch, i))
            chosen.push_back(i);

    BatchOutcome outcome;
    ui.setBusy(true);
    ui.showGauge(true);
    ui.setProgress(0);
    for (std::size_t k = 0; k < chosen.size(); ++k) {
        const auto& step = kSteps[chosen[k]];
        if (step.setting)
            state.options.*step.setting = state.batch.options[chosen[k]];
        if (step.command == CommandId::Table)
            state.options.link = state.batch.link;
        ui.showMessage(step.progress);
        StepUi stepUi(ui, k, chosen.size());
        app::CommandContext stepContext{state,          stepUi,         context.work,
                                        context.target, context.access, context.programFolder};
        auto end = RunStep(stepContext, commands, step);
        if (end.failed || end.end == app::CommandEnd::ExitRequested) {
            outcome.end = end.end;
            outcome.failed = true;
            ui.setBusy(false);
            return outcome;
        }
        outcome.ran.push_back(chosen[k]);
        if (!end.report.empty())
            outcome.reports.push_back(std::move(end.report));
        ui.setProgress(
            app::ProgressPercent(static_cast<long>(k + 1), static_cast<long>(chosen.size())));
    }
    ui.showMessage(collect::kFinished);
    ui.setProgress(100);
    ui.messageBox(kBatchFinished, app::kProductTitle, app::MsgButtons::Ok,
                  app::MsgIcon::Information);
    ui.setBusy(false);
    return outcome;
}

}  // namespace zanfor::batch
