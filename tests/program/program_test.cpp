#include "program/program.h"

#include <gtest/gtest.h>

#include "core/profile.h"
#include "host/memory/memory_target.h"
#include "test_support.h"
#include "util/ini_file.h"

namespace {

using namespace zanfor;
using namespace zanfor::app;

constexpr const char* kPath = "/data/x/a.mdb";

struct ProgramFixture : ::testing::Test {
    test::TempDir dir;
    host::memory::MemoryEngine engine;
    host::memory::MemoryApplicationFactory factory{engine};
    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    TableCommands commands;
    RecordingUi ui;
    std::unique_ptr<Program> program;

    void start(StartupSettings settings = {}) {
        for (const char* path : {kPath, "/data/x/b.mdb"}) {
            host::memory::MemoryTargetBuilder b(path);
            b.property("StartupForm", "メニュー");
            b.table("顧客").field("ID", host::dao::dbLong, 4);
            b.form("メニュー");
            engine.add(b.build());
        }
        Startup startup{*InstanceLock::acquire(dir.path()),
                        ProgramPaths::in(dir.path()),
                        std::move(settings),
                        {}};
        program =
            std::make_unique<Program>(std::move(startup),
                                      ProgramServices{engine, factory, dialogs, desktop, commands,
                                                      [] { return std::string("2024/04/01"); }},
                                      ui);
    }
    std::string ini(const char* section, const char* key) const {
        return util::IniFile(dir / "Zanfor.ini").read(section, key, "(absent)");
    }
};

TEST_F(ProgramFixture, shutdownWritesPositionFolderAndRecentFiles) {
    StartupSettings settings;
    settings.recent = {"/data/x/b.mdb", kPath, "0", "0"};
    start(settings);
    dialogs.files = {kPath};
    ASSERT_EQ(program->openTarget(), target::OpenResult::Opened);
    program->shutDown(1500, 3000);
    EXPECT_EQ(ini("POS", "T"), "1500");
    EXPECT_EQ(ini("POS", "L"), "3000");
    EXPECT_EQ(ini("DEF", "Folder"), "/data/x/");
    EXPECT_EQ(ini("RECENT", "RecentFile1"), kPath);
    EXPECT_EQ(ini("RECENT", "RecentFile2"), "/data/x/b.mdb");
    EXPECT_FALSE(program->session().isOpen());
    EXPECT_EQ(desktop.releaseCalls, 1);
    EXPECT_FALSE(desktop.inhibited);
}

TEST_F(ProgramFixture, shutdownWithNothingOpenWritesAnEmptyFolderAndKeepsTheRecentList) {
    StartupSettings settings;
    settings.recent = {"/data/x/b.mdb", "0", "0", "0"};
    start(settings);
    program->shutDown(0, 0);
    EXPECT_EQ(ini("DEF", "Folder"), "");
    EXPECT_EQ(ini("RECENT", "RecentFile1"), "(absent)");
}

TEST_F(ProgramFixture, theSettingsWindowsEndWritesNoSettings) {
    start();
    dialogs.files = {kPath};
    program->openTarget();
    program->shutDown(15, 15, false);
    EXPECT_FALSE(std::filesystem::exists(dir / "Zanfor.ini"));
    EXPECT_FALSE(program->session().isOpen());
}

TEST_F(ProgramFixture, aSettingsFileThatCannotBeWrittenIsIgnoredAtShutdown) {
    start();
    std::filesystem::create_directory(dir / "Zanfor.ini");
    EXPECT_NO_THROW(program->shutDown(0, 0));
    EXPECT_EQ(desktop.releaseCalls, 1);
}

TEST_F(ProgramFixture, recentFilesOpenWithoutADialogAndHiddenOnesDoNothing) {
    StartupSettings settings;
    settings.recent = {"0", "/data/x/b.mdb", "0", "0"};
    start(settings);
    EXPECT_EQ(program->openRecentFile(0), target::OpenResult::Cancelled);
    EXPECT_EQ(program->openRecentFile(7), target::OpenResult::Cancelled);
    EXPECT_EQ(program->openRecentFile(1), target::OpenResult::Opened);
    EXPECT_EQ(program->state().targetPath, "/data/x/b.mdb");
    EXPECT_TRUE(dialogs.fileRequests.empty());
}

TEST_F(ProgramFixture, theOpenDialogStartsInTheStoredFolder) {
    StartupSettings settings;
    settings.defaultFolder = "/data/x/";
    start(settings);
    program->openTarget();
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].initialFolder, "/data/x/");
}

TEST_F(ProgramFixture, registeringTheProfileWritesItThenSaysSo) {
    start();
    auto& h = program->state().header;
    h = {" 仕様書 ",
         "システム",
         "山田商事",
         "開発部",
         "一二三四五六七八九十一二三四五六七八九十超過",
         "",
         "10"};
    program->saveProfile();
    const auto profile = ReadProfile(dir.path());
    EXPECT_EQ(profile.title, "仕様書");
    EXPECT_EQ(profile.auther, "一二三四五六七八九十一二三四五六七八九十");
    EXPECT_EQ(profile.capTm, "10");
    EXPECT_EQ(ui.events, (std::vector<std::string>{"message:基本情報が登録されました。",
                                                   "box:基本情報が登録されました。"}));
}

TEST_F(ProgramFixture, aProfileThatCannotBeWrittenIsNotAnnouncedAsRegistered) {
    start();
    std::filesystem::create_directory(dir / "Zanfor.dat");
    program->saveProfile();
    ASSERT_EQ(ui.events.size(), 1u);
    EXPECT_TRUE(ui.events[0].starts_with("box:場所:登録ｴﾗｰNo:76\n")) << ui.events[0];
    EXPECT_EQ(ui.message, "");
}

TEST_F(ProgramFixture, commandsRunOnTheOpenTargetOnly) {
    start();
    std::vector<std::string> seen;
    commands.replace(CommandId::Table, [&](CommandContext& c) {
        seen.push_back(c.target.name());
        c.state.enablePreview(PreviewButton::TPre);
        return CommandEnd::Done;
    });
    EXPECT_EQ(program->runCommand(CommandId::Table), CommandEnd::Done);
    EXPECT_TRUE(seen.empty()) << "nothing open";
    dialogs.files = {kPath};
    program->openTarget();
    // A button whose collector is not built yet stays off; one that runs comes on.
    EXPECT_TRUE(program->panel().enabled(CommandId::Table));
    EXPECT_FALSE(program->panel().enabled(CommandId::FmImage));
    program->runCommand(CommandId::Table);
    program->runCommand(CommandId::Query);
    EXPECT_EQ(seen, std::vector<std::string>{kPath});
    EXPECT_TRUE(program->state().isPreviewEnabled(PreviewButton::TPre));
}

TEST_F(ProgramFixture, anErrorEscapingACommandIsReportedNotFatal) {
    start();
    commands.replace(CommandId::Macro, [](CommandContext& c) -> CommandEnd {
        c.ui.setBusy(true);
        throw std::runtime_error("予期しない失敗");
    });
    dialogs.files = {kPath};
    program->openTarget();
    EXPECT_EQ(program->runCommand(CommandId::Macro), CommandEnd::Done);
    EXPECT_FALSE(ui.busy);
    const auto& box = ui.events[ui.events.size() - 2];
    EXPECT_TRUE(box.starts_with("box:場所:マクロ一覧ｴﾗｰNo:5\n")) << box;
}

}  // namespace
