#include "vba/module_listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/memory/memory_target.h"
#include "vba/vba_fixture.h"

namespace {

using namespace zanfor;
using collect::RunResult;
using test::Code;
using test::VbaFixture;

host::memory::MemoryTargetBuilder listingTarget() {
    host::memory::MemoryTargetBuilder b("/listing.mdb");
    b.form("F受注").code(Code({"Option Compare Database", "Dim m_件数 As Long   ", "",
                               "Private Sub Form_Load()", "    m_件数 = 0", "End Sub"}));
    b.form("F空");
    b.report("R請求").code(Code({"Sub Report_Open(Cancel As Integer)", "End Sub"}));
    b.module("mod設定", Code({"Option Explicit", "", "   ", "Option Compare Database"}));
    b.module("mod共通",
             Code({"Public g As Long", "' 合計を返す", "Function Sum_() As Long", "End Function"}));
    return b;
}

std::vector<std::string> listing(VbaFixture& f) {
    return f.rows(
        "SELECT Label, objectNo, ProcedureNo, ObjectName, Line, ProcedureName, Procedure "
        "FROM T_AcModule ORDER BY rowid");
}

TEST(VbaModuleListing, allKindsListEveryKeptLineWithItsLabelAndNumbers) {
    auto b = listingTarget();
    auto f = VbaFixture::ForMemory(b);
    f.state().options.module = 4;
    auto ctx = f.context();
    ASSERT_EQ(vba::RunModuleListing(ctx), RunResult::Collected);
    EXPECT_EQ(listing(f),
              (std::vector<std::string>{
                  // The run starts in "" with number 0, which the first declarations keep;
                  // lines keep their indentation and trailing blanks.
                  "1|1|0|F受注|1||Dim m_件数 As Long   ",
                  "1|1|1|F受注|2|Form_Load|Private Sub Form_Load()",
                  "1|1|1|F受注|3|Form_Load|    m_件数 = 0",
                  "1|1|1|F受注|4|Form_Load|End Sub",
                  "2|2|2|R請求|1|Report_Open|Sub Report_Open(Cancel As Integer)",
                  "2|2|2|R請求|2|Report_Open|End Sub",
                  // mod設定 (object 3) has only option statements and blank lines: no rows,
                  // but its declarations took number 3, which mod共通's declarations share.
                  "3|4|3|mod共通|1||Public g As Long",
                  "3|4|4|mod共通|2|Sum_|' 合計を返す",
                  "3|4|4|mod共通|3|Sum_|Function Sum_() As Long",
                  "3|4|4|mod共通|4|Sum_|End Function",
              }));
    EXPECT_EQ(f.state().lastRun[app::Collector::ModuleListing], 4);
    EXPECT_TRUE(f.state().isPreviewEnabled(app::PreviewButton::MPre));
    EXPECT_FALSE(f.access->visible());
    EXPECT_EQ(f.state().procedureNo, 4);
}

TEST(VbaModuleListing, theSameOptionOnlyPreviewsTheChosenLayoutAndAnotherCollects) {
    auto b = listingTarget();
    auto f = VbaFixture::ForMemory(b);
    f.state().options.module = 3;
    auto ctx = f.context();
    ASSERT_EQ(vba::RunModuleListing(ctx), RunResult::Collected);
    f.collector.work.execute("delete * from T_AcModule;");
    for (const auto& [mprint, mod50] : {std::pair{1, 0}, {1, 1}, {2, 0}, {2, 1}}) {
        f.state().options.mprint = static_cast<std::int16_t>(mprint);
        f.state().options.mod50 = static_cast<std::int16_t>(mod50);
        ASSERT_EQ(vba::RunModuleListing(ctx), RunResult::Previewed);
    }
    EXPECT_EQ(f.events("report:"),
              (std::vector<std::string>{"R_AcModule2:0", "R_AcModule:0", "R_AcModule50:0",
                                        "R_AcModule2:0", "R_AcModule250:0"}));
    EXPECT_TRUE(listing(f).empty());
    f.state().options.module = 1;
    ASSERT_EQ(vba::RunModuleListing(ctx), RunResult::Collected);
    EXPECT_EQ(listing(f).size(), 4u);
}

TEST(VbaModuleListing, anAccessFailureAsksToEndAndKeepsTheRowsWrittenBeforeIt) {
    auto broken = std::make_shared<host::memory::MemoryTarget>(*listingTarget().build());
    broken->container("Modules").documents.push_back({"mod消失", {}, {}, {}});
    auto f = VbaFixture::ForTarget(broken);
    f.state().options.module = 4;
    auto ctx = f.context();
    ASSERT_EQ(vba::RunModuleListing(ctx), RunResult::ShutdownRequested);
    EXPECT_EQ(listing(f).size(), 10u);
    EXPECT_EQ(f.state().lastRun[app::Collector::ModuleListing], 0);
    const auto boxes = f.events("box:");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].starts_with("場所:モジュール情報ｴﾗｰNo:2516")) << boxes[0];
}

}  // namespace
