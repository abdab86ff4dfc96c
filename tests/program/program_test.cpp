#include "program/program.h"

#include <gtest/gtest.h>

#include "core/profile.h"
#include "host/memory/memory_target.h"
#include "test_support.h"
#include "util/encoding.h"
#include "util/ini_file.h"
#include "workdb/work_database.h"

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

TEST(OpensAsTarget, databasesAndFoldersAreTargetsEverythingElseAnAnalysisFile) {
    test::TempDir folder;
    const std::pair<std::filesystem::path, bool> cases[] = {
        {"/d/a.mdb", true},  {"/d/販売.ACCDB", true}, {folder.path(), true},
        {"/d/a.adb", false}, {"/d/a.mdb.adb", false}, {"/d/mdb", false},
    };
    for (const auto& [file, target] : cases)
        EXPECT_EQ(OpensAsTarget(file), target) << file;
}

TEST_F(ProgramFixture, aDatabaseNamedAtStartUpOpensAsTheTarget) {
    start();
    EXPECT_EQ(program->loadAnalysisFile(kPath, true), CommandEnd::Done);
    EXPECT_EQ(program->state().openMode, OpenMode::Target);
    EXPECT_EQ(program->state().targetPath, kPath);
    EXPECT_TRUE(program->session().isOpen());
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
    // The buttons whose objects the target has come on, the form picture's among them.
    EXPECT_TRUE(program->panel().enabled(CommandId::Table));
    EXPECT_TRUE(program->panel().enabled(CommandId::FmImage));
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

// The boxes shown so far, each as its text.
std::vector<std::string> Boxes(const RecordingUi& ui) {
    std::vector<std::string> boxes;
    for (const auto& e : ui.events)
        if (e.starts_with("box:"))
            boxes.push_back(e.substr(4));
    return boxes;
}

TEST_F(ProgramFixture, aSavedFileReloadsWithTheResultsAndTheButtonsOfWhatRan) {
    start();
    dialogs.files = {kPath};
    program->openTarget();
    program->state().options.table = 2;
    program->state().header.title = "顧客管理";
    program->runCommand(CommandId::Table);
    const auto tableRows = program->session().work->rowCount("T_AcTblInfo");
    ASSERT_GT(tableRows, 0);
    const auto file = dir / "保存.adb";
    dialogs.files = {(dir / "保存.ADB").string()};
    EXPECT_EQ(program->saveAnalysisFile(), CommandEnd::Done);
    EXPECT_EQ(Boxes(ui).back(), "保存終了しました。");
    EXPECT_FALSE(program->menuEnabled(Menu::Open));
    EXPECT_FALSE(program->menuEnabled(Menu::Load));
    EXPECT_EQ(program->state().openMode, OpenMode::Target) << "saving keeps the open mode";
    program->shutDown(0, 0, false);
    program.reset();

    // Another day: the work database holds other results until the file is loaded.
    start();
    workdb::WorkDatabase::open(dir / "Zanfor2.db").execute("delete * from T_AcTblInfo;");
    const auto bytes = test::FileBytes(file);
    EXPECT_EQ(program->loadAnalysisFile(file, false), CommandEnd::Done);
    EXPECT_EQ(Boxes(ui).back(), "読み込みました。");
    const auto& state = program->state();
    EXPECT_EQ(state.openMode, OpenMode::AnalysisFile);
    EXPECT_EQ(ChosenIndex(state, OptionGroup::Table), 1);
    for (std::size_t b = 0; b < kPreviewButtonCount; ++b)
        EXPECT_EQ(state.previewEnabled[b], b == static_cast<std::size_t>(PreviewButton::TPre));
    EXPECT_EQ(state.header.title, "顧客管理");
    EXPECT_EQ(state.header.date, "2024/04/01");
    EXPECT_TRUE(program->panel().enabled(CommandId::Hyousi1));
    EXPECT_FALSE(program->menuEnabled(Menu::Batch));
    EXPECT_EQ(workdb::WorkDatabase::open(dir / "Zanfor2.db").rowCount("T_AcTblInfo"), tableRows);
    EXPECT_EQ(test::FileBytes(file), bytes);
    EXPECT_EQ(program->runCommand(CommandId::Hyousi1), CommandEnd::Done);
    EXPECT_EQ(ui.events.back(), "timer:5000") << "the cover sheet prints from the loaded file";
}

TEST_F(ProgramFixture, aRefusedLoadLeavesTheProgramAsItWas) {
    start();
    const auto unfinished = dir / "unfinished.adb";
    workdb::WorkDatabase::open(unfinished);
    const auto junk = dir / "junk.adb";
    util::WriteFileAtomically(junk, std::string(5000, 'z'));
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {unfinished, "保存処理が失敗しています。"},
        {junk, "場所:読込ｴﾗｰNo:3343"},
    };
    for (const auto& [file, box] : cases) {
        dialogs.files = {file.string()};
        EXPECT_EQ(program->loadAnalysisFile(), CommandEnd::Done);
        EXPECT_TRUE(Boxes(ui).back().starts_with(box)) << Boxes(ui).back();
        EXPECT_EQ(program->state().openMode, OpenMode::Nothing);
        EXPECT_TRUE(program->menuEnabled(Menu::Load)) << "another file can be chosen";
    }
    // With a target open nothing is loaded; saving asks before it replaces a file.
    dialogs.files = {kPath};
    program->openTarget();
    EXPECT_EQ(program->loadAnalysisFile(), CommandEnd::Done);
    EXPECT_TRUE(Boxes(ui).back().starts_with("解析ファイルが選択されておりますので"));
    const auto bytes = test::FileBytes(junk);
    dialogs.files = {junk.string()};
    ui.answers = {MsgResult::No};
    program->saveAnalysisFile();
    EXPECT_EQ(test::FileBytes(junk), bytes);
    EXPECT_TRUE(program->menuEnabled(Menu::Open)) << "nothing was saved";
}

}  // namespace
