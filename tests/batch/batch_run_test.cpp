#include "batch/batch_run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "batch/analysis_pattern.h"
#include "collect/collector_run.h"
#include "host/memory/memory_target.h"
#include "program/program.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor;
using app::Collector;
using app::CommandId;

// The steps by their position in the table.
constexpr std::size_t kObjects = 0, kTables = 1, kQueries = 2, kForms = 3, kMacros = 5, kProcs = 6,
                      kModules = 7, kModSteps = 8, kControls = 9;

struct BatchRunTest : ::testing::Test {
    test::TempDir dir;
    host::memory::MemoryEngine engine;
    host::memory::MemoryApplicationFactory factory{engine};
    app::ScriptedDialogs dialogs;
    app::RecordingDesktop desktop;
    app::TableCommands commands;
    app::RecordingUi ui;
    std::unique_ptr<app::Program> program;
    batch::BatchPanel panel;

    void open(bool macros = true) {
        // A file of that name, whose size the object list reads.
        const auto path = (dir / "batch.mdb").string();
        util::WriteFileAtomically(path, std::string(1024, 'x'));
        host::memory::MemoryTargetBuilder b(path);
        b.table("顧客").field("ID", host::dao::dbLong, 4);
        b.query("顧客一覧", host::dao::dbQSelect, "SELECT * FROM 顧客;");
        b.form("メニュー");
        if (macros)
            b.macro("AutoKeys");
        b.module("共通", "Option Explicit\r\nSub 集計()\r\n    Dim n As Long\r\nEnd Sub\r\n");
        engine.add(b.build());
        app::Startup startup{
            *app::InstanceLock::acquire(dir.path()), app::ProgramPaths::in(dir.path()), {}, {}};
        program = std::make_unique<app::Program>(
            std::move(startup),
            app::ProgramServices{engine, factory, dialogs, desktop, commands,
                                 [] { return std::string("2024/04/01"); }},
            ui);
        dialogs.files = {path};
        ASSERT_EQ(program->openTarget(), target::OpenResult::Opened);
        panel = batch::OpenBatch(state().batch);
        ui.events.clear();
    }
    app::AppState& state() { return program->state(); }
    void tick(std::initializer_list<std::size_t> steps) {
        for (const auto step : steps)
            batch::ClickStep(panel, state(), step, true);
    }
    std::int64_t rows(const char* table) { return program->session().work->rowCount(table); }
    std::vector<std::string> events(std::string_view prefix) const {
        std::vector<std::string> found;
        for (const auto& e : ui.events)
            if (e.starts_with(prefix))
                found.push_back(e.substr(prefix.size()));
        return found;
    }
};

struct SingleStep : BatchRunTest,
                    ::testing::WithParamInterface<std::tuple<std::size_t, Collector, const char*>> {
};

TEST_P(SingleStep, runsOnlyItsOwnCollector) {
    const auto [step, collector, report] = GetParam();
    open();
    const auto before = state().lastRun;
    tick({step});
    const auto outcome = program->runBatch(ui);
    EXPECT_EQ(outcome.ran, std::vector<std::size_t>{step});
    EXPECT_EQ(outcome.reports, std::vector<std::string>{report});
    for (std::size_t c = 0; c < app::kCollectorCount; ++c)
        EXPECT_EQ(state().lastRun.values[c] != before.values[c],
                  c == static_cast<std::size_t>(collector))
            << "collector " << c;
    EXPECT_EQ(rows("T_AcModule") > 0, step == kModules);
    EXPECT_EQ(rows("T_AcProcName") > 0, step == kProcs);
}

INSTANTIATE_TEST_SUITE_P(
    BatchRun, SingleStep,
    ::testing::Values(std::tuple(kModules, Collector::ModuleListing, "R_AcModule2"),
                      std::tuple(kProcs, Collector::Procedures, "R_AcProcName")));

TEST_F(BatchRunTest, aTickedStepOfAKindTheTargetLacksIsSkippedAndSavedAsNine) {
    open(false);
    tick({kMacros, kControls});
    EXPECT_EQ(state().batch.flags[kMacros], app::kNoObjects);
    EXPECT_TRUE(panel.ticked[kMacros]);
    EXPECT_EQ(state().batch.flags[kControls], 1);
    EXPECT_EQ(program->runBatch(ui).ran, std::vector<std::size_t>{kControls});
    EXPECT_EQ(state().lastRun[Collector::Macros], app::kNoObjects);

    const auto lines = batch::PatternLines(state().batch);
    EXPECT_EQ(lines[kMacros], "MACRO=9");
    batch::ReadPatternLines(lines, state().batch);
    batch::ShowPattern(panel, state());
    EXPECT_FALSE(panel.ticked[kMacros]);
    EXPECT_TRUE(panel.ticked[kControls]);
}

TEST_F(BatchRunTest, theBatchCollectsAnewAndLeavesTheMainWindowsOptionsAtItsValues) {
    open();
    state().lastRun[Collector::Objects] = batch::kAllObjectKinds;  // a single run would skip
    tick({kObjects, kTables, kQueries});
    batch::ClickStepOption(state().batch, kTables, 2);
    batch::ClickStepOption(state().batch, kQueries, 0);
    const auto outcome = program->runBatch(ui);
    EXPECT_GT(rows("T_AcObject"), 0);
    EXPECT_EQ(state().options.table, 3);
    EXPECT_EQ(state().options.query, 1);
    EXPECT_EQ(state().lastRun[Collector::Tables], 3);
    EXPECT_TRUE(state().isPreviewEnabled(app::PreviewButton::QPre));
    EXPECT_EQ(outcome.reports,
              (std::vector<std::string>{"R_AcObjectAll", "R_AcTblTable", "R_AcQerySql"}));
    EXPECT_TRUE(events("report:").empty()) << "the batch opens no report";
    EXPECT_TRUE(events("timer:").empty());
    EXPECT_EQ(events("box:"), std::vector<std::string>{std::string(batch::kBatchFinished)});
    // The gauge shares 100 % among the three steps and never goes back.
    auto progress = events("progress:");
    EXPECT_TRUE(std::ranges::is_sorted(progress, {}, [](const auto& p) { return std::stoi(p); }));
    EXPECT_NE(std::ranges::find(progress, "33"), progress.end());
    EXPECT_EQ(progress.back(), "100");
    EXPECT_EQ(ui.busy, false);

    ui.events.clear();
    program->runCommand(CommandId::Query);
    EXPECT_EQ(events("report:"), std::vector<std::string>{"R_AcQerySql:0"});
}

struct FailingStep : BatchRunTest,
                     ::testing::WithParamInterface<std::tuple<int, const char*, app::CommandEnd>> {
};

TEST_P(FailingStep, endsTheBatchUnderItsPlaceAndKeepsTheStepsBefore) {
    const auto [number, line, end] = GetParam();
    // A step that a single run would skip: the batch collects, and meets the error.
    commands.replace(CommandId::Query, [number](app::CommandContext& c) {
        collect::RunContext ctx{c.state, c.work, c.target, c.ui, &c.access};
        const collect::CollectorRun run{.skip = true, .place = "場所:クエリー情報"};
        const auto result = collect::RunCollection(
            ctx, run,
            [number](collect::RunContext&) -> collect::Finish { throw host::Error(number, "x"); });
        return result == collect::RunResult::ShutdownRequested ? app::CommandEnd::ExitRequested
                                                               : app::CommandEnd::Done;
    });
    open();
    tick({kTables, kQueries, kForms});
    const auto outcome = program->runBatch(ui);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.end, end);
    EXPECT_EQ(outcome.ran, std::vector<std::size_t>{kTables});
    EXPECT_EQ(state().lastRun[Collector::Tables], 2) << "kept";
    EXPECT_EQ(state().lastRun[Collector::Forms], 0) << "not reached";
    EXPECT_FALSE(state().batch.running);
    const auto boxes = events("box:");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].starts_with("場所:クエリー情報(一括)ｴﾗｰNo:" + std::to_string(number) +
                                     "\n" + line))
        << boxes[0];
    EXPECT_FALSE(ui.busy);
}

INSTANTIATE_TEST_SUITE_P(
    BatchRun, FailingStep,
    ::testing::Values(
        std::tuple(3044, "リンクテーブルのパスが不正です。", app::CommandEnd::Done),
        std::tuple(2544, "隠しオブジェクトで指定されているマクロがあります。",
                   app::CommandEnd::Done),
        std::tuple(2516, "Access2000以前のバージョンで作成した\nファイルのため解析出来ません。",
                   app::CommandEnd::Done),
        std::tuple(7866, "Access2000以前のバージョンで作成した", app::CommandEnd::Done),
        std::tuple(3265, "場所とｴﾗｰNoを控えメールをお願いします。", app::CommandEnd::Done),
        std::tuple(2450, "システムが不安定です。", app::CommandEnd::ExitRequested)));

TEST(BatchClicks, aStepOfAKindWithoutObjectsGetsNineWhichOnlyTheStepsWithAKindKnow) {
    app::AppState state;
    state.lastRun.values.fill(app::kNoObjects);
    auto panel = batch::OpenBatch(state.batch);
    for (std::size_t step = 0; step < app::kBatchStepCount; ++step) {
        batch::ClickStep(panel, state, step, true);
        const bool kind = step >= kTables && step <= kModSteps;
        EXPECT_EQ(state.batch.flags[step], kind ? app::kNoObjects : 1) << step;
        EXPECT_EQ(batch::WillRun(state.batch, step), !kind);
        batch::ClickStep(panel, state, step, false);
        EXPECT_EQ(state.batch.flags[step], kind ? app::kNoObjects : 0) << step;
    }
    EXPECT_EQ(state.batch.options[kObjects], 0);
}

}  // namespace
