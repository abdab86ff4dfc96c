#include "workdb/schema.h"

#include <array>

namespace zanfor::workdb {

namespace {

using K = ColumnKind;

constexpr ColumnSchema kDataBase[] = {
    {"DbNo", K::Integer},
    {"DbName", K::Text},
    {"FileSize", K::Double},
    {"Version", K::Text},
    {"QueryTimeout", K::Integer},
    {"Updatable", K::YesNo},
    {"Stitle", K::Text},
    {"sMenuBar", K::Text},
    {"Sformdisp", K::Text},
    {"Smenudisp", K::YesNo},
    {"Sdbdisp", K::YesNo},
    {"Sstatusbar", K::YesNo},
    {"Sallowshortcutbar", K::YesNo},
    {"Stoolbar", K::YesNo},
    {"AccessVersion", K::Text},
};

constexpr ColumnSchema kAcObject[] = {
    {"DbNo", K::Integer},    {"objectNo", K::Integer}, {"Class", K::Text},
    {"ObjectName", K::Text}, {"DateCreate", K::Date},  {"DateUpdate", K::Date},
    {"QueryType", K::Text},  {"Midasi", K::Integer},   {"Description", K::Memo},
};

constexpr ColumnSchema kAcTblInfo[] = {
    {"objectNo", K::Integer}, {"TableName", K::Text},   {"DateCreated", K::Date},
    {"LastUpdated", K::Date}, {"Attributes", K::Long},  {"LinkTable", K::Text},
    {"Connect", K::Memo},     {"RecordCount", K::Long}, {"SourceTableName", K::Text},
    {"Updatable", K::YesNo},  {"Midasi", K::Integer},   {"Description", K::Memo},
};

constexpr ColumnSchema kAcTblItem[] = {
    {"objectNo", K::Integer}, {"FieldNo", K::Integer},   {"FieldName", K::Text},
    {"PrimaryKey", K::YesNo}, {"FieldType", K::Text},    {"FieldSize", K::Long},
    {"ZeroLength", K::YesNo}, {"DefaultValue", K::Text}, {"ValRule", K::Text},
    {"Description", K::Memo},
};

constexpr ColumnSchema kAcIndex[] = {
    {"objectNo", K::Integer},  {"FieldNo", K::Integer}, {"TableName", K::Text},
    {"IndexName", K::Text},    {"FieldName", K::Text},  {"Primary", K::YesNo},
    {"Clustered", K::YesNo},   {"Foreign", K::YesNo},   {"Unique", K::YesNo},
    {"IgnoreNulls", K::YesNo}, {"Required", K::YesNo},
};

constexpr ColumnSchema kAcQeryInfo[] = {
    {"objectNo", K::Integer},     {"QueryName", K::Text},   {"QueryType", K::Text},
    {"DateCreated", K::Date},     {"LastUpdated", K::Date}, {"ODBCTimeout", K::Integer},
    {"MaxRecords", K::Long},      {"Updatable", K::YesNo},  {"Connect", K::Memo},
    {"RecordsAffected", K::Long}, {"Midasi", K::Integer},   {"QuerySQL", K::Memo},
    {"Description", K::Memo},
};

constexpr ColumnSchema kAcQeryItem[] = {
    {"objectNo", K::Integer}, {"FieldNo", K::Integer},   {"FieldName", K::Text},
    {"FieldType", K::Text},   {"FieldSize", K::Text},    {"SourceField", K::Text},
    {"ZeroLength", K::YesNo}, {"DefaultValue", K::Text}, {"SourceTable", K::Text},
};

constexpr ColumnSchema kAcFrmInfo[] = {
    {"objectNo", K::Integer},    {"RecordSource", K::Memo},     {"Filter", K::Memo},
    {"OrderBy", K::Memo},        {"Caption", K::Text},          {"DefaultView", K::Integer},
    {"AllowEdits", K::YesNo},    {"AllowDeletions", K::YesNo},  {"AllowAdditions", K::YesNo},
    {"DataEntry", K::YesNo},     {"RecordsetType", K::Integer}, {"RecordLocks", K::Integer},
    {"PopUp", K::YesNo},         {"sMenuBar", K::Text},         {"Modal", K::YesNo},
    {"Midasi", K::Integer},      {"Ibent1", K::Text, true},     {"Ibent2", K::Text, true},
    {"Ibent3", K::Text, true},   {"Ibent4", K::Text, true},     {"IbentVL1", K::Text, true},
    {"IbentVL2", K::Text, true}, {"IbentVL3", K::Text, true},   {"IbentVL4", K::Text, true},
    {"FormName", K::Text},       {"DateCreated", K::Date},      {"LastUpdated", K::Date},
    {"Description", K::Memo},
};

constexpr ColumnSchema kAcFrmItem[] = {
    {"objectNo", K::Integer},   {"ControlNo", K::Integer}, {"PropertyNo", K::Integer},
    {"Name", K::Text},          {"ControlType", K::Text},  {"cntlVisible", K::Text},
    {"TLWH", K::Text},          {"Bunrui", K::Text},       {"PropertyName", K::Text},
    {"PropertyValue", K::Memo},
};

constexpr ColumnSchema kAcRepInfo[] = {
    {"objectNo", K::Integer},    {"RecordSource", K::Memo},   {"Filter", K::Memo},
    {"OrderBy", K::Memo},        {"Caption", K::Text},        {"RecordLocks", K::Integer},
    {"sMenuBar", K::Text},       {"Midasi", K::Integer},      {"Ibent1", K::Text, true},
    {"Ibent2", K::Text, true},   {"Ibent3", K::Text, true},   {"Ibent4", K::Text, true},
    {"IbentVL1", K::Text, true}, {"IbentVL2", K::Text, true}, {"IbentVL3", K::Text, true},
    {"IbentVL4", K::Text, true}, {"ReportName", K::Text},     {"DateCreated", K::Date},
    {"LastUpdated", K::Date},    {"Description", K::Memo},
};

constexpr ColumnSchema kAcRepItem[] = {
    {"objectNo", K::Integer},   {"ControlNo", K::Integer}, {"PropertyNo", K::Integer},
    {"Name", K::Text},          {"ControlType", K::Text},  {"cntlVisible", K::Text},
    {"TLWH", K::Text},          {"Bunrui", K::Text},       {"PropertyName", K::Text},
    {"PropertyValue", K::Memo},
};

constexpr ColumnSchema kAcRepGrp[] = {
    {"objectNo", K::Integer}, {"GroupNo", K::Integer},    {"ControlSource", K::Text},
    {"SortOrder", K::YesNo},  {"GroupHeader", K::YesNo},  {"GroupFooter", K::YesNo},
    {"GroupOn", K::Integer},  {"GroupInterval", K::Long}, {"KeepTogether", K::Integer},
};

constexpr ColumnSchema kAcMacro[] = {
    {"objectNo", K::Integer}, {"ProcedureNo", K::Integer}, {"ObjectName", K::Text},
    {"ActionNo", K::Integer}, {"LineNo", K::Long},         {"ProcName", K::Text},
    {"Procedure", K::Memo},   {"Tekiyou", K::Text},        {"AcWhere", K::Memo},
    {"Midasi", K::Integer},
};

constexpr ColumnSchema kAcMacro2[] = {
    {"Hikisu", K::Memo},         {"ActionNo", K::Integer}, {"HikiNo", K::Integer},
    {"ProcedureNo", K::Integer}, {"LineNo", K::Long},
};

constexpr ColumnSchema kAcControlCount[] = {
    {"objectNo", K::Integer},          {"Class", K::Text},
    {"ObjectName", K::Text},           {"RectangleCount", K::Integer},
    {"LabelCount", K::Integer},        {"LineCount", K::Integer},
    {"ImageCount", K::Integer},        {"CommandButtonCount", K::Integer},
    {"OptionButtonCount", K::Integer}, {"CheckBoxCount", K::Integer},
    {"OptionGroupCount", K::Integer},  {"BoundObjectFrameCount", K::Integer},
    {"TextBoxCount", K::Integer},      {"ListBoxCount", K::Integer},
    {"ComboBoxCount", K::Integer},     {"SubformCount", K::Integer},
    {"ObjectFrameCount", K::Integer},  {"PageBreakCount", K::Integer},
    {"PageCount", K::Integer},         {"CustomControlCount", K::Integer},
    {"ToggleButtonCount", K::Integer}, {"TabCtlCount", K::Integer},
};

constexpr ColumnSchema kAcFile[] = {
    {"FileNo", K::Integer},  {"FileName", K::Text}, {"FileSize", K::Double},
    {"UpdateDate", K::Date}, {"FilePath", K::Memo}, {"ReadOnly", K::Integer},
};

constexpr ColumnSchema kAcHyousi[] = {
    {"SysTitle", K::Text}, {"SysName", K::Text}, {"Company", K::Text},
    {"Bumon", K::Text},    {"Auther", K::Text},  {"CreateDate", K::Date},
};

constexpr ColumnSchema kAcModule[] = {
    {"Label", K::Text},      {"objectNo", K::Integer}, {"ProcedureNo", K::Integer},
    {"ObjectName", K::Text}, {"Line", K::Long},        {"ProcedureName", K::Text},
    {"Procedure", K::Memo},
};

constexpr ColumnSchema kAcProcName[] = {
    {"Object", K::Text},
    {"ObjectName", K::Text},
    {"ProcedureName", K::Text},
    {"PrivatePublic", K::YesNo},
    {"Type", K::Text},
    {"Parameters", K::Memo},
    {"As", K::Text},
    {"Line", K::Long},
    {"objectNo", K::Integer},
    {"ProcedureNo", K::Integer},
    {"pLine", K::Long},
    {"Midasi", K::Integer},
};

constexpr ColumnSchema kAcDimCall[] = {
    {"objectNo", K::Integer}, {"ProcedureNo", K::Integer}, {"pLine", K::Long},
    {"DimCall", K::Integer},  {"Bunrui", K::Text},         {"Type", K::Text},
    {"As", K::Text},          {"Parameters", K::Memo},
};

constexpr ColumnSchema kAcProcCount[] = {
    {"Object", K::Text},      {"ObjectName", K::Text},     {"ProcedureName", K::Text},
    {"objectNo", K::Integer}, {"ProcedureNo", K::Integer}, {"ComentCnt", K::Integer},
    {"SpaceCnt", K::Integer}, {"ProcCnt", K::Long},        {"TotalCnt", K::Long},
};

constexpr ColumnSchema kAcComment[] = {
    {"Object", K::Text},  {"ObjectName", K::Text},  {"ProcedureName", K::Text},
    {"Comment", K::Text}, {"objectNo", K::Integer}, {"ProcedureNo", K::Integer},
};

constexpr ColumnSchema kAcHensu[] = {
    {"objectNo", K::Integer},   {"ProcedureNo", K::Integer}, {"ObjectName", K::Text},
    {"ProcedureName", K::Text}, {"HensuName", K::Text},      {"Property", K::Text},
    {"Bunrui", K::Text},        {"Type", K::Text},           {"Line", K::Long},
    {"Description", K::Text},
};

constexpr ColumnSchema kAcLinkModule[] = {
    {"objectNo", K::Integer}, {"ProcedureNo", K::Integer}, {"Bunrui", K::Text},
    {"ObjectName", K::Text},  {"Procedure", K::Text},      {"LinkProcedure", K::Text},
    {"MotoName", K::Text},
};

constexpr ColumnSchema kAcLinkObject[] = {
    {"objectNo", K::Integer},   {"ObjectName", K::Text},   {"ControlNo", K::Integer},
    {"PropertyNo", K::Integer}, {"Bunrui", K::Text},       {"ControlName", K::Text},
    {"ControlBunrui", K::Text}, {"PropertyName", K::Text}, {"PropertyValue", K::Memo},
    {"MotoName", K::Text},      {"Midasi", K::Integer},
};

constexpr ColumnSchema kAcSaveFlag[] = {
    {"ObjName", K::Text},    {"fObj", K::Integer},    {"fTbl", K::Integer}, {"fQry", K::Integer},
    {"fFrm", K::Integer},    {"fRep", K::Integer},    {"fPrc", K::Integer}, {"fSoc", K::Integer},
    {"fPsp", K::Integer},    {"fMcr", K::Integer},    {"fCtl", K::Integer}, {"fFil", K::Integer},
    {"mTs", K::Integer},     {"mQs", K::Integer},     {"mFs", K::Integer},  {"mRs", K::Integer},
    {"mMs", K::Integer},     {"mPs", K::Integer},     {"mPss", K::Integer}, {"Title", K::Text},
    {"System", K::Text},     {"Company", K::Text},    {"Bumon", K::Text},   {"Auther", K::Text},
    {"CreateDate", K::Text}, {"ObjNameOld", K::Text},
};

constexpr ColumnSchema kAcSaveObject[] = {
    {"objectNo", K::Integer}, {"Class", K::Text},      {"ObjectName", K::Text},
    {"DateUpdate", K::Date},  {"DateCreate", K::Date},
};

constexpr ColumnSchema kAcSaveObjectOld[] = {
    {"Class", K::Text},
    {"ObjectName", K::Text},
    {"DateUpdate", K::Date},
};

constexpr ColumnSchema kAcTitle[] = {
    {"FileName", K::Memo},
};

constexpr ColumnSchema kAcTeigi[] = {
    {"DateDelim", K::Text},         {"DateFourDigitYear", K::YesNo},
    {"DateLeadingZeros", K::YesNo}, {"DateOrder", K::Integer},
    {"DecimalPoint", K::Text},      {"FieldSeparator", K::Text},
    {"FileType", K::Integer},       {"SpecID", K::Long},
    {"SpecName", K::Text},          {"SpecType", K::Integer},
    {"StartRow", K::Long},          {"TextDelim", K::Text},
    {"TimeDelim", K::Text},
};

constexpr ColumnSchema kAcTeigiItem[] = {
    {"Attributes", K::Long},   {"dataType", K::Integer}, {"FieldName", K::Text},
    {"IndexType", K::Integer}, {"SkipColumn", K::YesNo}, {"SpecID", K::Long},
    {"Start", K::Integer},     {"Width", K::Integer},
};

// In the order of the index of the work database: inventory, tables, queries, forms, reports,
// macros, counts and files, code readers, references, analysis files, settings, specifications.
constexpr std::array kTables{
    TableSchema{"T_DataBase", kDataBase},
    TableSchema{"T_AcObject", kAcObject},
    TableSchema{"T_AcTblInfo", kAcTblInfo},
    TableSchema{"T_AcTblItem", kAcTblItem},
    TableSchema{"T_AcIndex", kAcIndex},
    TableSchema{"T_AcQeryInfo", kAcQeryInfo},
    TableSchema{"T_AcQeryItem", kAcQeryItem},
    TableSchema{"T_AcFrmInfo", kAcFrmInfo},
    TableSchema{"T_AcFrmItem", kAcFrmItem},
    TableSchema{"T_AcRepInfo", kAcRepInfo},
    TableSchema{"T_AcRepItem", kAcRepItem},
    TableSchema{"T_AcRepGrp", kAcRepGrp},
    TableSchema{"T_AcMacro", kAcMacro},
    TableSchema{"T_AcMacro2", kAcMacro2},
    TableSchema{"T_AcControlCount", kAcControlCount},
    TableSchema{"T_AcFile", kAcFile},
    TableSchema{"T_AcHyousi", kAcHyousi},
    TableSchema{"T_AcModule", kAcModule},
    TableSchema{"T_AcProcName", kAcProcName},
    TableSchema{"T_AcDimCall", kAcDimCall},
    TableSchema{"T_AcProcCount", kAcProcCount},
    TableSchema{"T_AcComment", kAcComment},
    TableSchema{"T_AcHensu", kAcHensu},
    TableSchema{"T_AcLinkModule", kAcLinkModule},
    TableSchema{"T_AcLinkObject", kAcLinkObject},
    TableSchema{"T_AcSaveFlag", kAcSaveFlag},
    TableSchema{"T_AcSaveObject", kAcSaveObject},
    TableSchema{"T_AcSaveObjectOld", kAcSaveObjectOld},
    TableSchema{"T_AcTitle", kAcTitle},
    TableSchema{"T_AcTeigi", kAcTeigi},
    TableSchema{"T_AcTeigiItem", kAcTeigiItem},
};

// The module listings read every code line in module and line order: without this index SQLite
// sorts the whole table, text and all, before the first page, which at a few hundred thousand
// lines took a tenth of the listing's time and spilled to temporary files.
constexpr IndexSchema kIndexes[] = {
    {"IX_AcModule_Line", "T_AcModule", "(objectNo, Line)"},
};

// The export queries. Each row of a result table keeps its place: the collectors' running
// numbers first, then the order rows were written. A query, form or report without detail rows
// still gives one line, so every collected object appears; the query's field rows are joined
// only to a run of the query lists, because the SQL list leaves an earlier run's fields behind.
constexpr ViewSchema kViews[] = {
    {"QE_AcObject",
     R"sql(SELECT Class AS "分類", QueryType AS "ﾃｰﾌﾞﾙの種類", ObjectName AS "オブジェクト名",
  Description AS "説明", DateUpdate AS "更新日", DateCreate AS "作成日"
FROM T_AcObject ORDER BY objectNo, rowid)sql"},
    {"QE_AcTable",
     R"sql(SELECT t.TableName AS "テーブル名", f.FieldName AS "フィールド名",
  f.PrimaryKey AS "主キー", f.FieldType AS "属性", f.FieldSize AS "サイズ",
  f.Description AS "説明"
FROM T_AcTblInfo t LEFT JOIN T_AcTblItem f ON f.objectNo = t.objectNo
ORDER BY t.objectNo, t.rowid, f.FieldNo, f.rowid)sql"},
    {"QE_AcQuery",
     R"sql(SELECT q.QueryName AS "クエリー名", q.QueryType AS "ｸｴﾘｰの種類",
  f.FieldName AS "フィールド名", f.FieldType AS "属性", f.FieldSize AS "サイズ",
  q.Description AS "説明"
FROM T_AcQeryInfo q LEFT JOIN T_AcQeryItem f ON f.objectNo = q.objectNo AND q.Midasi <> 1
ORDER BY q.objectNo, q.rowid, f.FieldNo, f.rowid)sql"},
    {"QE_AcForm",
     R"sql(SELECT f.FormName AS "フォーム名", c.Name AS "コントロール名",
  c.ControlType AS "ｺﾝﾄﾛｰﾙの種類", c.Bunrui AS "分類", c.PropertyName AS "属性",
  c.PropertyValue AS "属性値"
FROM T_AcFrmInfo f LEFT JOIN T_AcFrmItem c ON c.objectNo = f.objectNo
ORDER BY f.objectNo, f.rowid, c.ControlNo, c.PropertyNo, c.rowid)sql"},
    {"QE_AcReport",
     R"sql(SELECT r.ReportName AS "レポート名", c.Name AS "コントロール名",
  c.ControlType AS "ｺﾝﾄﾛｰﾙの種類", c.Bunrui AS "分類", c.PropertyName AS "属性",
  c.PropertyValue AS "属性値"
FROM T_AcRepInfo r LEFT JOIN T_AcRepItem c ON c.objectNo = r.objectNo
ORDER BY r.objectNo, r.rowid, c.ControlNo, c.PropertyNo, c.rowid)sql"},
    {"QE_AcMacro",
     R"sql(SELECT ObjectName AS "オブジェクト名", ProcName AS "マクロ名", AcWhere AS "条件式",
  "Procedure" AS "アクション", Tekiyou AS "説明"
FROM T_AcMacro ORDER BY objectNo, ProcedureNo, LineNo, rowid)sql"},
};

}  // namespace

std::span<const TableSchema> WorkTables() { return kTables; }

std::span<const ViewSchema> WorkViews() { return kViews; }

std::span<const IndexSchema> WorkIndexes() { return kIndexes; }

std::string CreateViewSql(const ViewSchema& view) {
    return "CREATE VIEW \"" + std::string(view.name) + "\" AS " + std::string(view.select);
}

const TableSchema* FindWorkTable(std::string_view name) {
    for (const auto& t : kTables) {
        if (t.name == name)
            return &t;
    }
    return nullptr;
}

std::string_view SqlTypeOf(ColumnKind kind) {
    // The declared types give SQLite's affinities: TEXT keeps digits typed as text as text, and
    // the yes/no and date kinds stay recognisable when the file is read back.
    switch (kind) {
        case ColumnKind::Text:
            return "TEXT";
        case ColumnKind::Memo:
            return "LONGTEXT";
        case ColumnKind::Integer:
            return "SMALLINT";
        case ColumnKind::Long:
            return "INTEGER";
        case ColumnKind::Double:
            return "DOUBLE";
        case ColumnKind::YesNo:
            return "BOOLEAN";
        case ColumnKind::Date:
            return "DATETIME";
    }
    return "TEXT";
}

ColumnKind KindOfSqlType(std::string_view sqlType) {
    constexpr ColumnKind kinds[] = {ColumnKind::Text, ColumnKind::Memo,   ColumnKind::Integer,
                                    ColumnKind::Long, ColumnKind::Double, ColumnKind::YesNo,
                                    ColumnKind::Date};
    for (auto k : kinds) {
        if (SqlTypeOf(k) == sqlType)
            return k;
    }
    return ColumnKind::Text;
}

}  // namespace zanfor::workdb
