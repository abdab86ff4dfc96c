#include "output/output_panel.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/dialogs.h"
#include "core/run_ui.h"
#include "test_support.h"
#include "workdb/work_database.h"

namespace {

using namespace zanfor;
using app::Collector;
using output::OutputKind;

TEST(OutputPanel, aButtonIsEnabledOnceItsCollectorHasRunEvenWithoutObjects) {
    const struct {
        Collector collector;
        std::int16_t lastRun;
        std::vector<std::string_view> enabled;
    } cases[] = {
        {Collector::Objects, 7, {"cmdOCSV", "cmdExObj"}},
        {Collector::Tables, 3, {"cmdTCSV", "cmdExTbl"}},
        {Collector::Queries, 1, {"cmdQCSV", "cmdQText", "cmdExQry"}},
        {Collector::Forms, app::kNoObjects, {"cmdFCSV"}},
        {Collector::Reports, 2, {"cmdRCSV"}},
        {Collector::Macros, 1, {"cmdMCSV"}},
        {Collector::ModuleListing, 3, {"cmdMText"}},
        {Collector::Procedures, 2, {}},
    };
    for (const auto& c : cases) {
        app::LastRunOptions lastRun;
        EXPECT_TRUE(output::EnabledOutputs(lastRun).none());
        lastRun[c.collector] = c.lastRun;
        const auto enabled = output::EnabledOutputs(lastRun);
        std::vector<std::string_view> names;
        for (const auto& info : output::Outputs()) {
            if (enabled[static_cast<std::size_t>(info.kind)])
                names.push_back(info.button);
        }
        EXPECT_EQ(names, c.enabled) << static_cast<int>(c.collector);
    }
}

class OutputClick : public ::testing::Test {
protected:
    workdb::WorkDatabase work = workdb::WorkDatabase::open(":memory:");
    test::TempDir dir;
    app::ScriptedDialogs dialogs;
    app::RecordingUi ui;

    app::CommandEnd click(OutputKind kind, const std::string& chosen) {
        dialogs.files = {chosen};
        output::OutputContext context{work, dialogs, ui, "", dir.path(), {}};
        return output::ClickOutput(kind, context);
    }
};

TEST_F(OutputClick, theChosenNameGetsItsExtensionOnceAndAnExistingFileIsReplaced) {
    const struct {
        OutputKind kind;
        std::string chosen;
        std::string written;
    } cases[] = {
        {OutputKind::ObjectCsv, "list.CSV", "list.csv"},
        {OutputKind::ObjectCsv, "list", "list.csv"},
        {OutputKind::MacroCsv, "a.txt", "a.txt.csv"},
        {OutputKind::ModuleText, "code.TXT", "code.txt"},
        {OutputKind::SqlText, "sql.csv", "sql.csv.txt"},
    };
    for (const auto& c : cases) {
        test::TempDir here;
        const auto written = here / c.written;
        std::filesystem::create_directories(here.path());
        { std::ofstream(written) << "old contents that are longer than a header"; }
        ui.events.clear();
        EXPECT_EQ(click(c.kind, (here / c.chosen).string()), app::CommandEnd::Done);
        const bool csv = c.kind != OutputKind::ModuleText && c.kind != OutputKind::SqlText;
        EXPECT_EQ(test::FileBytes(written).find("old"), std::string::npos) << c.written;
        const std::vector<std::string> shown{
            "busy", csv ? "box:ＣＳＶファイル出力を終了しました" : "box:テキスト出力を終了しました",
            "idle"};
        EXPECT_EQ(ui.events, shown);
        EXPECT_EQ(dialogs.fileRequests.back().title,
                  csv ? "ＣＳＶファイルへ保存" : "テキストファイルへ保存");
    }
}

TEST_F(OutputClick, aCancelledDialogWritesNothingAndAFailureShowsThePlaceLabel) {
    EXPECT_EQ(click(OutputKind::TableCsv, ""), app::CommandEnd::Done);
    EXPECT_TRUE(ui.events.empty());

    click(OutputKind::TableCsv, (dir / "no" / "such" / "x").string());
    ASSERT_FALSE(ui.events.empty());
    EXPECT_EQ(ui.events.back().rfind("box:場所:ＣＳＶ出力(テーブル)ｴﾗｰNo:3024", 0), 0U)
        << ui.events.back();
    EXPECT_FALSE(ui.busy) << "the pointer and window come back";
}

}  // namespace
