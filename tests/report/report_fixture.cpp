#include "report/report_fixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <string_view>
#include <vector>

#include "host/value.h"
#include "util/jet_date.h"
#include "workdb/work_database.h"

namespace zanfor::test {

namespace {

using host::Value;

Value Day(int year, int month, int day, int hour = 9, int minute = 0) {
    return host::Date{util::ToJetDate({year, month, day, hour, minute, 0})};
}

constexpr char kLongSql[] =
    "SELECT T_受注.受注番号, T_受注.受注日, T_顧客マスタ.顧客名, T_顧客マスタ.フリガナ, "
    "T_受注明細.明細番号, T_商品マスタ.商品名, T_受注明細.数量, T_受注明細.単価, "
    "[数量]*[単価] AS 金額, IIf([T_受注].[納品日] Is Null,\"未納品\",\"納品済\") AS 状態\r\n"
    "FROM ((T_受注 INNER JOIN T_顧客マスタ ON T_受注.顧客ID = T_顧客マスタ.顧客ID) "
    "INNER JOIN T_受注明細 ON T_受注.受注番号 = T_受注明細.受注番号) "
    "LEFT JOIN T_商品マスタ ON T_受注明細.商品コード = T_商品マスタ.商品コード\r\n"
    "WHERE T_受注.受注日 Between [Forms]![frm受注検索]![txt開始日] And "
    "[Forms]![frm受注検索]![txt終了日] AND T_受注.取消区分 = False AND "
    "(T_顧客マスタ.顧客区分 In (\"A\",\"B\",\"C\") OR T_顧客マスタ.特別扱い = True)\r\n"
    "ORDER BY T_受注.受注日 DESC, T_受注.受注番号, T_受注明細.明細番号;";

void FillInventory(workdb::WorkDatabase& db) {
    AddRows(db, "T_DataBase",
            "DbNo,DbName,FileSize,Version,QueryTimeout,Updatable,Stitle,sMenuBar,Sformdisp,"
            "Smenudisp,Sdbdisp,Sstatusbar,Sallowshortcutbar,Stoolbar,AccessVersion",
            {{0, "C:\\業務システム\\販売管理\\販売管理.mdb", 18432.5, "4.0", 60, true,
              "販売管理システム", "", "frmメニュー", false, false, true, true, false, "08.50"}});
    const char* objects[][4] = {
        {"Table", "T_顧客マスタ", "", "得意先の基本情報"},
        {"Table", "T_商品マスタ", "", "商品と標準単価"},
        {"Table", "T_売上実績", "Link(Access)", "\\\\fileserver\\共有\\売上実績.mdb"},
        {"Query", "Q_受注一覧", "選択ｸｴﾘｰ", "受注検索フォームのレコードソース"},
        {"Query", "Q_月別売上集計", "ｸﾛｽ集計ｸｴﾘｰ", ""},
        {"Form", "frmメニュー", "", "起動時のメニュー"},
        {"Form", "frm受注入力", "", ""},
        {"Report", "rpt請求書", "", "月末締めの請求書"},
        {"Macro", "mcrメイン", "", ""},
        {"Module", "modCommon", "", "共通関数"},
    };
    std::vector<Row> rows;
    for (const auto& o : objects) {
        const int no = static_cast<int>(rows.size()) + 1;
        rows.push_back({0, no, o[0], o[1], Day(2019, 4, 1 + no % 20, 10, no),
                        Day(2023, 11, 1 + no % 25, 17, 2 * no), o[2], 7, o[3]});
    }
    AddRows(db, "T_AcObject",
            "DbNo,objectNo,Class,ObjectName,DateCreate,DateUpdate,QueryType,Midasi,Description",
            rows);
}

void FillTables(workdb::WorkDatabase& db) {
    AddRows(
        db, "T_AcTblInfo",
        "objectNo,TableName,DateCreated,LastUpdated,Attributes,LinkTable,Connect,RecordCount,"
        "SourceTableName,Updatable,Midasi,Description",
        {{1, "T_顧客マスタ", Day(2019, 4, 1), Day(2023, 10, 1), 0, "", "", 1250, "", true, 3,
          "得意先の基本情報。請求先と納品先を兼ねる。"},
         {2, "T_受注明細", Day(2019, 4, 2), Day(2023, 10, 2), 0, "", "", 48210, "", true, 3, ""},
         {3, "T_売上実績", Day(2019, 4, 3), Day(2023, 10, 3), 1073741824, "Link(Access)",
          "\\\\fileserver\\共有\\売上実績.mdb", 0, "売上実績", true, 3, ""}});
    AddRows(db, "T_AcTblItem",
            "objectNo,FieldNo,FieldName,PrimaryKey,FieldType,FieldSize,ZeroLength,DefaultValue,"
            "ValRule,Description",
            {{1, 1, "顧客ID", true, "ｵｰﾄﾅﾝﾊﾞｰ型", 4, false, "", "", "自動採番"},
             {1, 2, "顧客名", false, "ﾃｷｽﾄ型", 50, false, "", "Is Not Null", "正式名称"},
             {1, 6, "顧客区分", false, "ﾃｷｽﾄ型", 1, true, "\"C\"", "In (\"A\",\"B\",\"C\")",
              "A:重要 B:通常 C:その他"},
             {1, 7, "特別扱い", false, "Yes/No型", 1, false, "False", "", ""},
             {2, 1, "受注番号", true, "長整数型", 4, false, "0", "", ""},
             {2, 2, "明細番号", true, "整数型", 2, false, "0", ">0", ""},
             {2, 4, "数量", false, "長整数型", 4, false, "1", ">=1", ""},
             {2, 5, "単価", false, "通貨型", 8, false, "0", "", "税抜き"},
             {3, 1, "年月", false, "ﾃｷｽﾄ型", 6, false, "", "", ""}});

    // Rows after an index's first carry only their field, as the collector writes them.
    AddRows(db, "T_AcIndex",
            "objectNo,FieldNo,TableName,IndexName,FieldName,Primary,Unique,Required",
            {{1, 1, "T_顧客マスタ", "PrimaryKey", "顧客ID", true, true, true},
             {1, 2, "T_顧客マスタ", "ix顧客名", "顧客名", false, false, false},
             {1, 3, "", "", "フリガナ", false, false, false},
             {2, 1, "T_受注明細", "PrimaryKey", "受注番号", true, true, true},
             {2, 2, "", "", "明細番号", false, false, false},
             {2, 3, "T_受注明細", "ix商品", "商品コード", false, false, false}});
}

void FillQueries(workdb::WorkDatabase& db) {
    // Fifty SELECTs joined by UNION ALL: SQL longer than a page.
    std::string unionSql;
    for (int year = 1990; year < 2040; ++year) {
        unionSql += (unionSql.empty() ? "" : "\r\nUNION ALL\r\n") + std::string("SELECT ") +
                    std::to_string(year) +
                    " AS 年度, 顧客ID, Sum(金額) AS 売上 FROM T_売上実績 WHERE 年月 Like \"" +
                    std::to_string(year) + "*\" GROUP BY 顧客ID";
    }
    const std::string queries[][4] = {
        {"Q_受注一覧", "選択ｸｴﾘｰ", kLongSql, "受注検索フォームのレコードソース"},
        {"Q_月別売上集計", "ｸﾛｽ集計ｸｴﾘｰ",
         "TRANSFORM Sum(金額) AS 合計 SELECT 顧客名 FROM Q_受注一覧 GROUP BY 顧客名 "
         "PIVOT Format([受注日],\"yyyy/mm\");",
         ""},
        {"Q_顧客区分更新", "更新ｸｴﾘｰ",
         "UPDATE T_顧客マスタ SET 顧客区分 = \"A\" WHERE 顧客ID In (SELECT 顧客ID FROM "
         "Q_受注一覧 WHERE 金額 > 1000000);",
         "年度末に実行する"},
        {"Q_外部結合", "選択ｸｴﾘｰ", "あいまいな外部結合のため開けません。", ""},
        {"Q_年次売上ユニオン", "ﾕﾆｵﾝｸｴﾘｰ", unionSql, "SQL が1ページに収まらないクエリー"},
    };
    std::vector<Row> rows;
    for (const auto& q : queries) {
        const int no = static_cast<int>(rows.size()) + 1;
        rows.push_back(
            {no, q[0], q[1], Day(2020, 1, no), Day(2023, 9, no), 60, no != 2, "", 3, q[2], q[3]});
    }
    AddRows(db, "T_AcQeryInfo",
            "objectNo,QueryName,QueryType,DateCreated,LastUpdated,ODBCTimeout,Updatable,Connect,"
            "Midasi,QuerySQL,Description",
            rows);
    AddRows(db, "T_AcQeryItem",
            "objectNo,FieldNo,FieldName,FieldType,FieldSize,SourceField,DefaultValue,SourceTable",
            {{1, 1, "受注番号", "長整数型", "4", "受注番号", "", "T_受注"},
             {1, 3, "顧客名", "ﾃｷｽﾄ型", "50", "顧客名", "", "T_顧客マスタ"},
             {1, 4, "金額", "通貨型", "8", "金額", "", ""},
             {1, 5, "状態", "ﾃｷｽﾄ型", "?", "参照不可", "", ""}});
}

// `controls` controls cycling through five kinds, each with the properties of its kind.
void FillControls(workdb::WorkDatabase& db, std::string_view table, int objectNo, int controls,
                  int midasi) {
    const char* types[] = {"ﾗﾍﾞﾙ", "ﾃｷｽﾄﾎﾞｯｸｽ", "ｺﾝﾎﾞﾎﾞｯｸｽ", "ｺﾏﾝﾄﾞﾎﾞﾀﾝ", "ﾁｪｯｸﾎﾞｯｸｽ"};
    const char* prefixes[] = {"lbl", "txt", "cbo", "cmd", "chk"};
    std::vector<Row> rows;
    for (int c = 1; c <= controls; ++c) {
        const int kind = (c - 1) % 5;
        const std::string n = std::to_string(c);
        std::vector<std::vector<std::string>> props;
        if (kind == 0)
            props = {{"書式", "標題", "項目 " + n}};
        if (kind == 1) {
            props = {{"ﾃﾞｰﾀ", "ｺﾝﾄﾛｰﾙｿｰｽ",
                      "=DLookUp(\"顧客名\",\"T_顧客マスタ\",\"顧客ID=\" & [顧客ID])"},
                     {"その他", "IMEﾓｰﾄﾞ・保持", "ｵﾝ・いいえ"}};
        }
        if (kind == 2) {
            props = {{"ﾃﾞｰﾀ", "ｺﾝﾄﾛｰﾙｿｰｽ", "商品コード"},
                     {"ﾃﾞｰﾀ", "値集合ﾀｲﾌﾟ", "ﾃｰﾌﾞﾙ/ｸｴﾘ"},
                     {"ﾃﾞｰﾀ", "値集合ｿｰｽ",
                      "SELECT T_商品マスタ.商品コード, T_商品マスタ.商品名, T_商品マスタ.標準単価 "
                      "FROM T_商品マスタ WHERE T_商品マスタ.廃番 = False ORDER BY "
                      "T_商品マスタ.商品コード;"},
                     {"ﾃﾞｰﾀ", "列数・連結列", "3・1"}};
        }
        if (kind == 3) {
            props = {{"書式", "標題", "登録(&S)"}, {"その他", "ﾀﾌﾞｽﾄｯﾌﾟ・移動順", "はい・" + n}};
            if (midasi == 2)
                props.push_back({"ｲﾍﾞﾝﾄ", "ｸﾘｯｸ時", "[イベント プロシージャ]"});
        }
        if (kind == 4)
            props = {{"ﾃﾞｰﾀ", "ｺﾝﾄﾛｰﾙｿｰｽ", "特別扱い"}};
        const std::string tlwh = std::to_string(c % 30) + "." + std::to_string(c % 7 * 125) +
                                 "cm・" + std::to_string(c % 4 * 3) + "cm・3cm・0.499cm";
        int propertyNo = 0;
        for (const auto& p : props) {
            rows.push_back({objectNo, c, ++propertyNo, prefixes[kind] + ("項目" + n), types[kind],
                            c % 17 == 0 ? "False" : "True", tlwh, p[0], p[1], p[2]});
        }
    }
    AddRows(db, table,
            "objectNo,ControlNo,PropertyNo,Name,ControlType,cntlVisible,TLWH,Bunrui,PropertyName,"
            "PropertyValue",
            rows);
}

void FillFormsAndReports(workdb::WorkDatabase& db) {
    AddRows(db, "T_AcFrmInfo",
            "objectNo,FormName,Caption,RecordSource,OrderBy,AllowEdits,AllowAdditions,RecordLocks,"
            "Modal,Midasi,Ibent1,IbentVL1,DateCreated,LastUpdated,Description",
            {{1, "frmメニュー", "販売管理 メニュー", "ﾚｺｰﾄﾞｿｰｽ : ", "並べ替え : ", true, false, 2,
              true, 2, "開く時", "[イベント プロシージャ]", Day(2019, 5, 1), Day(2023, 11, 1), ""},
             {2, "frm受注入力", "受注入力", std::string("ﾚｺｰﾄﾞｿｰｽ : ") + kLongSql,
              "並べ替え : 受注日 DESC", true, true, 2, false, 2, "ﾚｺｰﾄﾞ移動時", "=SetCaption()",
              Day(2019, 5, 2), Day(2023, 11, 2), "受注の見出しと明細を入力する"}});
    FillControls(db, "T_AcFrmItem", 1, 12, 2);
    FillControls(db, "T_AcFrmItem", 2, 200, 2);
    AddRows(
        db, "T_AcRepInfo",
        "objectNo,RecordSource,Filter,OrderBy,Caption,sMenuBar,Midasi,Ibent1,IbentVL1,ReportName,"
        "DateCreated,LastUpdated,Description",
        {{1, "ﾚｺｰﾄﾞｿｰｽ : Q_受注一覧", "フィルタ : ", "並べ替え : ", "請求書", "", 1, "開く時",
          "[イベント プロシージャ]", "rpt請求書", Day(2020, 2, 3), Day(2023, 12, 1),
          "月末締めの請求書"}});
    FillControls(db, "T_AcRepItem", 1, 24, 1);
    AddRows(db, "T_AcRepGrp",
            "objectNo,GroupNo,ControlSource,SortOrder,GroupHeader,GroupFooter,GroupOn,"
            "GroupInterval,KeepTogether",
            {{1, 1, "顧客ID", false, true, true, 0, 1, 1},
             {1, 2, "受注日", true, false, false, 0, 1, 0},
             {1, 3, "=Format([受注日],\"yyyy/mm\")", false, false, false, 4, 1, 0}});
}

void FillMacros(workdb::WorkDatabase& db) {
    const char* columns =
        "objectNo,ObjectName,Midasi,ProcedureNo,ProcName,LineNo,ActionNo,"
        "Procedure,Tekiyou,AcWhere";
    AddRows(
        db, "T_AcMacro", columns,
        {{1, "mcrメイン", 2, 11, "起動", 8, 26, "DoCmd.SetWarnings False",
          "確認メッセージを出さない", ""},
         {1, "mcrメイン", 2, 11, "起動", 9, 21,
          "DoCmd.OpenForm \"frmメニュー\", acNormal, \"\", \"\", , acNormal", "メニューを開く", ""},
         {1, "mcrメイン", 2, 13, "月次処理", 20, 1, "DoCmd.RunSQL \"DELETE FROM T_集計;\"",
          "集計表を空にする", "[Forms]![frmメニュー]![chk再集計] = True"},
         {1, "mcrメイン", 2, 13, "月次処理", 22, 45, "End If", "", ""}});
    AddRows(db, "T_AcMacro2", "ProcedureNo,LineNo,ActionNo,HikiNo,Hikisu",
            {{11, 8, 26, 1, "いいえ"},
             {11, 9, 21, 1, "frmメニュー"},
             {11, 9, 21, 2, "標準"},
             {11, 9, 21, 6, "acNormal"},
             {13, 20, 1, 1, "DELETE FROM T_集計;"}});
}

void FillCountsFilesCover(workdb::WorkDatabase& db) {
    const char* objects[][2] = {{"Form", "frmメニュー"},
                                {"Form", "frm受注入力"},
                                {"Form", "frm顧客検索"},
                                {"Report", "rpt請求書"},
                                {"Report", "rpt売上日報"}};
    std::vector<Row> counts;
    for (const auto& o : objects) {
        const int no = static_cast<int>(counts.size()) + 1;
        counts.push_back({no, o[0], o[1], no % 2, 10 + no * 4, no % 3, no == 1 ? 1 : 0,
                          no < 4 ? 6 : 0, no == 2 ? 3 : 0, no * 7, no == 2 ? 4 : 0, no == 2 ? 1 : 0,
                          no == 4 ? 1 : 0, no == 3 ? 2 : 0, no == 3 ? 1 : 0});
    }
    AddRows(db, "T_AcControlCount",
            "objectNo,Class,ObjectName,RectangleCount,LabelCount,LineCount,ImageCount,"
            "CommandButtonCount,CheckBoxCount,TextBoxCount,ComboBoxCount,SubformCount,"
            "PageBreakCount,PageCount,TabCtlCount",
            counts);
    AddRows(
        db, "T_AcFile", "FileNo,FileName,FileSize,UpdateDate,FilePath,ReadOnly",
        {{1, "販売管理.mdb", 18432.5, Day(2024, 1, 11, 9, 5), "C:\\業務システム\\販売管理\\", 0},
         {2, "販売管理.ldb", 0.0625, Day(2024, 1, 12, 10, 5), "C:\\業務システム\\販売管理\\", 0},
         {3, "売上実績.mdb", 55297.5, Day(2024, 1, 13, 11, 5), "\\\\fileserver\\共有\\", 1}});
    AddRows(db, "T_AcHyousi", "SysTitle,SysName,Company,Bumon,Auther,CreateDate",
            {{"システム仕様書", "販売管理システム", "株式会社サンプル商事", "情報システム部",
              "山田 太郎", Day(2024, 3, 15, 0)}});
}

struct Module {
    std::string name;
    const char* label;  // "1" for a form's module, "3" for a standard one
    int lines;
};

// Declarations, then a procedure every 40 lines, with comments, long SQL and tabs in between.
std::vector<Row> ModuleRows(const std::vector<Module>& modules) {
    std::vector<Row> rows;
    int objectNo = 0;
    int procedureNo = 0;
    for (const auto& [name, label, lines] : modules) {
        ++objectNo;
        ++procedureNo;
        std::string procedure;
        for (int line = 1; line <= lines; ++line) {
            std::string text;
            if (line == 1) {
                text = "Private Const 上限額 As Currency = 1000000";
            } else if (line == 2) {
                text = "Private mCount As Long  ' 件数";
            } else if (line == 3) {
                continue;
            } else if ((line - 4) % 40 == 0) {
                ++procedureNo;
                procedure = "処理" + std::to_string((line - 4) / 40 + 1);
                text = "Public Function " + procedure +
                       "(ByVal 顧客ID As Long, Optional ByVal 区分 As String = \"C\") As Boolean";
            } else if ((line - 4) % 40 == 39) {
                text = "End Function";
            } else if (line % 9 == 0) {
                text = "    ' 顧客ごとの受注金額を集計して、上限を超えた場合は警告を表示する";
            } else if (line % 13 == 0) {
                text =
                    "    strSQL = \"SELECT 受注番号, 受注日, 金額 FROM Q_受注一覧 WHERE 顧客ID = "
                    "\" & 顧客ID & \" AND 受注日 >= #\" & Format(dtmFrom, \"yyyy/mm/dd\") & \"# "
                    "ORDER BY 受注日;\"";
            } else {
                text = "\tIf rs!金額 > 上限額 Then mCount = mCount + " + std::to_string(line % 7);
            }
            rows.push_back({label, objectNo, procedureNo, name, line, procedure, text});
        }
    }
    return rows;
}

constexpr char kModuleColumns[] =
    "Label,objectNo,ProcedureNo,ObjectName,Line,ProcedureName,Procedure";

void FillProcedures(workdb::WorkDatabase& db) {
    const Value none;
    AddRows(
        db, "T_AcProcName",
        "objectNo,Object,ObjectName,ProcedureName,PrivatePublic,Type,Parameters,As,Line,"
        "ProcedureNo,pLine,Midasi",
        {{1, "Form", "frm受注入力", "(Declarations)", true, "", none, none, 3, 0, 1, 2},
         {1, "Form", "frm受注入力", "Form_Load", true, "Sub", none, none, 12, 1, 5, 2},
         {1, "Form", "frm受注入力", "cmd登録_Click", true, "Sub", none, none, 30, 2, 18, 2},
         {2, "Module(Standard)", "modCommon", "(Declarations)", true, "", none, none, 4, 0, 1, 2},
         {2, "Module(Api)", "modCommon", "GetTickCount", true, "Function", none, none, 0, 1, 2, 2},
         {2, "Module(Standard)", "modCommon", "受注金額取得", false, "Function",
          "ByVal 顧客ID As Long, Optional ByVal 区分 As String = \"C\"", "Currency", 40, 2, 6, 2},
         {2, "Module(Standard)", "modCommon", "ログ出力", false, "Sub", "msg As String", none, 20,
          3, 47, 2},
         {2, "Module(Standard)", "modCommon", "かな変換", false, "Function", "s As String",
          "String", 15, 4, 68, 2}});
    AddRows(db, "T_AcDimCall", "objectNo,ProcedureNo,pLine,DimCall,Bunrui,Type,As,Parameters",
            {{2, 0, 3, 3, "変数", "Private", " ログの出力先", "mLogPath As String"},
             {2, 2, 8, 4, "変数", "Dim", none, "rs As DAO.Recordset"},
             {2, 2, 12, 6, "呼出", "Call", none, "ログ出力(\"集計開始\")"}});
    const char* sections[][3] = {
        {"Form", "frm受注入力", "(Declations)"},  {"Form", "frm受注入力", "Form_Load"},
        {"Form", "frm受注入力", "cmd登録_Click"}, {"Module", "modCommon", "(Declations)"},
        {"Module", "modCommon", "受注金額取得"},  {"Module", "modCommon", "ログ出力"}};
    std::vector<Row> counts;
    for (const auto& s : sections) {
        const int no = static_cast<int>(counts.size()) + 1;
        const int total = 10 + no * 7;
        counts.push_back({s[0], s[1], s[2], s[0][0] == 'F' ? 1 : 2, no, no + 1, no % 3,
                          total - (no + 1) - no % 3, total});
    }
    AddRows(
        db, "T_AcProcCount",
        "Object,ObjectName,ProcedureName,objectNo,ProcedureNo,ComentCnt,SpaceCnt,ProcCnt,TotalCnt",
        counts);
    AddRows(db, "T_AcComment", "Object,ObjectName,ProcedureName,objectNo,ProcedureNo,Comment",
            {{"Form", "frm受注入力", "Form_Load", 1, 2, "    ' 初期表示"},
             {"Module", "modCommon", "受注金額取得", 2, 5,
              "    ' 顧客ごとの受注金額を集計する。取消済みの受注は含めない。"}});
}

void FillVariablesAndReferences(workdb::WorkDatabase& db) {
    AddRows(
        db, "T_AcHensu",
        "objectNo,ProcedureNo,ObjectName,ProcedureName,HensuName,Property,Bunrui,Type,Line,"
        "Description",
        {{2, 1, "modCommon", "(Declarations)", "mLogPath", "Private", "変数", "型/String", 1,
          "ログの出力先"},
         {2, 1, "modCommon", "(Declarations)", "MAX_件数", "Public", "定数", "値/1000", 2,
          "一度に処理する件数"},
         {2, 1, "modCommon", "(Declarations)", "GetTickCount", "Private", "API", "", 3, ""},
         {2, 1, "modCommon", "", "受注情報", "Public", "定義", "", 4, "受注の見出し"},
         {2, 1, "modCommon", "", "顧客名", "Public", "定義", "型/String * 50", 6, ""},
         {2, 3, "modCommon", "受注金額取得", "curTotal", "Dim", "変数", "型/Currency", 8, "合計"}});
    AddRows(db, "T_AcLinkModule",
            "objectNo,ProcedureNo,Bunrui,ObjectName,Procedure,LinkProcedure,MotoName",
            {{1, 2, "Form", "frm受注入力", "cmd登録_Click", "受注金額取得", "modCommon"},
             {3, 7, "Module", "mod受注処理", "月次集計", "受注金額取得", "modCommon"},
             {2, 4, "ﾓｼﾞｭｰﾙ", "frm受注入力", "Form_Load", "ログ出力", "modCommon"}});
    const Value none;
    AddRows(db, "T_AcLinkObject",
            "objectNo,ObjectName,ControlNo,PropertyNo,Bunrui,ControlName,ControlBunrui,"
            "PropertyName,PropertyValue,MotoName,Midasi",
            {{1, "Q_受注一覧", 0, 0, "クエリ", "選択ｸｴﾘｰ", none, none, none, "T_顧客マスタ", 0},
             {5, "frm顧客検索", 0, 0, "フォーム", "cbo顧客", none, "値集合ｿｰｽ", none,
              "T_顧客マスタ", 0},
             {1, "frmメニュー", 0, 1, "マクロ", "フォーム", "ﾃｷｽﾄﾎﾞｯｸｽ", "開く時", "mcrメイン.起動",
              "mcrメイン", 1},
             {2, "frm受注入力", 3, 1, "ﾃｰﾌﾞﾙ/ｸｴﾘｰ", "cbo商品", "ｺﾝﾎﾞﾎﾞｯｸｽ", "値集合ｿｰｽ",
              "Q_商品一覧", none, 1},
             {2, "frm受注入力", 0, 0, "ＳＱＬ", "", "ﾗﾍﾞﾙ", "ﾚｺｰﾄﾞｿｰｽ", kLongSql, none, 1}});
}

void FillComparisonAndSpecs(workdb::WorkDatabase& db) {
    // Against the older copy: one added, one removed, one changed, the rest alike.
    AddRows(db, "T_AcSaveObject", "objectNo,Class,ObjectName,DateUpdate,DateCreate",
            {{1, "Table", "T_顧客マスタ", Day(2024, 2, 1, 10), Day(2020, 1, 1)},
             {2, "Table", "T_受注", Day(2024, 2, 5, 10), Day(2020, 1, 1)},
             {4, "Form", "frm受注入力", Day(2024, 2, 20, 10), Day(2020, 1, 1)},
             {5, "Form", "frm新規画面", Day(2024, 2, 21, 10), Day(2020, 1, 1)}});

    AddRows(db, "T_AcSaveObjectOld", "Class,ObjectName,DateUpdate",
            {{"Table", "T_顧客マスタ", Day(2024, 2, 1, 10)},
             {"Table", "T_受注", Day(2024, 2, 2, 10)},
             {"Form", "frm受注入力", Day(2024, 2, 20, 10)},
             {"Report", "rpt旧帳票", Day(2024, 2, 4, 10)}});

    AddRows(db, "T_AcSaveFlag", "ObjName,ObjNameOld", {{"販売管理.mdb", "販売管理_20240101.adb"}});
    AddRows(db, "T_AcTeigi",
            "SpecID,SpecName,SpecType,DateDelim,DateFourDigitYear,DateLeadingZeros,DateOrder,"
            "DecimalPoint,FieldSeparator,FileType,StartRow,TextDelim,TimeDelim",
            {{1, "受注データ取込定義", 1, "/", true, false, 5, ".", ",", 932, 1, "\"", ":"},
             {2, "固定長出力定義", 2, "/", true, true, 5, ".", "", 932, 0, "", ":"}});
    AddRows(db, "T_AcTeigiItem",
            "SpecID,FieldName,dataType,Start,IndexType,SkipColumn,Attributes,Width",
            {{1, "受注番号", 4, 1, 2, false, 0, 0}, {1, "金額", 5, 4, 0, true, 0, 0}});
    AddRows(db, "T_AcTitle", "FileName", {{kFixtureFileLine}});
}

}  // namespace

void AddRows(workdb::WorkDatabase& db, std::string_view table, std::string_view columns,
             const std::vector<Row>& rows) {
    std::vector<std::string_view> names;
    for (std::size_t at = 0; at <= columns.size();) {
        const auto comma = std::min(columns.find(',', at), columns.size());
        names.push_back(columns.substr(at, comma - at));
        at = comma + 1;
    }
    workdb::RowWriter writer(db, table);
    for (const auto& row : rows) {
        writer.addNew();
        for (std::size_t i = 0; i < row.size(); ++i)
            writer.set(names.at(i), row[i]);
        writer.update();
    }
}

void FillReportFixture(workdb::WorkDatabase& db) {
    workdb::Transaction tx(db);
    FillInventory(db);
    FillTables(db);
    FillQueries(db);
    FillFormsAndReports(db);
    FillMacros(db);
    FillCountsFilesCover(db);
    AddRows(db, "T_AcModule", kModuleColumns,
            ModuleRows(
                {{"frm受注入力", "1", 60}, {"modCommon", "3", 2000}, {"あいうえお処理", "3", 12}}));
    FillProcedures(db);
    FillVariablesAndReferences(db);
    FillComparisonAndSpecs(db);
    tx.commit();
}

void FillModuleListing(workdb::WorkDatabase& db, int lines) {
    std::vector<Module> modules;
    for (int first = 0; first < lines; first += 5000) {
        modules.push_back({"mod大量処理" + std::to_string(modules.size() + 1), "3",
                           std::min(5000, lines - first)});
    }
    workdb::Transaction tx(db);
    AddRows(db, "T_AcModule", kModuleColumns, ModuleRows(modules));
    tx.commit();
}

std::string PdfText(const std::filesystem::path& pdf, int first, int last) {
    QStringList arguments{QStringLiteral("-layout"), QStringLiteral("-enc"),
                          QStringLiteral("UTF-8")};
    if (first > 0)
        arguments << QStringLiteral("-f") << QString::number(first);
    if (last > 0)
        arguments << QStringLiteral("-l") << QString::number(last);
    arguments << QString::fromStdString(pdf.string()) << QStringLiteral("-");
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput().toStdString();
}

int PdfPageCount(const std::filesystem::path& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf.string())});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return 0;
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

}  // namespace zanfor::test
