#include "core/print_title.h"

#include <gtest/gtest.h>

#include "test_support.h"
#include "workdb/work_database.h"

namespace {

using namespace zanfor;
using namespace zanfor::app;

constexpr const char* kTarget = "/data/業務/販売管理.mdb";

TEST(PrintTitleForm, theFirstShowingTurnsFreeTextOnWithTheSystemName) {
    PrintTitleSettings settings;
    PrintTitleForm form(settings);
    EXPECT_TRUE(form.view().file) << "before it is shown the stored settings show";
    form.firstShow("販売管理システム");
    const auto& v = form.view();
    EXPECT_TRUE(v.freeText && v.textEnabled);
    EXPECT_FALSE(v.file || v.path || v.fileEnabled || v.pathEnabled || v.frameEnabled);
    EXPECT_EQ(v.text, "販売管理システム");
    EXPECT_EQ(settings.freeText, 1);
    EXPECT_EQ(settings.fileName, 0);
}

TEST(PrintTitleForm, uncheckingFreeTextShowsFileBoxesAsTheirSettingsAre) {
    PrintTitleSettings settings{0, 0, 1, ""};
    PrintTitleForm form(settings);
    form.clickFile(true);
    form.clickFreeText(false);
    EXPECT_TRUE(form.view().file);
    EXPECT_FALSE(form.view().path);
}

TEST(ChoosePrintTitle, theFileNameSettingDecidesBeforeTheFreeText) {
    struct Case {
        PrintTitleSettings settings;
        std::optional<std::string> row;
        std::string_view mode;
    };
    const Case cases[] = {
        {{1, 1, 1, ""}, kTarget, "ファイル名フルパス印刷"},
        {{1, 0, 1, ""}, "販売管理.mdb", "ファイル名印刷"},
        {{0, 1, 1, ""}, "販売管理システム", "任意の文字列を印刷"},
        {{0, 1, 0, ""}, std::nullopt, "印刷しない"},
    };
    for (const auto& c : cases) {
        const auto choice = ChoosePrintTitle(c.settings, kTarget, "販売管理システム");
        EXPECT_EQ(choice.fileName, c.row) << c.mode;
        EXPECT_EQ(choice.modeText, c.mode);
    }
}

TEST(StorePrintTitle, anEmptyFreeTextIsRefusedAndLeavesTheTableEmpty) {
    test::TempDir dir;
    const auto db = dir / "Zanfor2.db";
    {
        auto work = workdb::WorkDatabase::open(db);
        work.execute("INSERT INTO T_AcTitle (FileName) VALUES ('前回');");
    }
    PrintTitleSettings settings{0, 0, 1, "ファイル名印刷"};
    RecordingUi ui;
    EXPECT_EQ(StorePrintTitle(db, settings, kTarget, "", ui), StoreResult::Failed);
    EXPECT_EQ(ui.events, std::vector<std::string>{"box:印字する文字を入力して下さい。"});
    EXPECT_EQ(workdb::WorkDatabase::open(db).rowCount("T_AcTitle"), 0);
    EXPECT_EQ(settings.modeText, "ファイル名印刷") << "the last stored mode stays";
}

TEST(StorePrintTitle, aWorkDatabaseThatCannotBeOpenedGetsTheSettingsWindowsReport) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "Zanfor2.db");
    PrintTitleSettings settings;
    RecordingUi ui;
    EXPECT_EQ(StorePrintTitle(dir / "Zanfor2.db", settings, kTarget, "", ui), StoreResult::Failed);
    ASSERT_EQ(ui.events.size(), 1u);
    EXPECT_TRUE(
        ui.events[0].starts_with("box:場所:ファイル名印刷指定ｴﾗｰNo:30001\n"
                                 "場所とｴﾗｰNoを控えメールをお願いします。\n内容:"))
        << ui.events[0];
    EXPECT_EQ(settings.modeText, "");
}

}  // namespace
