#include "cli/run_command.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/console_ui.h"
#include "commands/command_table.h"
#include "test_support.h"
#include "workdb/other_process.h"
#include "workdb/work_database.h"

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
        {{"--only", "fmimage"}, "画面イメージは zanfor-cli capture で取得して下さい: fmimage"},
        {{"--only", ",,,"}, "--only には処理名の一覧が必要です"},
        {{"--option", "table=-5"}, "不明なオプションか値です: table=-5"},
        {{"--option", "table=4"}, "不明なオプションか値です: table=4"},
        {{"--option", "link=0"}, "不明なオプションか値です: link=0"},
        {{"--only", "tables", "--pattern", "p.apt"}, "--pattern と --only は一緒に指定できません"},
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
    // The main window's rows first, then the developer support tools.
    const auto dummy = std::find(all->commands.begin(), all->commands.end(), test::kDummyCommand);
    ASSERT_NE(dummy, all->commands.end());
    EXPECT_EQ(*std::next(dummy), CommandId::Syoki);
    EXPECT_EQ(all->commands.back(), CommandId::LinkProc);
    EXPECT_EQ(all->commands.front(), CommandId::Object);
    EXPECT_FALSE(parse({"a.mdb", "--only", "dummy"}, app::CommandTable()));
}

// zanfor-cli run as a script starts it, in a program folder of its own: its exit status and
// what it wrote on stderr.
struct CliRun {
    int status = 0;
    std::string errors;
};

CliRun runCli(const std::vector<std::string>& args) {
    std::string why;
    const auto request = cli::ParseRunArguments(args, why);
    if (!request)
        return {2, why};
    const cli::CapturedOutput captured;
    const int status = cli::RunCommands(*request, "/nowhere/zanfor-cli");
    return {status, captured.err()};
}

const std::string kSample = std::string(ZANFOR_SOURCE_DIR) + "/examples/hanbai-kanri.mdb.src";

bool contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

TEST(RunCommand, aSecondProcessOnTheSameWorkDatabaseIsRefusedWith3045AndWritesNothing) {
    test::TempProgramFolder home;
    const auto file = home / "w.db";
    auto held = workdb::WorkDatabase::open(file);
    workdb::RowWriter row(held, "T_AcObject");
    row.addNew();
    row.set("ObjectName", "前の実行");
    row.update();
    const int outcome = test::InOtherProcess([&] {
        const auto run = runCli({kSample, "--only", "objects", "--workdb", file.string(), "--out",
                                 (home / "out").string()});
        if (run.status != 1)
            return 10 + run.status;
        return contains(run.errors, "ｴﾗｰNo:3045") && contains(run.errors, file.string()) ? 0 : 2;
    });
    EXPECT_EQ(outcome, 0);
    EXPECT_EQ(held.rowCount("T_AcObject"), 1);
}

// Fills the file system `file` lies on, then frees `room` bytes of it again.
void fillLeaving(const std::filesystem::path& file, std::uintmax_t room) {
    {
        std::ofstream out(file, std::ios::binary);
        const std::string block(4096, 'z');
        while (out.write(block.data(), static_cast<std::streamsize>(block.size())))
            out.flush();
    }
    std::filesystem::resize_file(file, std::filesystem::file_size(file) - room);
}

TEST(RunCommand, aWorkDatabaseOnAFullDiskFailsWithSQLitesFullErrorAndStatus1) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a small file system to fill needs root";
    test::TempProgramFolder home;
    const auto disk = home / "disk";
    std::filesystem::create_directory(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=512k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    struct Unmount {
        std::filesystem::path at;
        ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
    } unmount{disk};
    const auto file = disk / "Zanfor2.db";
    workdb::WorkDatabase::open(file);  // the empty tables fit; their rows will not
    fillLeaving(disk / "filler", 8192);

    const auto run = runCli({kSample, "--only", "objects", "--workdb", file.string(), "--out",
                             (home / "out").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.errors, "ｴﾗｰNo:30001")) << run.errors;
    EXPECT_TRUE(contains(run.errors, "(SQLite 13)")) << run.errors;
    EXPECT_FALSE(std::filesystem::exists(home / "out" / "R_AcObjectAll.pdf"));
    std::filesystem::remove(disk / "filler");
    EXPECT_EQ(workdb::WorkDatabase::open(file).rowCount("T_AcObject"), 0) << "no half-written run";
}

}  // namespace
