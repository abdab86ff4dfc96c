// The procedure references: which names of a line are uses, line by line; then the tool on a
// target built in code, and on real files against lists made by reading their code.

#include "vba/procedure_references.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/memory/memory_target.h"
#include "vba/procedure_table.h"
#include "vba/vba_fixture.h"

namespace {

using namespace zanfor;
using collect::RunResult;
using test::Code;
using test::VbaFixture;
using Lines = std::vector<std::string>;

struct UseCase {
    std::vector<std::string_view> lines;  // one after the other, as in a module
    Lines uses;                           // "name@module" of every line, in order
    std::string_view caller = "Main";
};

TEST(ProcedureNames, findsEveryUseOfANameInCodeOnceInTableOrder) {
    const std::vector<app::ProcedureEntry> table{{"SaveAll", "M"},  {"Save", "M"},
                                                 {"GetValue", "M"}, {"Refresh", "M2"},
                                                 {"Dup", "M"},      {"Dup", "M2"}};
    const vba::ProcedureNames names(table);
    const UseCase cases[] = {
        {{"    Call SaveAll(1)"}, {"SaveAll@M"}},
        {{"    x = GetValue(3)"}, {"GetValue@M"}},
        {{"    Me.Refresh"}, {"Refresh@M2"}},
        {{"    SaveAll 1"}, {"SaveAll@M"}},
        // Bounded on both sides and exact in case.
        {{"x = SaveAll + MySave + Save_1 + Save2 + saveall"}, {"SaveAll@M"}},
        {{"GetValue SaveAll(Save), SaveAll"}, {"SaveAll@M", "Save@M", "GetValue@M"}},
        {{"Dup"}, {"Dup@M", "Dup@M2"}},
        {{"Forms![SaveAll]![Save All] = 1"}, {"SaveAll@M"}},
        {{"MsgBox \"SaveAll\" & Save ' GetValue", "x = 1: Rem Save", "  REM GetValue"}, {"Save@M"}},
        // A comment ending in " _" goes on in the next line, and from there on.
        {{"x = 1 ' note _", "SaveAll _", "Save", "GetValue"}, {"GetValue@M"}},
        // Types, names declared with As and named arguments are never procedures; numbers hold
        // no names.
        {{"Dim a As Save, b As New M.GetValue, c As SaveAll.Dup",
          "Declare Function F Lib \"x\" (ByVal Save As Long, GetValue As Long) As Long",
          "Foo Save:=1, GetValue := &HFF"},
         {}},
        {{"Function SaveAll() As Long", "    SaveAll = Save + SaveAll(1)"}, {"Save@M"}, "SaveAll"},
        // Damaged text: an open literal or bracket, bytes that are not UTF-8, the ideographic
        // blank between names.
        {{"SaveAll \"open", "[Save", "\xFF\xFEGetValue\xE3\x80\x80Save"},
         {"SaveAll@M", "Save@M", "Save@M"}},
    };
    for (const UseCase& c : cases) {
        SCOPED_TRACE(c.lines.front());
        Lines uses;
        bool inComment = false;
        std::vector<std::size_t> found;
        for (std::string_view line : c.lines) {
            names.match(line, c.caller, inComment, found);
            for (std::size_t i : found)
                uses.push_back(table[i].procedure + "@" + table[i].module);
        }
        EXPECT_EQ(uses, c.uses);
    }
}

const char* kLinkSql =
    "SELECT objectNo, ProcedureNo, Bunrui, ObjectName, Procedure, LinkProcedure, MotoName "
    "FROM T_AcLinkModule ORDER BY rowid";

host::memory::MemoryTargetBuilder referenceTarget() {
    host::memory::MemoryTargetBuilder b("/references.mdb");
    b.form("F受注").code(
        Code({"Option Compare Database", "Private Sub Main()", "    Call SaveAll(1)", "End Sub"}));
    b.form("F空");
    b.report("R請求").code(
        Code({"Sub Report_Open(Cancel As Integer)", "    Me.Refresh ' Save", "End Sub"}));
    b.module("M", Code({"Option Explicit", "Public Function SaveAll(n As Long) As Long",
                        "    If n > 0 Then SaveAll = SaveAll(n - 1)", "    Save", "End Function",
                        "Sub Save()", "End Sub"}));
    b.module("M宣言", Code({"Option Explicit", "Public g As Long"}));
    b.module("M2", Code({"Sub Refresh()", "    SaveAll 1", "End Sub"}));
    return b;
}

TEST(VbaProcedureReferences, toolListsCallerAndCalleeOverFormsReportsAndModules) {
    auto f = VbaFixture::ForTarget(referenceTarget().build());
    auto ctx = f.context();
    f.state().support.procedures = vba::BuildProcedureTable(ctx);
    ASSERT_EQ(vba::RunProcedureReferences(ctx), RunResult::Collected);
    EXPECT_EQ(f.rows(kLinkSql),
              (Lines{"1|1|Form|F受注|Main|SaveAll|M",
                     // F空 has no code but takes number 2.
                     "3|2|Report|R請求|Report_Open|Refresh|M2",
                     // The recursion in SaveAll is no reference; M宣言 (5) has no procedure.
                     "4|4|Module|M|SaveAll|Save|M", "6|6|Module|M2|Refresh|SaveAll|M"}));
    EXPECT_EQ(f.events("message:"),
              (Lines{"引用先 情報　取得中", "ﾌｫｰﾑﾓｼﾞｭｰﾙ情報　取得中", "ﾌｫｰﾑﾓｼﾞｭｰﾙ情報　取得中",
                     "ﾚﾎﾟｰﾄﾓｼﾞｭｰﾙ情報　取得中", "ﾓｼﾞｭｰﾙ情報　取得中", "ﾓｼﾞｭｰﾙ情報　取得中",
                     "ﾓｼﾞｭｰﾙ情報　取得中", "終了しました"}));
    EXPECT_EQ(f.events("report:"), Lines{"R_AcLinkProc:0"});
    EXPECT_TRUE(f.events("timer:").empty());

    // An empty table finds nothing, and the rows of the run before are gone.
    f.state().support.procedures.clear();
    ASSERT_EQ(vba::RunProcedureReferences(ctx), RunResult::Collected);
    EXPECT_EQ(f.collector.count("T_AcLinkModule"), 0);
}

TEST(VbaProcedureReferencesRealFiles, rowsEqualTheCallsReadByHand) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const struct {
        const char* file;
        const char* module;
        Lines calls;  // Procedure|LinkProcedure|MotoName
    } cases[] = {
        // The labels OpenStartup_Err and IsItAReplica_Exit and the comment "Used in OpenStartup
        // function." are no uses.
        {"northwind-ja.mdb", "スタートアップ", {"OpenStartup|IsItAReplica|スタートアップ"}},
        // CreateObject is no use of Create, "As Object" none of the class's property Object,
        // "FileName:=" none of its property FileName; calls without Call are uses.
        {"ailtonz-Matriz.mdb",
         "modExcel",
         {"PrintPage|GetQueries|modExcel", "PrintPage|CreateRelatorioExcel|modExcel",
          "CreateRelatorioExcel|InsertMascara|modExcel",
          "CreateRelatorioExcel|InsertModelo|modExcel",
          "CreateRelatorioExcel|ImprimirExcel|modExcel",
          "ExportarParaExcel|ImprimirExcel|modExcel"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        auto f = VbaFixture::ForFile(data / "mdb" / c.file);
        auto ctx = f.context();
        f.state().support.procedures = vba::BuildProcedureTable(ctx);
        ASSERT_EQ(vba::RunProcedureReferences(ctx), RunResult::Collected);
        EXPECT_EQ(f.rows(std::string("SELECT Procedure, LinkProcedure, MotoName FROM "
                                     "T_AcLinkModule WHERE ObjectName = '") +
                         c.module + "' ORDER BY rowid"),
                  c.calls);
    }
}

}  // namespace
