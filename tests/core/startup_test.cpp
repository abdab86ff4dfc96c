#include "core/startup.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

using namespace zanfor;

struct ProgramHome : ::testing::Test {
    test::TempProgramFolder home;
    app::ScriptedDialogs dialogs;

    std::optional<app::Startup> start() { return app::StartUp("/nowhere/zanfor", dialogs); }
};

TEST_F(ProgramHome, aFirstStartHasDefaultsAndCreatesTheWorkDatabase) {
    auto started = start();
    ASSERT_TRUE(started);
    EXPECT_EQ(started->paths.folder, home.path());
    EXPECT_EQ(started->settings.defaultFolder, "0");
    EXPECT_EQ(started->settings.recent[3], "0");
    EXPECT_TRUE(std::filesystem::exists(home / "Zanfor2.db"));
    EXPECT_EQ(std::filesystem::current_path(), home.path());
    EXPECT_TRUE(dialogs.boxes.empty()) << "a supported platform asks nothing";
}

TEST_F(ProgramHome, aSecondCopyIsRefusedWithItsMessageUntilTheFirstEnds) {
    auto first = start();
    ASSERT_TRUE(first);
    EXPECT_FALSE(start());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "既にZanforは、起動しています。");
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
