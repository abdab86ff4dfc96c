#include "cli/usage.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <string>

namespace zanfor::cli {

namespace {

using Lines = std::span<const std::string_view>;

// Descriptions start in this column; a one-line synopsis shorter than it has its description
// beside it.
constexpr std::size_t kDescriptionColumn = 36;
constexpr std::string_view kProgramPrefix = "  zanfor-cli ";

constexpr std::string_view kInit[] = {"init [--workdb FILE]"};
constexpr std::string_view kInitText[] = {"作業用データベースを作成し、そのテーブルを一覧します"};
constexpr std::string_view kRun[] = {
    "run TARGET [--only objects,tables,...] [--option NAME=VALUE]...",
    "[--pick table=NAME] [--workdb FILE] [--out DIR] [--format pdf|html]", "[--no-reports]"};
constexpr std::string_view kRunText[] = {
    "解析ファイルを開き、処理を実行して帳票を書き出します (--no-reports: 作業用データベースだけ)"};
constexpr std::string_view kPattern[] = {
    "run TARGET --pattern FILE.apt [--option link=1|2] [--out DIR] ..."};
constexpr std::string_view kPatternText[] = {"解析パターン(.apt)の処理を一括で実行します"};
constexpr std::string_view kInspect[] = {
    "inspect TARGET [--json] [--source MODULE] [--design NAME]"};
constexpr std::string_view kInspectText[] = {"解析ファイルの中身を表示します"};
constexpr std::string_view kReport[] = {"report NAME [--workdb FILE] --out FILE.pdf|FILE.html"};
constexpr std::string_view kReportText[] = {"作業用データベースの帳票を書き出します"};
constexpr std::string_view kSave[] = {"save FILE.adb [--workdb FILE] [--force]"};
constexpr std::string_view kSaveText[] = {"直前の run の解析結果を解析ファイル(.adb)に保存します"};
constexpr std::string_view kSavedReport[] = {
    "report NAME --workdb FILE.adb --out FILE.pdf|FILE.html"};
constexpr std::string_view kSavedReportText[] = {"解析ファイルの帳票を読み取り専用で書き出します"};
constexpr std::string_view kCompare[] = {
    "compare OLD.adb TARGET [--out FILE.pdf|FILE.html] [--workdb FILE]"};
constexpr std::string_view kCompareText[] = {
    "解析ファイルと現在のデータベースのオブジェクトを比較します"};
constexpr std::string_view kExport[] = {
    "export KIND [--workdb FILE|FILE.adb] [--out FILE] [--target PATH] [--utf8]"};
constexpr std::string_view kExportText[] = {
    "解析結果を CSV (object table query form report macro)、",
    "テキスト (sql module)、Excel ブック (xlsx-object xlsx-table xlsx-query) に",
    "出力します (ブックは --out FILE.xlsx か、対象の .mdb の隣に)"};
constexpr std::string_view kCapture[] = {
    "capture TARGET FORM --out FILE.png|FILE.bmp [--design] [--window]"};
constexpr std::string_view kCaptureText[] = {
    "フォームの画像を書き出します (既定はフォームビューのクライアント領域)"};
constexpr std::string_view kDeps[] = {"deps TARGET [NAME] [--depth N] [--json|--dot]"};
constexpr std::string_view kDepsText[] = {
    "オブジェクトが使用しているものと使用されているものを表示します",
    "(NAME なし: 依存関係全体を JSON か DOT で)"};
constexpr std::string_view kUnused[] = {"unused TARGET [--json]"};
constexpr std::string_view kUnusedText[] = {
    "どこからも使用されていないオブジェクトとプロシージャを理由とともに表示します"};
constexpr std::string_view kDiff[] = {"diff OLD NEW [--json] [--html FILE]"};
constexpr std::string_view kDiffText[] = {
    "二つの版 (データベース、エクスポートフォルダー、解析ファイル) の違いを表示します"};
constexpr std::string_view kSite[] = {"site TARGET --out DIR [--no-pictures]"};
constexpr std::string_view kSiteText[] = {
    "オブジェクトごとのページと相互リンクを持つ説明サイト (HTML) を書き出します"};
constexpr std::string_view kHelp[] = {"--help"};
constexpr std::string_view kHelpText[] = {"この説明を表示します"};

constexpr UsageEntry kEntries[] = {
    {kInit, kInitText},
    {kRun, kRunText},
    {kPattern, kPatternText},
    {kInspect, kInspectText},
    {kReport, kReportText},
    {kSave, kSaveText},
    {kSavedReport, kSavedReportText},
    {kCompare, kCompareText},
    {kExport, kExportText},
    {kCapture, kCaptureText},
    {kDeps, kDepsText},
    {kUnused, kUnusedText},
    {kDiff, kDiffText},
    {kSite, kSiteText},
    {kHelp, kHelpText},
};

constexpr OptionHelp kOptions[] = {
    {"--workdb", "FILE",
     "作業用データベース (既定はプログラムフォルダーの Zanfor2.db)。report と export "
     "では解析ファイル (.adb) も指定でき、読み取り専用で開きます"},
    {"--only", "NAME,...", "run で実行する処理を名前で選びます (既定はすべて)"},
    {"--option", "NAME=VALUE",
     "メイン画面のオプションを短い名前で設定します (例: table=2、link=2)"},
    {"--pick", "KIND=NAME",
     "選択したオブジェクトの処理の対象を、オブジェクトの種類と名前で指定します"},
    {"--out", "DIR|FILE",
     "出力先。run と site ではフォルダー (run の既定は zanfor-out)、その他ではファイル"},
    {"--format", "pdf|html", "run が書き出す帳票の形式 (既定は pdf)"},
    {"--no-reports", "", "帳票を書き出さず、作業用データベースだけを作ります"},
    {"--pattern", "FILE.apt", "一括処理の解析パターンの処理を実行します"},
    {"--json", "", "JSON で出力します"},
    {"--source", "MODULE", "モジュールのコードを表示します"},
    {"--design", "[NAME]",
     "inspect: 保存されたフォーム、レポート、マクロをすべてのプロパティとともに表示します。"
     "capture: デザインビューを描きます"},
    {"--force", "", "既にある解析ファイルを置き換えます"},
    {"--target", "PATH", "Excel ブックを隣に書く対象 (既定は作業用データベースを収集した対象)"},
    {"--utf8", "", "CP932 ではなく BOM 付きの UTF-8 で書き出します"},
    {"--window", "", "枠とタイトルバーを含むウィンドウ全体を描きます"},
    {"--depth", "N", "表示する依存関係の段数 (既定は 1)"},
    {"--dot", "", "Graphviz の DOT で出力します"},
    {"--html", "FILE", "違いを HTML のページにも書き出します"},
    {"--no-pictures", "", "図を作らずにサイトを書き出します"},
    {"--help", "", "使い方を表示します"},
};

}  // namespace

std::span<const UsageEntry> UsageEntries() { return kEntries; }

std::span<const OptionHelp> OptionHelps() { return kOptions; }

std::string_view CommandOf(const UsageEntry& entry) {
    const auto first = entry.synopsis.front();
    return first.substr(0, first.find(' '));
}

void WriteUsage(std::ostream& out) {
    const std::string indent(kDescriptionColumn, ' ');
    out << "使い方:\n";
    for (const auto& entry : kEntries) {
        for (std::size_t i = 0; i < entry.synopsis.size(); ++i) {
            const std::string line =
                (i == 0 ? std::string(kProgramPrefix) : std::string(kProgramPrefix.size(), ' ')) +
                std::string(entry.synopsis[i]);
            out << line;
            if (i + 1 < entry.synopsis.size())
                out << "\n";
        }
        const auto last = kProgramPrefix.size() + entry.synopsis.back().size();
        auto text = entry.description.begin();
        if (entry.synopsis.size() == 1 && last < kDescriptionColumn)
            out << std::string(std::max<std::size_t>(kDescriptionColumn - last, 2), ' ') << *text++;
        out << "\n";
        for (; text != entry.description.end(); ++text)
            out << indent << *text << "\n";
    }
}

}  // namespace zanfor::cli
