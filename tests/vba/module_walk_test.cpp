#include "vba/module_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/error.h"
#include "host/memory/memory_target.h"
#include "vba/vba_fixture.h"

namespace {

using namespace zanfor;
using host::memory::MemoryApplication;
using test::Code;
using test::VbaFixture;

// Two forms and two reports, one of each without code, and a module whose name is longer than
// the work database keeps.
VbaFixture mixedTarget() {
    host::memory::MemoryTargetBuilder b("/walk.mdb");
    b.form("F空");
    b.form("F受注").code(Code({"Option Compare Database"}));
    b.report("R請求").code(Code({"Sub B()", "End Sub"}));
    b.report("R空");
    b.module(std::string(149, 'x') + "  tail", "", host::access::ModuleType::Class);
    return VbaFixture::ForTarget(b.build());
}

std::vector<std::string> walk(VbaFixture& f, vba::WalkKinds kinds,
                              const vba::WalkStyle& style = {}) {
    std::vector<std::string> seen;
    auto ctx = f.context();
    vba::WalkModules(
        ctx, kinds,
        [&](const vba::CodeObject& o) {
            seen.push_back(std::to_string(o.objectNo) + ":" + o.objectName + ":" + o.module.name());
        },
        style);
    return seen;
}

bool nothingOpen(VbaFixture& f) {
    return dynamic_cast<MemoryApplication&>(*f.access).openObjectNames().empty();
}

TEST(VbaModuleWalk, numbersOnlyObjectsWithCodeMovesTheGaugePerDocumentAndClosesEachEvenOnFailure) {
    auto f = mixedTarget();
    const std::string cut(149, 'x');
    EXPECT_EQ(walk(f, vba::kAllKinds),
              (std::vector<std::string>{"1:F受注:Form_F受注", "2:R請求:Report_R請求",
                                        "3:" + cut + ":" + cut + "  tail"}));
    ASSERT_EQ(f.events("message:").size(), 5u) << "one message per document";
    EXPECT_EQ(f.events("message:").front(), "フォームモジュール情報　取得中　(F空)");
    EXPECT_EQ(f.events("progress:"), (std::vector<std::string>{"20", "40", "60", "80", "100"}));
    EXPECT_TRUE(nothingOpen(f));

    vba::WalkStyle style;
    style.numberObjectsWithoutCode = true;
    EXPECT_EQ(walk(f, vba::KindsOf(1), style), (std::vector<std::string>{"2:F受注:Form_F受注"}));

    // A failing reader leaves nothing open either.
    auto ctx = f.context();
    auto fail = [](const vba::CodeObject& o) {
        if (o.objectNo == 2)
            throw host::Error(9, "インデックスが有効範囲にありません。");
    };
    EXPECT_THROW(vba::WalkModules(ctx, vba::kAllKinds, fail), host::Error);
    EXPECT_TRUE(nothingOpen(f));
}

}  // namespace
