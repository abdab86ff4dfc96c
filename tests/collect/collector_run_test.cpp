#include "collect/collector_run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "collect/collector_fixture.h"

namespace {

using namespace zanfor;
using collect::Finish;
using collect::RunResult;
using test::CollectorFixture;

host::memory::MemoryTargetBuilder emptyTarget() { return host::memory::MemoryTargetBuilder("/x"); }

collect::CollectorRun objectsRun(bool skip) {
    return {app::Collector::Objects,
            3,
            skip,
            "場所:オブジェクト情報",
            "R_AcObjectAll",
            app::PreviewButton::OPre,
            app::WindowKind::Main,
            {}};
}

bool saw(const std::vector<std::string>& events, const std::string& event) {
    return std::find(events.begin(), events.end(), event) != events.end();
}

TEST(CollectorRun, aCompletedRunPreviewsStoresItsOptionAndClearsLater) {
    auto builder = emptyTarget();
    auto f = CollectorFixture::ForMemory(builder);
    auto ctx = f.context();
    const auto result = collect::RunCollection(ctx, objectsRun(false), [](collect::RunContext& c) {
        auto rows = collect::OpenEmptied(c, "T_AcTitle");
        rows.addNew();
        rows.update();
        return Finish::Report;
    });
    EXPECT_EQ(result, RunResult::Collected);
    EXPECT_EQ(f.state.lastRun[app::Collector::Objects], 3);
    EXPECT_TRUE(f.state.isPreviewEnabled(app::PreviewButton::OPre));
    EXPECT_EQ(f.count("T_AcTitle"), 1);
    const std::vector<std::string> tail(f.ui.events.end() - 6, f.ui.events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "message:終了しました", "progress:100", "idle", "report:R_AcObjectAll:0",
                        "message:印刷後、印刷ﾌﾟﾚﾋﾞｭｰを終了して下さい。", "timer:5000"}));
}

TEST(CollectorRun, aSkippedRunOnlyPreviewsWhatTheTablesHold) {
    auto builder = emptyTarget();
    auto f = CollectorFixture::ForMemory(builder);
    auto ctx = f.context();
    bool ran = false;
    const auto result = collect::RunCollection(ctx, objectsRun(true), [&](collect::RunContext&) {
        ran = true;
        return Finish::Report;
    });
    EXPECT_EQ(result, RunResult::Previewed);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(saw(f.ui.events, "busy"));
    EXPECT_TRUE(saw(f.ui.events, "report:R_AcObjectAll:0"));
}

TEST(CollectorRun, anErrorIsReportedAndTheRowsWrittenBeforeItStay) {
    auto builder = emptyTarget();
    auto f = CollectorFixture::ForMemory(builder);
    auto ctx = f.context();
    const auto result = collect::RunCollection(ctx, objectsRun(false), [](collect::RunContext& c) {
        auto rows = collect::OpenEmptied(c, "T_AcTitle");
        rows.addNew();
        rows.update();
        throw host::Error(3021, "カレント レコードがありません。");
        return Finish::Report;
    });
    EXPECT_EQ(result, RunResult::Failed);
    EXPECT_EQ(f.count("T_AcTitle"), 1);
    EXPECT_EQ(f.state.lastRun[app::Collector::Objects], 0);
    EXPECT_FALSE(f.ui.busy);
    EXPECT_TRUE(
        saw(f.ui.events,
            "box:場所:オブジェクト情報ｴﾗｰNo:3021\n場所、ｴﾗｰNo、内容を控えメールをお願いします。\n"
            "内容:カレント レコードがありません。"));
    EXPECT_FALSE(saw(f.ui.events, "report:R_AcObjectAll:0"));

    const auto unstable = collect::RunCollection(ctx, objectsRun(false), [](collect::RunContext&) {
        throw host::Error(2501, "x");
        return Finish::Report;
    });
    EXPECT_EQ(unstable, RunResult::ShutdownRequested);
}

TEST(CollectorRun, aCollectionMayEndWithoutReportKeepingItsLastRunOption) {
    auto builder = emptyTarget();
    auto f = CollectorFixture::ForMemory(builder);
    auto ctx = f.context();
    const auto result = collect::RunCollection(
        ctx, objectsRun(false), [](collect::RunContext&) { return Finish::NoReport; });
    EXPECT_EQ(result, RunResult::EndedWithoutReport);
    EXPECT_EQ(f.state.lastRun[app::Collector::Objects], 0);
    EXPECT_FALSE(saw(f.ui.events, "report:R_AcObjectAll:0"));
}

}  // namespace
