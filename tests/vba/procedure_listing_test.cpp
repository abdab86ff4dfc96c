#include "vba/procedure_listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/memory/memory_target.h"
#include "vba/vba_fixture.h"

namespace {

using namespace zanfor;
using collect::RunResult;
using host::memory::MemoryTargetBuilder;
using test::Code;
using test::VbaFixture;

MemoryTargetBuilder procedureTarget() {
    MemoryTargetBuilder b("/procedures.mdb");
    b.form("F画面").code(Code({
        "Option Compare Database",
        "Private Declare Function GetDC Lib \"user32\" (ByVal h As Long) As Long",
        "Private Sub Form_Load()",
        "Rem Call Nothing",
        "End Sub",
    }));
    b.module("mod業務", Code({
                            "Option Compare Database",
                            "Option Explicit",
                            "Private Declare Function GetTickCount Lib \"kernel32\" () As Long",
                            "Public Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)",
                            "Private Const MAX_ROWS = 100 ' 上限",
                            "Public g_件数 As Long",
                            "",
                            "' 合計",
                            "Public Function Total(ByVal a As Long, _",
                            "                      ByVal b As Long, _",
                            "                      ByVal c As Long) As Long",
                            "    Dim s As Long ' 合計値",
                            "    Call Log_ (s)",
                            "    Total = a + b + c ' Exit Function here",
                            "    Exit Function",
                            "End Function",
                            "",
                            "Sub Main()",
                            "    MsgBox \"Sub は呼ばない\"",
                            "    Call MySub (1)",
                            "    ' Function F() in a comment",
                            "End Sub",
                        }));
    b.module("clsValue",
             Code({
                 "Private m_v As Long",
                 "",
                 "Public Property Get Value() As Long",
                 "    ' returns the property value",
                 "    Value = m_v",
                 "End Property",
                 "",
                 "Public Property Let Value(ByVal v As Long)",
                 "    ' set the property value",
                 "    Dim old As Long",
                 "    m_v = v",
                 "End Property",
                 "Property Set Target(ByVal o As Object)",
                 "End Property",
             }),
             host::access::ModuleType::Class);
    b.module("mod無宣言", Code({"Sub Only()", "End Sub"}));
    b.module("mod定数", Code({"Public Const 税率 = 10"}));
    return b;
}

const char* kProcedureSql =
    "SELECT \"Object\", ObjectName, ProcedureName, PrivatePublic, IFNULL(\"Type\", '-'), "
    "IFNULL(Parameters, '-'), IFNULL(\"As\", '-'), Line, objectNo, ProcedureNo, pLine, Midasi "
    "FROM T_AcProcName ORDER BY rowid";
const char* kStatementSql =
    "SELECT objectNo, ProcedureNo, pLine, DimCall, Bunrui, \"Type\", IFNULL(\"As\", '-'), "
    "Parameters FROM T_AcDimCall ORDER BY rowid";

TEST(VbaProcedureListing, detailedListingRecordsSectionsDeclaresHeadingsAndStatements) {
    auto b = procedureTarget();
    auto f = VbaFixture::ForMemory(b);
    f.state().options.proc = 2;
    auto ctx = f.context();
    ASSERT_EQ(vba::RunProcedureListing(ctx), RunResult::Collected);
    EXPECT_EQ(f.rows(kProcedureSql),
              (std::vector<std::string>{
                  "Form|F画面|(Declarations)|True|-|-|-|2|1|0|1|2",
                  "Form(Api)|F画面|GetDC|True|Function|-|-|0|1|1|3|2",
                  "Form|F画面|Form_Load|True|Sub|-|-|3|1|2|4|2",
                  "Module(Standard)|mod業務|(Declarations)|True|-|-|-|6|2|0|1|2",
                  "Module(Api)|mod業務|GetTickCount|True|Function|-|-|0|2|1|4|2",
                  "Module(Api)|mod業務|Sleep|False|Sub|-|-|0|2|2|5|2",
                  // A heading over three lines keeps all of them; Exit Function, End Function,
                  // Call MySub (1), a literal and a comment naming Sub or Function are no headings.
                  "Module(Standard)|mod業務|Total|False|Function|ByVal a As Long, ByVal b As Long, "
                  "ByVal c As Long|Long|10|2|3|10|2",
                  "Module(Standard)|mod業務|Main|False|Sub|-|-|6|2|4|19|2",
                  "Module(Class)|clsValue|(Declarations)|True|-|-|-|1|3|0|1|2",
                  "Module(Class)|clsValue|Value|False|Property Get|-|Long|5|3|1|4|2",
                  "Module(Class)|clsValue|Value|False|Property Let|ByVal v As Long|-|6|3|2|9|2",
                  "Module(Class)|clsValue|Target|False|Property Set|ByVal o As Object|-|2|3|3|14|2",
                  // Without declaration lines there is no declarations row, and pLine is the line.
                  "Module(Standard)|mod無宣言|Only|False|Sub|-|-|2|4|1|1|2",
                  "Module(Standard)|mod定数|(Declarations)|True|-|-|-|1|5|0|1|2",
              }));
    EXPECT_EQ(f.rows(kStatementSql),
              (std::vector<std::string>{
                  "2|0|6|5|定数|Const| 上限|MAX_ROWS = 100",
                  "2|0|7|2|変数|Public|-|g_件数 As Long",
                  "2|3|13|4|変数|Dim| 合計値|s As Long",
                  "2|3|14|6|呼出|Call|-|Log_ (s)",
                  "2|4|21|6|呼出|Call|-|MySub (1)",
                  "3|0|2|3|変数|Private|-|m_v As Long",
                  // After a comment naming the property, the statement keeps its heading's
                  // number, so the report lists it under Property Let.
                  "3|2|11|4|変数|Dim|-|old As Long",
                  "5|0|2|5|定数|Const|-|税率 = 10",
              }));
    EXPECT_EQ(f.state().lastRun[app::Collector::Procedures], 2);
    EXPECT_TRUE(f.state().isPreviewEnabled(app::PreviewButton::PPre));
    EXPECT_FALSE(f.access->visible());
}

TEST(VbaProcedureListing, simpleListingLeavesStatementsOutAndSaysSoInMidasi) {
    auto b = procedureTarget();
    auto f = VbaFixture::ForMemory(b);
    auto ctx = f.context();
    ASSERT_EQ(vba::RunProcedureListing(ctx), RunResult::Collected);
    f.state().options.proc = 1;
    f.state().options.proc50 = 1;
    ASSERT_EQ(vba::RunProcedureListing(ctx), RunResult::Collected);
    EXPECT_EQ(f.collector.count("T_AcDimCall"), 0);
    EXPECT_EQ(f.rows("SELECT Midasi, COUNT(*) FROM T_AcProcName GROUP BY Midasi"),
              (std::vector<std::string>{"1|14"}));
    ASSERT_EQ(vba::RunProcedureListing(ctx), RunResult::Previewed);
    EXPECT_EQ(f.events("report:"),
              (std::vector<std::string>{"R_AcProcName:0", "R_AcProcName50:0", "R_AcProcName50:0"}));
}

}  // namespace
