#include "vba/step_counts.h"

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

TEST(VbaStepCounts, everySectionOfEveryModuleHasOneRowAndTheSameChoiceOnlyPreviews) {
    host::memory::MemoryTargetBuilder b("/steps.mdb");
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
    auto f = VbaFixture::ForMemory(b);
    auto ctx = f.context();
    ASSERT_EQ(vba::RunStepCounts(ctx), RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT \"Object\", ObjectName, ProcedureName, objectNo, ProcedureNo, "
                     "ComentCnt, SpaceCnt, ProcCnt, TotalCnt FROM T_AcProcCount ORDER BY rowid"),
              (std::vector<std::string>{
                  "Form|F一覧|Form_Open|1|1|0|0|2|2", "Module|mod集計|(Declations)|2|2|0|0|1|1",
                  // Eight lines: two comments (one above the heading, one Rem), one blank.
                  "Module|mod集計|Sum_|2|3|2|1|5|8",
                  // Property Get and Let of one name are sections of their own.
                  "Module|mod集計|Value|2|4|0|1|2|3", "Module|mod集計|Value|2|5|0|0|2|2",
                  "Module|mod空宣言|(Declations)|3|6|0|0|1|1",
                  // mod無 has no line: object 4, no row.
              }));
    EXPECT_EQ(f.state().lastRun[app::Collector::StepCounts], 4);
    EXPECT_TRUE(f.state().isPreviewEnabled(app::PreviewButton::MsPre));
    EXPECT_EQ(f.events("report:"), (std::vector<std::string>{"R_AcModStep:0"}));

    ASSERT_EQ(vba::RunStepCounts(ctx), RunResult::Previewed);
    f.state().options.modstep = 1;
    ASSERT_EQ(vba::RunStepCounts(ctx), RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT ObjectName, objectNo, ProcedureNo FROM T_AcProcCount"),
              (std::vector<std::string>{"F一覧|1|1"}));
}

}  // namespace
