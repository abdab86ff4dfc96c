#include "collect/control_count.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/memory/memory_target.h"
#include "vba/vba_fixture.h"

namespace {

using namespace zanfor;
using collect::RunResult;
using test::VbaFixture;

std::shared_ptr<host::memory::MemoryTarget> Target() {
    host::memory::MemoryTargetBuilder b("/counts.mdb");
    // A tab control of two pages with three text boxes.
    b.form("F受注")
        .control(123, "tab")
        .control(124, "p1")
        .control(124, "p2")
        .control(109, "t1")
        .control(109, "t2")
        .control(109, "t3");
    b.form("F空");
    b.report("R請求").control(100, "l1").control(100, "l2").control(118, "brk");
    return std::make_shared<host::memory::MemoryTarget>(*b.build());
}

RunResult Count(VbaFixture& f) {
    f.state().options.control = 3;
    auto ctx = f.context();
    return collect::RunControlCount(ctx);
}

TEST(ControlCount, formsThenReportsInOneNumberingEachTypeInItsColumn) {
    auto f = VbaFixture::ForTarget(Target());
    ASSERT_EQ(Count(f), RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT objectNo, Class, ObjectName, TabCtlCount, PageCount, TextBoxCount, "
                     "LabelCount, PageBreakCount FROM T_AcControlCount ORDER BY rowid"),
              (std::vector<std::string>{"1|Form|F受注|1|2|3|0|0", "2|Form|F空|0|0|0|0|0",
                                        "3|Report|R請求|0|0|0|2|1"}));
}

TEST(ControlCount, aDesignThatDoesNotReadCostsItselfAloneAndIsReportedAtTheEnd) {
    auto target = Target();
    target->container("Forms").documents.push_back({"F壊れ", {}, {}, {}});
    auto f = VbaFixture::ForTarget(target);
    EXPECT_EQ(Count(f), RunResult::Failed);
    EXPECT_EQ(f.rows("SELECT objectNo, ObjectName FROM T_AcControlCount ORDER BY rowid"),
              (std::vector<std::string>{"1|F受注", "2|F空", "3|R請求"}));
    const auto boxes = f.events("box:");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].starts_with("場所:コントロール数ｴﾗｰNo:3049\n"));
    EXPECT_NE(boxes[0].find("F壊れ: ｴﾗｰNo:2102"), std::string::npos);
}

}  // namespace
