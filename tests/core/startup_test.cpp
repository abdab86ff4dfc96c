#include "core/startup.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "test_support.h"
#include "util/ini_file.h"

namespace {

using namespace zanfor;

// Points the program folder at a fresh temporary folder and puts the working folder back.
struct ProgramHome : ::testing::Test {
    test::TempDir home;
    std::filesystem::path cwd = std::filesystem::current_path();
    app::ScriptedDialogs dialogs;

    ProgramHome() { setenv("ZANFOR_HOME", home.path().c_str(), 1); }
    ~ProgramHome() override {
        std::filesystem::current_path(cwd);
        unsetenv("ZANFOR_HOME");
    }
    std::optional<app::Startup> start() { return app::StartUp("/nowhere/zanfor", dialogs); }
};

TEST_F(ProgramHome, aFirstStartHasDefaultsAndCreatesTheWorkDatabase) {
    auto started = start();
    ASSERT_TRUE(started);
    EXPECT_EQ(started->paths.folder, home.path());
    EXPECT_EQ(started->settings.top, 0);
    EXPECT_EQ(started->settings.left, 0);
    EXPECT_EQ(started->settings.defaultFolder, "0");
    EXPECT_EQ(started->settings.recent[3], "0");
    EXPECT_EQ(started->profile, app::Profile{});
    EXPECT_TRUE(std::filesystem::exists(home / "Zanfor2.db"));
    EXPECT_EQ(std::filesystem::current_path(), home.path());
    EXPECT_TRUE(dialogs.boxes.empty()) << "a supported platform asks nothing";
}

TEST_F(ProgramHome, readsThePositionFolderAndRecentFilesOfTheSettingsFile) {
    util::IniFile ini(home / "Zanfor.ini");
    ini.write("POS", "T", "1500");
    ini.write("POS", "L", "-300");
    ini.write("DEF", "Folder", "/data/");
    ini.write("RECENT", "RecentFile2", "/data/b.mdb");
    auto started = start();
    ASSERT_TRUE(started);
    EXPECT_EQ(started->settings.top, 1500);
    EXPECT_EQ(started->settings.left, -300);
    EXPECT_EQ(started->settings.defaultFolder, "/data/");
    EXPECT_EQ(started->settings.recent[1], "/data/b.mdb");
}

TEST_F(ProgramHome, aSecondCopyIsRefusedWithItsMessageUntilTheFirstEnds) {
    auto first = start();
    ASSERT_TRUE(first);
    EXPECT_FALSE(start());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "既にZanforは、起動しています。");
    EXPECT_EQ(dialogs.boxes[0].title, "Zanfor2000 Ver 2.1");
    EXPECT_EQ(dialogs.boxes[0].buttons, app::MsgButtons::Ok);
    first.reset();
    EXPECT_TRUE(start());
}

TEST_F(ProgramHome, aWorkDatabaseThatCannotBeOpenedDoesNotStopTheStart) {
    std::filesystem::create_directory(home / "Zanfor2.db");
    EXPECT_TRUE(start());
}

TEST(InstanceLock, aFolderWithoutRoomForTheLockStillStarts) {
    EXPECT_TRUE(app::InstanceLock::acquire("/proc/definitely/not/here"));
}

}  // namespace
