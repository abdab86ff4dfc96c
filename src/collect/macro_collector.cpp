#include "collect/macro_collector.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <utility>

#include "collect/macro_reader.h"
#include "core/error_report.h"
#include "util/vb_string.h"

namespace zanfor::collect {

namespace {

using util::LeftRTrim;

constexpr std::size_t kNameLength = 150;
constexpr std::int16_t kDetailed = 2;
constexpr int kConversionUnavailable = 2046;
constexpr int kModuleNotFound = 2516;
constexpr int kHiddenMacro = 2544;

// Errors that no other macro would escape: Access without its conversion, Access in trouble,
// a file Access cannot read macros from. Any other failure is the one macro's.
bool EndsTheRun(const host::Error& e) {
    return e.number() == kConversionUnavailable || e.number() == host::err::kOlderAccessVersion ||
           app::IsUnstableSystemError(e.number());
}

class MacroWalk {
public:
    MacroWalk(RunContext& ctx, bool detailed)
        : ctx_(ctx),
          detailed_(detailed),
          actions_(OpenEmptied(ctx, "T_AcMacro")),
          arguments_(OpenEmptied(ctx, "T_AcMacro2")),
          procedureNo_(ctx.state.procedureNo) {}

    // Makes the target the current database of Access again. An Access 97 file opens without
    // its Access project, and the conversion of its first macro finds no module to read.
    void attach() {
        try {
            AttachAccess(ctx_);
        } catch (const host::Error& e) {
            if (e.number() != host::err::kOlderAccessVersion)
                throw;
            older_ = e.description();
        }
    }

    host::dao::Database& database() { return older_ ? ctx_.target : ctx_.access->currentDb(); }

    void one(const std::string& name, long total) {
        const std::string objectName = LeftRTrim(name, kNameLength);
        ctx_.ui.showMessage("マクロ情報　取得中　(" + objectName + ")");
        ++objectNo_;
        if (older_) {
            throw host::Error(kModuleNotFound,
                              "モジュール '" + std::string(host::access::kConvertedMacroPrefix) +
                                  name + "' が見つかりません。(" + *older_ + ")");
        }
        std::vector<MacroStatement> statements;
        try {
            const auto module = ctx_.access->convertMacro(name);
            statements = ReadConvertedMacro(module.model(), name, detailed_, procedureNo_);
        } catch (const host::Error& e) {
            if (EndsTheRun(e))
                throw;
            unreadable(objectName, e);
        }
        for (const auto& s : statements)
            write(s, objectName);
        // The shared counter holds what the code readers can number on from.
        ctx_.state.procedureNo = static_cast<std::int16_t>(
            std::min<long>(procedureNo_, std::numeric_limits<std::int16_t>::max()));
        ShowProgress(ctx_, objectNo_, total);
    }

private:
    void write(const MacroStatement& s, const std::string& objectName) {
        std::int64_t hikiNo = 0;
        for (const auto& argument : s.arguments) {
            arguments_.addNew();
            arguments_.set("ProcedureNo", s.procedureNo)
                .set("LineNo", s.lineNo)
                .set("Hikisu", argument)
                .set("ActionNo", s.actionNo)
                .set("HikiNo", ++hikiNo);
            arguments_.update();
        }
        actions_.addNew();
        actions_.set("objectNo", objectNo_)
            .set("ProcedureNo", s.procedureNo)
            .set("ObjectName", objectName)
            .set("ActionNo", s.actionNo)
            .set("LineNo", s.lineNo)
            .set("ProcName", s.procName)
            .set("Procedure", s.procedure)
            .set("Tekiyou", s.comment)
            .set("AcWhere", s.condition)
            .set("Midasi", ctx_.state.options.macro);
        actions_.update();
    }

    // The macro keeps its number and one row saying why none of its actions are listed.
    void unreadable(const std::string& objectName, const host::Error& why) {
        NoteUnreadable(ctx_, objectName, why);
        actions_.addNew();
        // No action, procedure or line: a number left unset would read as 0.
        actions_.set("objectNo", objectNo_)
            .set("ProcedureNo", host::Value())
            .set("ObjectName", objectName)
            .set("ActionNo", host::Value())
            .set("LineNo", host::Value())
            .set("Procedure", UnreadableNote(why))
            .set("Midasi", ctx_.state.options.macro);
        actions_.update();
    }

    RunContext& ctx_;
    bool detailed_;
    workdb::RowWriter actions_;
    workdb::RowWriter arguments_;
    long procedureNo_;
    std::int64_t objectNo_ = 0;
    std::optional<std::string> older_;  // why the target has no Access project to convert in
};

// The actions a converted macro statement is recorded as, by the numbers the macro collector
// gives them; Access's Japanese names of the actions.
constexpr std::pair<int, std::string_view> kMacroActions[] = {
    {1, "SQLの実行"},
    {2, "アプリケーションの実行"},
    {3, "イベントの取り消し"},
    {4, "画面のエコー"},
    {5, "オブジェクトのコピー"},
    {6, "再描画"},
    {7, "オブジェクトの削除"},
    {8, "オブジェクトの選択"},
    {9, "オブジェクトの送信"},
    {10, "オブジェクトの保存"},
    {11, "キー送信"},
    {12, "クエリを開く"},
    {13, "コマンドの実行"},
    {14, "カーソル移動"},
    {15, "移動/サイズ変更"},
    {16, "ツールバーの表示"},
    {17, "データベース変換"},
    {18, "テーブルを開く"},
    {19, "テキスト変換"},
    {20, "フィルタの実行"},
    {21, "フォームを開く"},
    {22, "プロシージャの実行"},
    {23, "ページの移動"},
    {24, "マクロの実行"},
    {25, "マクロの中止"},
    {26, "メッセージの設定"},
    {27, "メッセージ"},
    {28, "メニュー項目の設定"},
    {30, "モジュールを開く"},
    {31, "レコードの移動"},
    {32, "レコードの検索"},
    {33, "レポートを開く"},
    {34, "ワークシート変換"},
    {35, "印刷"},
    {36, "警告音"},
    {37, "元のサイズに戻す"},
    {38, "砂時計ポインタ"},
    {39, "再クエリ"},
    {40, "最小化"},
    {41, "最大化"},
    {42, "次を検索"},
    {43, "終了"},
    {44, "出力"},
    {45, "条件の終わり"},
    {46, "全レコードの表示"},
    {47, "値の代入"},
    {48, "閉じる"},
    {49, "名前の変更"},
    {51, "ストアドプロシージャを開く"},
    {52, "ダイアグラムを開く"},
    {53, "データアクセスページを開く"},
    {54, "ビューを開く"},
};

}  // namespace

std::string MacroActionName(std::int64_t actionNo) {
    for (const auto& [number, name] : kMacroActions) {
        if (number == actionNo)
            return std::string(name);
    }
    return "アクション " + std::to_string(actionNo);
}

std::optional<std::vector<std::string>> MacroErrorLines(const host::Error& e) {
    switch (e.number()) {
        case kConversionUnavailable:
            return std::vector<std::string>{"マクロをVBAに変換する機能が組み込まれていません。",
                                            "インストールの追加で追加お願いします。"};
        case kModuleNotFound:
            return std::vector<std::string>{"Access2000以前のバージョンで作成した",
                                            "ファイルのため解析出来ません。",
                                            "Access2000で変換後、解析して下さい。"};
        case kHiddenMacro:
            return std::vector<std::string>{"隠しオブジェクトで指定されているマクロがあります。",
                                            "隠しオブジェクトを表示後、解析して下さい。"};
        default:
            return std::nullopt;
    }
}

RunResult RunMacroCollection(RunContext& ctx) {
    auto& state = ctx.state;
    const std::int16_t listing = state.options.macro;
    const bool selectedOnly = state.options.mcselect == 2;
    const CollectorRun run{.collector = app::Collector::Macros,
                           .option = listing,
                           .skip = selectedOnly &&
                                   listing == state.lastRun[app::Collector::Macros] &&
                                   state.pickers.macroText == state.remembered.macro,
                           .place = "場所:マクロ情報",
                           .report = "R_AcMacro",
                           .preview = app::PreviewButton::MCPre,
                           .specialLines = MacroErrorLines};
    return RunCollection(ctx, run, [&](RunContext& c) {
        if (!c.access)
            throw host::Error(host::err::kAccessClosed, "データベースが開かれていません。");
        MacroWalk walk(c, listing == kDetailed);
        walk.attach();
        if (selectedOnly) {
            walk.one(state.pickers.macroText, 1);
            state.remembered.macro = state.pickers.macroText;
        } else {
            // The gauge counts the documents walked, which are the macro picker's list.
            const auto& macros = walk.database().documents("Scripts");
            const long total = static_cast<long>(macros.size());
            for (const auto& document : macros)
                walk.one(document.name, total);
        }
        return Finish::Report;
    });
}

}  // namespace zanfor::collect
