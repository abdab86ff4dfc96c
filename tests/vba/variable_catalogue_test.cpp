#include "vba/variable_catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/memory/memory_target.h"
#include "vba/module_walk.h"
#include "vba/vba_fixture.h"

namespace {

using namespace zanfor;
using test::Code;
using Lines = std::vector<std::string>;

// ProcedureName|HensuName|Property|Bunrui|Type|Description|Line
Lines declarations(const std::string& text) {
    Lines out;
    for (const vba::Declaration& d : vba::ReadDeclarations(host::ModuleModel(text))) {
        out.push_back(d.procedureName + "|" + d.name + "|" + d.property + "|" +
                      std::string(d.bunrui) + "|" + d.type + "|" + d.description + "|" +
                      std::to_string(d.sequence));
    }
    return out;
}

struct Case {
    const char* what;
    std::string code;
    Lines rows;
};

const Case kCases[] = {
    {"variable with comment",
     Code({"Private m_Count As Long ' counter"}),
     {"(Declarations)|m_Count|Private|変数|型/Long|counter|1"}},
    {"list in a procedure",
     Code({"Sub P()", "    Dim a As Integer, b As String", "End Sub"}),
     {"P|a|Dim|変数|型/Integer||1", "P|b|Dim|変数|型/String||2"}},
    {"constant",
     Code({"Public Const MAX_ROWS = 100 ' limit"}),
     {"(Declarations)|MAX_ROWS|Public|定数|値/100|limit|1"}},
    {"type block: members keep the comment mark, blank and comment lines give none",
     Code({"Private Type RECT ' area", "    Left As Long 'x", "", "    ' note", "    Top As Long",
           "    Name(1 To 2) As String * 10", "End Type", "Dim after As Long"}),
     {"|RECT|Private|定義||area|1", "|Left|Private|定義|型/Long|'x|2",
      "|Top|Private|定義|型/Long||3", "|Name(1 To 2)|Private|定義|型/String * 10||4",
      "(Declarations)|after|Dim|変数|型/Long||5"}},
    {"enum block",
     Code({"Enum Colour", "    Red = 1 ' first", "    Green", "End Enum"}),
     {"|Colour|Public|定義|||1", "|Red|Public|定義|値/1|' first|2", "|Green|Public|定義|値/2||3"}},
    {"headings, literals, comments, Static and ReDim give no row",
     Code({"Private Sub Form_Load()", "    MsgBox \"Dim the lights\"", "    x = 1 ' Public y",
           "    Static s As Long", "    ReDim a(3)", "    Rem Dim r", "End Sub",
           "Public Static Function F() As Long", "End Function", "Public Event Changed()"}),
     {}},
    {"a lone Const is local in a procedure and private in the declarations",
     Code({"Const A = 1", "Sub P()", "    Const B = 2", "End Sub"}),
     {"(Declarations)|A|Private|定数|値/1||1", "P|B|Dim|定数|値/2||2"}},
    {"the type runs to the comment mark",
     Code({"Dim x As Long' note"}),
     {"(Declarations)|x|Dim|変数|型/Long|note|1"}},
    {"every piece keeps scope and Const; only top-level commas split",
     Code({"Private Const A = 1, B As Long = 2 ' pair", "Dim a(1, 2) As Long, c",
           "Const S = \"a, b\""}),
     {"(Declarations)|A|Private|定数|値/1|pair|1", "(Declarations)|B|Private|定数|値/2|pair|2",
      "(Declarations)|a(1, 2)|Dim|変数|型/Long||3", "(Declarations)|c|Dim|変数|||4",
      "(Declarations)|S|Private|定数|値/\"a, b\"||5"}},
    {"Declare Function and Sub, continued lines",
     Code({"Private Declare Function GetDC Lib \"user32\" _", "    (ByVal h As Long) As Long ' dc",
           "Declare PtrSafe Sub Sleep Lib \"kernel32\" (ByVal ms As Long)"}),
     {"(Declarations)|GetDC|Private|API||dc|1", "(Declarations)|Sleep|Public|API|||2"}},
    {"statements after a colon or a label, New and WithEvents",
     Code({"Private WithEvents frm As Form", "Sub P()",
           "L1: Dim a As Long: Dim b As New Collection", "10 Dim c As Long", "End Sub"}),
     {"(Declarations)|frm|Private|変数|型/Form||1", "P|a|Dim|変数|型/Long||2",
      "P|b|Dim|変数|型/New Collection||3", "P|c|Dim|変数|型/Long||4"}},
    {"damaged code: open literal, nameless pieces, lone continuation, unclosed Type",
     Code({"Dim s As String = \"abc, d", "Private", "Dim , ", " _", "Public Type T",
           "    a As Long", "    b"}),
     {"(Declarations)|s|Dim|変数|型/String = \"abc, d||1", "|T|Public|定義|||2",
      "|a|Public|定義|型/Long||3"}},
};

TEST(VariableCatalogue, readsEachDeclarationAsItsRows) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(declarations(c.code), c.rows);
    }
}

TEST(VariableCatalogue, runWritesRowsPerObjectAndEnablesTheLists) {
    host::memory::MemoryTargetBuilder b("/hensu.mdb");
    b.form("F受注").code(Code({"Option Explicit", "Dim m_件数 As Long", "Private Sub Form_Load()",
                               "    Dim i As Integer", "End Sub"}));
    b.module("mod共通", Code({"Public Type 点", "    x As Long", "End Type", "Sub A()", "End Sub",
                              "Sub B()", "    Const N = 1", "End Sub"}));
    auto f = test::VbaFixture::ForTarget(b.build());
    auto ctx = f.context();
    ASSERT_EQ(vba::RunVariableCatalogue(ctx), collect::RunResult::Collected);
    EXPECT_EQ(
        f.rows("SELECT objectNo, ProcedureNo, ObjectName, ProcedureName, HensuName, "
               "Property, Bunrui, \"Type\", Line, Description FROM T_AcHensu ORDER BY rowid"),
        (Lines{"1|0|F受注|(Declarations)|m_件数|Dim|変数|型/Long|1|",
               "1|1|F受注|Form_Load|i|Dim|変数|型/Integer|2|", "2|2|mod共通||点|Public|定義||1|",
               "2|2|mod共通||x|Public|定義|型/Long|2|", "2|4|mod共通|B|N|Dim|定数|値/1|3|"}));
    EXPECT_EQ(f.events("message:"), (Lines{"変数 情報　取得中", "ﾌｫｰﾑﾓｼﾞｭｰﾙ情報　取得中",
                                           "ﾓｼﾞｭｰﾙ情報　取得中", "終了しました"}));
    EXPECT_EQ(f.events("box:"),
              (Lines{"「変数情報取得」を終了しました。\n各種一覧を押して印刷下さい。"}));
    EXPECT_TRUE(f.events("report:").empty());
    EXPECT_TRUE(f.state().support.variableLists);
    EXPECT_EQ(f.state().procedureNo, 4);
}

// The first name of each declaration statement that begins a line, found by its leading words
// alone, and its class.
std::vector<std::string> statementsOf(const host::ModuleModel& model) {
    std::vector<std::string> found;
    for (long n = 1; n <= model.CountOfLines(); ++n) {
        std::istringstream words{std::string(model.Line(n))};
        std::string w;
        words >> w;
        const bool scoped = w == "Dim" || w == "Private" || w == "Public" || w == "Global";
        if (scoped)
            words >> w;
        std::string bunrui = "変数";
        if (w == "Const" || w == "Type" || w == "Enum" || w == "Declare") {
            bunrui = w == "Const" ? "定数" : w == "Declare" ? "API" : "定義";
            words >> w;
            if (bunrui == "API")
                words >> w;  // the word after Function or Sub
        } else if (!scoped || w == "Sub" || w == "Function" || w == "Property" || w == "Static" ||
                   w == "WithEvents") {
            continue;
        }
        found.push_back(w.substr(0, w.find_first_of(",(:")) + "|" + bunrui);
    }
    return found;
}

TEST(VariableCatalogueRealFiles, everyDeclarationStatementHasItsRow) {
    ZANFOR_REQUIRE_TESTDATA(data);
    for (const char* file : {"northwind-ja.mdb", "ailtonz-Matriz.mdb"}) {
        SCOPED_TRACE(file);
        auto f = test::VbaFixture::ForFile(data / "mdb" / file);
        auto ctx = f.context();
        ASSERT_EQ(vba::RunVariableCatalogue(ctx), collect::RunResult::Collected);
        std::map<std::string, int> expected;
        vba::WalkModules(ctx, vba::kAllKinds, [&](const vba::CodeObject& o) {
            for (const std::string& s : statementsOf(o.model()))
                ++expected[o.name + "|" + s];
        });
        std::map<std::string, int> written;
        // Names compare without their bounds ("a(1 To 3)").
        for (const std::string& row :
             f.rows("SELECT ObjectName, CASE WHEN instr(HensuName, '(') > 0 THEN substr(HensuName, "
                    "1, instr(HensuName, '(') - 1) ELSE HensuName END, Bunrui FROM T_AcHensu"))
            ++written[row];
        EXPECT_GT(expected.size(), 20u);
        for (const auto& [key, count] : expected)
            EXPECT_GE(written[key], count) << key;
    }
}

}  // namespace
