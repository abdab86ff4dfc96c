#include "target/object_pickers.h"

#include <string>

#include "collect/table_collector.h"
#include "collect/vocabulary.h"
#include "util/vb_string.h"

namespace zanfor::target {

namespace {

using app::Pickers;

struct PickerKind {
    std::string_view message;
    std::vector<std::string> Pickers::*list;
    long app::ObjectCounts::*count;
    app::Collector collector;
    std::vector<std::string Pickers::*> texts;  // the lists that show the names
};

constexpr std::string_view kTableMessage = "テーブル情報　取得中";
constexpr std::string_view kQueryMessage = "クエリー情報　取得中";
constexpr std::string_view kFormMessage = "フォーム名　取得中";
constexpr std::string_view kReportMessage = "レポート名　取得中";
constexpr std::string_view kMacroMessage = "マクロ名　取得中";

// Shows the message, walks the names (the walk adds those it keeps) and selects the first.
template <typename Walk>
void Fill(app::AppState& state, app::RunUi& ui, const PickerKind& kind, Walk walk) {
    ui.showMessage(kind.message);
    auto& list = state.pickers.*kind.list;
    list.clear();
    for (auto text : kind.texts)
        (state.pickers.*text).clear();
    walk(list);
    state.counts.*kind.count = static_cast<long>(list.size());
    if (list.empty()) {
        state.lastRun[kind.collector] = app::kNoObjects;
        return;
    }
    for (auto text : kind.texts)
        state.pickers.*text = list.front();
}

bool StartsWith(std::string_view name, std::string_view prefix) {
    return name.substr(0, prefix.size()) == prefix;
}

void FillDocuments(host::dao::Database& target, app::AppState& state, app::RunUi& ui,
                   const PickerKind& kind, std::string_view container) {
    Fill(state, ui, kind, [&](std::vector<std::string>& list) {
        for (const auto& document : target.documents(container))
            list.push_back(document.name);
    });
}

}  // namespace

void FillTablePicker(host::dao::Database& target, app::AppState& state, app::RunUi& ui) {
    const PickerKind kind{kTableMessage,
                          &Pickers::tables,
                          &app::ObjectCounts::tables,
                          app::Collector::Tables,
                          {&Pickers::tableText}};
    state.counts.linkedTables = 0;
    Fill(state, ui, kind, [&](std::vector<std::string>& list) {
        for (const auto& table : target.tableDefs()) {
            if (!table.connect.empty())
                ++state.counts.linkedTables;
            if (!collect::IsAccessOwnTable(table))
                list.push_back(table.name);
        }
    });
}

void FillQueryPicker(host::dao::Database& target, app::AppState& state, app::RunUi& ui) {
    const PickerKind kind{kQueryMessage,
                          &Pickers::queries,
                          &app::ObjectCounts::queries,
                          app::Collector::Queries,
                          {&Pickers::queryText}};
    Fill(state, ui, kind, [&](std::vector<std::string>& list) {
        for (const auto& query : target.queryDefs()) {
            if (collect::QueryTypeName(std::to_string(query.type)) == "System" ||
                StartsWith(query.name, "~sq_"))
                continue;
            list.push_back(query.name);
        }
    });
}

void FillFormPicker(host::dao::Database& target, app::AppState& state, app::RunUi& ui) {
    FillDocuments(target, state, ui,
                  {kFormMessage,
                   &Pickers::forms,
                   &app::ObjectCounts::forms,
                   app::Collector::Forms,
                   {&Pickers::formText, &Pickers::fmImageText}},
                  "Forms");
}

void FillReportPicker(host::dao::Database& target, app::AppState& state, app::RunUi& ui) {
    FillDocuments(target, state, ui,
                  {kReportMessage,
                   &Pickers::reports,
                   &app::ObjectCounts::reports,
                   app::Collector::Reports,
                   {&Pickers::reportText}},
                  "Reports");
}

void FillMacroPicker(host::dao::Database& target, app::AppState& state, app::RunUi& ui) {
    state.autoExec = false;
    FillDocuments(target, state, ui,
                  {kMacroMessage,
                   &Pickers::macros,
                   &app::ObjectCounts::macros,
                   app::Collector::Macros,
                   {&Pickers::macroText}},
                  "Scripts");
    for (const auto& name : state.pickers.macros) {
        if (util::UCase(name) == "AUTOEXEC")
            state.autoExec = true;
    }
}

void FillPickers(host::dao::Database& target, app::AppState& state, app::RunUi& ui,
                 const std::function<void(int)>& afterEach) {
    using Fn = void (*)(host::dao::Database&, app::AppState&, app::RunUi&);
    constexpr Fn kPickers[] = {FillTablePicker, FillQueryPicker, FillFormPicker, FillReportPicker,
                               FillMacroPicker};
    for (int i = 0; i < 5; ++i) {
        kPickers[i](target, state, ui);
        if (afterEach)
            afterEach(i);
    }
}

}  // namespace zanfor::target
