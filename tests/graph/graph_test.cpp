#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "cli/graph_commands.h"
#include "graph/graph_builder.h"
#include "graph/graph_output.h"
#include "graph/name_scan.h"
#include "graph/unused.h"
#include "host/access/file_application.h"
#include "host/memory/memory_target.h"
#include "test_support.h"

namespace {

using namespace zanfor;
using namespace zanfor::graph;
using host::memory::MemoryTargetBuilder;
namespace dao = host::dao;

host::access::GroupLevel level(const char* controlSource) {
    host::access::GroupLevel g;
    g.controlSource = controlSource;
    return g;
}

std::shared_ptr<host::memory::MemoryTarget> sampleTarget() {
    MemoryTargetBuilder b("/t/app.mdb");
    b.property("StartUpForm", "F起動");
    for (const char* name : {"顧客", "注文", "設定", "未使用表"})
        b.table(name).field("ID", dao::dbLong, 4);
    b.query("q顧客", dao::dbQSelect, "SELECT * FROM [顧客] WHERE 名前 <> 'FROM 注文'");
    b.query("q注文", dao::dbQSelect,
            "SELECT q顧客.ID FROM q顧客 INNER JOIN 注文 ON q顧客.ID = 注文.ID "
            "WHERE 注文.ID IN (SELECT ID FROM 顧客)");
    b.query("q消去", dao::dbQDelete, "DELETE * FROM 注文 WHERE Total(ID) > 0");
    b.query("q壊れ", dao::dbQSelect, "SELECT * FROM [閉じない");
    b.unreadableQuery("q読めない", dao::dbQSelect);
    b.query("q孤立", dao::dbQSelect, "SELECT * FROM 幽霊");
    b.form("F起動")
        .property("RecordSource", "q注文")
        .property("OnLoad", "[Event Procedure]")
        .property("MenuBar", "mMenu")
        .control(112, "子", {{"SourceObject", "Form.F子"}})
        .control(111, "cbo", {{"RowSource", "SELECT ID FROM 顧客"}, {"OnClick", "m群.開く"}})
        .control(109, "txt", {{"ControlSource", "=DLookup(\"ID\",\"設定\")"}})
        .control(104, "cmd", {{"OnClick", "=Total(1)"}})
        .control(104, "cmdY")
        .code(
            "Private Sub Form_Load()\n  DoCmd.OpenForm \"F詳細\"\n  Helper\nEnd Sub\n"
            "Private Sub cmdY_Click()\nEnd Sub\n");
    // A handler of a class's event, called by its RaiseEvent and never by name.
    b.form("F子").code("Private WithEvents m As clsWatch\nPrivate Sub m_Changed()\nEnd Sub");
    b.module("clsWatch", "Public Event Changed()\nSub Touch()\n  RaiseEvent Changed\nEnd Sub");
    b.form("F詳細").code(
        "Private Sub Form_Open(Cancel As Integer)\n  DoCmd.OpenReport strName\nEnd Sub");
    b.form("F孤立");
    b.report("R売上").property("RecordSource", "注文").groupLevel(level("=Total(2)"));
    b.report("R孤立");
    b.macro("AutoExec", "Function AutoExec()\n  DoCmd.OpenQuery \"q顧客\"\nEnd Function");
    b.macro("mMenu", "Function mMenu()\nEnd Function");
    b.macro("m群", "Function m群_開く()\n  DoCmd.RunMacro \"存在しない\"\nEnd Function");
    b.module(
        "modMain",
        "Public Function Total(x)\n  Total = x\nEnd Function\nPublic Sub Helper()\n"
        "  CurrentDb.Execute \"UPDATE 顧客 SET ID = 1\"\n  Forms!F子!txt = 1\nEnd Sub\n"
        "Public Sub Unused()\n  Dim s As String\n  s = \"R売上\"\n  DoCmd.OpenReport s\nEnd Sub");
    // Closing the form in hand names no other object.
    b.module("modGlobals",
             "Public gUser As String\nSub Init()\n  DoCmd.Close acForm, Me.Name\nEnd Sub");
    auto target = std::make_shared<host::memory::MemoryTarget>(*b.build());
    // A form the database lists whose design is not there to open.
    dao::Document broken;
    broken.name = "F壊れ";
    target->container("Forms").documents.push_back(broken);
    return target;
}

DependencyGraph sampleGraph() {
    host::memory::MemoryEngine engine;
    engine.add(sampleTarget());
    host::memory::MemoryApplication app(engine);
    app.openCurrentDatabase("/t/app.mdb");
    return BuildGraph(app.currentDb(), app);
}

std::vector<std::string> edgeRows(const DependencyGraph& g) {
    std::vector<std::string> rows;
    for (const Edge& e : g.edges())
        rows.push_back(NodeTitle(g.nodes()[e.from]) + "|" + NodeTitle(g.nodes()[e.to]) + "|" +
                       e.kind + "|" + LocationText(e.where));
    return rows;
}

TEST(DependencyGraph, findsEveryKindOfReferenceWithItsPlace) {
    const auto rows = edgeRows(sampleGraph());
    const char* expected[] = {
        "クエリ q顧客|テーブル 顧客|SQL|q顧客 / SQL",
        "クエリ q注文|クエリ q顧客|SQL|q注文 / SQL",
        "クエリ q注文|テーブル 注文|SQL|q注文 / SQL",
        "クエリ q注文|テーブル 顧客|SQL|q注文 / SQL",
        "クエリ q消去|テーブル 注文|SQL (write)|q消去 / SQL",
        "クエリ q消去|プロシージャ modMain.Total|function|q消去 / SQL",
        "クエリ q孤立|テーブル 幽霊 (見つかりません)|SQL|q孤立 / SQL",
        "フォーム F起動|クエリ q注文|record source|F起動 / RecordSource",
        "フォーム F起動|マクロ mMenu|menu bar|F起動 / MenuBar",
        "フォーム F起動|プロシージャ Form_F起動.Form_Load|event|F起動 / OnLoad",
        "フォーム F起動|フォーム F子|subform|F起動 / 子 / SourceObject",
        "フォーム F起動|テーブル 顧客|row source|F起動 / cbo / RowSource",
        "フォーム F起動|マクロ m群|event|F起動 / cbo / OnClick",
        "フォーム F起動|テーブル 設定|domain function|F起動 / txt / ControlSource",
        "フォーム F起動|プロシージャ modMain.Total|event|F起動 / cmd / OnClick",
        "レポート R売上|テーブル 注文|record source|R売上 / RecordSource",
        "レポート R売上|プロシージャ modMain.Total|group level|R売上 / GroupLevel",
        "マクロ m群|マクロ 存在しない (見つかりません)|RunMacro|m群 / m群_開く 行 2",
        "マクロ AutoExec|クエリ q顧客|OpenQuery|AutoExec / AutoExec 行 2",
        "プロシージャ Form_F起動.Form_Load|プロシージャ modMain.Helper|call|Form_F起動 / "
        "Form_Load 行 3",
        "プロシージャ Form_F起動.Form_Load|フォーム F詳細|OpenForm|Form_F起動 / Form_Load 行 2",
        "プロシージャ modMain.Helper|テーブル 顧客|Execute (write)|modMain / Helper 行 5",
        "プロシージャ modMain.Helper|フォーム F子|Forms!|modMain / Helper 行 6",
        "プロシージャ modMain.Unused|レポート R売上|OpenReport|modMain / Unused 行 11",
        "モジュール clsWatch|プロシージャ Form_F子.m_Changed|WithEvents|Form_F子 行 1",
    };
    for (const char* row : expected)
        EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row;
    // A name inside a quoted literal of SQL is no reference.
    EXPECT_EQ(std::find(rows.begin(), rows.end(), "クエリ q顧客|テーブル 注文|SQL|q顧客 / SQL"),
              rows.end());
}

TEST(DependencyGraph, keepsRunTimeNamesAndDamagedPartsApart) {
    const auto g = sampleGraph();
    ASSERT_EQ(g.dynamics().size(), 1u);
    EXPECT_EQ(g.dynamics()[0].expression, "strName");
    EXPECT_EQ(LocationText(g.dynamics()[0].where), "Form_F詳細 / Form_Open 行 2");
    std::vector<std::string> problems;
    for (const auto& p : g.problems())
        problems.push_back(p.object + ":" + std::to_string(p.number));
    EXPECT_EQ(problems, (std::vector<std::string>{"F壊れ:2102", "q壊れ:3075", "q読めない:3258"}));
}

TEST(Unused, saysWhatNothingReachesAndHowSure) {
    const auto g = sampleGraph();
    std::vector<std::string> rows;
    for (const auto& e : FindUnused(g))
        rows.push_back(NodeTitle(g.nodes()[e.node]) + "|" + std::string(SurenessLabel(e.sure)));
    EXPECT_EQ(rows,
              (std::vector<std::string>{
                  "テーブル 未使用表|確実", "クエリ q消去|確実", "クエリ q壊れ|確実",
                  "クエリ q読めない|確実", "クエリ q孤立|確実", "フォーム F孤立|確実",
                  "フォーム F壊れ|確実",
                  // A report name built at run time could be this one.
                  "レポート R孤立|不確実",
                  // Their public declarations may be used without a call.
                  "モジュール clsWatch|不確実", "モジュール modGlobals|不確実",
                  // Named like an event procedure, bound to no event property.
                  "プロシージャ Form_F起動.cmdY_Click|不確実",
                  "プロシージャ Form_F詳細.Form_Open|不確実", "プロシージャ clsWatch.Touch|確実",
                  "プロシージャ modMain.Unused|確実", "プロシージャ modGlobals.Init|確実"}));
}

struct SqlCase {
    const char* sql;
    const char* sources;  // "name" or "name*" for a written one, joined by ","
};

TEST(ScanSql, findsTheTablesOfEveryClause) {
    const SqlCase cases[] = {
        {"SELECT * FROM [A] AS x, B WHERE c IN (SELECT d FROM C)", "A,B,C"},
        {"INSERT INTO T (a, b) SELECT a, b FROM S", "T*,S"},
        {"UPDATE T INNER JOIN U ON T.a = U.a SET T.b = 1", "T*,U"},
        {"SELECT 'FROM X', \"JOIN Y\" FROM Z", "Z"},
        {"SELECT * FROM ((A INNER JOIN B ON A.x = B.x) LEFT JOIN C ON B.y = C.y)", "A,B,C"},
        {"DELETE T.* FROM T WHERE T.id IN (SELECT id FROM U)", "T*,U"},
        {"SELECT a INTO 新表 FROM 旧表", "新表*,旧表"},
    };
    for (const auto& c : cases) {
        std::string found;
        for (const auto& s : ScanSql(c.sql).sources)
            found += (found.empty() ? "" : ",") + s.name + (s.written ? "*" : "");
        EXPECT_EQ(found, c.sources) << c.sql;
    }
}

struct CodeCase {
    const char* statement;
    const char* use;  // "kind:text" with "?" after a run-time name; "" for none
};

TEST(ScanCode, findsTheObjectsAStatementNames) {
    const CodeCase cases[] = {
        {"DoCmd.OpenForm \"F\", acNormal", "OpenForm:F"},
        {"DoCmd.OpenReport \"R\", acViewNormal, \"Q\"", "OpenReport:RFilterName:Q"},
        {"Me.子.SourceObject = \"F\"", "SourceObject:F"},
        {"DoCmd.OpenForm FormName:=\"F\", View:=acNormal", "OpenForm:F"},
        {"DoCmd.OpenReport \"R\" & x", "OpenReport:\"R\" & x?"},
        {"Set rs = db.OpenRecordset(\"SELECT * FROM T\")", "OpenRecordset:SELECT * FROM T"},
        {"x = DLookup(\"a\", \"[T]\")", "DLookup:T"},
        {"Set rs = db.OpenRecordset(\"SELECT * FROM T WHERE a = \" & x)",
         "OpenRecordset:SELECT * FROM T WHERE a = "},
        {"' DoCmd.OpenForm \"F\"", ""},
        {"DoCmd.TransferText acExportDelim, , \"T\", \"c:\\x.txt\"", "TransferText:T"},
        {"DoCmd.OutputTo acOutputReport, \"R\", acFormatHTML", "OutputTo:R"},
        {"DoCmd.SelectObject acTable, \"T\", True", "SelectObject:T"},
        {"DoCmd.Close acForm, Me.Name", "Close:Me . Name?"},
        {"DoCmd.Close acForm, \"F\"", "Close:F"},
        {"If Forms(\"F\").Dirty Then", "Forms():F"},
        {"s = \"DELETE FROM T\" & x", "SQL:DELETE FROM T"},
        {"DoCmd.RunSQL (\"DELETE FROM (\" & rs.Fields(\"T\") & \")\")",
         "RunSQL:\"DELETE FROM (\" & rs . Fields ( \"T\" ) & \")\"?"},
    };
    for (const auto& c : cases) {
        std::string found;
        for (const auto& u : ScanCode(c.statement))
            found += u.kind + ":" + u.text + (u.dynamic ? "?" : "");
        EXPECT_EQ(found, c.use) << c.statement;
    }
}

TEST(GraphOutput, quotesEveryNameForDot) {
    const std::pair<const char*, const char*> cases[] = {{"a\"b", "\"a\\\"b\""},
                                                         {"c:\\x", "\"c:\\\\x\""},
                                                         {"<&>", "\"<&>\""},
                                                         {"一\n二", "\"一\\n二\""}};
    for (const auto& [text, quoted] : cases)
        EXPECT_EQ(DotQuote(text), quoted);
}

TEST(GraphCommands, badUsageAndUnknownNames) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::RunDeps({}, out, err), 2);
    EXPECT_EQ(cli::RunDeps({"x.mdb", "A", "--depth", "0"}, out, err), 2);
    EXPECT_EQ(cli::RunDeps({"x.mdb", "--json", "--dot"}, out, err), 2);
    EXPECT_EQ(cli::RunUnused({"a", "b"}, out, err), 2);
    ZANFOR_REQUIRE_TESTDATA(data);
    err.str("");
    EXPECT_EQ(cli::RunDeps({(data / "mdb" / "northwind-ja.mdb").string(), "無い名前"}, out, err),
              1);
    EXPECT_NE(err.str().find("2102"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("無い名前"), std::string::npos);
}

bool hasEdge(const DependencyGraph& g, const std::string& from, std::string_view kind,
             const std::string& to) {
    return std::any_of(g.edges().begin(), g.edges().end(), [&](const Edge& e) {
        const Node& f = g.nodes()[e.from];
        return e.kind == kind && g.nodes()[e.to].name == to && (f.name == from || f.module == from);
    });
}

// The sources, subforms and literal OpenForm/OpenReport calls a real file holds, gathered here
// from the designs and a plain pattern over the code, all appear as edges.
TEST(DependencyGraph, realFileHoldsEveryPlainReference) {
    ZANFOR_REQUIRE_TESTDATA(data);
    host::access::FileApplication app;
    app.openCurrentDatabase((data / "mdb" / "northwind-ja.mdb").string());
    const auto g = BuildGraph(app.currentDb(), app);
    EXPECT_TRUE(g.problems().empty());
    int checked = 0;
    for (const auto& doc : app.currentDb().documents("Forms")) {
        const auto& form = app.openForm(doc.name, host::access::View::Design);
        const auto* source = form.properties.find("RecordSource");
        const std::string recordSource = source ? source->value.toText() : "";
        if (!recordSource.empty() && recordSource.find(' ') == std::string::npos) {
            EXPECT_TRUE(hasEdge(g, doc.name, "record source", recordSource)) << doc.name;
            ++checked;
        }
        for (const auto& c : form.controls) {
            const auto* sub = c.properties.find("SourceObject");
            if (sub && !sub->value.toText().empty()) {
                std::string name = sub->value.toText();
                if (name.starts_with("Form."))
                    name = name.substr(5);
                EXPECT_TRUE(hasEdge(g, doc.name, "subform", name)) << doc.name;
                ++checked;
            }
        }
        app.close(host::access::ObjectType::Form, doc.name);
    }
    const std::regex open(R"re(^\s*DoCmd\.Open(Form|Report)\s+"([^"]+)")re");
    for (const auto& module : app.project().modules()) {
        const auto& model = module->model();
        for (long n = 1; n <= model.CountOfLines(); ++n) {
            const std::string line(model.Line(n));
            std::smatch m;
            if (std::regex_search(line, m, open)) {
                EXPECT_TRUE(hasEdge(g, module->name(), "Open" + m[1].str(), m[2])) << line;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 15);
}

}  // namespace
