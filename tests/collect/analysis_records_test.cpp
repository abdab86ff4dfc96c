#include "collect/analysis_records.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "collect/collector_fixture.h"
#include "util/encoding.h"

namespace {

using namespace zanfor;
using host::memory::MemoryTargetBuilder;
using test::CollectorFixture;
namespace dao = host::dao;

MemoryTargetBuilder threeTablesTwoQueriesOneForm() {
    MemoryTargetBuilder b("/data/販売.mdb");
    b.table("MSysObjects");
    for (const char* name : {"顧客", "商品", "売上"})
        b.table(name);
    b.query("q顧客", dao::dbQSelect, "SELECT * FROM 顧客;");
    b.query("~sq_fF顧客", dao::dbQSelect, "SELECT 1;");
    b.query("qSystem", 4, "");
    b.query("q売上", dao::dbQSelect, "SELECT * FROM 売上;");
    b.form("F顧客");
    return b;
}

TEST(ObjectSnapshot, numbersTablesQueriesAndDocumentsFromOne) {
    auto b = threeTablesTwoQueriesOneForm();
    auto f = CollectorFixture::ForMemory(b);
    auto ctx = f.context();
    collect::WriteObjectSnapshot(f.work, ctx.target);
    EXPECT_EQ(f.rows("SELECT objectNo, Class, ObjectName FROM T_AcSaveObject ORDER BY rowid"),
              (std::vector<std::string>{"1|Table|顧客", "2|Table|商品", "3|Table|売上",
                                        "4|Query|q顧客", "5|Query|q売上", "6|Form|F顧客"}));
    EXPECT_EQ(f.rows("SELECT COUNT(*) FROM T_AcSaveObject WHERE DateUpdate IS NULL"),
              std::vector<std::string>{"0"});
}

TEST(SaveFlag, roundTripsAndReadsDamagedValuesAsNeverRun) {
    auto b = threeTablesTwoQueriesOneForm();
    auto f = CollectorFixture::ForMemory(b);
    EXPECT_FALSE(collect::ReadSaveFlag(f.work)) << "an empty table is a save that did not finish";
    f.state.lastRun[app::Collector::Tables] = 2;
    f.state.lastRun[app::Collector::Macros] = app::kNoObjects;
    f.state.options.qselect = 2;
    f.state.options.mod50 = 1;
    f.state.header.title = "販売管理";
    f.state.header.date = "2024/04/01";
    collect::WriteSaveFlag(f.work, collect::FlagsOf(f.state));
    auto read = collect::ReadSaveFlag(f.work);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->objName, "target.mdb");
    EXPECT_EQ(read->lastRun.values, f.state.lastRun.values);
    EXPECT_EQ(read->scopes, (std::array<std::int16_t, 5>{1, 2, 1, 1, 1}));
    EXPECT_EQ(read->mod50, 1);
    EXPECT_EQ(read->header.title, "販売管理");
    EXPECT_EQ(read->header.date, "2024/04/01");

    f.work.execute("UPDATE T_AcSaveFlag SET fTbl = 'x', fQry = 5000, fFrm = -3");
    read = collect::ReadSaveFlag(f.work);
    EXPECT_EQ(read->lastRun[app::Collector::Tables], 0);
    EXPECT_EQ(read->lastRun[app::Collector::Queries], 0);
    EXPECT_EQ(read->lastRun[app::Collector::Forms], 0);
}

struct Comparison : ::testing::Test {
    test::TempDir dir;
    MemoryTargetBuilder builder = threeTablesTwoQueriesOneForm();
    CollectorFixture f = CollectorFixture::ForMemory(builder);

    // An older analysis file listing `objects` (class and name) under the target name `name`.
    std::filesystem::path older(const std::string& name,
                                std::vector<std::pair<std::string, std::string>> objects) {
        auto db = workdb::WorkDatabase::open(":memory:");
        collect::SavedFlags flags;
        flags.objName = name;
        collect::WriteSaveFlag(db, flags);
        workdb::RowWriter row(db, "T_AcSaveObject");
        for (const auto& [cls, object] : objects) {
            row.addNew();
            row.set("Class", cls).set("ObjectName", object).set("DateUpdate", "2024/01/02");
            row.update();
        }
        const auto file = dir / (name + ".adb");
        db.saveCopyAs(file);
        return file;
    }
};

TEST_F(Comparison, writesBothListsAndBothNamesAndKeepsOnlyTheLastRun) {
    const auto first = older("旧版.mdb", {{"Table", "顧客"}, {"Report", "R旧"}});
    const auto second = older("前版.mdb", {{"Form", "F顧客"}});
    const auto bytes = test::FileBytes(first);
    auto ctx = f.context();
    ASSERT_EQ(collect::RunObjectComparison(ctx, first), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT Class, ObjectName, DateUpdate FROM T_AcSaveObjectOld ORDER BY rowid"),
              (std::vector<std::string>{"Table|顧客|2024/01/02", "Report|R旧|2024/01/02"}));
    EXPECT_EQ(f.rows("SELECT ObjName, ObjNameOld, fTbl, Title FROM T_AcSaveFlag"),
              std::vector<std::string>{"target.mdb|旧版.mdb|0|"});
    EXPECT_EQ(f.count("T_AcSaveObject"), 6);
    EXPECT_EQ(f.ui.events.back(), "report:R_AcObjectUpdate:0");
    EXPECT_EQ(test::FileBytes(first), bytes) << "the older file is only read";

    ASSERT_EQ(collect::RunObjectComparison(ctx, second), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT ObjectName FROM T_AcSaveObjectOld"),
              std::vector<std::string>{"F顧客"});
    EXPECT_EQ(f.count("T_AcSaveFlag"), 1);
    EXPECT_EQ(f.count("T_AcSaveObject"), 6);
}

TEST_F(Comparison, anEmptyOlderListMakesEveryObjectNewAndAForeignFileChangesNothing) {
    auto ctx = f.context();
    ASSERT_EQ(collect::RunObjectComparison(ctx, older("空.mdb", {})),
              collect::RunResult::Collected);
    EXPECT_EQ(f.count("T_AcSaveObjectOld"), 0);

    const auto junk = dir / "junk.adb";
    util::WriteFileAtomically(junk, std::string(3000, '\x7f'));
    EXPECT_EQ(collect::RunObjectComparison(ctx, junk), collect::RunResult::Failed);
    EXPECT_TRUE(std::any_of(f.ui.events.begin(), f.ui.events.end(), [](const std::string& e) {
        return e.starts_with("box:場所:オブジェクト比較ｴﾗｰNo:3343");
    }));
    EXPECT_EQ(f.count("T_AcSaveFlag"), 1) << "the earlier run's rows stay";
    EXPECT_EQ(f.count("T_AcSaveObject"), 6);
}

}  // namespace
