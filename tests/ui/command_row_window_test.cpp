// A command added as one row of the command table has its button in the main window, enabled
// by the row's rule and running the row's command.

#include <QPushButton>

#include "commands/command_table.h"
#include "window_fixture.h"

namespace {

using namespace zanfor;

class CommandRowWindowTest : public test::WindowFixture {};

TEST_F(CommandRowWindowTest, aRowAddedToTheTableGetsAButtonThatRunsIt) {
    const auto table = test::TableWithDummyRow();
    commandTable = table;
    start();
    auto* button = find<QPushButton>("cmdDummy");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromUtf8("ダミー一覧"));
    EXPECT_FALSE(button->isEnabled()) << "no target yet";
    openTarget(test::kMemoryTarget);
    ASSERT_TRUE(button->isEnabled());
    const int before = test::DummyRuns();
    button->click();
    EXPECT_EQ(test::DummyRuns(), before + 1);
}

TEST_F(CommandRowWindowTest, aRowFollowsItsEnablingRule) {
    const auto table = test::TableWithDummyRow(app::EnabledWhen::Macros);
    commandTable = table;
    memory.add(host::memory::MemoryTargetBuilder("/data/no-macros.mdb").build());
    start();
    openTarget("/data/no-macros.mdb");
    EXPECT_FALSE(find<QPushButton>("cmdDummy")->isEnabled());
    openTarget(test::kMemoryTarget);
    EXPECT_TRUE(find<QPushButton>("cmdDummy")->isEnabled());
}

}  // namespace
