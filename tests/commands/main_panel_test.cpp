#include "commands/main_panel.h"

#include <gtest/gtest.h>

namespace {

using namespace zanfor::app;

struct Fresh {
    AppState state;
    PanelState panel;
    Fresh() {
        state.previewEnabled.fill(true);
        panel.commands.set();
        ResetPanel(panel, state);
    }
};

TEST(MainPanel, startUpSelectsTheDesignedOptionsAndDisablesEveryCommand) {
    Fresh f;
    const std::pair<OptionGroup, int> chosen[] = {
        {OptionGroup::Object, 6},  {OptionGroup::Table, 1},   {OptionGroup::TSelect, 0},
        {OptionGroup::Query, 2},   {OptionGroup::QSelect, 0}, {OptionGroup::Form, 0},
        {OptionGroup::FSelect, 0}, {OptionGroup::Report, 0},  {OptionGroup::RSelect, 0},
        {OptionGroup::Proc, 1},    {OptionGroup::Module, 2},  {OptionGroup::MPrint, 1},
        {OptionGroup::ModStep, 3}, {OptionGroup::Macro, 1},   {OptionGroup::McSelect, 0},
        {OptionGroup::Control, 0}, {OptionGroup::File, 0},
    };
    for (const auto& [group, index] : chosen)
        EXPECT_EQ(ChosenIndex(f.state, group), index) << Info(group).name;
    EXPECT_EQ(f.state.options.link, 2);
    EXPECT_TRUE(IsChecked(f.state, CheckBox::Link));
    EXPECT_FALSE(IsChecked(f.state, CheckBox::Proc50));
    EXPECT_TRUE(f.panel.link);
    EXPECT_TRUE(f.panel.commands.none());
    for (bool on : f.panel.pickers)
        EXPECT_FALSE(on);
    for (bool on : f.state.previewEnabled)
        EXPECT_FALSE(on);
    EXPECT_FALSE(f.panel.save);
}

TEST(MainPanel, anIndexOutsideTheGroupIsRefused) {
    Fresh f;
    EXPECT_THROW(ClickOption(f.panel, f.state, OptionGroup::Table, 3), std::out_of_range);
    EXPECT_THROW(ClickOption(f.panel, f.state, OptionGroup::Table, -1), std::out_of_range);
    EXPECT_EQ(f.state.options.table, 2);
}

TEST(MainPanel, aStoredSettingOutsideTheGroupShowsItsNearestButton) {
    AppState state;
    state.options.control = 9;
    EXPECT_EQ(ChosenIndex(state, OptionGroup::Control), 2);
    state.options.control = 0;
    EXPECT_EQ(ChosenIndex(state, OptionGroup::Control), 0);
}

TEST(SavedFlags, onlyCollectorsWithResultsGetTheirOptionAndPreview) {
    Fresh f;
    f.panel.enable(CommandId::Table);
    LastRunOptions saved;
    saved[Collector::Tables] = 2;
    saved[Collector::Macros] = kNoObjects;
    saved[Collector::Queries] = 7;  // no such button: a damaged file
    const std::array<std::int16_t, 5> scopes{2, 1, 1, 1, 1};
    ShowSavedFlags(f.panel, f.state, saved, scopes, 1, 0);
    EXPECT_EQ(ChosenIndex(f.state, OptionGroup::Table), 1);
    EXPECT_EQ(ChosenIndex(f.state, OptionGroup::TSelect), 1);
    EXPECT_EQ(ChosenIndex(f.state, OptionGroup::Macro), 1) << "option 9 selects nothing new";
    EXPECT_TRUE(IsChecked(f.state, CheckBox::Proc50));
    for (std::size_t b = 0; b < kPreviewButtonCount; ++b)
        EXPECT_EQ(f.state.previewEnabled[b], b == static_cast<std::size_t>(PreviewButton::TPre))
            << PreviewButtonName(static_cast<PreviewButton>(b));
    EXPECT_EQ(f.state.lastRun.values, saved.values);
    EXPECT_EQ(f.panel.commands.count(), 3u);
    EXPECT_TRUE(f.panel.enabled(CommandId::Hyousi3));
    EXPECT_FALSE(f.panel.enabled(CommandId::Table));
}

TEST(Menus, aSaveLocksOpeningAndALoadedFileLocksAllButOutput) {
    struct Case {
        OpenMode mode;
        bool saved;
        std::array<bool, 6> enabled;  // Open, Save, Load, Batch, Support, Settings
    };
    const Case cases[] = {
        {OpenMode::Nothing, false, {true, true, true, true, true, true}},
        {OpenMode::Target, true, {false, true, false, true, true, true}},
        {OpenMode::AnalysisFile, false, {false, false, false, false, false, false}},
    };
    for (const auto& c : cases) {
        AppState state;
        state.openMode = c.mode;
        state.analysisSaved = c.saved;
        for (int m = 0; m < 6; ++m)
            EXPECT_EQ(MenuEnabled(state, static_cast<Menu>(m)), c.enabled[m])
                << static_cast<int>(c.mode) << " menu " << m;
    }
}

TEST(MainPanel, hintsNameWhatEachButtonPrintsAndTheBackgroundClearsThem) {
    const std::pair<std::string_view, std::string_view> hints[] = {
        {"cmdHyousi(1)", "表紙を印刷します。"},
        {"cmdHyousi(3)", "表紙を印刷します。"},
        {"cmdTable", "テーブルの情報を印刷します。"},
        {"cmdModStep", "モジュールのステップ数を印刷します。"},
        {"cmdFmImage", "フォームのイメージを印刷します。"},
        {"lblDBName", ""},
        {"frmZanfor", ""},
    };
    for (const auto& [control, text] : hints) {
        ASSERT_TRUE(HintFor(control).has_value()) << control;
        EXPECT_EQ(*HintFor(control), text);
    }
    EXPECT_FALSE(HintFor("cmdTPre").has_value());
    EXPECT_FALSE(HintFor("optTable(0)").has_value());
}

}  // namespace
