#include "report/report_fixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "host/value.h"
#include "util/jet_date.h"
#include "workdb/work_database.h"

namespace zanfor::test {

namespace {

using host::Value;
using Fields = std::initializer_list<std::pair<std::string_view, Value>>;

Value Day(int year, int month, int day, int hour = 9, int minute = 0) {
    return host::Date{util::ToJetDate({year, month, day, hour, minute, 0})};
}

class Filler {
public:
    explicit Filler(workdb::WorkDatabase& db) : db_(db) {}

    void empty(std::string_view table) { db_.execute("delete * from " + std::string(table) + ";"); }

    void add(std::string_view table, Fields fields) {
        workdb::RowWriter writer(db_, table);
        writer.addNew();
        for (const auto& [name, value] : fields)
            writer.set(name, value);
        writer.update();
    }

private:
    workdb::WorkDatabase& db_;
};

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

void FillInventory(Filler& f) {
    f.empty("T_DataBase");
    f.add("T_DataBase", {{"DbNo", 0},
                         {"DbName", "C:\\業務システム\\販売管理\\販売管理.mdb"},
                         {"FileSize", 18432.5},
                         {"Version", "4.0"},
                         {"QueryTimeout", 60},
                         {"Updatable", true},
                         {"Stitle", "販売管理システム"},
                         {"sMenuBar", ""},
                         {"Sformdisp", "frmメニュー"},
                         {"Smenudisp", false},
                         {"Sdbdisp", false},
                         {"Sstatusbar", true},
                         {"Sallowshortcutbar", true},
                         {"Stoolbar", false},
                         {"AccessVersion", "08.50"}});
    f.empty("T_AcObject");
    struct Obj {
        const char* cls;
        const char* name;
        const char* type;
        const char* description;
    };
    const Obj objects[] = {
        {"Table", "T_顧客マスタ", "", "得意先の基本情報"},
        {"Table", "T_商品マスタ", "", "商品と標準単価"},
        {"Table", "T_受注", "", "受注の見出し"},
        {"Table", "T_受注明細", "", "受注の明細行"},
        {"Table", "T_売上実績", "Link(Access)", "\\\\fileserver\\共有\\売上実績.mdb"},
        {"Query", "Q_受注一覧", "選択ｸｴﾘｰ", "受注検索フォームのレコードソース"},
        {"Query", "Q_月別売上集計", "ｸﾛｽ集計ｸｴﾘｰ", ""},
        {"Query", "Q_顧客区分更新", "更新ｸｴﾘｰ", "年度末に実行する"},
        {"Form", "frmメニュー", "", "起動時のメニュー"},
        {"Form", "frm受注入力", "", ""},
        {"Form", "frm顧客検索", "", ""},
        {"Report", "rpt請求書", "", "月末締めの請求書"},
        {"Report", "rpt売上日報", "", ""},
        {"Macro", "mcrメイン", "", ""},
        {"Module", "modCommon", "", "共通関数"},
        {"Module", "mod受注処理", "", ""},
        {"Module", "clsLogger", "", ""},
    };
    int no = 0;
    for (const auto& o : objects) {
        ++no;
        f.add("T_AcObject", {{"DbNo", 0},
                             {"objectNo", no},
                             {"Class", o.cls},
                             {"ObjectName", o.name},
                             {"DateCreate", Day(2019, 4, 1 + no % 20, 10, no)},
                             {"DateUpdate", Day(2023, 11, 1 + no % 25, 17, 2 * no)},
                             {"QueryType", o.type},
                             {"Midasi", 7},
                             {"Description", o.description}});
    }
}

void FillTables(Filler& f) {
    f.empty("T_AcTblInfo");
    f.empty("T_AcTblItem");
    f.empty("T_AcIndex");
    struct Field {
        const char* name;
        bool key;
        const char* type;
        int size;
        const char* defaultValue;
        const char* rule;
        const char* description;
    };
    struct Table {
        const char* name;
        const char* link;
        const char* connect;
        int records;
        std::initializer_list<Field> fields;
    };
    const Table tables[] = {
        {"T_顧客マスタ",
         "",
         "",
         1250,
         {{"顧客ID", true, "ｵｰﾄﾅﾝﾊﾞｰ型", 4, "", "", "自動採番"},
          {"顧客名", false, "ﾃｷｽﾄ型", 50, "", "Is Not Null", "正式名称"},
          {"フリガナ", false, "ﾃｷｽﾄ型", 50, "", "", "半角カナ不可"},
          {"郵便番号", false, "ﾃｷｽﾄ型", 8, "", "Like \"###-####\"", ""},
          {"住所", false, "ﾃｷｽﾄ型", 255, "", "", ""},
          {"顧客区分", false, "ﾃｷｽﾄ型", 1, "\"C\"", "In (\"A\",\"B\",\"C\")",
           "A:重要 B:通常 C:その他"},
          {"特別扱い", false, "Yes/No型", 1, "False", "", ""},
          {"備考", false, "ﾒﾓ型", 0, "", "", ""}}},
        {"T_受注明細",
         "",
         "",
         48210,
         {{"受注番号", true, "長整数型", 4, "0", "", ""},
          {"明細番号", true, "整数型", 2, "0", ">0", ""},
          {"商品コード", false, "ﾃｷｽﾄ型", 10, "", "", ""},
          {"数量", false, "長整数型", 4, "1", ">=1", ""},
          {"単価", false, "通貨型", 8, "0", "", "税抜き"}}},
        {"T_売上実績",
         "Link(Access)",
         "\\\\fileserver\\共有\\売上実績.mdb",
         0,
         {{"年月", false, "ﾃｷｽﾄ型", 6, "", "", ""}, {"金額", false, "通貨型", 8, "", "", ""}}},
    };
    int no = 0;
    for (const auto& t : tables) {
        ++no;
        f.add("T_AcTblInfo",
              {{"objectNo", no},
               {"TableName", t.name},
               {"DateCreated", Day(2019, 4, no)},
               {"LastUpdated", Day(2023, 10, no)},
               {"Attributes", *t.link ? 1073741824 : 0},
               {"LinkTable", t.link},
               {"Connect", t.connect},
               {"RecordCount", t.records},
               {"SourceTableName", *t.link ? "売上実績" : ""},
               {"Updatable", true},
               {"Midasi", 3},
               {"Description", no == 1 ? "得意先の基本情報。請求先と納品先を兼ねる。" : ""}});
        int fieldNo = 0;
        for (const auto& fd : t.fields) {
            ++fieldNo;
            f.add("T_AcTblItem", {{"objectNo", no},
                                  {"FieldNo", fieldNo},
                                  {"FieldName", fd.name},
                                  {"PrimaryKey", fd.key},
                                  {"FieldType", fd.type},
                                  {"FieldSize", fd.size},
                                  {"ZeroLength", fieldNo % 3 == 0},
                                  {"DefaultValue", fd.defaultValue},
                                  {"ValRule", fd.rule},
                                  {"Description", fd.description}});
        }
    }
    struct IndexRow {
        int table;
        const char* tableName;
        const char* index;
        const char* field;
        bool primary;
        bool unique;
    };
    const IndexRow indexes[] = {
        {1, "T_顧客マスタ", "PrimaryKey", "顧客ID", true, true},
        {1, "T_顧客マスタ", "ix顧客名", "顧客名", false, false},
        {1, "", "", "フリガナ", false, false},
        {2, "T_受注明細", "PrimaryKey", "受注番号", true, true},
        {2, "", "", "明細番号", false, false},
        {2, "T_受注明細", "ix商品", "商品コード", false, false},
    };
    int row = 0;
    int last = 0;
    for (const auto& x : indexes) {
        row = x.table == last ? row + 1 : 1;
        last = x.table;
        f.add("T_AcIndex", {{"objectNo", x.table},
                            {"FieldNo", row},
                            {"TableName", x.tableName},
                            {"IndexName", x.index},
                            {"FieldName", x.field},
                            {"Primary", x.primary},
                            {"Clustered", false},
                            {"Foreign", false},
                            {"Unique", x.unique},
                            {"IgnoreNulls", false},
                            {"Required", x.primary}});
    }
}

void FillQueries(Filler& f) {
    f.empty("T_AcQeryInfo");
    f.empty("T_AcQeryItem");
    struct Query {
        const char* name;
        const char* type;
        const char* sql;
        const char* description;
    };
    const Query queries[] = {
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
        {"Q_年次売上ユニオン", "ﾕﾆｵﾝｸｴﾘｰ", nullptr, "SQL が1ページに収まらないクエリー"},
    };
    std::string unionSql;
    for (int year = 1990; year < 2040; ++year) {
        if (!unionSql.empty())
            unionSql += "\r\nUNION ALL\r\n";
        unionSql += "SELECT " + std::to_string(year) +
                    " AS 年度, 顧客ID, Sum(金額) AS 売上 FROM T_売上実績 WHERE 年月 Like \"" +
                    std::to_string(year) + "*\" GROUP BY 顧客ID";
    }
    int no = 0;
    for (const auto& q : queries) {
        ++no;
        f.add("T_AcQeryInfo", {{"objectNo", no},
                               {"QueryName", q.name},
                               {"QueryType", q.type},
                               {"DateCreated", Day(2020, 1, no)},
                               {"LastUpdated", Day(2023, 9, no)},
                               {"ODBCTimeout", 60},
                               {"MaxRecords", 0},
                               {"Updatable", no != 2},
                               {"Connect", ""},
                               {"RecordsAffected", 0},
                               {"Midasi", 3},
                               {"QuerySQL", q.sql ? std::string(q.sql) : unionSql},
                               {"Description", q.description}});
    }
    const char* fields[][4] = {{"受注番号", "長整数型", "4", "T_受注"},
                               {"受注日", "日付型", "8", "T_受注"},
                               {"顧客名", "ﾃｷｽﾄ型", "50", "T_顧客マスタ"},
                               {"金額", "通貨型", "8", ""},
                               {"状態", "ﾃｷｽﾄ型", "?", ""}};
    int fieldNo = 0;
    for (const auto& fd : fields) {
        ++fieldNo;
        const bool unknown = std::string_view(fd[2]) == "?";
        f.add("T_AcQeryItem", {{"objectNo", 1},
                               {"FieldNo", fieldNo},
                               {"FieldName", fd[0]},
                               {"FieldType", fd[1]},
                               {"FieldSize", fd[2]},
                               {"SourceField", unknown ? "参照不可" : fd[0]},
                               {"ZeroLength", false},
                               {"DefaultValue", ""},
                               {"SourceTable", fd[3]}});
    }
}

void FillControls(Filler& f, std::string_view item, int objectNo, int controls, int midasi) {
    const char* types[] = {"ﾗﾍﾞﾙ", "ﾃｷｽﾄﾎﾞｯｸｽ", "ｺﾝﾎﾞﾎﾞｯｸｽ", "ｺﾏﾝﾄﾞﾎﾞﾀﾝ", "ﾁｪｯｸﾎﾞｯｸｽ"};
    for (int c = 1; c <= controls; ++c) {
        const int kind = (c - 1) % 5;
        const std::string name = std::string(kind == 0   ? "lbl"
                                             : kind == 1 ? "txt"
                                             : kind == 2 ? "cbo"
                                             : kind == 3 ? "cmd"
                                                         : "chk") +
                                 "項目" + std::to_string(c);
        const std::string tlwh = std::to_string(c % 30) + "." + std::to_string(c % 7 * 125) +
                                 "cm・" + std::to_string(c % 4 * 3) + "cm・3cm・0.499cm";
        struct Prop {
            const char* group;
            const char* label;
            std::string value;
        };
        std::vector<Prop> props;
        switch (kind) {
            case 0:
                props = {{"書式", "標題", "項目 " + std::to_string(c)}};
                break;
            case 1:
                props = {{"ﾃﾞｰﾀ", "ｺﾝﾄﾛｰﾙｿｰｽ",
                          "=DLookUp(\"顧客名\",\"T_顧客マスタ\",\"顧客ID=\" & [顧客ID])"},
                         {"ﾃﾞｰﾀ", "規定値・編集ﾛｯｸ", "・いいえ"},
                         {"その他", "IMEﾓｰﾄﾞ・保持", "ｵﾝ・いいえ"}};
                break;
            case 2:
                props = {{"ﾃﾞｰﾀ", "ｺﾝﾄﾛｰﾙｿｰｽ", "商品コード"},
                         {"ﾃﾞｰﾀ", "値集合ﾀｲﾌﾟ", "ﾃｰﾌﾞﾙ/ｸｴﾘ"},
                         {"ﾃﾞｰﾀ", "値集合ｿｰｽ",
                          "SELECT T_商品マスタ.商品コード, T_商品マスタ.商品名, "
                          "T_商品マスタ.標準単価 FROM T_商品マスタ WHERE T_商品マスタ.廃番 = "
                          "False ORDER BY T_商品マスタ.商品コード;"},
                         {"ﾃﾞｰﾀ", "列数・連結列", "3・1"}};
                break;
            case 3:
                props = {{"書式", "標題", "登録(&S)"},
                         {"その他", "ﾀﾌﾞｽﾄｯﾌﾟ・移動順", "はい・" + std::to_string(c)}};
                if (midasi == 2)
                    props.push_back({"ｲﾍﾞﾝﾄ", "ｸﾘｯｸ時", "[イベント プロシージャ]"});
                break;
            default:
                props = {{"ﾃﾞｰﾀ", "ｺﾝﾄﾛｰﾙｿｰｽ", "特別扱い"}};
                break;
        }
        int propertyNo = 0;
        for (const auto& p : props) {
            f.add(item, {{"objectNo", objectNo},
                         {"ControlNo", c},
                         {"PropertyNo", ++propertyNo},
                         {"Name", name},
                         {"ControlType", types[kind]},
                         {"cntlVisible", c % 17 == 0 ? "False" : "True"},
                         {"TLWH", tlwh},
                         {"Bunrui", p.group},
                         {"PropertyName", p.label},
                         {"PropertyValue", p.value}});
        }
    }
}

void FillForms(Filler& f) {
    f.empty("T_AcFrmInfo");
    f.empty("T_AcFrmItem");
    const char* names[] = {"frmメニュー", "frm受注入力"};
    for (int no = 1; no <= 2; ++no) {
        f.add("T_AcFrmInfo",
              {{"objectNo", no},
               {"RecordSource", no == 1 ? "ﾚｺｰﾄﾞｿｰｽ : " : std::string("ﾚｺｰﾄﾞｿｰｽ : ") + kLongSql},
               {"Filter", "フィルタ : "},
               {"OrderBy", no == 2 ? "並べ替え : 受注日 DESC" : "並べ替え : "},
               {"Caption", no == 1 ? "販売管理 メニュー" : "受注入力"},
               {"DefaultView", 0},
               {"AllowEdits", true},
               {"AllowDeletions", no == 2},
               {"AllowAdditions", no == 2},
               {"DataEntry", false},
               {"RecordsetType", 0},
               {"RecordLocks", 2},
               {"PopUp", false},
               {"sMenuBar", ""},
               {"Modal", no == 1},
               {"Midasi", 2},
               {"Ibent1", "開く時"},
               {"IbentVL1", "[イベント プロシージャ]"},
               {"Ibent2", no == 2 ? "ﾚｺｰﾄﾞ移動時" : ""},
               {"IbentVL2", no == 2 ? "=SetCaption()" : ""},
               {"FormName", names[no - 1]},
               {"DateCreated", Day(2019, 5, no)},
               {"LastUpdated", Day(2023, 11, no)},
               {"Description", no == 2 ? "受注の見出しと明細を入力する" : ""}});
    }
    FillControls(f, "T_AcFrmItem", 1, 12, 2);
    FillControls(f, "T_AcFrmItem", 2, 200, 2);
}

void FillReports(Filler& f) {
    f.empty("T_AcRepInfo");
    f.empty("T_AcRepItem");
    f.empty("T_AcRepGrp");
    f.add("T_AcRepInfo", {{"objectNo", 1},
                          {"RecordSource", "ﾚｺｰﾄﾞｿｰｽ : Q_受注一覧"},
                          {"Filter", "フィルタ : "},
                          {"OrderBy", "並べ替え : "},
                          {"Caption", "請求書"},
                          {"RecordLocks", 0},
                          {"sMenuBar", ""},
                          {"Midasi", 1},
                          {"Ibent1", "開く時"},
                          {"IbentVL1", "[イベント プロシージャ]"},
                          {"ReportName", "rpt請求書"},
                          {"DateCreated", Day(2020, 2, 3)},
                          {"LastUpdated", Day(2023, 12, 1)},
                          {"Description", "月末締めの請求書"}});
    FillControls(f, "T_AcRepItem", 1, 24, 1);
    const char* sources[] = {"顧客ID", "受注日", "=Format([受注日],\"yyyy/mm\")"};
    for (int k = 0; k < 3; ++k) {
        f.add("T_AcRepGrp", {{"objectNo", 1},
                             {"GroupNo", k + 1},
                             {"ControlSource", sources[k]},
                             {"SortOrder", k == 1},
                             {"GroupHeader", k == 0},
                             {"GroupFooter", k == 0},
                             {"GroupOn", k == 2 ? 4 : 0},
                             {"GroupInterval", 1},
                             {"KeepTogether", k == 0 ? 1 : 0}});
    }
}

void FillMacros(Filler& f) {
    f.empty("T_AcMacro");
    f.empty("T_AcMacro2");
    struct Action {
        int procedure;
        const char* procName;
        int line;
        int action;
        const char* statement;
        const char* comment;
        const char* condition;
        std::initializer_list<const char*> arguments;
    };
    const Action actions[] = {
        {11, "起動", 8, 26, "DoCmd.SetWarnings False", "確認メッセージを出さない", "", {"いいえ"}},
        {11,
         "起動",
         9,
         21,
         "DoCmd.OpenForm \"frmメニュー\", acNormal, \"\", \"\", , acNormal",
         "メニューを開く",
         "",
         {"frmメニュー", "標準", "", "", "", "acNormal"}},
        {12, "終了", 14, 27, "MsgBox \"終了します。\", vbInformation, \"販売管理\"", "", "", {}},
        {12, "終了", 15, 43, "DoCmd.Quit acSave", "", "", {"acSave"}},
        {13,
         "月次処理",
         20,
         1,
         "DoCmd.RunSQL \"DELETE FROM T_集計;\"",
         "集計表を空にする",
         "[Forms]![frmメニュー]![chk再集計] = True",
         {"DELETE FROM T_集計;"}},
        {13, "月次処理", 22, 45, "End If", "", "", {}},
    };
    for (const auto& a : actions) {
        f.add("T_AcMacro", {{"objectNo", 1},
                            {"ProcedureNo", a.procedure},
                            {"ObjectName", "mcrメイン"},
                            {"ActionNo", a.action},
                            {"LineNo", a.line},
                            {"ProcName", a.procName},
                            {"Procedure", a.statement},
                            {"Tekiyou", a.comment},
                            {"AcWhere", a.condition},
                            {"Midasi", 2}});
        int no = 0;
        for (const char* argument : a.arguments) {
            f.add("T_AcMacro2", {{"ProcedureNo", a.procedure},
                                 {"LineNo", a.line},
                                 {"Hikisu", argument},
                                 {"ActionNo", a.action},
                                 {"HikiNo", ++no}});
        }
    }
}

void FillCountsFilesCover(Filler& f) {
    f.empty("T_AcControlCount");
    const char* objects[][2] = {{"Form", "frmメニュー"},
                                {"Form", "frm受注入力"},
                                {"Form", "frm顧客検索"},
                                {"Report", "rpt請求書"},
                                {"Report", "rpt売上日報"}};
    int no = 0;
    for (const auto& o : objects) {
        ++no;
        f.add("T_AcControlCount", {{"objectNo", no},
                                   {"Class", o[0]},
                                   {"ObjectName", o[1]},
                                   {"RectangleCount", no % 2},
                                   {"LabelCount", 10 + no * 4},
                                   {"LineCount", no % 3},
                                   {"ImageCount", no == 1 ? 1 : 0},
                                   {"CommandButtonCount", no < 4 ? 6 : 0},
                                   {"OptionButtonCount", 0},
                                   {"CheckBoxCount", no == 2 ? 3 : 0},
                                   {"OptionGroupCount", 0},
                                   {"BoundObjectFrameCount", 0},
                                   {"TextBoxCount", no * 7},
                                   {"ListBoxCount", 0},
                                   {"ComboBoxCount", no == 2 ? 4 : 0},
                                   {"SubformCount", no == 2 ? 1 : 0},
                                   {"ObjectFrameCount", 0},
                                   {"PageBreakCount", no == 4 ? 1 : 0},
                                   {"PageCount", no == 3 ? 2 : 0},
                                   {"CustomControlCount", 0},
                                   {"ToggleButtonCount", 0},
                                   {"TabCtlCount", no == 3 ? 1 : 0}});
    }
    f.empty("T_AcFile");
    const char* files[][2] = {{"販売管理.mdb", "C:\\業務システム\\販売管理\\"},
                              {"販売管理.ldb", "C:\\業務システム\\販売管理\\"},
                              {"売上実績.mdb", "\\\\fileserver\\共有\\"}};
    no = 0;
    for (const auto& fl : files) {
        ++no;
        f.add("T_AcFile", {{"FileNo", no},
                           {"FileName", fl[0]},
                           {"FileSize", no == 2 ? 0.0625 : 18432.5 * no},
                           {"UpdateDate", Day(2024, 1, 10 + no, 8 + no, 5)},
                           {"FilePath", fl[1]},
                           {"ReadOnly", no == 3 ? 1 : 0}});
    }
    f.empty("T_AcHyousi");
    f.add("T_AcHyousi", {{"SysTitle", "システム仕様書"},
                         {"SysName", "販売管理システム"},
                         {"Company", "株式会社サンプル商事"},
                         {"Bumon", "情報システム部"},
                         {"Auther", "山田 太郎"},
                         {"CreateDate", Day(2024, 3, 15, 0)}});
}

void FillCode(Filler& f) {
    f.empty("T_AcModule");
    struct Module {
        const char* label;
        const char* name;
        int lines;
    };
    const Module modules[] = {
        {"1", "frm受注入力", 60}, {"3", "modCommon", 2000}, {"3", "あいうえお処理", 12}};
    int objectNo = 0;
    int procedureNo = 0;
    for (const auto& m : modules) {
        ++objectNo;
        ++procedureNo;
        std::string procedure;
        for (int line = 1; line <= m.lines; ++line) {
            std::string text;
            if (line <= 3) {
                text = line == 1   ? "Private Const 上限額 As Currency = 1000000"
                       : line == 2 ? "Private mCount As Long  ' 件数"
                                   : "";
                if (text.empty())
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
                text =
                    "\tIf rs!金額 > 上限額 Then mCount = mCount + " + std::to_string(line % 7) + "";
            }
            f.add("T_AcModule", {{"Label", m.label},
                                 {"objectNo", objectNo},
                                 {"ProcedureNo", procedureNo},
                                 {"ObjectName", m.name},
                                 {"Line", line},
                                 {"ProcedureName", procedure},
                                 {"Procedure", text}});
        }
    }

    f.empty("T_AcProcName");
    f.empty("T_AcDimCall");
    struct Proc {
        int object;
        const char* kind;
        const char* objectName;
        const char* name;
        bool isPrivate;
        const char* type;
        const char* parameters;
        const char* result;
        int lines;
        int procedureNo;
        int pLine;
    };
    const Proc procs[] = {
        {1, "Form", "frm受注入力", "(Declarations)", true, "", nullptr, nullptr, 3, 0, 1},
        {1, "Form", "frm受注入力", "Form_Load", true, "Sub", nullptr, nullptr, 12, 1, 5},
        {1, "Form", "frm受注入力", "cmd登録_Click", true, "Sub", nullptr, nullptr, 30, 2, 18},
        {2, "Module(Standard)", "modCommon", "(Declarations)", true, "", nullptr, nullptr, 4, 0, 1},
        {2, "Module(Api)", "modCommon", "GetTickCount", true, "Function", nullptr, nullptr, 0, 1,
         2},
        {2, "Module(Standard)", "modCommon", "受注金額取得", false, "Function",
         "ByVal 顧客ID As Long, Optional ByVal 区分 As String = \"C\"", "Currency", 40, 2, 6},
        {2, "Module(Standard)", "modCommon", "ログ出力", false, "Sub", "msg As String", nullptr, 20,
         3, 47},
        {2, "Module(Standard)", "modCommon", "かな変換", false, "Function", "s As String", "String",
         15, 4, 68},
    };
    for (const auto& p : procs) {
        Fields base = {{"Object", p.kind},
                       {"ObjectName", p.objectName},
                       {"ProcedureName", p.name},
                       {"PrivatePublic", p.isPrivate},
                       {"Type", p.type},
                       {"Parameters", p.parameters ? Value(p.parameters) : Value()},
                       {"As", p.result ? Value(p.result) : Value()},
                       {"Line", p.lines},
                       {"objectNo", p.object},
                       {"ProcedureNo", p.procedureNo},
                       {"pLine", p.pLine},
                       {"Midasi", 2}};
        f.add("T_AcProcName", base);
    }
    f.add("T_AcDimCall", {{"objectNo", 2},
                          {"ProcedureNo", 0},
                          {"pLine", 3},
                          {"DimCall", 3},
                          {"Bunrui", "変数"},
                          {"Type", "Private"},
                          {"As", " ログの出力先"},
                          {"Parameters", "mLogPath As String"}});
    f.add("T_AcDimCall", {{"objectNo", 2},
                          {"ProcedureNo", 2},
                          {"pLine", 8},
                          {"DimCall", 4},
                          {"Bunrui", "変数"},
                          {"Type", "Dim"},
                          {"Parameters", "rs As DAO.Recordset"}});
    f.add("T_AcDimCall", {{"objectNo", 2},
                          {"ProcedureNo", 2},
                          {"pLine", 12},
                          {"DimCall", 6},
                          {"Bunrui", "呼出"},
                          {"Type", "Call"},
                          {"Parameters", "ログ出力(\"集計開始\")"}});

    f.empty("T_AcProcCount");
    const char* sections[][3] = {
        {"Form", "frm受注入力", "(Declations)"},  {"Form", "frm受注入力", "Form_Load"},
        {"Form", "frm受注入力", "cmd登録_Click"}, {"Module", "modCommon", "(Declations)"},
        {"Module", "modCommon", "受注金額取得"},  {"Module", "modCommon", "ログ出力"}};
    int no = 0;
    for (const auto& s : sections) {
        ++no;
        const int total = 10 + no * 7;
        f.add("T_AcProcCount", {{"Object", s[0]},
                                {"ObjectName", s[1]},
                                {"ProcedureName", s[2]},
                                {"objectNo", s[0][0] == 'F' ? 1 : 2},
                                {"ProcedureNo", no},
                                {"ComentCnt", no + 1},
                                {"SpaceCnt", no % 3},
                                {"ProcCnt", total - (no + 1) - no % 3},
                                {"TotalCnt", total}});
    }
    f.empty("T_AcComment");
    const char* comments[][3] = {{"Form", "frm受注入力", "Form_Load"},
                                 {"Form", "frm受注入力", "Form_Load"},
                                 {"Module", "modCommon", "受注金額取得"}};
    no = 0;
    for (const auto& c : comments) {
        ++no;
        f.add(
            "T_AcComment",
            {{"Object", c[0]},
             {"ObjectName", c[1]},
             {"ProcedureName", c[2]},
             {"Comment", no == 3 ? "    ' 顧客ごとの受注金額を集計する。取消済みの受注は含めない。"
                                 : "    ' 初期表示"},
             {"objectNo", c[0][0] == 'F' ? 1 : 2},
             {"ProcedureNo", no == 3 ? 5 : 2}});
    }
}

void FillVariablesAndReferences(Filler& f) {
    f.empty("T_AcHensu");
    struct Hensu {
        int object;
        const char* objectName;
        const char* procedure;
        const char* name;
        const char* scope;
        const char* kind;
        const char* type;
        const char* description;
    };
    const Hensu rows[] = {
        {2, "modCommon", "(Declarations)", "mLogPath", "Private", "変数", "型/String",
         "ログの出力先"},
        {2, "modCommon", "(Declarations)", "MAX_件数", "Public", "定数", "値/1000",
         "一度に処理する件数"},
        {2, "modCommon", "(Declarations)", "GetTickCount", "Private", "API", "", ""},
        {2, "modCommon", "", "受注情報", "Public", "定義", "", "受注の見出し"},
        {2, "modCommon", "", "受注番号", "Public", "定義", "型/Long", "' 採番済み"},
        {2, "modCommon", "", "顧客名", "Public", "定義", "型/String * 50", ""},
        {2, "modCommon", "受注金額取得", "rs", "Dim", "変数", "型/DAO.Recordset", ""},
        {2, "modCommon", "受注金額取得", "curTotal", "Dim", "変数", "型/Currency", "合計"},
    };
    int line = 0;
    for (const auto& h : rows) {
        f.add("T_AcHensu",
              {{"objectNo", h.object},
               {"ProcedureNo", std::string_view(h.procedure) == "受注金額取得" ? 3 : 1},
               {"ObjectName", h.objectName},
               {"ProcedureName", h.procedure},
               {"HensuName", h.name},
               {"Property", h.scope},
               {"Bunrui", h.kind},
               {"Type", h.type},
               {"Line", ++line},
               {"Description", h.description}});
    }
    f.empty("T_AcLinkModule");
    f.add("T_AcLinkModule", {{"objectNo", 1},
                             {"ProcedureNo", 2},
                             {"Bunrui", "Form"},
                             {"ObjectName", "frm受注入力"},
                             {"Procedure", "cmd登録_Click"},
                             {"LinkProcedure", "受注金額取得"},
                             {"MotoName", "modCommon"}});
    f.add("T_AcLinkModule", {{"objectNo", 3},
                             {"ProcedureNo", 7},
                             {"Bunrui", "Module"},
                             {"ObjectName", "mod受注処理"},
                             {"Procedure", "月次集計"},
                             {"LinkProcedure", "受注金額取得"},
                             {"MotoName", "modCommon"}});
    f.add("T_AcLinkModule", {{"objectNo", 3},
                             {"ProcedureNo", 8},
                             {"Bunrui", "Module"},
                             {"ObjectName", "mod受注処理"},
                             {"Procedure", ""},
                             {"LinkProcedure", "ログ出力"},
                             {"MotoName", "modCommon"}});
    f.add("T_AcLinkModule", {{"objectNo", 2},
                             {"ProcedureNo", 4},
                             {"Bunrui", "ﾓｼﾞｭｰﾙ"},
                             {"ObjectName", "frm受注入力"},
                             {"Procedure", "Form_Load"},
                             {"LinkProcedure", "ログ出力"},
                             {"MotoName", "modCommon"}});

    f.empty("T_AcLinkObject");
    f.add("T_AcLinkObject", {{"objectNo", 1},
                             {"ObjectName", "Q_受注一覧"},
                             {"Bunrui", "クエリ"},
                             {"ControlName", "選択ｸｴﾘｰ"},
                             {"MotoName", "T_顧客マスタ"}});
    f.add("T_AcLinkObject", {{"objectNo", 5},
                             {"ObjectName", "frm顧客検索"},
                             {"Bunrui", "フォーム"},
                             {"PropertyName", "ﾚｺｰﾄﾞｿｰｽ"},
                             {"MotoName", "T_顧客マスタ"}});
    f.add("T_AcLinkObject", {{"objectNo", 5},
                             {"ObjectName", "frm顧客検索"},
                             {"Bunrui", "フォーム"},
                             {"ControlName", "cbo顧客"},
                             {"PropertyName", "値集合ｿｰｽ"},
                             {"MotoName", "T_顧客マスタ"}});
    f.add("T_AcLinkObject", {{"objectNo", 1},
                             {"ObjectName", "frmメニュー"},
                             {"ControlNo", 0},
                             {"PropertyNo", 1},
                             {"Bunrui", "マクロ"},
                             {"ControlName", "フォーム"},
                             {"ControlBunrui", "ﾃｷｽﾄﾎﾞｯｸｽ"},
                             {"PropertyName", "開く時"},
                             {"PropertyValue", "mcrメイン.起動"},
                             {"MotoName", "mcrメイン"},
                             {"Midasi", 1}});
    f.add("T_AcLinkObject", {{"objectNo", 2},
                             {"ObjectName", "frm受注入力"},
                             {"ControlNo", 0},
                             {"PropertyNo", 0},
                             {"Bunrui", "ＳＱＬ"},
                             {"ControlName", ""},
                             {"ControlBunrui", "ﾗﾍﾞﾙ"},
                             {"PropertyName", "ﾚｺｰﾄﾞｿｰｽ"},
                             {"PropertyValue", kLongSql},
                             {"Midasi", 1}});
    f.add("T_AcLinkObject", {{"objectNo", 2},
                             {"ObjectName", "frm受注入力"},
                             {"ControlNo", 3},
                             {"PropertyNo", 1},
                             {"Bunrui", "ﾃｰﾌﾞﾙ/ｸｴﾘｰ"},
                             {"ControlName", "cbo商品"},
                             {"ControlBunrui", "ｺﾝﾎﾞﾎﾞｯｸｽ"},
                             {"PropertyName", "値集合ｿｰｽ"},
                             {"PropertyValue", "Q_商品一覧"},
                             {"Midasi", 1}});
    f.add("T_AcLinkObject", {{"objectNo", 2},
                             {"ObjectName", "frm受注入力"},
                             {"ControlNo", 4},
                             {"PropertyNo", 1},
                             {"Bunrui", "ﾕｰｻﾞｰ関数"},
                             {"ControlName", "txt金額"},
                             {"ControlBunrui", "ﾃｷｽﾄﾎﾞｯｸｽ"},
                             {"PropertyName", "ｺﾝﾄﾛｰﾙｿｰｽ"},
                             {"PropertyValue", "受注金額取得"},
                             {"MotoName", "modCommon"},
                             {"Midasi", 1}});
}

void FillComparisonAndSpecs(Filler& f) {
    f.empty("T_AcSaveObject");
    f.empty("T_AcSaveObjectOld");
    f.empty("T_AcSaveFlag");
    struct Saved {
        const char* cls;
        const char* name;
        int day;
    };
    const Saved current[] = {{"Table", "T_顧客マスタ", 1}, {"Table", "T_受注", 5},
                             {"Query", "Q_受注一覧", 9},   {"Form", "frm受注入力", 20},
                             {"Form", "frm新規画面", 21},  {"Module", "modCommon", 3}};
    const Saved old[] = {{"Table", "T_顧客マスタ", 1}, {"Table", "T_受注", 2},
                         {"Query", "Q_受注一覧", 9},   {"Form", "frm受注入力", 20},
                         {"Report", "rpt旧帳票", 4},   {"Module", "MODCOMMON", 3}};
    int no = 0;
    for (const auto& s : current)
        f.add("T_AcSaveObject", {{"objectNo", ++no},
                                 {"Class", s.cls},
                                 {"ObjectName", s.name},
                                 {"DateUpdate", Day(2024, 2, s.day, 10)},
                                 {"DateCreate", Day(2020, 1, 1)}});
    for (const auto& s : old)
        f.add("T_AcSaveObjectOld",
              {{"Class", s.cls}, {"ObjectName", s.name}, {"DateUpdate", Day(2024, 2, s.day, 10)}});
    f.add("T_AcSaveFlag", {{"ObjName", "販売管理.mdb"}, {"ObjNameOld", "販売管理_20240101.adb"}});

    f.empty("T_AcTeigi");
    f.empty("T_AcTeigiItem");
    f.add("T_AcTeigi", {{"DateDelim", "/"},
                        {"DateFourDigitYear", true},
                        {"DateLeadingZeros", false},
                        {"DateOrder", 5},
                        {"DecimalPoint", "."},
                        {"FieldSeparator", ","},
                        {"FileType", 932},
                        {"SpecID", 1},
                        {"SpecName", "受注データ取込定義"},
                        {"SpecType", 1},
                        {"StartRow", 1},
                        {"TextDelim", "\""},
                        {"TimeDelim", ":"}});
    f.add("T_AcTeigi", {{"DateDelim", "/"},
                        {"DateFourDigitYear", true},
                        {"DateLeadingZeros", true},
                        {"DateOrder", 5},
                        {"DecimalPoint", "."},
                        {"FieldSeparator", ""},
                        {"FileType", 932},
                        {"SpecID", 2},
                        {"SpecName", "固定長出力定義"},
                        {"SpecType", 2},
                        {"StartRow", 0},
                        {"TextDelim", ""},
                        {"TimeDelim", ":"}});
    const char* columns[][3] = {
        {"受注番号", "4", "1"}, {"受注日", "8", "2"}, {"顧客ID", "4", "3"}, {"金額", "5", "4"}};
    for (const auto& c : columns)
        f.add("T_AcTeigiItem", {{"Attributes", 0},
                                {"dataType", std::atoi(c[1])},
                                {"FieldName", c[0]},
                                {"IndexType", c[2][0] == '1' ? 2 : 0},
                                {"SkipColumn", c[2][0] == '4'},
                                {"SpecID", 1},
                                {"Start", std::atoi(c[2])},
                                {"Width", 0}});

    f.empty("T_AcTitle");
    f.add("T_AcTitle", {{"FileName", kFixtureFileLine}});
}

}  // namespace

void FillReportFixture(workdb::WorkDatabase& db) {
    workdb::Transaction tx(db);
    Filler f(db);
    FillInventory(f);
    FillTables(f);
    FillQueries(f);
    FillForms(f);
    FillReports(f);
    FillMacros(f);
    FillCountsFilesCover(f);
    FillCode(f);
    FillVariablesAndReferences(f);
    FillComparisonAndSpecs(f);
    tx.commit();
}

void FillModuleListing(workdb::WorkDatabase& db, int lines) {
    workdb::Transaction tx(db);
    db.execute("delete * from T_AcModule;");
    workdb::RowWriter writer(db, "T_AcModule");
    int objectNo = 0;
    int procedureNo = 0;
    std::string procedure;
    for (int i = 0; i < lines; ++i) {
        const int line = i % 5000 + 1;
        if (line == 1)
            ++objectNo;
        if (line % 50 == 1) {
            ++procedureNo;
            procedure = "処理" + std::to_string(procedureNo);
        }
        std::string text;
        switch (line % 50) {
            case 1:
                text = "Public Sub " + procedure + "(ByVal 顧客ID As Long)";
                break;
            case 0:
                text = "End Sub";
                break;
            default:
                text = line % 7 == 0 ? "    ' 受注金額を集計する"
                                     : "    curTotal = curTotal + rs!金額 * " +
                                           std::to_string(line % 10) + "  ' 加算";
                break;
        }
        writer.addNew();
        writer.set("Label", "3")
            .set("objectNo", objectNo)
            .set("ProcedureNo", procedureNo)
            .set("ObjectName", "mod大量処理" + std::to_string(objectNo))
            .set("Line", line)
            .set("ProcedureName", procedure)
            .set("Procedure", text);
        writer.update();
    }
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
