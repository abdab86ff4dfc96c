#include "collect/cover_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collect/collector_fixture.h"

namespace {

using namespace zanfor;
using collect::RunResult;
using test::CollectorFixture;

CollectorFixture Fixture() {
    host::memory::MemoryTargetBuilder b("/x.mdb");
    auto f = CollectorFixture::ForMemory(b);
    f.state.header.title = "販売管理";
    f.state.header.date = "2024/04/01";
    return f;
}

TEST(CoverPage, aDateIsStoredAnythingElseAsksForOneAndLeavesTheTableAsItWas) {
    const std::pair<const char*, const char*> cases[] = {{" 2025-1-5 ", "新|2025/01/05"},
                                                         {"2024/02/29", "新|2024/02/29"},
                                                         {"2023/02/29", nullptr},
                                                         {"あした", nullptr},
                                                         {"", nullptr}};
    for (const auto& [typed, stored] : cases) {
        auto f = Fixture();
        auto ctx = f.context();
        ASSERT_EQ(collect::RunCoverLabelPortrait(ctx), RunResult::Collected);
        f.ui.events.clear();
        f.state.header.title = "新";
        f.state.header.date = typed;
        const auto result = collect::RunCoverLabelPortrait(ctx);
        const auto row = f.rows("SELECT SysTitle, CreateDate FROM T_AcHyousi");
        if (stored) {
            EXPECT_EQ(result, RunResult::Collected);
            EXPECT_EQ(row, std::vector<std::string>{stored});
        } else {
            EXPECT_EQ(result, RunResult::EndedWithoutReport);
            EXPECT_EQ(f.ui.events, std::vector<std::string>{"box:作成日に日付を入力して下さい。"});
            EXPECT_EQ(row, std::vector<std::string>{"販売管理|2024/04/01"});
        }
    }
}

TEST(CoverPage, theAuthorIsCutToTwentyCharactersTheOtherTextsTo255) {
    auto f = Fixture();
    f.state.header.auther = "作成者ABCDEFGHIJKLMNOP QRS";  // the 20th character is a blank
    f.state.header.title = std::string(300, 'T');
    auto ctx = f.context();
    ASSERT_EQ(collect::RunCoverSheet(ctx), RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT Auther, length(SysTitle) FROM T_AcHyousi"),
              (std::vector<std::string>{"作成者ABCDEFGHIJKLMNOP|255"}));
}

}  // namespace
