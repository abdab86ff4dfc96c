// The code readers: each on a target built in code, then all four on real files, where what
// they write must agree with the modules' own line counts and hold comments known to be there.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/memory/memory_target.h"
#include "vba/comment_listing.h"
#include "vba/module_listing.h"
#include "vba/module_walk.h"
#include "vba/procedure_listing.h"
#include "vba/step_counts.h"
#include "vba/vba_fixture.h"

namespace {

using namespace zanfor;
using collect::RunResult;
using host::memory::MemoryTargetBuilder;
using test::Code;
using test::VbaFixture;
using Lines = std::vector<std::string>;

MemoryTargetBuilder listingTarget() {
    MemoryTargetBuilder b("/listing.mdb");
    b.form("F受注").code(Code({"Option Compare Database", "Dim m_件数 As Long   ", "",
                               "Private Sub Form_Load()", "    m_件数 = 0", "End Sub"}));
    b.form("F空");
    b.report("R請求").code(Code({"Sub Report_Open(Cancel As Integer)", "End Sub"}));
    b.module("mod設定", Code({"Option Explicit", "", "   ", "Option Compare Database"}));
    b.module("mod共通",
             Code({"Public g As Long", "' 合計を返す", "Function Sum_() As Long", "End Function"}));
    return b;
}

Lines listing(VbaFixture& f) {
    return f.rows(
        "SELECT Label, objectNo, ProcedureNo, ObjectName, Line, ProcedureName, Procedure "
        "FROM T_AcModule ORDER BY rowid");
}

TEST(VbaModuleListing, allKindsListEveryKeptLineWithItsLabelAndNumbers) {
    auto f = VbaFixture::ForTarget(listingTarget().build());
    f.state().options.module = 4;
    auto ctx = f.context();
    ASSERT_EQ(vba::RunModuleListing(ctx), RunResult::Collected);
    EXPECT_EQ(listing(f),
              (Lines{// The run starts in "" with number 0, which the first declarations keep;
                     // lines keep their indentation and trailing blanks.
                     "1|1|0|F受注|1||Dim m_件数 As Long   ",
                     "1|1|1|F受注|2|Form_Load|Private Sub Form_Load()",
                     "1|1|1|F受注|3|Form_Load|    m_件数 = 0", "1|1|1|F受注|4|Form_Load|End Sub",
                     "2|2|2|R請求|1|Report_Open|Sub Report_Open(Cancel As Integer)",
                     "2|2|2|R請求|2|Report_Open|End Sub",
                     // mod設定 (object 3) has only option statements and blank lines: no rows,
                     // but its declarations took number 3, which mod共通's declarations share.
                     "3|4|3|mod共通|1||Public g As Long", "3|4|4|mod共通|2|Sum_|' 合計を返す",
                     "3|4|4|mod共通|3|Sum_|Function Sum_() As Long",
                     "3|4|4|mod共通|4|Sum_|End Function"}));
    EXPECT_TRUE(f.state().isPreviewEnabled(app::PreviewButton::MPre));
    EXPECT_FALSE(f.access->visible());
    EXPECT_EQ(f.state().procedureNo, 4);
}

TEST(VbaModuleListing, anAccessFailureAsksToEndAndKeepsTheRowsWrittenBeforeIt) {
    auto broken = std::make_shared<host::memory::MemoryTarget>(*listingTarget().build());
    broken->container("Modules").documents.push_back({"mod消失", {}, {}, {}});
    auto f = VbaFixture::ForTarget(broken);
    f.state().options.module = 4;
    auto ctx = f.context();
    ASSERT_EQ(vba::RunModuleListing(ctx), RunResult::ShutdownRequested);
    EXPECT_EQ(listing(f).size(), 10u);
    const auto boxes = f.events("box:");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].starts_with("場所:モジュール情報ｴﾗｰNo:2516")) << boxes[0];
}

MemoryTargetBuilder procedureTarget() {
    MemoryTargetBuilder b("/procedures.mdb");
    b.form("F画面").code(
        Code({"Option Compare Database",
              "Private Declare Function GetDC Lib \"user32\" (ByVal h As Long) As Long",
              "Private Sub Form_Load()", "Rem Call Nothing", "End Sub"}));
    b.module("mod業務", Code({"Option Compare Database",
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
                              "End Sub"}));
    b.module("clsValue",
             Code({"Private m_v As Long", "", "Public Property Get Value() As Long",
                   "    ' returns the property value", "    Value = m_v", "End Property", "",
                   "Public Property Let Value(ByVal v As Long)", "    ' set the property value",
                   "    Dim old As Long", "    m_v = v", "End Property",
                   "Property Set Target(ByVal o As Object)", "End Property"}),
             host::access::ModuleType::Class);
    b.module("mod無宣言", Code({"Sub Only()", "End Sub"}));
    return b;
}

const char* kProcedureSql =
    "SELECT \"Object\", ObjectName, ProcedureName, PrivatePublic, IFNULL(\"Type\", '-'), "
    "IFNULL(Parameters, '-'), IFNULL(\"As\", '-'), Line, objectNo, ProcedureNo, pLine, Midasi "
    "FROM T_AcProcName ORDER BY rowid";
const char* kStatementSql =
    "SELECT objectNo, ProcedureNo, pLine, DimCall, Bunrui, \"Type\", IFNULL(\"As\", '-'), "
    "Parameters FROM T_AcDimCall ORDER BY rowid";

TEST(VbaProcedureListing,
     recordsSectionsDeclaresHeadingsAndStatementsWhichTheSimpleListingLeavesOut) {
    auto f = VbaFixture::ForTarget(procedureTarget().build());
    f.state().options.proc = 2;
    auto ctx = f.context();
    ASSERT_EQ(vba::RunProcedureListing(ctx), RunResult::Collected);
    EXPECT_EQ(
        f.rows(kProcedureSql),
        (Lines{"Form|F画面|(Declarations)|True|-|-|-|2|1|0|1|2",
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
               "Module(Standard)|mod無宣言|Only|False|Sub|-|-|2|4|1|1|2"}));
    EXPECT_EQ(
        f.rows(kStatementSql),
        (Lines{"2|0|6|5|定数|Const| 上限|MAX_ROWS = 100", "2|0|7|2|変数|Public|-|g_件数 As Long",
               "2|3|13|4|変数|Dim| 合計値|s As Long", "2|3|14|6|呼出|Call|-|Log_ (s)",
               "2|4|21|6|呼出|Call|-|MySub (1)", "3|0|2|3|変数|Private|-|m_v As Long",
               // After a comment naming the property, the statement keeps its heading's
               // number, so the report lists it under Property Let.
               "3|2|11|4|変数|Dim|-|old As Long"}));
    EXPECT_TRUE(f.state().isPreviewEnabled(app::PreviewButton::PPre));

    // The simple listing leaves statements out and says so in Midasi.
    f.state().options.proc = 1;
    f.state().options.proc50 = 1;
    ASSERT_EQ(vba::RunProcedureListing(ctx), RunResult::Collected);
    EXPECT_EQ(f.collector.count("T_AcDimCall"), 0);
    EXPECT_EQ(f.rows("SELECT Midasi, COUNT(*) FROM T_AcProcName GROUP BY Midasi"), (Lines{"1|13"}));
    ASSERT_EQ(vba::RunProcedureListing(ctx), RunResult::Previewed);
    EXPECT_EQ(f.events("report:"),
              (Lines{"R_AcProcName:0", "R_AcProcName50:0", "R_AcProcName50:0"}));
}

TEST(VbaStepCounts, everySectionOfEveryModuleHasOneRowAndOneKindMayBeChosen) {
    MemoryTargetBuilder b("/steps.mdb");
    b.form("F一覧").code(Code({"Private Sub Form_Open(Cancel As Integer)", "End Sub"}));
    b.report("R空");
    b.module("mod集計",
             Code({"Option Explicit",
                   "' 集計する",  // above the heading: part of Sum_'s section
                   "Public Sub Sum_()", "    Dim i As Long", "", "    i = 0 ' set", "    Rem 終了",
                   "    i = i + 1", "End Sub", "", "Property Get Value() As Long", "End Property",
                   "Property Let Value(v As Long)", "End Property"}));
    b.module("mod空宣言", Code({"Option Explicit"}));
    b.module("mod無", "");
    auto f = VbaFixture::ForTarget(b.build());
    auto ctx = f.context();
    ASSERT_EQ(vba::RunStepCounts(ctx), RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT \"Object\", ObjectName, ProcedureName, objectNo, ProcedureNo, "
                     "ComentCnt, SpaceCnt, ProcCnt, TotalCnt FROM T_AcProcCount ORDER BY rowid"),
              (Lines{
                  "Form|F一覧|Form_Open|1|1|0|0|2|2", "Module|mod集計|(Declations)|2|2|0|0|1|1",
                  // Eight lines: two comments (one above the heading, one Rem), one blank.
                  "Module|mod集計|Sum_|2|3|2|1|5|8",
                  // Property Get and Let of one name are sections of their own.
                  "Module|mod集計|Value|2|4|0|1|2|3", "Module|mod集計|Value|2|5|0|0|2|2",
                  "Module|mod空宣言|(Declations)|3|6|0|0|1|1",
                  // mod無 has no line: object 4, no row.
              }));
    EXPECT_TRUE(f.state().isPreviewEnabled(app::PreviewButton::MsPre));

    f.state().options.modstep = 1;  // forms only
    ASSERT_EQ(vba::RunStepCounts(ctx), RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT ObjectName, objectNo, ProcedureNo FROM T_AcProcCount"),
              (Lines{"F一覧|1|1"}));
}

TEST(VbaCommentListing, copiesWholeLineCommentsFromHeadingToProcedureEnd) {
    MemoryTargetBuilder b("/comments.mdb");
    b.form("F入力").code(Code({"Private Sub Form_Load()", "' 起動時", "End Sub"}));
    b.module("modメモ",
             Code({"Option Explicit", "' declarations comment", "Dim x As Long", "",
                   "' above the heading", "Sub A()", "    ' 最初のコメント", "    x = 1 ' trailing",
                   "    Rem 二番目   ", "End Sub", "Property Get P() As Long", "    ' get 側",
                   "End Property", "Property Let P(v As Long)", "    ' let 側", "End Property",
                   "Sub Long_()", "    ' " + test::Repeat("長", 200), "End Sub"}));
    auto f = VbaFixture::ForTarget(b.build());
    f.state().lastRun[app::Collector::StepCounts] = 3;
    auto ctx = f.context();
    // No last-run option: every press collects, and the others' stay as they were.
    ASSERT_EQ(vba::RunCommentListing(ctx), RunResult::Collected);
    ASSERT_EQ(vba::RunCommentListing(ctx), RunResult::Collected);
    EXPECT_EQ(f.state().lastRun[app::Collector::StepCounts], 3);
    EXPECT_EQ(
        f.rows("SELECT \"Object\", ObjectName, ProcedureName, Comment, objectNo, "
               "ProcedureNo FROM T_AcComment ORDER BY rowid"),
        (Lines{"Form|F入力|Form_Load|' 起動時|1|1",
               // Comments of the declarations and above a heading are not copied, nor a
               // comment behind code.
               "Module|modメモ|A|    ' 最初のコメント|2|2", "Module|modメモ|A|    Rem 二番目|2|2",
               // Property Get and Let of one name are both taken up.
               "Module|modメモ|P|    ' get 側|2|3", "Module|modメモ|P|    ' let 側|2|4",
               // 150 characters: four blanks, the mark, a blank and 144 characters.
               "Module|modメモ|Long_|    ' " + test::Repeat("長", 144) + "|2|5"}));
    EXPECT_TRUE(f.state().isPreviewEnabled(app::PreviewButton::CmPre));
}

TEST(VbaCodeReadersRealFiles, stepCountsCoverEveryLineAndKnownCommentsAreListed) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const struct {
        const char* file;
        const char* objectName;
        const char* comment;
    } cases[] = {
        {"northwind-ja.mdb", "社員", "    ' 社員の写真に使用するファイル名を取得します。"},
        {"ailtonz-Matriz.mdb", "modExcel", "    'Se o diretório não existe, cria"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        auto f = test::VbaFixture::ForFile(data / "mdb" / c.file);
        f.state().options.module = 4;
        auto ctx = f.context();
        ASSERT_EQ(vba::RunModuleListing(ctx), RunResult::Collected);
        ASSERT_EQ(vba::RunProcedureListing(ctx), RunResult::Collected);
        ASSERT_EQ(vba::RunStepCounts(ctx), RunResult::Collected);
        ASSERT_EQ(vba::RunCommentListing(ctx), RunResult::Collected);

        // The sections of a module share all its lines between them, each line once.
        Lines lines;
        vba::WalkModules(ctx, vba::kAllKinds, [&](const vba::CodeObject& o) {
            lines.push_back(o.objectName + "|" + std::to_string(o.model().CountOfLines()));
        });
        EXPECT_GT(lines.size(), 15u);
        EXPECT_EQ(f.rows("SELECT ObjectName, SUM(TotalCnt) FROM T_AcProcCount GROUP BY objectNo "
                         "ORDER BY objectNo"),
                  lines);
        // The listing leaves out blank lines and the few Option lines of each module.
        EXPECT_EQ(f.rows("SELECT SUM(TotalCnt) - SUM(SpaceCnt) - (SELECT COUNT(*) FROM T_AcModule) "
                         "BETWEEN 0 AND 2 * COUNT(DISTINCT objectNo) "
                         "FROM T_AcProcCount"),
                  Lines{"1"});
        // Comments are whole lines.
        EXPECT_EQ(f.rows("SELECT COUNT(*) FROM T_AcComment WHERE LTRIM(Comment) NOT LIKE '''%' "
                         "AND LTRIM(Comment) NOT LIKE 'Rem %'"),
                  Lines{"0"});
        const auto comments = f.rows("SELECT ObjectName, Comment FROM T_AcComment");
        EXPECT_EQ(std::count(comments.begin(), comments.end(),
                             std::string(c.objectName) + "|" + c.comment),
                  1);
    }
}

}  // namespace
