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
    OpenResult pick(const std::string& path) {
        dialogs.files = {path};
        target::OpenTargetState s{session, state, panel, ui};
        return target::OpenTargetWithDialog(s, env());
    }
    OpenResult recent(const std::string& path) {
        target::OpenTargetState s{session, state, panel, ui};
        return target::OpenRecentTarget(s, env(), path);
    }
    void failWith(int number) {
        engine.open = [number](const std::string&) -> std::unique_ptr<host::dao::Database> {
            throw host::Error(number, "説明");
        };
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
    ASSERT_EQ(pick(kPath), OpenResult::Opened);

    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_TRUE(dialogs.fileRequests[0].exportFolders) << "an export folder is a target too";
    EXPECT_EQ(dialogs.fileRequests[0].initialFolder, std::filesystem::current_path().string());
    EXPECT_TRUE(session.isOpen());
    EXPECT_EQ(state.openMode, app::OpenMode::Target);
    EXPECT_EQ(state.targetPath, kPath);
    EXPECT_EQ(state.counts.modules, 1);
    EXPECT_EQ(state.pickers.tables, std::vector<std::string>{"顧客"});
    EXPECT_EQ(state.header.date, "2024/04/01");
    EXPECT_EQ(state.header.system, "販売管理システム");
    for (const auto& row : app::CommandTable())
        EXPECT_TRUE(panel.enabled(row.id)) << row.button;
    EXPECT_TRUE(panel.save);
    for (bool on : state.previewEnabled)
        EXPECT_FALSE(on);
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(ui.events.back(), "gauge:hidden");
    EXPECT_EQ(ui.events[1], "message:モジュール情報　取得中");
}

TEST_F(Opener, switchesTheStartupPropertiesInTheOpenDatabaseOnlyAndRemembersThem) {
    memory.add(Sample());
    ASSERT_EQ(pick(kPath), OpenResult::Opened);
    const auto& props = session.target->properties();
    EXPECT_EQ(props.get("StartupForm").toText(), "(表示しない)");
    EXPECT_TRUE(props.get("StartupShowDBWindow").toBool());
    EXPECT_TRUE(props.get("AllowFullMenus").toBool());
    const auto& stored = memory.find(kPath)->properties;
    EXPECT_EQ(stored.get("StartupForm").toText(), "メニュー") << "the file itself is untouched";

    target::GiveBackStartupSettings(*session.target, state.savedStartup);
    EXPECT_EQ(props.get("StartupForm").toText(), "メニュー");
    EXPECT_FALSE(props.get("StartupShowDBWindow").toBool());
    EXPECT_FALSE(props.get("AllowFullMenus").toBool());
}

TEST_F(Opener, aTargetWithoutStartupPropertiesOpensAndGetsNoneOfThem) {
    MemoryTargetBuilder b(kPath);
    b.form("F");
    memory.add(b.build());
    ASSERT_EQ(pick(kPath), OpenResult::Opened);
    EXPECT_FALSE(session.target->properties().contains("StartupForm"));
    EXPECT_EQ(state.savedStartup.startupForm, "");
    EXPECT_TRUE(state.savedStartup.startupShowDbWindow);
    target::GiveBackStartupSettings(*session.target, state.savedStartup);
    EXPECT_FALSE(session.target->properties().contains("StartupForm"));
}

TEST_F(Opener, leavingForAnotherTargetGivesTheFirstItsStartupFormBack) {
    memory.add(Sample());
    memory.add(Sample("/data/二つ目.mdb"));
    engine.open = [this](const std::string& path) {
        return std::make_unique<WatchedDatabase>(memory.find(path), &released);
    };
    ASSERT_EQ(pick(kPath), OpenResult::Opened);
    ASSERT_EQ(recent("/data/二つ目.mdb"), OpenResult::Opened);
    EXPECT_EQ(released, std::vector<std::string>{"メニュー"});
    EXPECT_EQ(state.targetPath, "/data/二つ目.mdb");
}

TEST_F(Opener, cancellingTheDialogKeepsTheOpenTarget) {
    memory.add(Sample());
    ASSERT_EQ(pick(kPath), OpenResult::Opened);
    dialogs.files.clear();
    target::OpenTargetState s{session, state, panel, ui};
    EXPECT_EQ(target::OpenTargetWithDialog(s, env()), OpenResult::Cancelled);
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
    for (auto id : {CommandId::Table, CommandId::Query, CommandId::Form, CommandId::FmImage,
                    CommandId::Report, CommandId::Macro, CommandId::Proc, CommandId::Module,
                    CommandId::ModStep})
        EXPECT_FALSE(panel.enabled(id)) << app::FindCommand(id)->button;
    for (auto id : {CommandId::Object, CommandId::Control, CommandId::File, CommandId::Comment,
                    CommandId::Hyousi1, CommandId::Hyousi3})
        EXPECT_TRUE(panel.enabled(id)) << app::FindCommand(id)->button;
    EXPECT_EQ(state.lastRun[app::Collector::ModuleListing], app::kNoObjects);
}

TEST_F(Opener, theStoredProfileFillsTheReportHeader) {
    memory.add(Sample());
    app::WriteProfile(dir.path(), {"販売仕様書", "山田商事", "開発部", "10", "鈴木"});
    ASSERT_EQ(pick(kPath), OpenResult::Opened);
    EXPECT_EQ(state.header.title, "販売仕様書");
    EXPECT_EQ(state.header.capTime, "10");
    EXPECT_EQ(state.header.auther, "鈴木");
}

struct ErrorCase {
    bool fromDialog;
    int number;
    OpenResult result;
    std::string text;
};

class OpenErrors : public Opener, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(OpenErrors, areReportedByTheirNumberAndLeaveNoCommandReachingATarget) {
    const auto& c = GetParam();
    memory.add(Sample("/data/前.mdb"));
    ASSERT_EQ(pick("/data/前.mdb"), OpenResult::Opened);
    failWith(c.number);
    const auto result = c.fromDialog ? pick(kPath) : recent(kPath);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(lastBox(), c.text);
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(state.targetPath, kPath);
    for (const auto& row : app::CommandTable())
        EXPECT_FALSE(panel.enabled(row.id)) << row.button;
}

INSTANTIATE_TEST_SUITE_P(
    ByNumber, OpenErrors,
    ::testing::Values(
        ErrorCase{true, 3031, OpenResult::ExitRequested,
                  "場所:選択ｴﾗｰNo:3031\n解析元ファイルのパスワード\nを解除して下さい。\n"
                  "システムを終了します。"},
        ErrorCase{false, 3031, OpenResult::Failed,
                  "場所:選択ｴﾗｰNo:3031　行数:3\n場所、ｴﾗｰNo、内容を控えメールをお願いします。\n"
                  "内容:説明"},
        ErrorCase{true, 2449, OpenResult::ExitRequested,
                  "場所:選択ｴﾗｰNo:2449\nシステムが不安定です。\n詳細はヘルプを参照下さい。\n"
                  "システムを終了します。\n内容:説明"}));

TEST_F(Opener, theErrorReportNamesTheStepReached) {
    engine.open = [](const std::string& path) {
        return std::make_unique<BrokenQueries>(Sample(path));
    };
    EXPECT_EQ(pick(kPath), OpenResult::Failed);
    EXPECT_TRUE(lastBox().starts_with("場所:選択ｴﾗｰNo:3258　行数:17\n")) << lastBox();
    EXPECT_EQ(state.pickers.tables, std::vector<std::string>{"顧客"}) << "as far as it got";
}

TEST_F(Opener, leavingGivesBackReleasesAndForgetsTheTarget) {
    memory.add(Sample());
    ASSERT_EQ(pick(kPath), OpenResult::Opened);
    state.previewEnabled.fill(true);
    target::LeaveTarget(session, state);
    EXPECT_FALSE(session.access);
    EXPECT_FALSE(session.target);
    EXPECT_EQ(state.openMode, app::OpenMode::Nothing);
    EXPECT_TRUE(state.pickers.tables.empty());
    EXPECT_FALSE(state.previewEnabled[0]);
    EXPECT_EQ(state.targetPath, kPath) << "the path stays for the settings written at exit";
}

}  // namespace
