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

// Three forms and two reports, the second of each without code, and two modules.
VbaFixture mixedTarget() {
    host::memory::MemoryTargetBuilder b("/walk.mdb");
    b.form("F受注").code(Code({"Option Compare Database"}));
    b.form("F空");
    b.form("F得意先").code(Code({"Sub A()", "End Sub"}));
    b.report("R請求").code(Code({"Sub B()", "End Sub"}));
    b.report("R空");
    b.module("mod共通", Code({"Option Explicit"}));
    b.module(std::string(149, 'x') + "  tail", "", host::access::ModuleType::Class);
    return VbaFixture::ForMemory(b);
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

TEST(VbaModuleWalk, readsFormsReportsThenModulesNumberingOnlyObjectsWithCode) {
    auto f = mixedTarget();
    const std::string cut(149, 'x');
    EXPECT_EQ(walk(f, vba::kAllKinds),
              (std::vector<std::string>{"1:F受注:Form_F受注", "2:F得意先:Form_F得意先",
                                        "3:R請求:Report_R請求", "4:mod共通:mod共通",
                                        "5:" + cut + ":" + cut + "  tail"}));
    EXPECT_EQ(
        f.events("message:"),
        (std::vector<std::string>{
            "フォームモジュール情報　取得中　(F受注)", "フォームモジュール情報　取得中　(F空)",
            "フォームモジュール情報　取得中　(F得意先)", "レポートモジュール情報　取得中　(R請求)",
            "レポートモジュール情報　取得中　(R空)", "モジュール情報　取得中　(mod共通)",
            "モジュール情報　取得中　(" + cut + "  tail)"}));
    // Every document walked moves the gauge, out of the seven counted when the target opened.
    EXPECT_EQ(f.events("progress:"),
              (std::vector<std::string>{"14", "29", "43", "57", "71", "86", "100"}));
    EXPECT_TRUE(nothingOpen(f));
}

TEST(VbaModuleWalk, oneKindIsMeasuredAgainstItsOwnCountAndCanNumberObjectsWithoutCode) {
    auto f = mixedTarget();
    vba::WalkStyle style;
    style.numberObjectsWithoutCode = true;
    style.message = [](vba::CodeKind, const std::string&) { return "ﾌｫｰﾑﾓｼﾞｭｰﾙ情報　取得中"; };
    EXPECT_EQ(walk(f, vba::KindsOf(1), style),
              (std::vector<std::string>{"1:F受注:Form_F受注", "3:F得意先:Form_F得意先"}));
    EXPECT_EQ(f.events("message:"), std::vector<std::string>(3, "ﾌｫｰﾑﾓｼﾞｭｰﾙ情報　取得中"));
    EXPECT_EQ(f.events("progress:"), (std::vector<std::string>{"33", "67", "100"}));
}

TEST(VbaModuleWalk, aFailingReaderLeavesNothingOpen) {
    auto f = mixedTarget();
    auto ctx = f.context();
    auto fail = [](const vba::CodeObject& o) {
        if (o.objectNo == 2)
            throw host::Error(9, "インデックスが有効範囲にありません。");
    };
    EXPECT_THROW(vba::WalkModules(ctx, vba::kAllKinds, fail), host::Error);
    EXPECT_TRUE(nothingOpen(f));
}

}  // namespace
