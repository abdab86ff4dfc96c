#include "commands/support_panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "host/access/module_model.h"
#include "host/memory/memory_target.h"
#include "vba/procedure_table.h"
#include "vba/vba_fixture.h"

namespace {

using namespace zanfor;
using app::CommandId;
using app::SupportFrame;
using test::Code;

bool Always(CommandId) { return true; }

struct Counts {
    long tables, forms, reports;
};

TEST(SupportPanel, toolsWaitForTheInitialProcessingThenFollowTheCountsAndTheCatalogue) {
    struct Case {
        bool initialized;
        bool variableLists;
        Counts counts;
        std::vector<SupportFrame> enabledFrames;
        std::vector<CommandId> enabledButtons;
    };
    using F = SupportFrame;
    using C = CommandId;
    const std::vector<F> always{F::LinkProc, F::Hensu, F::Teigi, F::ObjUpdate};
    const Case cases[] = {
        {false, true, {3, 2, 1}, {F::LinkTable}, {C::Syoki, C::LinkTable}},
        {true, false, {0, 0, 0}, always, {C::Syoki, C::ObjUpdate, C::Teigi, C::Hensu, C::LinkProc}},
        {true,
         true,
         {3, 0, 1},
         {F::LinkTable, F::LinkReport, F::LinkProc, F::Hensu, F::Teigi, F::ObjUpdate},
         {C::Syoki, C::LinkTable, C::ObjUpdate, C::Teigi, C::LinkReport, C::Hensu, C::HensuH,
          C::HensuT, C::HensuU, C::LinkProc}},
    };
    for (const auto& c : cases) {
        app::AppState state;
        state.support.initialized = c.initialized;
        state.support.variableLists = c.variableLists;
        state.counts.tables = c.counts.tables;
        state.counts.forms = c.counts.forms;
        state.counts.reports = c.counts.reports;
        const auto panel = app::OpenSupportPanel(state, Always);
        std::vector<F> frames;
        for (const auto& info : app::SupportFrames())
            if (panel.enabled(info.frame))
                frames.push_back(info.frame);
        std::vector<C> buttons;
        for (const auto& row : app::SupportCommandTable())
            if (panel.enabled(row.id))
                buttons.push_back(row.id);
        std::sort(frames.begin(), frames.end());
        auto wanted = c.enabledFrames;
        std::sort(wanted.begin(), wanted.end());
        EXPECT_EQ(frames, wanted) << c.initialized << c.counts.tables;
        EXPECT_EQ(buttons, c.enabledButtons)
            << c.initialized << c.counts.tables << " (in the order of the support table)";
    }
}

TEST(SupportPanel, opensWithTheChosenObjectSelectedAndAToolThisBuildLacksStaysDisabled) {
    app::AppState state;
    state.support.initialized = true;
    state.counts.forms = 2;
    state.pickers.forms = {"F1", "F2"};
    state.support.formMode = 1;
    auto panel = app::OpenSupportPanel(state, [](CommandId id) { return id != CommandId::Teigi; });
    EXPECT_EQ(state.support.formMode, 2);
    EXPECT_EQ(state.support.reportMode, 2);
    EXPECT_TRUE(panel.formPicker && panel.reportPicker);
    EXPECT_EQ(state.support.formText, "F1");
    EXPECT_TRUE(state.support.tableText.empty()) << "no table: nothing chosen";
    EXPECT_TRUE(panel.enabled(SupportFrame::Teigi));
    EXPECT_FALSE(panel.enabled(CommandId::Teigi));

    app::ClickFormSelect(panel, state, 0);
    EXPECT_EQ(state.support.formMode, 1);
    EXPECT_FALSE(panel.formPicker);
    app::ClickReportSelect(panel, state, 0);
    app::ClickReportSelect(panel, state, 1);
    EXPECT_EQ(state.support.reportMode, 2);
    EXPECT_TRUE(panel.reportPicker);
}

TEST(ProcedureTable, modulesInContainerOrderProceduresByFirstLineDeclarationsAloneGiveNone) {
    host::memory::MemoryTargetBuilder b("/procs.mdb");
    b.module("modB", Code({"Option Explicit", "Public Function Second()", "End Function",
                           "Sub First()", "End Sub", "Property Get P()", "End Property",
                           "Property Let P(v)", "End Property"}));
    b.module("modDecl", Code({"Option Explicit", "Public Const X = 1"}));
    b.module("modA", Code({"Sub Only()", "End Sub"}));
    // Opened by its whole name, listed by its first 150 characters.
    b.module(std::string(149, 'x') + "  tail", Code({"Sub Long()", "End Sub"}));
    auto f = test::VbaFixture::ForTarget(b.build());
    auto ctx = f.context();
    std::vector<std::string> seen;
    for (const auto& e : vba::BuildProcedureTable(ctx))
        seen.push_back(e.module + "." + e.procedure);
    EXPECT_EQ(seen, (std::vector<std::string>{"modB.Second", "modB.First", "modB.P", "modA.Only",
                                              std::string(149, 'x') + ".Long"}));
}

TEST(InitialProcessing, buildsTheTableSetsTheFlagAndAFailureLeavesBothAsTheyWere) {
    host::memory::MemoryTargetBuilder b("/syoki.mdb");
    b.module("modA", Code({"Sub Only()", "End Sub"}));
    auto f = test::VbaFixture::ForTarget(b.build());
    auto& state = f.state();
    state.targetPath = "/syoki.mdb";
    state.counts.modules = 1;
    const std::filesystem::path folder = "/nowhere";
    auto ctx = f.context();
    app::CommandContext c{state, f.collector.ui, f.collector.work, ctx.target, *f.access, folder};

    EXPECT_EQ(app::RunInitialProcessing(c), app::CommandEnd::Done);
    ASSERT_EQ(state.support.procedures.size(), 1u);
    EXPECT_TRUE(state.support.initialized);
    EXPECT_EQ(f.events("box:").back().rfind("「初期処理」を終了しました。", 0), 0u);

    state.support.initialized = false;
    state.targetPath = "/gone.mdb";  // Access cannot open it again
    app::RunInitialProcessing(c);
    EXPECT_FALSE(state.support.initialized);
    EXPECT_EQ(state.support.procedures.size(), 1u);
    EXPECT_NE(f.events("box:").back().find("場所:初期処理"), std::string::npos);
    EXPECT_FALSE(f.collector.ui.busy);

    state.targetPath = "/syoki.mdb";
    state.counts.modules = 0;  // a target without modules keeps nothing of the last one
    app::RunInitialProcessing(c);
    EXPECT_TRUE(state.support.initialized);
    EXPECT_TRUE(state.support.procedures.empty());
}

}  // namespace
