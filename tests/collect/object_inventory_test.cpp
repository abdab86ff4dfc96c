#include "collect/object_inventory.h"

#include <gtest/gtest.h>

#include "collect/collector_fixture.h"
#include "host/export/export_database.h"
#include "host/jet/jet_database.h"

namespace {

using namespace zanfor;
using host::memory::MemoryTargetBuilder;
using test::CollectorFixture;
namespace dao = host::dao;

MemoryTargetBuilder sales() {
    MemoryTargetBuilder b("/data/販売.mdb");
    b.property("AccessVersion", "08.50");
    b.table("MSysObjects").attributes(static_cast<std::int32_t>(0x80000000u));
    b.table("msysLower");
    b.table("f_1A2B_Data").attributes(static_cast<std::int32_t>(0x800C0000u));
    b.table("顧客").description("得意先マスタ");
    b.table("在庫").link(";DATABASE=C:\\db\\在庫.mdb", "在庫");
    b.table("売上").link("ODBC;DSN=販売;UID=sa", "dbo.売上");
    b.table("単価表").link("Excel 8.0;HDR=YES;DATABASE=C:\\表\\単価.xls", "Sheet1$");
    b.query("q顧客", dao::dbQSelect, "SELECT * FROM 顧客;");
    b.query("~sq_fF顧客", dao::dbQSelect, "SELECT 1;");
    b.query("qSystem", 4, "");
    b.query("q削除", dao::dbQDelete, "DELETE FROM 顧客;");
    b.form("F顧客").description("顧客の入力");
    b.report("R顧客");
    b.macro("AutoExec");
    b.module("modCommon", "");
    return b;
}

TEST(ObjectInventory, allKindsAreNumberedInOneSequenceAndOneKindAlone) {
    auto b = sales();
    auto f = CollectorFixture::ForMemory(b);
    f.state.options.object = 7;
    f.state.savedStartup = {"メニュー", false, true};
    f.state.startupValues = {"販売管理", "mnu", true, false, true};
    auto ctx = f.context();
    ASSERT_EQ(collect::RunObjectInventory(ctx), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT objectNo, Class, ObjectName, QueryType, Midasi, Description "
                     "FROM T_AcObject ORDER BY objectNo"),
              (std::vector<std::string>{
                  "1|Table|msysLower||7|",
                  "2|Table|顧客||7|得意先マスタ",
                  "3|Table|在庫|Link(Access)|7|C:\\db\\在庫.mdb",
                  "4|Table|売上|Link(ODBC)|7|販売;UID=sa",
                  "5|Table|単価表|Link(その他)|7|YES;DATABASE=C:\\表\\単価.xls",
                  "6|Query|q顧客|選択ｸｴﾘｰ|7|",
                  "7|Query|q削除|削除ｸｴﾘｰ|7|",
                  "8|Form|F顧客||7|顧客の入力",
                  "9|Report|R顧客||7|",
                  "10|Macro|AutoExec||7|",
                  "11|Module|modCommon||7|",
              }));
    // The database row keeps the startup values found when the target was opened.
    EXPECT_EQ(
        f.rows("SELECT DbNo, FileSize, Version, Stitle, sMenuBar, Sformdisp, Smenudisp, "
               "Sdbdisp, Sstatusbar, Sallowshortcutbar, Stoolbar, AccessVersion FROM T_DataBase"),
        (std::vector<std::string>{
            "0|10|4.0|販売管理|mnu|メニュー|True|False|True|False|True|08.50"}));
    f.state.options.object = 3;
    ASSERT_EQ(collect::RunObjectInventory(ctx), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT ObjectName, Midasi FROM T_AcObject"),
              (std::vector<std::string>{"F顧客|3"}));
}

// An Access 97 file has no data access pages container, and a file Access never opened has no
// container of forms, reports, macros or modules either.
class WithoutContainers : public host::memory::MemoryDatabase {
public:
    using MemoryDatabase::MemoryDatabase;
    const std::vector<dao::Container>& containers() override { return none_; }

private:
    std::vector<dao::Container> none_;
};

TEST(ObjectInventory, containersTheFileLacksListNothingInsteadOfFailing) {
    auto copy = std::make_shared<host::memory::MemoryTarget>(*sales().build());
    CollectorFixture f(std::make_unique<WithoutContainers>(copy));
    test::TempDir dir;
    f.state.targetPath = dir.path().string();  // an empty export folder: the size is known
    f.state.options.object = 7;
    auto ctx = f.context();
    ASSERT_EQ(collect::RunObjectInventory(ctx), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT Class, COUNT(*) FROM T_AcObject GROUP BY Class ORDER BY Class"),
              (std::vector<std::string>{"Query|2", "Table|5"}));
}

TEST(ObjectInventory, namesAreCutToOneHundredFiftyCharacters) {
    std::string longName;
    for (int i = 0; i < 160; ++i)
        longName += "表";
    MemoryTargetBuilder b("/x.mdb");
    b.table(longName + " ");
    // Cut at characters: 150 of three bytes each.
    longName.resize(150 * 3);
    auto f = CollectorFixture::ForMemory(b);
    f.state.options.object = 1;
    auto ctx = f.context();
    ASSERT_EQ(collect::RunObjectInventory(ctx), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT ObjectName FROM T_AcObject"), (std::vector<std::string>{longName}));
}

// Undated objects (an export folder's) keep their place in the numbering: nothing sorts or
// compares by date, and no day 0 stands in for the unknown.
TEST(ObjectInventory, objectsWithoutDatesAreListedInTheirPlaceWithNullDates) {
    MemoryTargetBuilder b("/x.mdb");
    b.table("T不明");
    b.dates(std::nullopt, std::nullopt);
    b.table("T日付");
    b.dates(host::Date{36198.5}, host::Date{41954.75});
    b.query("q不明", dao::dbQSelect, "SELECT 1;").dates(std::nullopt, std::nullopt);
    b.form("F不明");
    b.dates(std::nullopt, host::Date{41954.75});
    auto f = CollectorFixture::ForMemory(b);
    f.state.options.object = 7;
    auto ctx = f.context();
    ASSERT_EQ(collect::RunObjectInventory(ctx), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT objectNo, ObjectName, DateCreate, DateUpdate, DateCreate IS NULL "
                     "FROM T_AcObject ORDER BY objectNo"),
              (std::vector<std::string>{"1|T不明|||1",
                                        "2|T日付|1999/02/07 12:00:00|2014/11/11 18:00:00|0",
                                        "3|q不明|||1", "4|F不明||2014/11/11 18:00:00|1"}));
}

// The catalogue of an .mdb holds real dates (as mdb-export of MSysObjects shows them); an export
// folder holds none.
TEST(ObjectInventory, anMdbKeepsItsCatalogueDatesAndAnExportFolderHasNone) {
    ZANFOR_REQUIRE_TESTDATA(data);
    CollectorFixture mdb(
        host::jet::JetEngine().openDatabase((data / "mdb/northwind-ja.mdb").string()));
    CollectorFixture folder(std::make_unique<host::exports::ExportDatabase>(
        host::exports::ExportFolder::Open(data / "exports/ncrn-birds/source")));
    const std::string dated =
        "SELECT COUNT(*) FROM T_AcObject WHERE DateCreate IS NOT NULL AND DateUpdate IS NOT NULL";
    for (auto* f : {&mdb, &folder}) {
        auto ctx = f->context();
        ASSERT_EQ(collect::RunObjectInventory(ctx), collect::RunResult::Collected);
    }
    EXPECT_EQ(mdb.rows("SELECT DateCreate, DateUpdate FROM T_AcObject WHERE ObjectName = '運送会社'"
                       " AND Class = 'Table'"),
              (std::vector<std::string>{"1999/02/07 16:17:59|2014/11/11 20:52:16"}));
    EXPECT_EQ(mdb.rows(dated), (std::vector<std::string>{"82"}));
    EXPECT_EQ(folder.rows("SELECT COUNT(*) FROM T_AcObject WHERE DateCreate IS NOT NULL "
                          "OR DateUpdate IS NOT NULL"),
              (std::vector<std::string>{"0"}));
    EXPECT_GT(folder.count("T_AcObject"), 300);
}

TEST(ObjectInventory, japaneseNorthwindListsEveryObjectWithoutGaps) {
    ZANFOR_REQUIRE_TESTDATA(data);
    CollectorFixture f(
        host::jet::JetEngine().openDatabase((data / "mdb/northwind-ja.mdb").string()));
    auto ctx = f.context();
    ASSERT_EQ(collect::RunObjectInventory(ctx), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT COUNT(*), MIN(objectNo), MAX(objectNo), COUNT(DISTINCT objectNo) "
                     "FROM T_AcObject WHERE Midasi = 7"),
              (std::vector<std::string>{"82|1|82|82"}));
    EXPECT_EQ(f.rows("SELECT Class, COUNT(*) FROM T_AcObject GROUP BY Class ORDER BY Class"),
              (std::vector<std::string>{"Form|22", "Macro|5", "Module|2", "Page|9", "Query|21",
                                        "Report|14", "Table|9"}));
    EXPECT_EQ(f.rows("SELECT AccessVersion FROM T_DataBase"), (std::vector<std::string>{"08.50"}));
}

}  // namespace
