#include "vba/comment_listing.h"

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

TEST(VbaCommentListing, copiesWholeLineCommentsFromHeadingToProcedureEnd) {
    host::memory::MemoryTargetBuilder b("/comments.mdb");
    b.form("F入力").code(Code({"Private Sub Form_Load()", "' 起動時", "End Sub"}));
    b.module("modメモ",
             Code({"Option Explicit", "' declarations comment", "Dim x As Long", "",
                   "' above the heading", "Sub A()", "    ' 最初のコメント", "    x = 1 ' trailing",
                   "    Rem 二番目   ", "End Sub", "Property Get P() As Long", "    ' get 側",
                   "End Property", "Property Let P(v As Long)", "    ' let 側", "End Property",
                   "Sub Long_()", "    ' " + test::Repeat("長", 200), "End Sub"}));
    auto f = VbaFixture::ForMemory(b);
    f.state().lastRun[app::Collector::StepCounts] = 3;
    auto ctx = f.context();
    // No last-run option: every press collects, and the others' stay as they were.
    ASSERT_EQ(vba::RunCommentListing(ctx), RunResult::Collected);
    ASSERT_EQ(vba::RunCommentListing(ctx), RunResult::Collected);
    EXPECT_EQ(f.state().lastRun[app::Collector::StepCounts], 3);
    EXPECT_EQ(f.rows("SELECT \"Object\", ObjectName, ProcedureName, Comment, objectNo, "
                     "ProcedureNo FROM T_AcComment ORDER BY rowid"),
              (std::vector<std::string>{
                  "Form|F入力|Form_Load|' 起動時|1|1",
                  // Comments of the declarations and above a heading are not copied, nor a
                  // comment behind code.
                  "Module|modメモ|A|    ' 最初のコメント|2|2",
                  "Module|modメモ|A|    Rem 二番目|2|2",
                  // Property Get and Let of one name are both taken up.
                  "Module|modメモ|P|    ' get 側|2|3",
                  "Module|modメモ|P|    ' let 側|2|4",
                  // 150 characters: four blanks, the mark, a blank and 144 characters.
                  "Module|modメモ|Long_|    ' " + test::Repeat("長", 144) + "|2|5",
              }));
    EXPECT_TRUE(f.state().isPreviewEnabled(app::PreviewButton::CmPre));
    EXPECT_EQ(f.events("report:"), std::vector<std::string>(2, "R_AcComment:0"));
}

}  // namespace
