#include <QString>
#include <array>
#include <string>

#include "collect/report_collector.h"
#include "report/qt_text.h"
#include "report/report_definition.h"

namespace zanfor::report {

namespace {

using A = Align;
using F = Format;

constexpr std::string_view kByObject[] = {"objectNo"};
constexpr std::string_view kByClass[] = {"Class"};

// The shared pieces of SQL are put together by the preprocessor so that every query stays one
// literal, checked by SQLite as written. The kinds of objects as words, and in the order the
// inventory collects them:
#define ZANFOR_CLASS_NAME(column)                                                                      \
    "CASE " column                                                                                     \
    " WHEN 'Table' THEN 'テーブル' WHEN 'Query' THEN 'クエリー' WHEN 'Form' "                  \
    "THEN 'フォーム' WHEN 'Report' THEN 'レポート' WHEN 'Page' THEN 'ページ' WHEN 'Macro' " \
    "THEN 'マクロ' WHEN 'Module' THEN 'モジュール' ELSE " column " END"
#define ZANFOR_CLASS_ORDER(column)                                      \
    "CASE " column                                                      \
    " WHEN 'Table' THEN 1 WHEN 'Query' THEN 2 WHEN 'Form' THEN 3 WHEN " \
    "'Report' THEN 4 WHEN 'Page' THEN 5 WHEN 'Macro' THEN 6 WHEN 'Module' THEN 7 ELSE 8 END"
#define ZANFOR_CODE_KIND(column)                                                        \
    "CASE " column                                                                      \
    " WHEN 'Form' THEN 'フォーム' WHEN 'Report' THEN 'レポート' WHEN 'Module' " \
    "THEN 'モジュール' ELSE " column " END"

constexpr VariantTitle kObjectVariants[] = {
    {1, "（テーブル）"}, {2, "（クエリー）"},   {3, "（フォーム）"}, {4, "（レポート）"},
    {5, "（マクロ）"},   {6, "（モジュール）"}, {7, "（全て）"},     {8, "（ページ）"},
};

constexpr InfoItem kDatabaseInfo[] = {
    {.label = "データベース", .field = "DbName", .wide = true},
    {.label = "ファイルサイズ (KB)", .field = "FileSize", .format = F::Kilobytes},
    {.label = "バージョン", .field = "Version"},
    {.label = "Accessバージョン", .field = "AccessVersion"},
    {.label = "クエリタイムアウト", .field = "QueryTimeout", .format = F::Number},
    {.label = "更新可能", .field = "Updatable", .format = F::YesNo},
    {.label = "アプリケーションタイトル", .field = "Stitle"},
    {.label = "メニューバー", .field = "sMenuBar"},
    {.label = "起動時のフォーム", .field = "Sformdisp"},
    {.label = "全メニューの使用", .field = "Smenudisp", .format = F::YesNo},
    {.label = "データベースウィンドウ", .field = "Sdbdisp", .format = F::YesNo},
    {.label = "ステータスバーの表示", .field = "Sstatusbar", .format = F::YesNo},
    {.label = "ショートカットメニュー", .field = "Sallowshortcutbar", .format = F::YesNo},
    {.label = "組み込みツールバー", .field = "Stoolbar", .format = F::YesNo},
};

constexpr GroupDef kObjectGroups[] = {
    {.keys = kByClass, .heading = "{ClassName}", .headingNote = "{count} 件"},
};

// Every column but the description narrows to its text: the kind is empty except for queries
// and dates are short, so the description gets the room it would otherwise wrap in.
constexpr ColumnDef kObjectColumns[] = {
    {.caption = "No", .field = "objectNo", .width = 9, .align = A::Right, .fit = true},
    {.caption = "オブジェクト名", .field = "ObjectName", .width = 32, .fit = true},
    {.caption = "作成日時", .field = "DateCreate", .width = 31, .format = F::DateTime, .fit = true},
    {.caption = "更新日時", .field = "DateUpdate", .width = 31, .format = F::DateTime, .fit = true},
    {.caption = "種類", .field = "QueryType", .width = 18, .fit = true},
    {.caption = "説明", .field = "Description", .width = 44},
};

constexpr std::string_view kByIndex[] = {"IndexSeq"};

constexpr GroupDef kIndexGroups[] = {
    {.keys = kByObject,
     .heading = "{TableTitle}",
     .headingNote = "インデックス {groups}",
     .keepTogether = true},
    {.keys = kByIndex, .style = HeadingStyle::Rule, .keepTogether = true},
};

constexpr ColumnDef kIndexColumns[] = {
    {.caption = "インデックス名", .field = "IndexName", .width = 42},
    {.caption = "フィールド名", .field = "FieldName", .width = 50},
    {.caption = "主キー", .field = "Primary", .width = 13, .align = A::Center, .format = F::Mark},
    {.caption = "クラスタ",
     .field = "Clustered",
     .width = 13,
     .align = A::Center,
     .format = F::Mark},
    {.caption = "外部キー", .field = "Foreign", .width = 13, .align = A::Center, .format = F::Mark},
    {.caption = "重複なし", .field = "Unique", .width = 13, .align = A::Center, .format = F::Mark},
    {.caption = "Null無視",
     .field = "IgnoreNulls",
     .width = 13,
     .align = A::Center,
     .format = F::Mark},
    {.caption = "値要求", .field = "Required", .width = 13, .align = A::Center, .format = F::Mark},
};

constexpr VariantTitle kSimpleDetailed23[] = {{2, "（簡易）"}, {3, "（詳細）"}};

constexpr InfoItem kTableInfo[] = {
    {.label = "作成日時", .field = "DateCreated", .format = F::DateTime},
    {.label = "更新日時", .field = "LastUpdated", .format = F::DateTime},
    {.label = "レコード数", .field = "RecordCount", .format = F::Number},
    {.label = "更新可能", .field = "Updatable", .format = F::YesNo},
    {.label = "リンク", .field = "LinkTable", .skipEmpty = true},
    {.label = "リンク元テーブル", .field = "SourceTableName", .skipEmpty = true},
    {.label = "リンク先", .field = "Connect", .wide = true, .skipEmpty = true},
    {.label = "説明", .field = "TableDescription", .wide = true, .skipEmpty = true},
};

constexpr GroupDef kTableGroups[] = {
    {.keys = kByObject,
     .heading = "{TableName}",
     .headingNote = "フィールド数 {count}",
     .info = kTableInfo,
     .keepTogether = true},
};

constexpr ColumnDef kTableColumns[] = {
    {.caption = "No", .field = "FieldNo", .width = 8, .align = A::Right},
    {.caption = "フィールド名", .field = "FieldName", .width = 36},
    {.caption = "主キー",
     .field = "PrimaryKey",
     .width = 10,
     .align = A::Center,
     .format = F::Mark,
     .variants = Variant(3)},
    {.caption = "データ型", .field = "FieldType", .width = 22},
    {.caption = "サイズ",
     .field = "FieldSize",
     .width = 11,
     .align = A::Right,
     .format = F::Number},
    {.caption = "空文字列",
     .field = "ZeroLength",
     .width = 14,
     .align = A::Center,
     .format = F::Mark},
    {.caption = "既定値", .field = "DefaultValue", .width = 24},
    {.caption = "入力規則", .field = "ValRule", .width = 28},
    {.caption = "説明", .field = "Description", .width = 30, .variants = Variant(3)},
};

constexpr GroupDef kQuerySqlGroups[] = {
    {.keys = kByObject, .heading = "{QueryName}", .headingNote = "{QueryType}"},
};

constexpr ColumnDef kQuerySqlColumns[] = {
    {.caption = "SQL", .field = "QuerySQL", .width = 180, .code = true},
};

constexpr InfoItem kQueryInfo[] = {
    {.label = "作成日時", .field = "DateCreated", .format = F::DateTime},
    {.label = "更新日時", .field = "LastUpdated", .format = F::DateTime},
    {.label = "更新可能", .field = "Updatable", .format = F::YesNo},
    {.label = "ODBCタイムアウト", .field = "ODBCTimeout", .format = F::Number},
    {.label = "最大レコード数", .field = "MaxRecords", .format = F::Number},
    {.label = "処理件数", .field = "RecordsAffected", .format = F::Number},
    {.label = "接続文字列", .field = "Connect", .wide = true, .skipEmpty = true},
    {.label = "説明",
     .field = "Description",
     .wide = true,
     .skipEmpty = true,
     .variants = Variant(3)},
    {.label = "SQL",
     .field = "QuerySQL",
     .wide = true,
     .code = true,
     .skipEmpty = true,
     .variants = Variant(3)},
};

constexpr GroupDef kQueryGroups[] = {
    {.keys = kByObject,
     .heading = "{QueryName}",
     .headingNote = "{QueryType}",
     .info = kQueryInfo,
     .keepTogether = true},
};

constexpr ColumnDef kQueryColumns[] = {
    {.caption = "No", .field = "FieldNo", .width = 8, .align = A::Right},
    {.caption = "フィールド名", .field = "FieldName", .width = 36},
    {.caption = "データ型", .field = "FieldType", .width = 22},
    {.caption = "サイズ", .field = "FieldSize", .width = 11, .align = A::Right},
    {.caption = "ソーステーブル", .field = "SourceTable", .width = 32},
    {.caption = "ソースフィールド", .field = "SourceField", .width = 32},
    {.caption = "空文字列",
     .field = "ZeroLength",
     .width = 14,
     .align = A::Center,
     .format = F::Mark},
    {.caption = "既定値", .field = "DefaultValue", .width = 28},
};

constexpr VariantTitle kSimpleDetailed12[] = {{1, "（簡易）"}, {2, "（詳細）"}};

constexpr std::string_view kByControl[] = {"ControlNo"};

// Several event slots in one cell, one per line.
#define ZANFOR_EVENTS(t)                                                         \
    "rtrim(CASE WHEN " t ".Ibent1 <> '' THEN " t ".Ibent1 || ' : ' || " t        \
    ".IbentVL1 || char(10) ELSE '' END || CASE WHEN " t ".Ibent2 <> '' THEN " t  \
    ".Ibent2 || ' : ' || " t ".IbentVL2 || char(10) ELSE '' END || CASE WHEN " t \
    ".Ibent3 <> '' THEN " t ".Ibent3 || ' : ' || " t                             \
    ".IbentVL3 || char(10) ELSE '' END || "                                      \
    "CASE WHEN " t ".Ibent4 <> '' THEN " t ".Ibent4 || ' : ' || " t              \
    ".IbentVL4 ELSE '' END, char(10)) AS Events"

// A yes/no setting in words; a setting the design does not tell is Null.
#define ZANFOR_YES_NO(column)                                 \
    "CASE WHEN " column " IS NULL THEN '(不明)' WHEN " column \
    " THEN 'はい' ELSE "                                    \
    "'いいえ' END"
// A control's Visible as the collectors wrote it ("True", "False" or "(不明)") in words.
#define ZANFOR_VISIBLE(t)                                                               \
    "CASE " t ".cntlVisible WHEN 'True' THEN 'はい' WHEN 'False' THEN 'いいえ' ELSE " t \
    ".cntlVisible END AS VisibleText"

constexpr InfoItem kFormInfo[] = {
    {.label = "標題", .field = "Caption"},
    {.label = "既定のビュー", .field = "ViewName"},
    {.label = "作成日時", .field = "DateCreated", .format = F::DateTime},
    {.label = "更新日時", .field = "LastUpdated", .format = F::DateTime},
    {.field = "RecordSource", .wide = true},
    {.field = "Filter", .wide = true},
    {.field = "OrderBy", .wide = true},
    {.label = "編集の許可", .field = "AllowEditsText"},
    {.label = "削除の許可", .field = "AllowDeletionsText"},
    {.label = "追加の許可", .field = "AllowAdditionsText"},
    {.label = "データ入力用", .field = "DataEntryText"},
    {.label = "レコードセット", .field = "RecordsetName"},
    {.label = "レコードロック", .field = "LockName"},
    {.label = "ポップアップ", .field = "PopUpText"},
    {.label = "モーダル", .field = "ModalText"},
    {.label = "メニューバー", .field = "sMenuBar", .skipEmpty = true},
    {.label = "イベント", .field = "Events", .wide = true, .skipEmpty = true},
    {.label = "説明", .field = "FormDescription", .wide = true, .skipEmpty = true},
};

constexpr GroupDef kFormGroups[] = {
    {.keys = kByObject,
     .heading = "{Title}",
     .headingNote = "コントロール数 {groups}",
     .info = kFormInfo},
    {.keys = kByControl, .style = HeadingStyle::Rule, .keepTogether = true},
};

constexpr ColumnDef kControlColumns[] = {
    {.caption = "No", .field = "ControlNo", .width = 9, .align = A::Right, .hideDuplicates = true},
    {.caption = "コントロール名", .field = "Name", .width = 40, .hideDuplicates = true},
    {.caption = "種類", .field = "ControlType", .width = 26, .hideDuplicates = true},
    {.caption = "可視",
     .field = "VisibleText",
     .width = 11,
     .align = A::Center,
     .hideDuplicates = true},
    {.caption = "位置・サイズ (上・左・幅・高さ)",
     .field = "TLWH",
     .width = 46,
     .hideDuplicates = true},
    {.caption = "分類", .field = "Bunrui", .width = 14},
    {.caption = "プロパティ", .field = "PropertyName", .width = 34},
    {.caption = "設定値", .field = "PropertyValue", .width = 87},
};

constexpr InfoItem kReportInfo[] = {
    {.label = "標題", .field = "Caption"},
    {.label = "レコードロック", .field = "LockName"},
    {.label = "作成日時", .field = "DateCreated", .format = F::DateTime},
    {.label = "更新日時", .field = "LastUpdated", .format = F::DateTime},
    {.field = "RecordSource", .wide = true},
    {.field = "Filter", .wide = true},
    {.field = "OrderBy", .wide = true},
    {.label = "メニューバー", .field = "sMenuBar", .skipEmpty = true},
    {.label = "イベント", .field = "Events", .wide = true, .skipEmpty = true},
    {.label = "説明", .field = "ReportDescription", .wide = true, .skipEmpty = true},
};

constexpr ColumnDef kGroupLevelColumns[] = {
    {.caption = "No", .field = "GroupNo", .width = 8, .align = A::Right},
    {.caption = "フィールド / 式", .field = "ControlSource", .width = 70},
    {.caption = "並べ替え", .field = "SortName", .width = 16, .align = A::Center},
    {.caption = "ヘッダー",
     .field = "GroupHeader",
     .width = 16,
     .align = A::Center,
     .format = F::YesNo},
    {.caption = "フッター",
     .field = "GroupFooter",
     .width = 16,
     .align = A::Center,
     .format = F::YesNo},
    {.caption = "グループ化", .field = "GroupOnName", .width = 24},
    {.caption = "間隔",
     .field = "GroupInterval",
     .width = 12,
     .align = A::Right,
     .format = F::Number},
    {.caption = "同じページ", .field = "KeepName", .width = 24},
};

constexpr SubTableDef kGroupLevels[] = {
    {.caption = "並べ替え / グループ化",
     .sql = collect::kGroupLevelsSql,
     .key = "objectNo",
     .parentKey = "objectNo",
     .columns = kGroupLevelColumns},
};

constexpr GroupDef kReportGroups[] = {
    {.keys = kByObject,
     .heading = "{Title}",
     .headingNote = "コントロール数 {groups}",
     .info = kReportInfo,
     .headerTables = kGroupLevels},
    {.keys = kByControl, .style = HeadingStyle::Rule, .keepTogether = true},
};

constexpr std::string_view kByMacro[] = {"ProcedureNo"};

constexpr GroupDef kMacroGroups[] = {
    {.keys = kByObject, .heading = "{ObjectName}", .headingNote = "アクション数 {count}"},
    {.keys = kByMacro,
     .style = HeadingStyle::Inline,
     .heading = "{MacroTitle}",
     .keepTogether = true},
};

constexpr ColumnDef kMacroColumns[] = {
    {.caption = "行", .field = "LineNo", .width = 10, .align = A::Right},
    {.caption = "アクション", .field = "ActionNo", .width = 34, .format = F::MacroAction},
    {.caption = "条件", .field = "AcWhere", .width = 44},
    {.caption = "コメント", .field = "Tekiyou", .width = 44},
    {.caption = "引数", .field = "Arguments", .width = 56, .variants = Variant(2)},
    {.caption = "ステートメント", .field = "Procedure", .width = 79, .code = true},
};

constexpr ColumnDef Count(std::string_view caption, std::string_view field) {
    return {.caption = caption,
            .field = field,
            .width = 10.5,
            .align = A::Right,
            .format = F::BlankZero};
}

constexpr ColumnDef kControlCountColumns[] = {
    {.caption = "No", .field = "objectNo", .width = 8, .align = A::Right},
    {.caption = "名前", .field = "ObjectName", .width = 42},
    Count("四角形", "RectangleCount"),
    Count("ﾗﾍﾞﾙ", "LabelCount"),
    Count("線", "LineCount"),
    Count("ｲﾒｰｼﾞ", "ImageCount"),
    Count("ｺﾏﾝﾄﾞﾎﾞﾀﾝ", "CommandButtonCount"),
    Count("ｵﾌﾟｼｮﾝﾎﾞﾀﾝ", "OptionButtonCount"),
    Count("ﾁｪｯｸﾎﾞｯｸｽ", "CheckBoxCount"),
    Count("ｵﾌﾟｼｮﾝｸﾞﾙｰﾌﾟ", "OptionGroupCount"),
    Count("連結ｵﾌﾞｼﾞｪｸﾄﾌﾚｰﾑ", "BoundObjectFrameCount"),
    Count("ﾃｷｽﾄﾎﾞｯｸｽ", "TextBoxCount"),
    Count("ﾘｽﾄﾎﾞｯｸｽ", "ListBoxCount"),
    Count("ｺﾝﾎﾞﾎﾞｯｸｽ", "ComboBoxCount"),
    Count("ｻﾌﾞﾌｫｰﾑ/ｻﾌﾞﾚﾎﾟｰﾄ", "SubformCount"),
    Count("非連結ｵﾌﾞｼﾞｪｸﾄﾌﾚｰﾑ", "ObjectFrameCount"),
    Count("改ﾍﾟｰｼﾞ", "PageBreakCount"),
    Count("ﾍﾟｰｼﾞ", "PageCount"),
    Count("ｶｽﾀﾑｺﾝﾄﾛｰﾙ", "CustomControlCount"),
    Count("ﾄｸﾞﾙﾎﾞﾀﾝ", "ToggleButtonCount"),
    Count("ﾀﾌﾞｺﾝﾄﾛｰﾙ", "TabCtlCount"),
    {.caption = "合計", .field = "TotalCount", .width = 12, .align = A::Right, .format = F::Number},
};

constexpr std::string_view kControlCountSums[] = {
    "RectangleCount",        "LabelCount",        "LineCount",      "ImageCount",
    "CommandButtonCount",    "OptionButtonCount", "CheckBoxCount",  "OptionGroupCount",
    "BoundObjectFrameCount", "TextBoxCount",      "ListBoxCount",   "ComboBoxCount",
    "SubformCount",          "ObjectFrameCount",  "PageBreakCount", "PageCount",
    "CustomControlCount",    "ToggleButtonCount", "TabCtlCount",    "TotalCount",
};

constexpr GroupDef kControlCountGroups[] = {
    {.keys = kByClass,
     .heading = "{ClassName}",
     .headingNote = "{count} 件",
     .footer = "小計",
     .sums = kControlCountSums},
};

constexpr ColumnDef kFileColumns[] = {
    {.caption = "No", .field = "FileNo", .width = 9, .align = A::Right},
    {.caption = "ファイル名", .field = "FileName", .width = 46},
    {.caption = "サイズ (KB)",
     .field = "FileSize",
     .width = 22,
     .align = A::Right,
     .format = F::Kilobytes},
    {.caption = "更新日時", .field = "UpdateDate", .width = 31, .format = F::DateTime},
    {.caption = "読取専用",
     .field = "ReadOnly",
     .width = 15,
     .align = A::Center,
     .format = F::Mark},
    {.caption = "フォルダ", .field = "FilePath", .width = 57},
};

constexpr std::string_view kFileSums[] = {"FileSize"};

constexpr std::string_view kByProcedure[] = {"ProcedureNo"};

constexpr GroupDef kModuleGroups[] = {
    {.keys = kByObject, .heading = "{ObjectName}", .headingNote = "{Kind}　{count} 行"},
    {.keys = kByProcedure, .style = HeadingStyle::Inline, .heading = "{ProcTitle}"},
};

constexpr ColumnDef kModuleColumns[] = {
    {.caption = "行", .field = "Line", .width = 12, .align = A::Right, .lineNumber = true},
    {.caption = "コード", .field = "Procedure", .width = 168, .code = true},
};

// The cover sheet and both labels print the one row of header texts.
constexpr char kCoverSql[] =
    "SELECT SysTitle, SysName, Company, Bumon, Auther, CreateDate FROM T_AcHyousi "
    "ORDER BY rowid LIMIT 1";

constexpr char kModuleSql[] = R"sql(
SELECT Label, objectNo, ProcedureNo, ObjectName, Line, ProcedureName, Procedure,
  CASE Label WHEN '1' THEN 'フォーム' WHEN '2' THEN 'レポート' WHEN '3' THEN 'モジュール'
    ELSE Label END AS Kind,
  CASE WHEN ProcedureName IS NULL OR ProcedureName = '' THEN '(宣言セクション)'
    ELSE ProcedureName END AS ProcTitle
FROM T_AcModule ORDER BY objectNo, Line, rowid)sql";

constexpr char kProcNameSql[] = R"sql(
WITH statements AS (
  SELECT objectNo, ProcedureNo,
    group_concat('[' || COALESCE(Bunrui, '') || '] ' || COALESCE("Type", '') || ' '
      || COALESCE(Parameters, '') || CASE WHEN "As" IS NOT NULL THEN '  ''' || "As" ELSE '' END,
      char(10)) AS Statements
  FROM (SELECT * FROM T_AcDimCall ORDER BY objectNo, ProcedureNo, pLine, rowid)
  GROUP BY objectNo, ProcedureNo),
procedures AS (
  SELECT p.*, p.rowid AS rid,
    ROW_NUMBER() OVER (PARTITION BY p.objectNo, p.ProcedureNo ORDER BY p.pLine, p.rowid) AS nth
  FROM T_AcProcName p)
SELECT p."Object", p.ObjectName, p.ProcedureName, p."Type", p.Parameters, p."As", p.Line,
  p.objectNo, p.ProcedureNo, p.pLine, p.Midasi,
  CASE WHEN p."Object" LIKE '%(Api)' THEN 'Declare ' || COALESCE(p."Type", '')
    ELSE COALESCE(p."Type", '') END AS Kind,
  CASE WHEN p."Object" LIKE '%(Api)' THEN substr(p."Object", 1, length(p."Object") - 5)
    ELSE p."Object" END AS ObjectKind,
  CASE WHEN p.PrivatePublic THEN 'Private' ELSE 'Public' END AS Scope,
  CASE WHEN p.nth = 1 THEN s.Statements END AS Statements
FROM procedures p
LEFT JOIN statements s ON s.objectNo = p.objectNo AND s.ProcedureNo = p.ProcedureNo
ORDER BY p.objectNo, p.pLine, p.rid)sql";

constexpr GroupDef kProcNameGroups[] = {
    {.keys = kByObject,
     .heading = "{ObjectName}",
     .headingNote = "{ObjectKind}",
     .footer = "プロシージャ数 {count}",
     .keepTogether = false},
};

constexpr ColumnDef kProcNameColumns[] = {
    {.caption = "種類", .field = "Kind", .width = 30},
    {.caption = "プロシージャ名", .field = "ProcedureName", .width = 56},
    {.caption = "公開範囲", .field = "Scope", .width = 16},
    {.caption = "引数", .field = "Parameters", .width = 90, .code = true},
    {.caption = "戻り値の型", .field = "As", .width = 35, .code = true},
    {.caption = "行数", .field = "Line", .width = 14, .align = A::Right, .format = F::Number},
    {.caption = "位置", .field = "pLine", .width = 14, .align = A::Right, .format = F::Number},
};

constexpr ColumnDef kProcName50Columns[] = {
    {.caption = "プロシージャ名", .field = "ProcedureName", .width = 50},
    {.caption = "種類", .field = "Kind", .width = 28},
    {.caption = "公開範囲", .field = "Scope", .width = 15},
    {.caption = "オブジェクト", .field = "ObjectName", .width = 42},
    {.caption = "引数", .field = "Parameters", .width = 74, .code = true},
    {.caption = "戻り値の型", .field = "As", .width = 30, .code = true},
    {.caption = "行数", .field = "Line", .width = 13, .align = A::Right, .format = F::Number},
    {.caption = "位置", .field = "pLine", .width = 13, .align = A::Right, .format = F::Number},
};

constexpr std::string_view kStepSums[] = {"ComentCnt", "SpaceCnt", "ProcCnt", "TotalCnt"};

constexpr GroupDef kStepGroups[] = {
    {.keys = kByObject,
     .heading = "{ObjectName}",
     .headingNote = "{Kind}",
     .footer = "小計",
     .sums = kStepSums,
     .keepTogether = true},
};

constexpr ColumnDef kStepColumns[] = {
    {.caption = "No", .field = "ProcedureNo", .width = 10, .align = A::Right},
    {.caption = "プロシージャ名", .field = "ProcedureName", .width = 66},
    {.caption = "コメント行",
     .field = "ComentCnt",
     .width = 20,
     .align = A::Right,
     .format = F::Number},
    {.caption = "空白行", .field = "SpaceCnt", .width = 20, .align = A::Right, .format = F::Number},
    {.caption = "実行行", .field = "ProcCnt", .width = 20, .align = A::Right, .format = F::Number},
    {.caption = "合計行", .field = "TotalCnt", .width = 20, .align = A::Right, .format = F::Number},
    {.caption = "コメント率 (%)",
     .field = "CommentRate",
     .width = 24,
     .align = A::Right,
     .format = F::Decimal1},
};

constexpr ColumnDef kStepSummaryColumns[] = {
    {.caption = "種類", .field = "Kind", .width = 30},
    {.caption = "オブジェクト数",
     .field = "Objects",
     .width = 25,
     .align = A::Right,
     .format = F::Number},
    {.caption = "プロシージャ数",
     .field = "Sections",
     .width = 25,
     .align = A::Right,
     .format = F::Number},
    {.caption = "コメント行",
     .field = "ComentCnt",
     .width = 25,
     .align = A::Right,
     .format = F::Number},
    {.caption = "空白行", .field = "SpaceCnt", .width = 25, .align = A::Right, .format = F::Number},
    {.caption = "実行行", .field = "ProcCnt", .width = 25, .align = A::Right, .format = F::Number},
    {.caption = "合計行", .field = "TotalCnt", .width = 25, .align = A::Right, .format = F::Number},
};

constexpr SubTableDef kStepSummary[] = {
    {.caption = "種類別の集計",
     .sql = "SELECT " ZANFOR_CODE_KIND("\"Object\"") R"sql( AS Kind,
  COUNT(DISTINCT objectNo) AS Objects, COUNT(*) AS Sections, SUM(ComentCnt) AS ComentCnt,
  SUM(SpaceCnt) AS SpaceCnt, SUM(ProcCnt) AS ProcCnt, SUM(TotalCnt) AS TotalCnt
FROM T_AcProcCount GROUP BY "Object" ORDER BY MIN(ProcedureNo))sql",
     .columns = kStepSummaryColumns},
};

constexpr GroupDef kCommentGroups[] = {
    {.keys = kByObject, .heading = "{ObjectName}", .headingNote = "{Kind}　{count} 件"},
    {.keys = kByProcedure,
     .style = HeadingStyle::Inline,
     .heading = "{ProcedureName}",
     .keepTogether = true},
};

constexpr ColumnDef kCommentColumns[] = {
    {.caption = "コメント", .field = "Comment", .width = 180, .code = true},
};

constexpr GroupDef kHensuGroups[] = {
    {.keys = kByObject, .heading = "{ObjectName}", .headingNote = "{count} 件"},
};

constexpr ColumnDef kVariableColumns[] = {
    {.caption = "No", .field = "Line", .width = 10, .align = A::Right},
    {.caption = "プロシージャ", .field = "ProcedureName", .width = 36, .hideDuplicates = true},
    {.caption = "変数名", .field = "HensuName", .width = 38},
    {.caption = "スコープ", .field = "Property", .width = 16},
    {.caption = "分類", .field = "Bunrui", .width = 12},
    {.caption = "型", .field = "TypeText", .width = 30, .code = true},
    {.caption = "説明", .field = "Description", .width = 38},
};

constexpr ColumnDef kConstantColumns[] = {
    {.caption = "No", .field = "Line", .width = 10, .align = A::Right},
    {.caption = "プロシージャ", .field = "ProcedureName", .width = 34, .hideDuplicates = true},
    {.caption = "定数名", .field = "HensuName", .width = 40},
    {.caption = "スコープ", .field = "Property", .width = 16},
    {.caption = "値", .field = "TypeText", .width = 42, .code = true},
    {.caption = "説明", .field = "Description", .width = 38},
};

constexpr std::string_view kByType[] = {"TypeSeq"};

constexpr GroupDef kTypeGroups[] = {
    {.keys = kByObject, .heading = "{ObjectName}"},
    {.keys = kByType,
     .style = HeadingStyle::Inline,
     .heading = "Type {TypeName}",
     .headingNote = "{TypeScope}　{TypeNote}",
     .keepTogether = true},
};

constexpr ColumnDef kTypeColumns[] = {
    {.caption = "No", .field = "Line", .width = 10, .align = A::Right},
    {.caption = "メンバー名", .field = "HensuName", .width = 56},
    {.caption = "型", .field = "MemberType", .width = 44, .code = true},
    {.caption = "説明", .field = "Description", .width = 70},
};

constexpr std::string_view kByCallee[] = {"MotoName", "LinkProcedure"};

constexpr GroupDef kLinkProcGroups[] = {
    {.keys = kByCallee,
     .heading = "{LinkProcedure}",
     .headingNote = "{MotoName}　{count} 箇所",
     .keepTogether = true},
};

constexpr ColumnDef kLinkProcColumns[] = {
    {.caption = "種類", .field = "Kind", .width = 24},
    {.caption = "オブジェクト名", .field = "ObjectName", .width = 70, .hideDuplicates = true},
    {.caption = "呼出元プロシージャ", .field = "Caller", .width = 86},
};

constexpr std::string_view kByKind[] = {"Bunrui"};

constexpr InfoItem kLinkTableInfo[] = {
    {.label = "検索したテーブル", .field = "MotoName", .wide = true},
};

constexpr GroupDef kLinkTableGroups[] = {
    {.keys = kByKind, .heading = "{Bunrui}", .headingNote = "{count} 件"},
};

constexpr ColumnDef kLinkTableColumns[] = {
    {.caption = "No", .field = "objectNo", .width = 10, .align = A::Right},
    {.caption = "オブジェクト名", .field = "ObjectName", .width = 62, .hideDuplicates = true},
    {.caption = "コントロール名 / 種類", .field = "ControlName", .width = 60},
    {.caption = "プロパティ", .field = "PropertyName", .width = 48},
};

constexpr VariantTitle kLinkObjectVariants[] = {{1, "（フォーム）"}, {2, "（レポート）"}};

constexpr ColumnDef kModuleReferenceColumns[] = {
    {.caption = "呼出元プロシージャ", .field = "Caller", .width = 60},
    {.caption = "参照プロシージャ", .field = "LinkProcedure", .width = 60},
    {.caption = "モジュール", .field = "MotoName", .width = 60},
};

constexpr SubTableDef kModuleReferences[] = {
    {.caption = "モジュール内のプロシージャ参照",
     .sql = R"sql(
SELECT objectNo, LinkProcedure, MotoName,
  CASE WHEN Procedure IS NULL OR Procedure = '' THEN '(宣言セクション)' ELSE Procedure END
    AS Caller
FROM T_AcLinkModule WHERE Bunrui = 'ﾓｼﾞｭｰﾙ' ORDER BY objectNo, ProcedureNo, rowid)sql",
     .key = "objectNo",
     .parentKey = "objectNo",
     .columns = kModuleReferenceColumns},
};

constexpr GroupDef kLinkObjectGroups[] = {
    {.keys = kByObject,
     .heading = "{ObjectName}",
     .headingNote = "{count} 件",
     .footerTables = kModuleReferences},
};

constexpr ColumnDef kLinkObjectColumns[] = {
    {.caption = "分類", .field = "Bunrui", .width = 24},
    {.caption = "コントロール名", .field = "ControlName", .width = 40, .hideDuplicates = true},
    {.caption = "コントロールの種類", .field = "ControlKind", .width = 28, .hideDuplicates = true},
    {.caption = "プロパティ", .field = "PropertyName", .width = 34},
    {.caption = "設定値", .field = "PropertyValue", .width = 96},
    {.caption = "参照先", .field = "MotoName", .width = 45},
};

// Objects are matched by kind and name without regard to case, as Jet compared text.
#define ZANFOR_COMPARISON                                                                      \
    "WITH compared AS (\n"                                                                     \
    "  SELECT n.Class, n.ObjectName, o.DateUpdate AS OldDate, n.DateUpdate AS NewDate,\n"      \
    "    CASE WHEN o.ObjectName IS NULL THEN 1 WHEN o.DateUpdate IS n.DateUpdate THEN 4\n"     \
    "      ELSE 3 END AS Status\n"                                                             \
    "  FROM T_AcSaveObject n LEFT JOIN T_AcSaveObjectOld o\n"                                  \
    "    ON o.Class = n.Class COLLATE NOCASE AND o.ObjectName = n.ObjectName COLLATE NOCASE\n" \
    "  UNION ALL\n"                                                                            \
    "  SELECT o.Class, o.ObjectName, o.DateUpdate, NULL, 2 FROM T_AcSaveObjectOld o\n"         \
    "  WHERE NOT EXISTS (SELECT 1 FROM T_AcSaveObject n WHERE n.Class = o.Class COLLATE\n"     \
    "    NOCASE AND n.ObjectName = o.ObjectName COLLATE NOCASE))\n"

constexpr InfoItem kComparisonInfo[] = {
    {.label = "今回の対象", .field = "ObjName"},
    {.label = "比較したファイル", .field = "ObjNameOld"},
};

constexpr ColumnDef kComparisonSummaryColumns[] = {
    {.caption = "種類", .field = "ClassName", .width = 40},
    {.caption = "追加", .field = "Added", .width = 22, .align = A::Right, .format = F::Number},
    {.caption = "削除", .field = "Removed", .width = 22, .align = A::Right, .format = F::Number},
    {.caption = "更新", .field = "Changed", .width = 22, .align = A::Right, .format = F::Number},
    {.caption = "変更なし", .field = "Same", .width = 22, .align = A::Right, .format = F::Number},
    {.caption = "合計", .field = "Total", .width = 22, .align = A::Right, .format = F::Number},
};

constexpr SubTableDef kComparisonSummary[] = {
    {.caption = "比較結果の集計",
     .sql = ZANFOR_COMPARISON "SELECT " ZANFOR_CLASS_NAME("Class") R"sql( AS ClassName,
  SUM(Status = 1) AS Added, SUM(Status = 2) AS Removed, SUM(Status = 3) AS Changed,
  SUM(Status = 4) AS Same, COUNT(*) AS Total
FROM compared GROUP BY Class ORDER BY )sql" ZANFOR_CLASS_ORDER("Class") ", Class",
     .columns = kComparisonSummaryColumns},
};

constexpr GroupDef kComparisonGroups[] = {
    {.keys = kByClass, .heading = "{ClassName}", .headingNote = "{count} 件"},
};

constexpr ColumnDef kComparisonColumns[] = {
    {.caption = "状態", .field = "StatusName", .width = 20, .align = A::Center},
    {.caption = "オブジェクト名", .field = "ObjectName", .width = 78},
    {.caption = "前回の更新日時", .field = "OldDate", .width = 41, .format = F::DateTimeSeconds},
    {.caption = "今回の更新日時", .field = "NewDate", .width = 41, .format = F::DateTimeSeconds},
};

constexpr std::string_view kBySpec[] = {"SpecID"};

constexpr InfoItem kSpecInfo[] = {
    {.label = "種類", .field = "SpecKind"},
    {.label = "コードページ", .field = "CodePage"},
    {.label = "フィールド区切り", .field = "Separator"},
    {.label = "文字列の引用符", .field = "TextDelim"},
    {.label = "開始行", .field = "StartRow", .format = F::Number},
    {.label = "日付の順序", .field = "DateOrderName"},
    {.label = "日付の区切り", .field = "DateDelim"},
    {.label = "時刻の区切り", .field = "TimeDelim"},
    {.label = "西暦4桁", .field = "DateFourDigitYear", .format = F::YesNo},
    {.label = "日付の0埋め", .field = "DateLeadingZeros", .format = F::YesNo},
    {.label = "小数点", .field = "DecimalPoint"},
};

constexpr GroupDef kSpecGroups[] = {
    {.keys = kBySpec,
     .heading = "{SpecName}",
     .headingNote = "ID {SpecID}",
     .info = kSpecInfo,
     .keepTogether = true},
};

constexpr ColumnDef kSpecColumns[] = {
    {.caption = "フィールド名", .field = "FieldName", .width = 52},
    {.caption = "データ型", .field = "dataType", .width = 28, .format = F::FieldType},
    {.caption = "開始位置", .field = "Start", .width = 18, .align = A::Right, .format = F::Number},
    {.caption = "幅", .field = "Width", .width = 14, .align = A::Right, .format = F::Number},
    {.caption = "インデックス", .field = "IndexName", .width = 30},
    {.caption = "スキップ",
     .field = "SkipColumn",
     .width = 16,
     .align = A::Center,
     .format = F::Mark},
    {.caption = "属性", .field = "ItemAttributes", .width = 18, .align = A::Right},
};

// The definitions, in the order of the work database's index of reports.
const std::array kReports{
    ReportDef{
        .name = "R_AcObjectAll",
        .title = "オブジェクト一覧",
        .sql =
            "SELECT objectNo, Class, ObjectName, DateCreate, DateUpdate, QueryType, Midasi, "
            "Description, " ZANFOR_CLASS_NAME("Class") " AS ClassName "
                                                       "FROM T_AcObject ORDER BY objectNo, rowid",
        .variantField = "Midasi",
        .variants = kObjectVariants,
        .infoSql = "SELECT * FROM T_DataBase ORDER BY rowid LIMIT 1",
        .info = kDatabaseInfo,
        .groups = kObjectGroups,
        .columns = kObjectColumns,
        .totalLabel = "合計 {count} 件",
    },
    ReportDef{
        .name = "R_AcTblIndex",
        .title = "インデックス一覧",
        .sql = R"sql(
SELECT x.objectNo, x.FieldNo, x.TableName, x.IndexName, x.FieldName, x."Primary", x.Clustered,
  x."Foreign", x."Unique", x.IgnoreNulls, x.Required,
  MAX(NULLIF(x.TableName, '')) OVER (PARTITION BY x.objectNo) AS TableTitle,
  SUM(CASE WHEN x.IndexName <> '' THEN 1 ELSE 0 END)
    OVER (PARTITION BY x.objectNo ORDER BY x.FieldNo, x.rowid) AS IndexSeq
FROM T_AcIndex x ORDER BY x.objectNo, x.FieldNo, x.rowid)sql",
        .groups = kIndexGroups,
        .columns = kIndexColumns,
    },
    ReportDef{
        .name = "R_AcTblTable",
        .title = "テーブル一覧",
        .sql = R"sql(
SELECT t.objectNo, t.TableName, t.DateCreated, t.LastUpdated, t.Attributes, t.LinkTable,
  t.Connect, t.RecordCount, t.SourceTableName, t.Updatable, t.Midasi,
  t.Description AS TableDescription, f.FieldNo, f.FieldName, f.PrimaryKey, f.FieldType,
  f.FieldSize, f.ZeroLength, f.DefaultValue, f.ValRule, f.Description
FROM T_AcTblInfo t LEFT JOIN T_AcTblItem f ON f.objectNo = t.objectNo
ORDER BY t.objectNo, t.rowid, f.FieldNo, f.rowid)sql",
        .variantField = "Midasi",
        .variants = kSimpleDetailed23,
        .detailPresent = "FieldNo",
        .groups = kTableGroups,
        .columns = kTableColumns,
        .totalLabel = "テーブル数 {groups}",
    },
    ReportDef{
        .name = "R_AcQerySql",
        .title = "SQL一覧",
        .tableKind = TableKind::Box,
        .sql = "SELECT objectNo, QueryName, QueryType, QuerySQL, Midasi FROM T_AcQeryInfo "
               "ORDER BY objectNo, rowid",
        .groups = kQuerySqlGroups,
        .columns = kQuerySqlColumns,
        .totalLabel = "クエリー数 {groups}",
    },
    ReportDef{
        .name = "R_AcQeryAll",
        .title = "クエリー一覧",
        .sql = R"sql(
SELECT q.objectNo, q.QueryName, q.QueryType, q.DateCreated, q.LastUpdated, q.ODBCTimeout,
  q.MaxRecords, q.Updatable, q.Connect, q.RecordsAffected, q.Midasi, q.QuerySQL, q.Description,
  f.FieldNo, f.FieldName, f.FieldType, f.FieldSize, f.SourceField, f.ZeroLength,
  f.DefaultValue, f.SourceTable
FROM T_AcQeryInfo q LEFT JOIN T_AcQeryItem f ON f.objectNo = q.objectNo
ORDER BY q.objectNo, q.rowid, f.FieldNo, f.rowid)sql",
        .variantField = "Midasi",
        .variants = kSimpleDetailed23,
        .detailPresent = "FieldNo",
        .groups = kQueryGroups,
        .columns = kQueryColumns,
        .totalLabel = "クエリー数 {groups}",
    },
    ReportDef{
        .name = "R_AcFrmCntl",
        .title = "フォーム コントロール一覧",
        .orientation = Orientation::Landscape,
        .sql = R"sql(
SELECT f.objectNo, f.Caption, f.RecordSource, f."Filter", f.OrderBy, f.sMenuBar, f.Midasi,
  f.DateCreated, f.LastUpdated, f.Description AS FormDescription,
  )sql" ZANFOR_YES_NO("f.AllowEdits") R"sql( AS AllowEditsText,
  )sql" ZANFOR_YES_NO("f.AllowDeletions") R"sql( AS AllowDeletionsText,
  )sql" ZANFOR_YES_NO("f.AllowAdditions") R"sql( AS AllowAdditionsText,
  )sql" ZANFOR_YES_NO("f.DataEntry") R"sql( AS DataEntryText,
  )sql" ZANFOR_YES_NO("f.PopUp") R"sql( AS PopUpText,
  )sql" ZANFOR_YES_NO("f.Modal") R"sql( AS ModalText,
  COALESCE(NULLIF(f.FormName, ''), '(フォーム ' || f.objectNo || ')') AS Title,
  CASE f.DefaultView WHEN 0 THEN '単票フォーム' WHEN 1 THEN '帳票フォーム'
    WHEN 2 THEN 'データシート' ELSE COALESCE(f.DefaultView, '(不明)') END AS ViewName,
  CASE f.RecordsetType WHEN 0 THEN 'ダイナセット' WHEN 1 THEN 'ダイナセット (不一致の更新)'
    WHEN 2 THEN 'スナップショット' ELSE COALESCE(f.RecordsetType, '(不明)') END
    AS RecordsetName,
  CASE f.RecordLocks WHEN 0 THEN 'しない' WHEN 1 THEN '全レコード'
    WHEN 2 THEN '編集済みレコード' ELSE COALESCE(f.RecordLocks, '(不明)') END AS LockName,
  )sql" ZANFOR_EVENTS("f") R"sql(,
  c.ControlNo, c.PropertyNo, c.Name, c.ControlType, c.TLWH, c.Bunrui, c.PropertyName,
  c.PropertyValue, )sql" ZANFOR_VISIBLE("c") R"sql(
FROM T_AcFrmInfo f LEFT JOIN T_AcFrmItem c ON c.objectNo = f.objectNo
ORDER BY f.objectNo, f.rowid, c.ControlNo, c.PropertyNo, c.rowid)sql",
        .variantField = "Midasi",
        .variants = kSimpleDetailed12,
        .detailPresent = "ControlNo",
        .groups = kFormGroups,
        .columns = kControlColumns,
        .totalLabel = "フォーム数 {groups}",
    },
    ReportDef{
        .name = "R_AcRepCntl",
        .title = "レポート コントロール一覧",
        .orientation = Orientation::Landscape,
        .sql = R"sql(
SELECT r.objectNo, r.Caption, r.RecordSource, r."Filter", r.OrderBy, r.sMenuBar, r.Midasi,
  r.DateCreated, r.LastUpdated, r.Description AS ReportDescription,
  COALESCE(NULLIF(r.ReportName, ''), '(レポート ' || r.objectNo || ')') AS Title,
  CASE r.RecordLocks WHEN 0 THEN 'しない' WHEN 1 THEN '全レコード'
    WHEN 2 THEN '編集済みレコード' ELSE COALESCE(r.RecordLocks, '(不明)') END AS LockName,
  )sql" ZANFOR_EVENTS("r") R"sql(,
  c.ControlNo, c.PropertyNo, c.Name, c.ControlType, c.TLWH, c.Bunrui, c.PropertyName,
  c.PropertyValue, )sql" ZANFOR_VISIBLE("c") R"sql(
FROM T_AcRepInfo r LEFT JOIN T_AcRepItem c ON c.objectNo = r.objectNo
ORDER BY r.objectNo, r.rowid, c.ControlNo, c.PropertyNo, c.rowid)sql",
        .variantField = "Midasi",
        .variants = kSimpleDetailed12,
        .detailPresent = "ControlNo",
        .groups = kReportGroups,
        .columns = kControlColumns,
        .totalLabel = "レポート数 {groups}",
    },
    ReportDef{
        .name = "R_AcMacro",
        .title = "マクロ一覧",
        .orientation = Orientation::Landscape,
        .sql = R"sql(
WITH arguments AS (
  SELECT ProcedureNo, LineNo,
    group_concat(HikiNo || '. ' || COALESCE(Hikisu, ''), char(10)) AS Arguments
  FROM (SELECT * FROM T_AcMacro2 ORDER BY ProcedureNo, LineNo, HikiNo, rowid)
  GROUP BY ProcedureNo, LineNo)
SELECT m.objectNo, m.ProcedureNo, m.ObjectName, m.ActionNo, m.LineNo, m.ProcName,
  m.Procedure, m.Tekiyou, m.AcWhere, m.Midasi, a.Arguments,
  COALESCE(NULLIF(m.ProcName, ''), m.ObjectName) AS MacroTitle
FROM T_AcMacro m
LEFT JOIN arguments a ON a.ProcedureNo = m.ProcedureNo AND a.LineNo = m.LineNo
ORDER BY m.objectNo, m.ProcedureNo, m.LineNo, m.rowid)sql",
        .variantField = "Midasi",
        .variants = kSimpleDetailed12,
        .groups = kMacroGroups,
        .columns = kMacroColumns,
        .totalLabel = "マクロ数 {groups}",
    },
    ReportDef{
        .name = "R_AcControlCount",
        .title = "コントロール数一覧",
        .orientation = Orientation::Landscape,
        .fontPt = 8,
        .sql = R"sql(
SELECT objectNo, Class, ObjectName, RectangleCount, LabelCount, LineCount, ImageCount,
  CommandButtonCount, OptionButtonCount, CheckBoxCount, OptionGroupCount,
  BoundObjectFrameCount, TextBoxCount, ListBoxCount, ComboBoxCount, SubformCount,
  ObjectFrameCount, PageBreakCount, PageCount, CustomControlCount, ToggleButtonCount,
  TabCtlCount,
  RectangleCount + LabelCount + LineCount + ImageCount + CommandButtonCount
    + OptionButtonCount + CheckBoxCount + OptionGroupCount + BoundObjectFrameCount
    + TextBoxCount + ListBoxCount + ComboBoxCount + SubformCount + ObjectFrameCount
    + PageBreakCount + PageCount + CustomControlCount + ToggleButtonCount + TabCtlCount
    AS TotalCount,
  CASE Class WHEN 'Form' THEN 'フォーム' WHEN 'Report' THEN 'レポート' ELSE Class END
    AS ClassName
FROM T_AcControlCount ORDER BY objectNo, rowid)sql",
        .groups = kControlCountGroups,
        .columns = kControlCountColumns,
        .totalLabel = "合計",
        .totals = kControlCountSums,
    },
    ReportDef{
        .name = "R_AcFile",
        .title = "ファイル一覧",
        // A file that could not be read has no date; its size is blank rather than 0.
        .sql = "SELECT FileNo, FileName, CASE WHEN UpdateDate IS NULL THEN NULL ELSE FileSize "
               "END AS FileSize, UpdateDate, FilePath, ReadOnly FROM T_AcFile "
               "ORDER BY FileNo, rowid",
        .columns = kFileColumns,
        .totalLabel = "合計 {count} ファイル",
        .totals = kFileSums,
    },
    ReportDef{
        .name = "R_AcHyousi",
        .title = "表紙",
        .kind = ReportKind::Cover,
        .sql = kCoverSql,
    },
    ReportDef{
        .name = "R_AcHyousiH",
        .title = "ラベル（縦）",
        .kind = ReportKind::SpineLabel,
        .sql = kCoverSql,
    },
    ReportDef{
        .name = "R_AcHyousiW",
        .title = "ラベル（横）",
        .kind = ReportKind::FrontLabel,
        .sql = kCoverSql,
    },
    ReportDef{
        .name = "R_AcModule",
        .title = "モジュールリスト",
        .tableKind = TableKind::Code,
        .sql = kModuleSql,
        .groups = kModuleGroups,
        .columns = kModuleColumns,
        .totalLabel = "合計 {count} 行",
    },
    ReportDef{
        .name = "R_AcModule2",
        .title = "モジュールリスト（２列）",
        .orientation = Orientation::Landscape,
        .flowColumns = 2,
        .fontPt = 7.5,
        .tableKind = TableKind::Code,
        .sql = kModuleSql,
        .groups = kModuleGroups,
        .columns = kModuleColumns,
        .totalLabel = "合計 {count} 行",
    },
    ReportDef{
        .name = "R_AcModule50",
        .title = "モジュールリスト（五十音順）",
        .tableKind = TableKind::Code,
        .sql = kModuleSql,
        .syllabaryKey = "ObjectName",
        .groups = kModuleGroups,
        .columns = kModuleColumns,
        .totalLabel = "合計 {count} 行",
    },
    ReportDef{
        .name = "R_AcModule250",
        .title = "モジュールリスト（２列・五十音順）",
        .orientation = Orientation::Landscape,
        .flowColumns = 2,
        .fontPt = 7.5,
        .tableKind = TableKind::Code,
        .sql = kModuleSql,
        .syllabaryKey = "ObjectName",
        .groups = kModuleGroups,
        .columns = kModuleColumns,
        .totalLabel = "合計 {count} 行",
    },
    ReportDef{
        .name = "R_AcProcName",
        .title = "プロシージャ一覧",
        .orientation = Orientation::Landscape,
        .sql = kProcNameSql,
        .variantField = "Midasi",
        .variants = kSimpleDetailed12,
        .below = "Statements",
        .belowFrom = "ProcedureName",
        .belowVariants = Variant(2),
        .groups = kProcNameGroups,
        .columns = kProcNameColumns,
        .totalLabel = "合計 {count} 件",
    },
    ReportDef{
        .name = "R_AcProcName50",
        .title = "プロシージャ一覧（五十音順）",
        .orientation = Orientation::Landscape,
        .sql = kProcNameSql,
        .variantField = "Midasi",
        .variants = kSimpleDetailed12,
        .syllabaryKey = "ProcedureName",
        .below = "Statements",
        .belowFrom = "Kind",
        .belowVariants = Variant(2),
        .columns = kProcName50Columns,
        .totalLabel = "合計 {count} 件",
    },
    ReportDef{
        .name = "R_AcModStep",
        .title = "ステップ数一覧",
        .sql = "SELECT \"Object\", ObjectName, ProcedureName, objectNo, ProcedureNo, ComentCnt, "
               "SpaceCnt, ProcCnt, TotalCnt, CASE WHEN TotalCnt > 0 THEN 100.0 * ComentCnt / "
               "TotalCnt END AS CommentRate, " ZANFOR_CODE_KIND(
                   "\"Object\"") " AS Kind "
                                 "FROM T_AcProcCount ORDER BY ProcedureNo, rowid",
        .groups = kStepGroups,
        .columns = kStepColumns,
        .totalLabel = "総計",
        .totals = kStepSums,
        .footerTables = kStepSummary,
    },
    ReportDef{
        .name = "R_AcComment",
        .title = "コメント一覧",
        .tableKind = TableKind::Code,
        .sql = "SELECT \"Object\", ObjectName, ProcedureName, Comment, objectNo, "
               "ProcedureNo, " ZANFOR_CODE_KIND(
                   "\"Object\"") " AS Kind "
                                 "FROM T_AcComment ORDER BY objectNo, ProcedureNo, rowid",
        .groups = kCommentGroups,
        .columns = kCommentColumns,
        .totalLabel = "合計 {count} 件",
    },
    ReportDef{
        .name = "R_AcHensuH",
        .title = "変数一覧",
        .sql = R"sql(
SELECT objectNo, ProcedureNo, ObjectName, ProcedureName, HensuName, Property, Bunrui, Line,
  Description,
  CASE WHEN "Type" LIKE '型/%' OR "Type" LIKE '値/%' THEN substr("Type", 3) ELSE "Type" END
    AS TypeText
FROM T_AcHensu WHERE Bunrui IN ('変数', 'API')
ORDER BY objectNo, ProcedureNo, Line, rowid)sql",
        .groups = kHensuGroups,
        .columns = kVariableColumns,
        .totalLabel = "合計 {count} 件",
    },
    ReportDef{
        .name = "R_AcHensuT",
        .title = "定数一覧",
        .sql = R"sql(
SELECT objectNo, ProcedureNo, ObjectName, ProcedureName, HensuName, Property, Bunrui, Line,
  Description,
  CASE WHEN "Type" LIKE '値/%' THEN substr("Type", 3) ELSE "Type" END AS TypeText
FROM T_AcHensu WHERE Bunrui = '定数'
ORDER BY objectNo, ProcedureNo, Line, rowid)sql",
        .groups = kHensuGroups,
        .columns = kConstantColumns,
        .totalLabel = "合計 {count} 件",
    },
    ReportDef{
        .name = "R_AcHensuU",
        .title = "定義型一覧",
        .sql = R"sql(
WITH definitions AS (
  SELECT rowid AS rid, *,
    SUM(CASE WHEN "Type" LIKE '型/%' OR "Type" LIKE '値/%' THEN 0 ELSE 1 END)
      OVER (PARTITION BY objectNo ORDER BY Line, rowid) AS TypeSeq
  FROM T_AcHensu WHERE Bunrui = '定義')
SELECT objectNo, ObjectName, HensuName, Property, Line, Description, TypeSeq,
  CASE WHEN "Type" LIKE '型/%' OR "Type" LIKE '値/%' THEN substr("Type", 3) END AS MemberType,
  FIRST_VALUE(HensuName) OVER w AS TypeName,
  FIRST_VALUE(Property) OVER w AS TypeScope,
  FIRST_VALUE(Description) OVER w AS TypeNote
FROM definitions
WINDOW w AS (PARTITION BY objectNo, TypeSeq ORDER BY Line, rid
  ROWS BETWEEN UNBOUNDED PRECEDING AND UNBOUNDED FOLLOWING)
ORDER BY objectNo, Line, rid)sql",
        .detailPresent = "MemberType",
        .groups = kTypeGroups,
        .columns = kTypeColumns,
        .totalLabel = "定義型 {groups}",
    },
    ReportDef{
        .name = "R_AcLinkProc",
        .title = "プロシージャ引用先一覧",
        .sql =
            "SELECT objectNo, ProcedureNo, Bunrui, ObjectName, Procedure, LinkProcedure, "
            "MotoName, " ZANFOR_CODE_KIND(
                "Bunrui") " AS Kind, CASE WHEN Procedure IS NULL "
                          "OR Procedure = '' THEN '(宣言セクション)' ELSE Procedure END AS Caller "
                          "FROM T_AcLinkModule ORDER BY MotoName, LinkProcedure, objectNo, "
                          "ProcedureNo, "
                          "rowid",
        .groups = kLinkProcGroups,
        .columns = kLinkProcColumns,
        .totalLabel = "合計 {count} 箇所",
    },
    ReportDef{
        .name = "R_AcLinkTable",
        .title = "テーブル引用先一覧",
        .sql = "SELECT objectNo, ObjectName, Bunrui, ControlName, PropertyName, MotoName "
               "FROM T_AcLinkObject WHERE COALESCE(Midasi, 0) = 0 ORDER BY objectNo, rowid",
        .infoSql = "SELECT MotoName FROM T_AcLinkObject WHERE COALESCE(Midasi, 0) = 0 "
                   "ORDER BY rowid LIMIT 1",
        .info = kLinkTableInfo,
        .groups = kLinkTableGroups,
        .columns = kLinkTableColumns,
        .totalLabel = "合計 {count} 件",
    },
    ReportDef{
        .name = "R_AcLinkObject",
        .title = "オブジェクト参照元一覧",
        .orientation = Orientation::Landscape,
        .sql = R"sql(
SELECT rowid AS rid, objectNo, ObjectName, ControlNo, Bunrui, ControlName,
  CASE WHEN ControlNo = 0 THEN '' ELSE ControlBunrui END AS ControlKind, PropertyName,
  PropertyValue, MotoName, Midasi
FROM T_AcLinkObject WHERE COALESCE(Midasi, 0) <> 0
UNION ALL
SELECT NULL, m.objectNo, m.ObjectName, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL
FROM (SELECT objectNo, MIN(ObjectName) AS ObjectName FROM T_AcLinkModule
      WHERE Bunrui = 'ﾓｼﾞｭｰﾙ' GROUP BY objectNo) m
WHERE NOT EXISTS (SELECT 1 FROM T_AcLinkObject o
                  WHERE o.objectNo = m.objectNo AND COALESCE(o.Midasi, 0) <> 0)
ORDER BY objectNo, rid)sql",
        .variantField = "Midasi",
        .variants = kLinkObjectVariants,
        .detailPresent = "Bunrui",
        .groups = kLinkObjectGroups,
        .columns = kLinkObjectColumns,
        .totalLabel = "合計 {count} 件",
    },
    ReportDef{
        .name = "R_AcObjectUpdate",
        .title = "オブジェクト比較表",
        .sql = ZANFOR_COMPARISON
        "SELECT Class, ObjectName, OldDate, NewDate, Status, "
        "CASE Status WHEN 1 THEN '追加' WHEN 2 THEN '削除' WHEN 3 THEN '更新' "
        "ELSE '変更なし' END AS StatusName, "
        "CASE Status WHEN 4 THEN 'muted' ELSE 'strong' END AS RowStyle, " ZANFOR_CLASS_NAME(
            "Class") " AS ClassName FROM compared ORDER BY " ZANFOR_CLASS_ORDER("Class") ", Class, "
                                                                                         "Status, "
                                                                                         "ObjectNam"
                                                                                         "e",
        .rowStyle = "RowStyle",
        .infoSql = "SELECT ObjName, ObjNameOld FROM T_AcSaveFlag ORDER BY rowid LIMIT 1",
        .info = kComparisonInfo,
        .headerTables = kComparisonSummary,
        .groups = kComparisonGroups,
        .columns = kComparisonColumns,
        .totalLabel = "合計 {count} 件",
    },
    ReportDef{
        .name = "R_AcTextTeigi",
        .title = "変換定義一覧",
        .sql = R"sql(
SELECT s.SpecID, s.SpecName, s.StartRow, s.DateDelim, s.TimeDelim, s.DecimalPoint,
  s.DateFourDigitYear, s.DateLeadingZeros,
  CASE s.SpecType WHEN 1 THEN '区切り記号付き' WHEN 2 THEN '固定長'
    ELSE '(' || s.SpecType || ')' END AS SpecKind,
  CASE s.FileType WHEN 932 THEN '932 日本語 (シフトJIS)' WHEN 65001 THEN '65001 UTF-8'
    WHEN 1200 THEN '1200 Unicode' WHEN 1252 THEN '1252 西ヨーロッパ (Windows)'
    WHEN 437 THEN '437 OEM 米国' ELSE s.FileType END AS CodePage,
  CASE s.FieldSeparator WHEN char(9) THEN 'タブ' WHEN ' ' THEN 'スペース'
    WHEN ',' THEN 'カンマ (,)' WHEN ';' THEN 'セミコロン (;)' ELSE s.FieldSeparator END
    AS Separator,
  s.TextDelim,
  CASE s.DateOrder WHEN 0 THEN 'DMY (0)' WHEN 1 THEN 'DYM (1)' WHEN 2 THEN 'MDY (2)'
    WHEN 3 THEN 'MYD (3)' WHEN 4 THEN 'YDM (4)' WHEN 5 THEN 'YMD (5)' ELSE s.DateOrder END
    AS DateOrderName,
  c.FieldName, c.dataType, c.Start, c.Width, c.SkipColumn, c.Attributes AS ItemAttributes,
  c.rowid AS ItemRow,
  CASE c.IndexType WHEN 0 THEN 'いいえ' WHEN 1 THEN 'はい (重複あり)'
    WHEN 2 THEN 'はい (重複なし)' ELSE c.IndexType END AS IndexName
FROM T_AcTeigi s LEFT JOIN T_AcTeigiItem c ON c.SpecID = s.SpecID
ORDER BY s.SpecID, s.rowid, c.Start, c.rowid)sql",
        .detailPresent = "ItemRow",
        .groups = kSpecGroups,
        .columns = kSpecColumns,
        .totalLabel = "変換定義数 {groups}",
    },
};

#undef ZANFOR_CLASS_NAME
#undef ZANFOR_CLASS_ORDER
#undef ZANFOR_CODE_KIND
#undef ZANFOR_EVENTS
#undef ZANFOR_COMPARISON

}  // namespace

std::span<const ReportDef> ReportDefinitions() { return kReports; }

const ReportDef* FindReportDefinition(std::string_view name) {
    const QString wanted = ToQString(name);
    for (const auto& def : kReports) {
        const QString candidate = ToQString(def.name);
        if (candidate.compare(wanted, Qt::CaseInsensitive) == 0)
            return &def;
    }
    return nullptr;
}

}  // namespace zanfor::report
