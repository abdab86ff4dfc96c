#include "commands/commands.h"

#include "collect/object_inventory.h"
#include "collect/query_collector.h"
#include "collect/table_collector.h"
#include "vba/comment_listing.h"
#include "vba/module_listing.h"
#include "vba/procedure_listing.h"
#include "vba/step_counts.h"

namespace zanfor::app {

namespace {
constexpr std::array<std::string_view, kCommandCount> kButtonNames{
    "cmdObject",  "cmdTable",     "cmdQuery",     "cmdForm",      "cmdReport", "cmdProc",
    "cmdModule",  "cmdModStep",   "cmdMacro",     "cmdControl",   "cmdFile",   "cmdComment",
    "cmdFmImage", "cmdHyousi(1)", "cmdHyousi(2)", "cmdHyousi(3)",
};
constexpr std::array<std::string_view, kCommandCount> kCaptions{
    "オブジェクト一覧", "テーブル一覧",     "クエリー一覧",     "コントロール一覧",
    "コントロール一覧", "プロシージャ一覧", "モジュールリスト", "ステップ数一覧",
    "マクロ一覧",       "ｺﾝﾄﾛｰﾙ数一覧",     "ファイル一覧",     "コメント一覧",
    "画面イメージ",     "表　紙",           "ラベル(縦)",       "ラベル(横)",
};

std::size_t slot(CommandId id) { return static_cast<std::size_t>(id); }

// A collector runs in the frame of its collection, writing to the window through the context's
// RunUi; only an error of Access's unstable range reaches the window as the exit command.
template <collect::RunResult (*Run)(collect::RunContext&)>
CommandEnd RunCollector(CommandContext& c) {
    collect::RunContext ctx{c.state, c.work, c.target, c.ui, &c.access};
    return Run(ctx) == collect::RunResult::ShutdownRequested ? CommandEnd::ExitRequested
                                                             : CommandEnd::Done;
}
}  // namespace

std::string_view CommandButtonName(CommandId id) { return kButtonNames[slot(id)]; }

std::string_view CommandCaption(CommandId id) { return kCaptions[slot(id)]; }

std::array<CommandId, kCommandCount> AllCommands() {
    std::array<CommandId, kCommandCount> all{};
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<CommandId>(i);
    return all;
}

void CollectorCommands::add(CommandId id, Handler handler) {
    handlers_[slot(id)] = std::move(handler);
}

bool CollectorCommands::has(CommandId id) const { return static_cast<bool>(handlers_[slot(id)]); }

CommandEnd CollectorCommands::run(CommandId id, CommandContext& context) {
    const auto& handler = handlers_[slot(id)];
    return handler ? handler(context) : CommandEnd::Done;
}

void AddCollectors(CollectorCommands& commands) {
    commands.add(CommandId::Object, RunCollector<collect::RunObjectInventory>);
    commands.add(CommandId::Table, RunCollector<collect::RunTableCollection>);
    commands.add(CommandId::Query, RunCollector<collect::RunQueryCollection>);
    commands.add(CommandId::Proc, RunCollector<vba::RunProcedureListing>);
    commands.add(CommandId::Module, RunCollector<vba::RunModuleListing>);
    commands.add(CommandId::ModStep, RunCollector<vba::RunStepCounts>);
    commands.add(CommandId::Comment, RunCollector<vba::RunCommentListing>);
}

}  // namespace zanfor::app
