#include "target/target_opener.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/profile.h"
#include "host/memory/memory_target.h"
#include "test_support.h"

namespace {

using namespace zanfor;
using app::CommandId;
using host::memory::MemoryDatabase;
using host::memory::MemoryTargetBuilder;
using target::OpenResult;

constexpr const char* kPath = "/data/販売管理.mdb";

// Hands out databases the test shapes: a memory target, or a failure with a given number.
class ShapedEngine : public host::dao::Engine {
public:
    std::function<std::unique_ptr<host::dao::Database>(const std::string&)> open;
    std::unique_ptr<host::dao::Database> openDatabase(const std::string& path) override {
        return open(path);
    }
};

// Writes down the startup form it holds when it is released.
class WatchedDatabase : public MemoryDatabase {
public:
    WatchedDatabase(std::shared_ptr<const host::memory::MemoryTarget> t,
                    std::vector<std::string>* released)
        : MemoryDatabase(std::move(t)), released_(released) {}
    ~WatchedDatabase() override {
        const auto* form = properties().find("StartupForm");
        released_->push_back(form ? form->value.toText() : "(none)");
    }

private:
    std::vector<std::string>* released_;
};

class BrokenQueries : public MemoryDatabase {
public:
    using MemoryDatabase::MemoryDatabase;
    const std::vector<host::dao::QueryDef>& queryDefs() override {
        throw host::Error(3258, "クエリーを読めません。");
    }
};

std::shared_ptr<const host::memory::MemoryTarget> Sample(const std::string& path = kPath) {
    MemoryTargetBuilder b(path);
    b.property("StartupForm", "メニュー")
        .property("StartupShowDBWindow", false)
        .property("AllowFullMenus", false)
        .property("AppTitle", "販売管理システム");
    b.table("顧客").field("ID", host::dao::dbLong, 4);
    b.query("顧客一覧", host::dao::dbQSelect, "SELECT * FROM 顧客;");
    b.form("メニュー");
    b.report("請求書");
    b.macro("AutoKeys");
    b.module("共通", "Option Explicit");
    return b.build();
}

// StartupForm, StartupShowDBWindow and AllowFullMenus, "-" for one the target lacks.
std::string Startup(const host::Properties& p) {
    std::string out;
    for (const char* name : {"StartupForm", "StartupShowDBWindow", "AllowFullMenus"})
        out += (out.empty() ? "" : " ") + (p.contains(name) ? p.get(name).toText() : "-");
    return out;
}

struct Opener : ::testing::Test {
    test::TempDir dir;
    ShapedEngine engine;
    host::memory::MemoryEngine memory;
    host::memory::MemoryApplicationFactory factory{memory};
    app::ScriptedDialogs dialogs;
    app::RecordingDesktop desktop;
    app::RecordingUi ui;
    std::vector<std::string> released;  // outlives the session, whose databases write to it
    target::Session session;
    app::AppState state;
    app::PanelState panel;

    Opener() {
        app::ResetPanel(panel, state);
        engine.open = [this](const std::string& path) { return memory.openDatabase(path); };
    }

    target::OpenEnvironment env() {
        return {engine,     factory,
                dialogs,    desktop,
                dir.path(), dir / "Zanfor2.db",
                "0",        [] { return std::string("2024/04/01"); }};
    }
    OpenResult pick(const std::string& path) {  // "" cancels the dialog
        dialogs.files = path.empty() ? std::vector<std::string>{} : std::vector{path};
        target::OpenTargetState s{session, state, panel, ui};
        return target::OpenTargetWithDialog(s, env());
    }
    OpenResult recent(const std::string& path) {
        target::OpenTargetState s{session, state, panel, ui};
        return target::OpenRecentTarget(s, env(), path);
    }
    std::string lastBox() const {
        for (auto it = ui.events.rbegin(); it != ui.events.rend(); ++it) {
            if (it->starts_with("box:"))
                return it->substr(4);
        }
        return {};
    }
};

TEST_F(Opener, opensTheChosenTargetAndPreparesEverythingTheCommandsNeed) {
    memory.add(Sample());
    state.previewEnabled.fill(true);
    app::WriteProfile(dir.path(), {"販売仕様書", "山田商事", "開発部", "10", "鈴木"});
    ASSERT_EQ(pick(kPath), OpenResult::Opened);

    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_TRUE(dialogs.fileRequests[0].exportFolders) << "an export folder is a target too";
    EXPECT_EQ(dialogs.fileRequests[0].initialFolder, std::filesystem::current_path().string());
    EXPECT_TRUE(session.isOpen());
    EXPECT_EQ(state.openMode, app::OpenMode::Target);
    EXPECT_EQ(state.targetPath, kPath);
    EXPECT_EQ(state.pickers.tables, std::vector<std::string>{"顧客"});
    EXPECT_EQ(state.header.system, "販売管理システム");
    EXPECT_EQ(state.header.title + state.header.auther, "販売仕様書鈴木") << "from the profile";
    for (const auto& row : app::CommandTable())
        EXPECT_TRUE(panel.enabled(row.id)) << row.button;
    EXPECT_TRUE(panel.save);
    for (bool on : state.previewEnabled)
        EXPECT_FALSE(on);
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(ui.events.back(), "gauge:hidden");
}

TEST_F(Opener, switchesTheStartupPropertiesInTheOpenDatabaseOnlyAndGivesThemBack) {
    MemoryTargetBuilder bare("/data/素.mdb");
    bare.form("F");
    memory.add(bare.build());
    memory.add(Sample());
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {kPath, "(表示しない) True True", "メニュー False False"},
        {"/data/素.mdb", "- - -", "- - -"},  // a target without them gets none of them
    };
    for (const auto& [path, opened, stored] : cases) {
        ASSERT_EQ(pick(path), OpenResult::Opened);
        EXPECT_EQ(Startup(session.target->properties()), opened);
        EXPECT_EQ(Startup(memory.find(path)->properties), stored) << "the file is untouched";
        target::GiveBackStartupSettings(*session.target, state.savedStartup);
        EXPECT_EQ(Startup(session.target->properties()), stored);
    }
}

TEST_F(Opener, cancellingTheDialogKeepsTheOpenTarget) {
    memory.add(Sample());
    ASSERT_EQ(pick(kPath), OpenResult::Opened);
    EXPECT_EQ(pick(""), OpenResult::Cancelled);
    EXPECT_EQ(state.targetPath, kPath);
    EXPECT_TRUE(session.isOpen());
    EXPECT_TRUE(panel.enabled(CommandId::Table));
}

TEST_F(Opener, anAnalysisFileLoadedRefusesWithItsMessage) {
    state.openMode = app::OpenMode::AnalysisFile;
    EXPECT_EQ(pick(kPath), OpenResult::Refused);
    EXPECT_EQ(lastBox(),
              "保存ファイルが選択されておりますので処理出来ません。\n"
              "終了し再度本ソフトを起動お願いします。");
    EXPECT_TRUE(dialogs.fileRequests.empty());
}

TEST_F(Opener, commandsFollowWhatTheTargetHolds) {
    MemoryTargetBuilder empty(kPath);
    empty.table("MSysObjects").field("Id", host::dao::dbLong, 4);
    memory.add(empty.build());
    ASSERT_EQ(pick(kPath), OpenResult::Opened);
    // Which command needs what is the command table's own rule; here only that it is applied.
    EXPECT_FALSE(panel.enabled(CommandId::Table));
    EXPECT_FALSE(panel.enabled(CommandId::Module));
    EXPECT_TRUE(panel.enabled(CommandId::Object));
    EXPECT_EQ(state.lastRun[app::Collector::ModuleListing], app::kNoObjects);
}

TEST_F(Opener, errorsAreReportedByTheirNumberAndLeaveNoCommandReachingATarget) {
    memory.add(Sample("/data/前.mdb"));
    const std::tuple<bool, int, OpenResult, std::string> cases[] = {
        {true, 3031, OpenResult::ExitRequested,
         "場所:選択ｴﾗｰNo:3031\n解析元ファイルのパスワード\nを解除して下さい。\n"
         "システムを終了します。"},
        {false, 3031, OpenResult::Failed,
         "場所:選択ｴﾗｰNo:3031　行数:3\n場所、ｴﾗｰNo、内容を控えメールをお願いします。\n"
         "内容:説明"},
        {true, 2449, OpenResult::ExitRequested,
         "場所:選択ｴﾗｰNo:2449\nシステムが不安定です。\n詳細はヘルプを参照下さい。\n"
         "システムを終了します。\n内容:説明"},
    };
    for (const auto& [fromDialog, number, result, text] : cases) {
        SCOPED_TRACE(text);
        engine.open = [this](const std::string& path) { return memory.openDatabase(path); };
        ASSERT_EQ(pick("/data/前.mdb"), OpenResult::Opened);
        engine.open = [n = number](const std::string&) -> std::unique_ptr<host::dao::Database> {
            throw host::Error(n, "説明");
        };
        EXPECT_EQ(fromDialog ? pick(kPath) : recent(kPath), result);
        EXPECT_EQ(lastBox(), text);
        EXPECT_FALSE(ui.busy);
        EXPECT_EQ(state.targetPath, kPath);
        for (const auto& row : app::CommandTable())
            EXPECT_FALSE(panel.enabled(row.id)) << row.button;
    }
}

TEST_F(Opener, theErrorReportNamesTheStepReached) {
    engine.open = [](const std::string& path) {
        return std::make_unique<BrokenQueries>(Sample(path));
    };
    EXPECT_EQ(pick(kPath), OpenResult::Failed);
    EXPECT_TRUE(lastBox().starts_with("場所:選択ｴﾗｰNo:3258　行数:17\n")) << lastBox();
    EXPECT_EQ(state.pickers.tables, std::vector<std::string>{"顧客"}) << "as far as it got";
}

TEST_F(Opener, leavingGivesTheStartupFormBackReleasesAndForgetsTheTarget) {
    memory.add(Sample());
    memory.add(Sample("/data/二つ目.mdb"));
    engine.open = [this](const std::string& path) {
        return std::make_unique<WatchedDatabase>(memory.find(path), &released);
    };
    ASSERT_EQ(pick(kPath), OpenResult::Opened);
    ASSERT_EQ(recent("/data/二つ目.mdb"), OpenResult::Opened);  // which leaves the first
    EXPECT_EQ(released, std::vector<std::string>{"メニュー"});
    state.previewEnabled.fill(true);
    target::LeaveTarget(session, state);
    EXPECT_EQ(released, (std::vector<std::string>{"メニュー", "メニュー"}));
    EXPECT_FALSE(session.access);
    EXPECT_EQ(state.openMode, app::OpenMode::Nothing);
    EXPECT_TRUE(state.pickers.tables.empty());
    EXPECT_FALSE(state.previewEnabled[0]);
    EXPECT_EQ(state.targetPath, "/data/二つ目.mdb") << "it stays for the settings written at exit";
}

}  // namespace
