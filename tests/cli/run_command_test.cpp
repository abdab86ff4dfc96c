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
}

TEST(RunArguments, refusesNamesAndValuesNoRowOrControlTakes) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--only", "tables,nothing"}, "不明な処理名: nothing"},
        {{"--only", "macros"}, "この版ではまだ実行できない処理です: macros"},
        {{"--only", ",,,"}, "--only には処理名の一覧が必要です"},
        {{"--option", "table=-5"}, "不明なオプションか値です: table=-5"},
        {{"--option", "table=4"}, "不明なオプションか値です: table=4"},
        {{"--option", "link=0"}, "不明なオプションか値です: link=0"},
        {{"--option", "object=8", "--option", "link=1", "--option", "link=2"}, ""},
    };
    for (auto [args, reason] : cases) {
        args.insert(args.begin(), "a.mdb");
        std::string why;
        EXPECT_EQ(parse(args, app::CommandTable(), &why).has_value(), reason.empty()) << reason;
        EXPECT_EQ(why, reason);
    }
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
