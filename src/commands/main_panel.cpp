#include "commands/main_panel.h"

#include <algorithm>
#include <stdexcept>

namespace zanfor::app {

namespace {

using P = PreviewButton;
using S = OptionSettings;

constexpr std::string_view kObject[] = {"テーブル", "クエリー",   "フォーム", "レポート",
                                        "マクロ",   "モジュール", "全て",     "ページ"};
constexpr std::string_view kTable[] = {"インデックス一覧", "テーブル一覧(簡易)",
                                       "テーブル一覧(詳細)"};
constexpr std::string_view kTSelect[] = {"全てのテーブル", "選択したテーブル"};
constexpr std::string_view kQuery[] = {"ＳＱＬ一覧", "クエリー一覧(簡易)", "クエリー一覧(詳細)"};
constexpr std::string_view kQSelect[] = {"全てのクエリー", "選択したクエリー"};
constexpr std::string_view kControlList[] = {"ｺﾝﾄﾛｰﾙ一覧(簡易)", "ｺﾝﾄﾛｰﾙ一覧(詳細)"};
constexpr std::string_view kFSelect[] = {"全てのフォーム", "選択したフォーム"};
constexpr std::string_view kRSelect[] = {"全てのレポート", "選択したレポート"};
constexpr std::string_view kProc[] = {"ﾌﾟﾛｼｰｼﾞｬ一覧(簡易)", "ﾌﾟﾛｼｰｼﾞｬ一覧(詳細)"};
constexpr std::string_view kModuleKinds[] = {"フォーム", "レポート", "モジュール", "全て"};
constexpr std::string_view kMPrint[] = {"１列", "２列"};
constexpr std::string_view kMacro[] = {"マクロ一覧(簡易)", "マクロ一覧(詳細)"};
constexpr std::string_view kMcSelect[] = {"全てのマクロ", "選択したマクロ"};
constexpr std::string_view kControl[] = {"フォーム", "レポート", "フォーム＆レポート"};
constexpr std::string_view kFile[] = {"同一ﾌｫﾙﾀﾞ(関連)", "ﾘﾝｸ元参照", "同一ﾌｫﾙﾀﾞ(全て)"};

constexpr std::optional<Picker> kNoPicker;

constexpr OptionGroupInfo kGroups[] = {
    {OptionGroup::Object, "optObject", &S::object, kObject, P::OPre, kNoPicker},
    {OptionGroup::Table, "optTable", &S::table, kTable, P::TPre, kNoPicker},
    {OptionGroup::TSelect, "optTSelect", &S::tselect, kTSelect, P::TPre, Picker::Table},
    {OptionGroup::Query, "optQuery", &S::query, kQuery, P::QPre, kNoPicker},
    {OptionGroup::QSelect, "optQSelect", &S::qselect, kQSelect, P::QPre, Picker::Query},
    {OptionGroup::Form, "optForm", &S::form, kControlList, P::FPre, kNoPicker},
    {OptionGroup::FSelect, "optFSelect", &S::fselect, kFSelect, P::FPre, Picker::Form},
    {OptionGroup::Report, "optReport", &S::report, kControlList, P::RPre, kNoPicker},
    {OptionGroup::RSelect, "optRSelect", &S::rselect, kRSelect, P::RPre, Picker::Report},
    {OptionGroup::Proc, "optProc", &S::proc, kProc, P::PPre, kNoPicker},
    {OptionGroup::Module, "optModule", &S::module, kModuleKinds, P::MPre, kNoPicker},
    {OptionGroup::MPrint, "optMPrint", &S::mprint, kMPrint, std::nullopt, kNoPicker},
    {OptionGroup::ModStep, "optModStep", &S::modstep, kModuleKinds, P::MsPre, kNoPicker},
    {OptionGroup::Macro, "optMacro", &S::macro, kMacro, P::MCPre, kNoPicker},
    {OptionGroup::McSelect, "optMcSelect", &S::mcselect, kMcSelect, P::MCPre, Picker::Macro},
    {OptionGroup::Control, "optControl", &S::control, kControl, P::CPre, kNoPicker},
    {OptionGroup::File, "optFile", &S::file, kFile, P::FlPre, kNoPicker},
};

// chkLink keeps 2 for checked: its setting is the collector's option value, not a check value.
constexpr CheckBoxInfo kChecks[] = {
    {CheckBox::Link, "chkLink", "ﾘﾝｸﾃｰﾌﾞﾙ対象外", &S::link, 2, 1},
    {CheckBox::Proc50, "chkProc50", "五十音順", &S::proc50, 1, 0},
    {CheckBox::Mod50, "chkMod50", "五十音順", &S::mod50, 1, 0},
    {CheckBox::CapKbn, "chkCapKbn", "ﾃﾞｻﾞｲﾝﾋﾞｭｰ", &S::capKbn, 1, 0},
};

// Info() looks a group or box up by its enumerator.
template <typename Row, std::size_t N>
constexpr bool InEnumOrder(const Row (&rows)[N], auto Row::*key) {
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(rows[i].*key) != i)
            return false;
    }
    return true;
}
static_assert(InEnumOrder(kGroups, &OptionGroupInfo::group) &&
              std::size(kGroups) == kOptionGroupCount);
static_assert(InEnumOrder(kChecks, &CheckBoxInfo::box) && std::size(kChecks) == kCheckBoxCount);

constexpr std::string_view kPreviewNames[] = {"cmdOPre",  "cmdTPre", "cmdQPre",  "cmdFPre",
                                              "cmdRPre",  "cmdPPre", "cmdMPre",  "cmdMsPre",
                                              "cmdMCPre", "cmdCPre", "cmdFlPre", "cmdCmPre"};
constexpr std::string_view kPickerNames[] = {"cboTable", "cboQuery", "cboForm", "cboReport",
                                             "cboMacro"};

struct Hint {
    std::string_view control;
    std::string_view text;
};
constexpr Hint kHints[] = {
    {"cmdHyousi(1)", "表紙を印刷します。"},
    {"cmdHyousi(2)", "表紙を印刷します。"},
    {"cmdHyousi(3)", "表紙を印刷します。"},
    {"cmdObject", "オブジェクトの情報を印刷します。"},
    {"cmdTable", "テーブルの情報を印刷します。"},
    {"cmdQuery", "クエリーの情報を印刷します。"},
    {"cmdForm", "フォームの情報を印刷します。"},
    {"cmdReport", "レポートの情報を印刷します。"},
    {"cmdProc", "プロシージャの一覧を印刷します。"},
    {"cmdModule", "モジュールリストを印刷します。"},
    {"cmdModStep", "モジュールのステップ数を印刷します。"},
    {"cmdMacro", "マクロの一覧を印刷します。"},
    {"cmdControl", "コントロール数を印刷します。"},
    {"cmdFile", "ファイル一覧を印刷します。"},
    {"cmdFmImage", "フォームのイメージを印刷します。"},
    {"cmdComment", "コメント一覧を印刷します。"},
    {"lblDBName", ""},
    {"frmZanfor", ""},
};

}  // namespace

std::span<const OptionGroupInfo> OptionGroups() { return kGroups; }

const OptionGroupInfo& Info(OptionGroup group) { return kGroups[static_cast<std::size_t>(group)]; }

std::span<const CheckBoxInfo> CheckBoxes() { return kChecks; }

const CheckBoxInfo& Info(CheckBox box) { return kChecks[static_cast<std::size_t>(box)]; }

std::string_view PreviewButtonName(PreviewButton button) {
    return kPreviewNames[static_cast<std::size_t>(button)];
}

std::string_view PreviewButtonCaption(PreviewButton button) {
    // The code readers' buttons were written in half-width kana, the others in full width.
    switch (button) {
        case PreviewButton::PPre:
        case PreviewButton::MPre:
        case PreviewButton::MsPre:
        case PreviewButton::CmPre:
            return "ﾌﾟﾚﾋﾞｭｰ";
        default:
            return "プレビュー";
    }
}

std::string_view PickerName(Picker picker) {
    return kPickerNames[static_cast<std::size_t>(picker)];
}

void ResetPanel(PanelState& panel, AppState& state) {
    panel = PanelState{};
    state.previewEnabled.fill(false);
    state.options = OptionSettings{};
    for (const auto& group : kGroups)
        ClickOption(panel, state, group.group, ChosenIndex(state, group.group));
}

void ClickOption(PanelState& panel, AppState& state, OptionGroup group, int index) {
    const auto& info = Info(group);
    if (index < 0 || static_cast<std::size_t>(index) >= info.captions.size())
        throw std::out_of_range("option index");
    state.options.*info.setting = static_cast<std::int16_t>(index + 1);
    if (info.clears)
        state.enablePreview(*info.clears, false);
    if (info.selects)
        panel.pickers[static_cast<std::size_t>(*info.selects)] = index == 1;
    if (group == OptionGroup::TSelect) {
        panel.link = index == 0;
        if (index == 0)
            ClickCheck(state, CheckBox::Link, true);
    }
}

void ClickCheck(AppState& state, CheckBox box, bool checked) {
    const auto& info = Info(box);
    state.options.*info.setting = checked ? info.checkedValue : info.uncheckedValue;
}

bool IsChecked(const AppState& state, CheckBox box) {
    const auto& info = Info(box);
    return state.options.*info.setting == info.checkedValue;
}

int ChosenIndex(const AppState& state, OptionGroup group) {
    const auto& info = Info(group);
    const int last = static_cast<int>(info.captions.size()) - 1;
    return std::clamp(state.options.*info.setting - 1, 0, last);
}

bool MenuEnabled(const AppState& state, Menu menu) {
    const bool loaded = state.openMode == OpenMode::AnalysisFile;
    switch (menu) {
        case Menu::Open:
        case Menu::Load:
            return !loaded && !state.analysisSaved;
        case Menu::Save:
        case Menu::Batch:
        case Menu::Support:
        case Menu::Settings:
            return !loaded;
    }
    return false;
}

namespace {

// Where a collector's saved results show, in the order of app::Collector: its option group,
// whose preview button is the collector's.
constexpr OptionGroup kSavedGroups[] = {
    OptionGroup::Object, OptionGroup::Table,   OptionGroup::Query,  OptionGroup::Form,
    OptionGroup::Report, OptionGroup::Proc,    OptionGroup::Module, OptionGroup::ModStep,
    OptionGroup::Macro,  OptionGroup::Control, OptionGroup::File,
};
static_assert(std::size(kSavedGroups) == kCollectorCount);
constexpr OptionGroup kScopeGroups[] = {OptionGroup::TSelect, OptionGroup::QSelect,
                                        OptionGroup::FSelect, OptionGroup::RSelect,
                                        OptionGroup::McSelect};

bool InRange(OptionGroup group, std::int16_t value) {
    return value >= 1 && static_cast<std::size_t>(value) <= Info(group).captions.size();
}

}  // namespace

void ShowSavedFlags(PanelState& panel, AppState& state, const LastRunOptions& lastRun,
                    std::span<const std::int16_t, 5> scopes, std::int16_t proc50,
                    std::int16_t mod50) {
    panel.commands.reset();
    for (const auto id : {CommandId::Hyousi1, CommandId::Hyousi2, CommandId::Hyousi3})
        panel.enable(id);
    panel.pickers.fill(false);
    state.previewEnabled.fill(false);
    state.lastRun = lastRun;
    for (std::size_t i = 0; i < scopes.size(); ++i) {
        if (InRange(kScopeGroups[i], scopes[i]))
            state.options.*Info(kScopeGroups[i]).setting = scopes[i];
    }
    ClickCheck(state, CheckBox::Proc50, proc50 != 0);
    ClickCheck(state, CheckBox::Mod50, mod50 != 0);
    for (std::size_t i = 0; i < kCollectorCount; ++i) {
        const auto option = lastRun.values[i];
        // A value no option button has comes from a damaged or foreign file: no results shown.
        if (option == kNotCollected || option == kNoObjects || !InRange(kSavedGroups[i], option))
            continue;
        const auto& info = Info(kSavedGroups[i]);
        state.options.*info.setting = option;
        state.enablePreview(*info.clears);
    }
}

std::optional<std::string_view> HintFor(std::string_view controlName) {
    const auto* end = std::end(kHints);
    const auto* found = std::find_if(std::begin(kHints), end,
                                     [&](const Hint& h) { return h.control == controlName; });
    if (found == end)
        return std::nullopt;
    return found->text;
}

}  // namespace zanfor::app
