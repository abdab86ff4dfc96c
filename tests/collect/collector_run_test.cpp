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
    return {.collector = app::Collector::Objects,
            .option = 3,
            .skip = skip,
            .place = "場所:オブジェクト情報",
            .report = "R_AcObjectAll",
            .preview = app::PreviewButton::OPre};
}

std::string lastBox(const std::vector<std::string>& events) {
    for (auto it = events.rbegin(); it != events.rend(); ++it)
        if (it->starts_with("box:"))
            return *it;
    return {};
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

// The cause the user sees is SQLite's own, with its number: never the follow-on error of a
// second COMMIT, and the work database takes the next run.
TEST(CollectorRun, aFailingCommitIsReportedWithItsCauseAndRolledBack) {
    auto builder = emptyTarget();
    auto f = CollectorFixture::ForMemory(builder);
    f.work.execute("PRAGMA foreign_keys = ON");
    f.work.execute("CREATE TABLE parent (id INTEGER PRIMARY KEY)");
    f.work.execute(
        "CREATE TABLE child (parent INTEGER REFERENCES parent (id) "
        "DEFERRABLE INITIALLY DEFERRED)");
    auto ctx = f.context();
    const auto result = collect::RunCollection(ctx, objectsRun(false), [](collect::RunContext& c) {
        c.work.execute("INSERT INTO child VALUES (7)");
        return Finish::Report;
    });
    EXPECT_EQ(result, RunResult::Failed);
    const auto box = lastBox(f.ui.events);
    EXPECT_TRUE(box.starts_with("box:場所:オブジェクト情報ｴﾗｰNo:30001\n")) << box;
    EXPECT_NE(box.find("FOREIGN KEY constraint failed (SQLite 787)"), std::string::npos) << box;
    EXPECT_EQ(box.find("no transaction"), std::string::npos) << box;
    EXPECT_EQ(f.state.lastRun[app::Collector::Objects], 0);
    EXPECT_EQ(f.count("child"), 0);
    EXPECT_EQ(collect::RunCollection(ctx, objectsRun(false),
                                     [](collect::RunContext&) { return Finish::Report; }),
              RunResult::Collected);
}

TEST(CollectorRun, aFullDiskIsReportedAsSqliteSaysIt) {
    auto builder = emptyTarget();
    auto f = CollectorFixture::ForMemory(builder);
    // A database that may not grow past its size stands for a disk with no room left.
    f.work.execute("PRAGMA max_page_count = 1");
    auto ctx = f.context();
    const auto result = collect::RunCollection(ctx, objectsRun(false), [](collect::RunContext& c) {
        auto rows = collect::OpenEmptied(c, "T_AcTitle");
        for (int i = 0; i < 2000; ++i) {
            rows.addNew();
            rows.set("FileName", host::Value(std::string(200, 'x')));
            rows.update();
        }
        return Finish::Report;
    });
    EXPECT_EQ(result, RunResult::Failed);
    const auto box = lastBox(f.ui.events);
    EXPECT_NE(box.find("ｴﾗｰNo:30001"), std::string::npos) << box;
    EXPECT_NE(box.find("database or disk is full (SQLite 13)"), std::string::npos) << box;
}

TEST(CollectorRun, objectsThatDidNotReadArePreviewedWithoutThemAndListedAsTheRunsError) {
    auto builder = emptyTarget();
    auto f = CollectorFixture::ForMemory(builder);
    auto ctx = f.context();
    const auto result = collect::RunCollection(ctx, objectsRun(false), [](collect::RunContext& c) {
        collect::NoteUnreadable(c, "受注", host::Error(30010, "壊れた設計"));
        return Finish::Report;
    });
    EXPECT_EQ(result, RunResult::Failed);
    EXPECT_TRUE(saw(f.ui.events, "report:R_AcObjectAll:0"));
    EXPECT_EQ(lastBox(f.ui.events),
              "box:場所:オブジェクト情報ｴﾗｰNo:3049\n読み取れないオブジェクトがあります。\n"
              "一覧には読み取れた部分だけを載せています:\n　受注: ｴﾗｰNo:30010 壊れた設計");
    // The next run starts with none.
    EXPECT_EQ(collect::RunCollection(ctx, objectsRun(false),
                                     [](collect::RunContext&) { return Finish::Report; }),
              RunResult::Collected);
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
