#include "cli/run_command.h"

#include <gtest/gtest.h>

#include "commands/command_table.h"

namespace {

using namespace zanfor;
using app::CommandId;

std::optional<cli::RunRequest> parse(std::vector<std::string> args,
                                     std::span<const app::CommandInfo> table,
                                     std::string* why = nullptr) {
    std::string reason;
    auto request = cli::ParseRunArguments(args, reason, table);
    if (why)
        *why = reason;
    return request;
}

TEST(RunArguments, onlyTakesTheTablesCommandLineNamesInTheirOrder) {
    const auto request = parse({"a.mdb", "--only", "queries,,tables"}, app::CommandTable());
    ASSERT_TRUE(request);
    EXPECT_EQ(request->commands, (std::vector{CommandId::Query, CommandId::Table}));

    std::string why;
    EXPECT_FALSE(parse({"a.mdb", "--only", "tables,nothing"}, app::CommandTable(), &why));
    EXPECT_EQ(why, "不明な処理名: nothing");
    EXPECT_FALSE(parse({"a.mdb", "--only", "macros"}, app::CommandTable(), &why));
    EXPECT_EQ(why, "この版ではまだ実行できない処理です: macros");
}

TEST(RunArguments, aRowAddedToTheTableRunsFromTheCommandLine) {
    const auto table = test::TableWithDummyRow();
    const auto only = parse({"a.mdb", "--only", "dummy"}, table);
    ASSERT_TRUE(only);
    EXPECT_EQ(only->commands, std::vector{test::kDummyCommand});
    const auto all = parse({"a.mdb"}, table);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->commands.back(), test::kDummyCommand);
    EXPECT_EQ(all->commands.front(), CommandId::Object);
    EXPECT_FALSE(parse({"a.mdb", "--only", "dummy"}, app::CommandTable()));
}

}  // namespace
