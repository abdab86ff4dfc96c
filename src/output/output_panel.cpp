#include "output/output_panel.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "core/error_report.h"
#include "core/program_files.h"
#include "host/error.h"
#include "output/text_export.h"
#include "workdb/work_database.h"

namespace zanfor::output {

using app::Collector;

namespace {

constexpr OutputFrameInfo kFrames[] = {
    {OutputFrame::Csv, "framCSV", "CSV形式"},
    {OutputFrame::Text, "framTEXT", "テキスト形式"},
    {OutputFrame::Excel, "framExcel", "Excel形式"},
};

constexpr std::string_view kObjectTitles[] = {"分類", "ﾃｰﾌﾞﾙの種類", "オブジェクト名",
                                              "説明", "更新日",      "作成日"};
constexpr std::string_view kTableTitles[] = {"テーブル名", "フィールド名", "主キー",
                                             "属性",       "サイズ",       "説明"};
constexpr std::string_view kQueryTitles[] = {"クエリー名", "ｸｴﾘｰの種類", "フィールド名",
                                             "属性",       "サイズ",     "説明"};
constexpr std::string_view kFormTitles[] = {"フォーム名", "コントロール名", "ｺﾝﾄﾛｰﾙの種類",
                                            "分類",       "属性",           "属性値"};
constexpr std::string_view kReportTitles[] = {"レポート名", "コントロール名", "ｺﾝﾄﾛｰﾙの種類",
                                              "分類",       "属性",           "属性値"};
constexpr std::string_view kMacroTitles[] = {"オブジェクト名", "マクロ名", "条件式", "アクション",
                                             "説明"};

using K = OutputKind;
using F = OutputFrame;
using W = WorkbookKind;

// In the order of the window's frames.
constexpr OutputInfo kOutputs[] = {
    {K::ObjectCsv,
     F::Csv,
     "cmdOCSV",
     "オブジェクト情報",
     "object",
     Collector::Objects,
     "QE_AcObject",
     kObjectTitles,
     "場所:ＣＳＶ出力(オブジェクト)",
     {}},
    {K::TableCsv,
     F::Csv,
     "cmdTCSV",
     "テーブル情報",
     "table",
     Collector::Tables,
     "QE_AcTable",
     kTableTitles,
     "場所:ＣＳＶ出力(テーブル)",
     {}},
    {K::QueryCsv,
     F::Csv,
     "cmdQCSV",
     "クエリー情報",
     "query",
     Collector::Queries,
     "QE_AcQuery",
     kQueryTitles,
     "場所:ＣＳＶ出力(クエリー)",
     {}},
    {K::FormCsv,
     F::Csv,
     "cmdFCSV",
     "フォーム情報",
     "form",
     Collector::Forms,
     "QE_AcForm",
     kFormTitles,
     "場所:ＣＳＶ出力(フォーム)",
     {}},
    {K::ReportCsv,
     F::Csv,
     "cmdRCSV",
     "レポート情報",
     "report",
     Collector::Reports,
     "QE_AcReport",
     kReportTitles,
     "場所:ＣＳＶ出力(レポート)",
     {}},
    {K::MacroCsv,
     F::Csv,
     "cmdMCSV",
     "マクロ情報",
     "macro",
     Collector::Macros,
     "QE_AcMacro",
     kMacroTitles,
     "場所:ＣＳＶ出力(マクロ)",
     {}},
    {K::SqlText,
     F::Text,
     "cmdQText",
     "ＳＱＬ出力",
     "sql",
     Collector::Queries,
     "T_AcQeryInfo",
     {},
     "場所:テキスト出力(SQL)",
     {}},
    {K::ModuleText,
     F::Text,
     "cmdMText",
     "モジュール出力",
     "module",
     Collector::ModuleListing,
     "T_AcModule",
     {},
     "場所:テキスト出力(モジュール)",
     {}},
    {K::ObjectBook,
     F::Excel,
     "cmdExObj",
     "オブジェクト情報",
     "xlsx-object",
     Collector::Objects,
     "QE_AcObject",
     {},
     "場所:Excel出力(オブジェクト)",
     W::Object},
    {K::TableBook,
     F::Excel,
     "cmdExTbl",
     "テーブル情報",
     "xlsx-table",
     Collector::Tables,
     "QE_AcTable",
     {},
     "場所:Excel出力(テーブル)",
     W::Table},
    {K::QueryBook,
     F::Excel,
     "cmdExQry",
     "クエリー情報",
     "xlsx-query",
     Collector::Queries,
     "QE_AcQuery",
     {},
     "場所:Excel出力(クエリー)",
     W::Query},
};
static_assert(std::size(kOutputs) == kOutputCount);

struct FileDialogTexts {
    std::string_view title;
    std::string_view description;
    std::string_view pattern;
    std::string_view extension;
    std::string_view finished;
};

FileDialogTexts DialogTexts(OutputFrame frame) {
    if (frame == OutputFrame::Csv)
        return {"ＣＳＶファイルへ保存", "ＣＳＶファイル(*.CSV)", "*.csv", "csv", kCsvFinished};
    return {"テキストファイルへ保存", "テキストファイル(*.txt)", "*.txt", "txt", kTextFinished};
}

std::string CurrentDirectory() {
    std::error_code ec;
    const auto here = std::filesystem::current_path(ec);
    return ec ? std::string() : here.string();
}

// The pointer and the window come back however the click ends.
class Busy {
public:
    explicit Busy(app::RunUi& ui) : ui_(ui) { ui_.setBusy(true); }
    ~Busy() { ui_.setBusy(false); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    app::RunUi& ui_;
};

void ExportFile(const OutputInfo& info, OutputContext& c) {
    const auto texts = DialogTexts(info.frame);
    const auto chosen =
        c.dialogs.saveFileName({std::string(texts.title), std::string(texts.description),
                                std::string(texts.pattern), CurrentDirectory()});
    if (chosen.empty())
        return;
    const auto file = app::WithExtension(chosen, texts.extension);
    Busy busy(c.ui);
    const auto result = WriteExport(info.kind, c.work, file);
    c.ui.messageBox(texts.finished, app::kProductTitle, app::MsgButtons::Ok, app::MsgIcon::None);
    if (!result.lost.empty()) {
        c.ui.messageBox(LostTextWarning(result.lost), app::kProductTitle, app::MsgButtons::Ok,
                        app::MsgIcon::Warning);
    }
}

void ExportBook(const OutputInfo& info, OutputContext& c) {
    const auto target = c.targetPath.empty() ? CollectedTargetPath(c.work) : c.targetPath;
    if (target.empty()) {
        throw host::Error(
            host::err::kFileNotFound,
            "ブックの出力先が決まりません (解析したデータベースの記録がありません)。");
    }
    ExportWorkbook(*info.workbook, c.work, target, c.programFolder, c.ui, true, c.openDocument);
}

}  // namespace

std::span<const OutputFrameInfo> OutputFrames() { return kFrames; }

std::span<const OutputInfo> Outputs() { return kOutputs; }

const OutputInfo& Info(OutputKind kind) { return kOutputs[static_cast<std::size_t>(kind)]; }

const OutputInfo* FindOutput(std::string_view cliName) {
    const auto* end = std::end(kOutputs);
    const auto* found = std::find_if(std::begin(kOutputs), end,
                                     [&](const OutputInfo& o) { return o.cliName == cliName; });
    return found == end ? nullptr : found;
}

std::bitset<kOutputCount> EnabledOutputs(const app::LastRunOptions& lastRun) {
    std::bitset<kOutputCount> enabled;
    for (std::size_t i = 0; i < kOutputCount; ++i)
        enabled[i] = lastRun[kOutputs[i].collector] != app::kNotCollected;
    return enabled;
}

app::CommandEnd ClickOutput(OutputKind kind, OutputContext& context) {
    const auto& info = Info(kind);
    try {
        if (info.workbook) {
            ExportBook(info, context);
        } else {
            ExportFile(info, context);
        }
    } catch (const std::exception& e) {
        const auto report = app::BuildErrorReport(info.place, e, app::WindowKind::Output);
        context.ui.messageBox(report.text(), report.title, app::MsgButtons::Ok,
                              app::MsgIcon::Critical);
        return report.shutdown ? app::CommandEnd::ExitRequested : app::CommandEnd::Done;
    }
    return app::CommandEnd::Done;
}

std::string CollectedTargetPath(const workdb::WorkDatabase& work) {
    workdb::Query row(work, "SELECT DbName FROM T_DataBase ORDER BY rowid LIMIT 1");
    return row.next() ? row.value(0).toText() : std::string();
}

}  // namespace zanfor::output
