#include "collect/vocabulary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/control_types.h"

namespace zanfor::collect {
namespace {

template <typename Result>
struct Row {
    std::string_view key;
    Result result;
};

using TextRow = Row<std::string_view>;

// Every table is scanned front to back so that the first listed row wins, exactly as the
// reports were produced before; the tables are small enough that nothing faster is needed.
template <typename Result, std::size_t N, typename Equal>
const Result* Find(const std::array<Row<Result>, N>& table, std::string_view key, Equal equal) {
    for (const auto& row : table) {
        if (equal(row.key, key)) {
            return &row.result;
        }
    }
    return nullptr;
}

bool SameText(std::string_view a, std::string_view b) { return a == b; }

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Only ASCII letters are folded: the keys are ASCII, and folding bytes of multi-byte UTF-8
// sequences would corrupt them.
bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

template <std::size_t N>
std::string LookUp(const std::array<TextRow, N>& table, std::string_view key,
                   std::string_view fallback) {
    const std::string_view* found = Find(table, key, SameText);
    return std::string(found != nullptr ? *found : fallback);
}

constexpr auto kQueryTypes = std::to_array<TextRow>({
    {"0", "選択ｸｴﾘｰ"},          {"16", "ｸﾛｽ集計ｸｴﾘｰ"},    {"32", "削除ｸｴﾘｰ"},
    {"48", "更新ｸｴﾘｰ"},         {"64", "追加ｸｴﾘｰ"},       {"80", "作成ｸｴﾘｰ"},
    {"96", "定義ｸｴﾘｰ"},         {"112", "ﾊﾟｽｽﾙｰｸｴﾘｰ"},    {"128", "ﾕﾆｵﾝｸｴﾘｰ"},
    {"144", "ﾊﾟｽｽﾙｰ&更新ｸｴﾘｰ"}, {"240", "ｱｸｼｮﾝｸｴﾘｰ"},     {"160", "複合ｸｴﾘｰ"},
    {"224", "遂行ｸｴﾘｰ"},        {"8", "選択ｸｴﾘｰ(隠し)"},  {"24", "ｸﾛｽ集計ｸｴﾘｰ(隠し)"},
    {"40", "削除ｸｴﾘｰ(隠し)"},   {"56", "更新ｸｴﾘｰ(隠し)"}, {"72", "追加ｸｴﾘｰ(隠し)"},
    {"88", "作成ｸｴﾘｰ(隠し)"},
});

constexpr auto kFieldTypes = std::to_array<TextRow>({
    {"1", "Yes/No型"},
    {"2", "ﾊﾞｲﾄ型"},
    {"3", "整数型"},
    {"4", "長整数型"},
    {"5", "通貨型"},
    {"6", "単精度小数型"},
    {"7", "倍精度小数型"},
    {"8", "日付型"},
    {"10", "ﾃｷｽﾄ型"},
    {"11", "OLE型"},
    {"12", "ﾒﾓ型"},
    {"15", "ﾚﾌﾟﾘｹｰｼｮﾝ型"},
    {"20", "十進型"},
    // Access 2007 and later; a multi-value field is named by the type of its values.
    {"16", "大きい数値型"},
    {"26", "日付/時刻拡張型"},
    {"101", "添付ﾌｧｲﾙ型"},
    {"102", "ﾊﾞｲﾄ型(複数値)"},
    {"103", "整数型(複数値)"},
    {"104", "長整数型(複数値)"},
    {"105", "単精度小数型(複数値)"},
    {"106", "倍精度小数型(複数値)"},
    {"107", "ﾚﾌﾟﾘｹｰｼｮﾝ型(複数値)"},
    {"108", "十進型(複数値)"},
    {"109", "ﾃｷｽﾄ型(複数値)"},
});

constexpr auto kEventProperties = std::to_array<TextRow>({
    {"OnCurrent", "ﾚｺｰﾄﾞ移動時"},
    {"BeforeInsert", "挿入前処理"},
    {"AfterInsert", "挿入後処理"},
    {"BeforeUpdate", "更新前処理"},
    {"AfterUpdate", "更新後処理"},
    {"OnChange", "変更時"},
    {"OnNotInList", "ﾘｽﾄ外入力時"},
    {"OnEnter", "ﾌｫｰｶｽ取得時"},
    {"OnExit", "ﾌｫｰｶｽ喪失時"},
    {"OnGotFocus", "ﾌｫｰｶｽ取得後"},
    {"OnLostFocus", "ﾌｫｰｶｽ喪失後"},
    {"OnClick", "ｸﾘｯｸ時"},
    {"OnDblClick", "ﾀﾞﾌﾞﾙｸﾘｯｸ時"},
    {"OnMouseDown", "ﾏｳｽｸﾘｯｸ時"},
    {"OnMouseMove", "ﾏｳｽ移動時"},
    {"OnMouseUp", "ﾏｳｽ解放時"},
    {"OnKeyDown", "ｷｰｸﾘｯｸ時"},
    {"OnKeyUp", "ｷｰ解放時"},
    {"OnKeyPress", "ｷｰ入力時"},
    {"OnOpen", "開く時"},
    {"OnLoad", "読込時"},
    {"OnResize", "ｻｲｽﾞ変更時"},
    {"OnUnload", "読込解放時"},
    {"OnClose", "閉じる時"},
    {"OnActivate", "ｱｸﾃｨﾌﾞ時"},
    {"OnDeactivate", "非ｱｸﾃｨﾌﾞ時"},
    {"OnError", "ｴﾗｰ時"},
    {"OnFilter", "ﾌｨﾙﾀ設定時"},
    {"OnApplyFilter", "ﾌｨﾙﾀ実行時"},
    {"OnTimer", "ﾀｲﾏ時"},
    {"OnNoData", "空ﾃﾞｰﾀ時"},
    {"OnPage", "ﾍﾟｰｼﾞﾌｫｰﾏｯﾄ時"},
    {"OnPrint", "印刷時"},
    {"OnFormat", "ﾌｫｰﾏｯﾄ時"},
    {"OnRetreat", "戻り時"},
    {"OnDirty", "ﾀﾞｰﾃｨｰ時"},
    {"OnDelete", "ﾚｺｰﾄﾞ削除時"},
    {"BeforeDelConfirm", "削除前確認"},
    {"AfterDelConfirm", "削除後確認"},
});
static_assert(kEventProperties.size() == 39);

// The digits of the dashed and dotted styles are full-width, as the reports print them.
constexpr auto kLineStyles = std::to_array<TextRow>({
    {"0", "透明"},
    {"1", "実線"},
    {"2", "破線１"},
    {"3", "破線２"},
    {"4", "点線１"},
    {"5", "点線２"},
    {"6", "一点鎖線"},
    {"7", "二点鎖線"},
});

constexpr auto kImeModes = std::to_array<TextRow>({
    {"0", "ｺﾝﾄﾛｰﾙなし"},
    {"1", "オン"},
    {"2", "オフ"},
    {"3", "使用不可"},
    {"4", "ひらがな"},
    {"5", "全角ｶﾀｶﾅ"},
    {"6", "半角ｶﾀｶﾅ"},
    {"7", "全角英数"},
    {"8", "半角英数"},
});

constexpr auto kRowSourceTypes = std::to_array<TextRow>({
    {"Table/Query", "ﾃｰﾌﾞﾙ/ｸｴﾘｰ"},
    {"Value List", "値ﾘｽﾄ"},
    {"Field List", "ﾌｨｰﾙﾄﾞﾘｽﾄ"},
});

constexpr auto kOleTypes = std::to_array<TextRow>({
    {"0", "ﾘﾝｸ"},
    {"1", "埋め込み"},
    {"3", "なし"},
});

constexpr auto kSizeModes = std::to_array<TextRow>({
    {"0", "ｸﾘｯﾌﾟ"},
    {"1", "ｽﾄﾚｯﾁ"},
    {"3", "ｽﾞｰﾑ"},
});

constexpr auto kYesNo = std::to_array<TextRow>({
    {"True", "はい"},
    {"False", "いいえ"},
});

// "Echo " and "Quit " end in the blank that follows the bare method name, so longer names that
// start alike do not match; 98 is a placeholder the macro collector resolves further.
constexpr auto kMacroActions = std::to_array<Row<std::int16_t>>({
    {"RunSQ", 1},  {"Cance", 3},  {"Echo ", 4},  {"CopyO", 5},  {"Repai", 6},  {"Delet", 7},
    {"Selec", 8},  {"SendO", 9},  {"SaveO", 10}, {"OpenQ", 12}, {"RunCo", 13}, {"GoToC", 14},
    {"MoveS", 15}, {"ShowT", 16}, {"OpenT", 18}, {"Apply", 20}, {"OpenF", 21}, {"GoToP", 23},
    {"RunMa", 24}, {"SetWa", 26}, {"SetMe", 28}, {"OpenM", 30}, {"GoToR", 31}, {"FindR", 32},
    {"OpenR", 33}, {"Print", 35}, {"Resto", 37}, {"Hourg", 38}, {"Reque", 39}, {"Minim", 40},
    {"Maxim", 41}, {"FindN", 42}, {"Quit ", 43}, {"Outpu", 44}, {"ShowA", 46}, {"Close", 48},
    {"Renam", 49}, {"OpenS", 51}, {"OpenD", 98}, {"OpenV", 54},
});

// The keys keep their historic spellings (DERIM where Access writes DELIM), so the real
// delimited import and export constants pass through unlabelled, as they always have.
constexpr auto kAccessConstants = std::to_array<TextRow>({
    {"TRUE", "はい"},
    {"FALSE", "いいえ"},
    {"ACNORMAL", "標準"},
    {"ACADD", "追加"},
    {"ACEDIT", "編集"},
    {"ACSAVE", "すべて保存"},
    {"ACREADONLY", "読み取り専用"},
    {"ACVIEWDESIGN", "ﾃﾞｻﾞｲﾝﾋﾞｭｰ"},
    {"ACVIEWNORMAL", "ﾃﾞｰﾀｼｰﾄﾋﾞｭｰ"},
    {"ACVIEWPREVIEW", "印刷ﾌﾟﾚﾋﾞｭｰ"},
    {"ACPREVIEW", "印刷ﾌﾟﾚﾋﾞｭｰ"},
    {"ACDATAACCESSPAGEBROWSE", "ﾌﾞﾗｳｽﾞ"},
    {"ACTABLE", "ﾃｰﾌﾞﾙ"},
    {"ACQUERY", "ｸｴﾘｰ"},
    {"ACFORM", "ﾌｫｰﾑ"},
    {"ACREPORT", "ﾚﾎﾟｰﾄ"},
    {"ACMACRO", "ﾏｸﾛ"},
    {"ACMODULE", "ﾓｼﾞｭｰﾙ"},
    {"ACDATAACCESSPAGE", "ﾃﾞｰﾀｱｸｾｽｼｰﾄ"},
    {"ACSERVERVIEW", "ｻｰﾊﾞｰﾋﾞｭｰ"},
    {"ACDIAGRAM", "ﾀﾞｲｱｸﾞﾗﾑ"},
    {"ACSTOREDPROCEDURE", "ｽﾄｱﾄﾞﾌﾟﾛｼｰｼﾞｬ"},
    {"VBCRITICAL", "警告"},
    {"VBQUESTION", "注意?"},
    {"VBEXCLAMATION", "注意!"},
    {"VBINFORMATION", "情報"},
    {"ACTOOLBARNO", "しない"},
    {"ACIMPORT", "ｲﾝﾎﾟｰﾄ"},
    {"ACEXPORT", "ｴｸｽﾎﾟｰﾄ"},
    {"ACIMPORTDERIM", "区切り記号付きｲﾝﾎﾟｰﾄ"},
    {"ACEXPORTDERIM", "区切り記号付きｴｸｽﾎﾟｰﾄ"},
    {"ACMENUUNGRAY", "通常表示"},
    {"ACNEXT", "次のﾚｺｰﾄﾞ"},
    {"ACPREVIOUS", "前のﾚｺｰﾄﾞ"},
    {"ACLAST", "最後のﾚｺｰﾄﾞへ"},
    {"ACNEW", "新しいﾚｺｰﾄﾞ"},
    {"ACENTIRE", "ﾌｨｰﾙﾄﾞ全体"},
    {"ACCMDPREVIEWONEPAGE", "1ﾍﾟｰｼﾞ表示"},
    {"ACCMDPREVIEWTWOPAGES", "2ﾍﾟｰｼﾞ表示"},
    {"ACCMDPREVIEWFOURPAGES", "4ﾍﾟｰｼﾞ表示"},
    {"ACCMDPREVIEWEIGHTPAGES", "8ﾍﾟｰｼﾞ表示"},
    {"ACCMDPREVIEWTWELVEPAGES", "12ﾍﾟｰｼﾞ表示"},
    {"ACCMDZOOM10", "ｽﾞｰﾑ(10%)"},
    {"ACCMDZOOM25", "ｽﾞｰﾑ(25%)"},
    {"ACCMDZOOM50", "ｽﾞｰﾑ(50%)"},
    {"ACCMDZOOM75", "ｽﾞｰﾑ(75%)"},
    {"ACCMDZOOM100", "ｽﾞｰﾑ(100%)"},
    {"ACCMDZOOM150", "ｽﾞｰﾑ(150%)"},
    {"ACCMDZOOM200", "ｽﾞｰﾑ(200%)"},
    {"ACCMDZOOMBOX", "ｽﾞｰﾑﾎﾞｯｸｽ"},
    {"ACCMDPAGESETUP", "ﾍﾟｰｼﾞ設定"},
    {"ACCMDPRINT", "印刷"},
    {"ACCMDPRINTPREVIEW", "印刷ﾌﾟﾚﾋﾞｭｰ"},
    {"ACCMDDOCMAXIMIZE", "最大化"},
    {"ACCMDAPPMAXIMIZE", "最大化(ｱﾌﾟﾘｹｰｼｮﾝ)"},
    {"ACCMDDOCMINIMIZE", "最小化"},
    {"ACCMDAPPMINIMIZE", "最小化(ｱﾌﾟﾘｹｰｼｮﾝ)"},
    {"ACCMDDOCMOVE", "移動"},
    {"ACCMDAPPMOVE", "移動(ｱﾌﾟﾘｹｰｼｮﾝ)"},
    {"ACCMDDOCRESTORE", "元のｻｲｽﾞに戻す"},
    {"ACCMDAPPRESTORE", "元のｻｲｽﾞに戻す(ｱﾌﾟﾘｹｰｼｮﾝ)"},
    {"ACCMDAPPSIZE", "ｻｲｽﾞ変更(ｱﾌﾟﾘｹｰｼｮﾝ)"},
    {"ACCMDClOSE", "閉じる"},
    {"ACCMDClOSEWINDOW", "ｳｨﾝﾄﾞｳを閉じる"},
    {"ACCMDEXIT", "ｱﾌﾟﾘｹｰｼｮﾝの終了"},
    {"ACCMDEND", "終了"},
    {"ACCMDGOBACK", "戻る"},
    {"ACCMDUNDO", "元に戻す"},
    {"ACCMDSAVE", "上書き保存"},
    {"ACCMDCOPY", "ｺﾋﾟｰ"},
    {"ACCMDCUT", "切り取り"},
    {"ACCMDPASTE", "貼り付け"},
    {"ACCMDRECORDSGOTOPREVIOUS", "前のﾚｺｰﾄﾞへ"},
    {"ACCMDRECORDSGOTONEXT", "次のﾚｺｰﾄﾞへ"},
    {"ACCMDRECORDSGOTONEW", "新しいﾚｺｰﾄﾞへ"},
    {"ACCMDRECORDSGOTOFIRST", "先頭のﾚｺｰﾄﾞへ"},
    {"ACCMDRECORDSGOTOLAST", "最後のﾚｺｰﾄﾞへ"},
    {"ACCMDDELETERECORD", "ﾚｺｰﾄﾞの削除"},
    {"ACCMDSELECTRECORD", "ﾚｺｰﾄﾞの選択"},
    {"ACCMDSAVERECORD", "ﾚｺｰﾄﾞの保存"},
    {"ACCMDSIZETOGRID", "ｻｲｽﾞ変更 (ｸﾞﾘｯﾄﾞに)"},
    {"ACCMDSIZETOFITFORM", "ｻｲｽﾞ変更 (ﾌｫｰﾑに)"},
    {"ACCMDSIZETONARROWEST", "ｻｲｽﾞ変更 (狭いｺﾝﾄﾛｰﾙに)"},
    {"ACCMDSIZETOWIDEST", "ｻｲｽﾞ変更 (広いｺﾝﾄﾛｰﾙに)"},
    {"ACCMDALIGNTOTALLEST", "ｻｲｽﾞ変更 (高いｺﾝﾄﾛｰﾙに)"},
    {"ACCMDSIZETOFIT", "ｻｲｽﾞ変更 (自動調整)"},
    {"ACCMDALIGNTOSHORTEST", "ｻｲｽﾞ変更 (低いｺﾝﾄﾛｰﾙに)"},
    {"ACCMDAPPLYFILTERSORT", "ﾌｨﾙﾀ/並べ替えの実行"},
    {"ACCMDREMOVEFILTERSORT", "ﾌｨﾙﾀ/並べ替えの解除"},
    {"ACCMDADVANCEDFILTERSORT", "ﾌｨﾙﾀ/並べ替えの編集"},
    {"ACCMDTOGGLEFILTER", "ﾌｨﾙﾀの実行/解除"},
    {"ACCMDFILTERBYFORM", "ﾌｫｰﾑﾌｨﾙﾀ"},
    {"ACCMDCOMPACTDATABASE", "最適化"},
    {"ACCMDCONVERTDATABASE", "修復"},
    {"ACCMDFIND", "検索"},
    {"ACCMDREPLACE", "置換"},
    {"ACCMDOUTPUTTOEXCEL", "Excelに出力"},
    {"ACCMDWORDMAILMERGE", "Wordに差し込み"},
    {"ACCMDOPENURL", "URLを開く"},
    {"ACCMDAUTODIAL", "ｵｰﾄﾀﾞｲｱﾙ"},
    {"ACCMDAUTOCORRECT", "ｵｰﾄｺﾚｸﾄ"},
    {"ACCMDAUTOFORMAT", "ｵｰﾄﾌｫｰﾏｯﾄ"},
    {"ACCMDCREATESHORTCUT", "ｼｮｰﾄｶｯﾄの作成"},
    {"ACCMDOPENSTARTPAGE", "ｽﾀｰﾄﾍﾟｰｼﾞを開く"},
    {"ACCMDTABORDER", "ﾀﾌﾞｵｰﾀﾞｰ"},
    {"ACCMDVIEWTOOLBOX", "ﾂｰﾙﾎﾞｯｸｽの表示"},
    {"ACCMDFONT", "ﾌｫﾝﾄ"},
    {"ACCMDIMPORT", "ｲﾝﾎﾟｰﾄ"},
    {"ACCMDOBJBRWSHOWHIDDENMEMBERS", "ｵﾌﾞｼﾞｪｸﾄﾌﾞﾗｳｻﾞ隠しﾒﾝﾊﾞの表示"},
    {"ACCMDOPTIONS", "ｵﾌﾟｼｮﾝ"},
    {"ACCMDSTARTUPPROPERTIES", "起動時の設定"},
    {"ACCMDSEND", "送信"},
});
static_assert(kAccessConstants.size() == 112);

}  // namespace

std::string QueryTypeName(std::string_view code) { return LookUp(kQueryTypes, code, "System"); }

std::string ControlTypeName(std::string_view code) {
    for (const auto& type : host::kControlTypes) {
        if (std::to_string(type.code) == code)
            return std::string(type.name);
    }
    return "?";
}

std::string ControlTypeLabel(std::string_view name) {
    const host::ControlType* type = host::FindControlTypeNamed(name);
    return std::string(type != nullptr ? type->label : "?");
}

std::string FieldTypeName(std::string_view code) { return LookUp(kFieldTypes, code, "?"); }

std::string EventPropertyLabel(std::string_view name) {
    return LookUp(kEventProperties, name, "?");
}

std::string LineStyleName(std::string_view code) { return LookUp(kLineStyles, code, "?"); }

std::string ImeModeName(std::string_view code) { return LookUp(kImeModes, code, "?"); }

std::string RowSourceTypeName(std::string_view text) { return LookUp(kRowSourceTypes, text, "?"); }

std::string OleTypeName(std::string_view code) { return LookUp(kOleTypes, code, "?"); }

std::string SizeModeName(std::string_view code) { return LookUp(kSizeModes, code, "?"); }

std::string YesNoName(std::string_view text) { return LookUp(kYesNo, text, "?"); }

std::int16_t MacroActionNo(std::string_view prefix) {
    const std::int16_t* found = Find(kMacroActions, prefix, SameText);
    return found != nullptr ? *found : std::int16_t{99};
}

std::string AccessConstantLabel(std::string_view word) {
    const std::string_view* found = Find(kAccessConstants, word, SameTextIgnoringCase);
    return std::string(found != nullptr ? *found : word);
}

}  // namespace zanfor::collect
