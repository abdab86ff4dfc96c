#include "collect/table_collector.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "collect/collector_fixture.h"
#include "host/jet/jet_database.h"

namespace {

using namespace zanfor;
using host::memory::MemoryTargetBuilder;
using test::CollectorFixture;
namespace dao = host::dao;

MemoryTargetBuilder target() {
    MemoryTargetBuilder b("/x.mdb");
    b.table("MSysObjects")
        .attributes(static_cast<std::int32_t>(0x80000000u))
        .field("Id", dao::dbLong, 4);
    b.table("MSysAccessObjects").attributes(2).field("ID", dao::dbLong, 4);
    b.table("Tsys").attributes(static_cast<std::int32_t>(0x80000001u)).field("a", dao::dbText, 10);
    b.table("f_1A2B_Data").attributes(static_cast<std::int32_t>(0x800C0000u));
    b.table("T受注")
        .field("支店", dao::dbText, 10)
        .field("明細", dao::dbInteger, 2)
        .field("受注番号", dao::dbLong, 4, dao::dbAutoIncrField | dao::dbFixedField)
        .field("件数", dao::dbLong, 4, dao::dbAutoIncrField)
        .field("URL", dao::dbMemo, 0, dao::dbHyperlinkField | dao::dbVariableField)
        .field("備考", dao::dbMemo, 0, dao::dbVariableField)
        .fieldDetails("\"なし\"", "Is Not Null", true, "自由記入")
        // The key lists its fields in another order than the table does.
        .index("PrimaryKey", {"受注番号", "支店"}, true)
        .index("複合", {"支店", "明細", "件数"});
    b.table("在庫").link(";DATABASE=C:\\db\\在庫.mdb", "在庫").field("品番", dao::dbText, 10);
    return b;
}

bool Saw(const CollectorFixture& f, std::string_view prefix) {
    return std::ranges::any_of(f.ui.events,
                               [&](const std::string& e) { return e.starts_with(prefix); });
}

TEST(TableCollector, typesKeysIndexesAndTheSystemAttributeTests) {
    auto b = target();
    auto f = CollectorFixture::ForMemory(b);
    f.state.options.table = 3;
    auto ctx = f.context();
    ASSERT_EQ(collect::RunTableCollection(ctx), collect::RunResult::Collected);
    // Access's own tables and, by chkLink, linked tables are left out; the gauge counts the rest.
    EXPECT_EQ(f.rows("SELECT objectNo, TableName FROM T_AcTblInfo ORDER BY objectNo"),
              (std::vector<std::string>{"1|T受注"}));
    EXPECT_EQ(std::ranges::count(f.ui.events, std::string("progress:100")), 2);
    EXPECT_EQ(f.rows("SELECT FieldNo, FieldName, PrimaryKey, FieldType, DefaultValue, "
                     "Description FROM T_AcTblItem WHERE objectNo = 1 ORDER BY FieldNo"),
              (std::vector<std::string>{"1|支店|True|ﾃｷｽﾄ型||", "2|明細|False|整数型||",
                                        "3|受注番号|True|ｵｰﾄﾅﾝﾊﾞｰ型||", "4|件数|False|長整数型||",
                                        "5|URL|False|ﾊｲﾊﾟｰﾘﾝｸ型||",
                                        "6|備考|False|ﾒﾓ型|\"なし\"|自由記入"}));
    EXPECT_EQ(f.rows("SELECT DISTINCT Midasi FROM T_AcTblInfo"), (std::vector<std::string>{"3"}));
    // The simple list marks no keys and writes no field descriptions.
    f.state.options.table = 2;
    ASSERT_EQ(collect::RunTableCollection(ctx), collect::RunResult::Collected);
    EXPECT_EQ(
        f.rows("SELECT COUNT(*) FROM T_AcTblItem WHERE PrimaryKey OR Description IS NOT NULL"),
        (std::vector<std::string>{"0"}));
    // Index rows carry the index's own columns on its first field only.
    f.state.options.table = 1;
    ASSERT_EQ(collect::RunTableCollection(ctx), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT FieldNo, TableName, IndexName, FieldName, \"Primary\", \"Unique\" "
                     "FROM T_AcIndex WHERE objectNo = 1 ORDER BY FieldNo"),
              (std::vector<std::string>{"1|T受注|PrimaryKey|受注番号|True|True",
                                        "2|||支店|False|False", "3|T受注|複合|支店|False|False",
                                        "4|||明細|False|False", "5|||件数|False|False"}));
}

TEST(TableCollector, aTableWhoseSourceKeepsNoDatesHasNullDates) {
    MemoryTargetBuilder b("/x.mdb");
    b.table("T日付").field("a", dao::dbText, 10);
    b.dates(host::Date{36198.5}, host::Date{41954.75});
    b.table("T不明").field("a", dao::dbText, 10);
    b.dates(std::nullopt, std::nullopt);
    auto f = CollectorFixture::ForMemory(b);
    f.state.options.table = 2;
    auto ctx = f.context();
    ASSERT_EQ(collect::RunTableCollection(ctx), collect::RunResult::Collected);
    EXPECT_EQ(
        f.rows("SELECT TableName, DateCreated, LastUpdated, DateCreated IS NULL "
               "FROM T_AcTblInfo ORDER BY objectNo"),
        (std::vector<std::string>{"T日付|1999/02/07 12:00:00|2014/11/11 18:00:00|0", "T不明|||1"}));
}

TEST(TableCollector, indexModeWithoutIndexesEndsWithItsMessageAndNoReport) {
    MemoryTargetBuilder b("/x.mdb");
    b.table("T").field("a", dao::dbText, 10);
    auto f = CollectorFixture::ForMemory(b);
    f.state.options.table = 1;
    auto ctx = f.context();
    EXPECT_EQ(collect::RunTableCollection(ctx), collect::RunResult::EndedWithoutReport);
    EXPECT_TRUE(Saw(f, "box:該当するレコードがありません。"));
    EXPECT_EQ(f.state.lastRun[app::Collector::Tables], 0);
}

TEST(TableCollector, aBrokenLinkStopsTheWalkButTheRowsSoFarAreReported) {
    MemoryTargetBuilder b("/x.mdb");
    b.table("A").field("a", dao::dbText, 10);
    b.table("B切れ").link(";DATABASE=C:\\gone.mdb", "B");
    b.table("C").field("c", dao::dbText, 10);
    auto f = CollectorFixture::ForMemory(b);
    f.state.options.link = 1;  // linked tables included
    auto ctx = f.context();
    EXPECT_EQ(collect::RunTableCollection(ctx), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT TableName FROM T_AcTblInfo"), (std::vector<std::string>{"A"}));
    EXPECT_TRUE(Saw(f,
                    "box:場所:テーブル情報ｴﾗｰNo:3044\nリンクテーブルのパスが不正です。\n"
                    "リンクテーブルのリンクを\n再設定後実行下さい。\n内容:"));
    EXPECT_TRUE(Saw(f, "report:R_AcTblTable:0"));

    // In a batch the broken link ends the step, reported under the step's place.
    f.state.batch.running.emplace().place = "場所:テーブル情報(一括)";
    EXPECT_EQ(collect::RunTableCollection(ctx), collect::RunResult::Failed);
    EXPECT_TRUE(f.state.batch.running->failed);
    EXPECT_TRUE(Saw(f, "box:場所:テーブル情報(一括)ｴﾗｰNo:3044\nリンクテーブルのパスが不正です。"));
}

TEST(TableCollector, aSelectedTableIsReadEvenWhenItIsALinkAndOnlyOnceForTheSameChoice) {
    auto b = target();
    auto f = CollectorFixture::ForMemory(b);
    f.state.options.tselect = 2;
    f.state.options.link = 2;
    f.state.pickers.tableText = "在庫";
    auto ctx = f.context();
    ASSERT_EQ(collect::RunTableCollection(ctx), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT TableName, LinkTable, Connect FROM T_AcTblInfo"),
              (std::vector<std::string>{"在庫|Link(Access)|C:\\db\\在庫.mdb"}));
    EXPECT_EQ(collect::RunTableCollection(ctx), collect::RunResult::Previewed);
}

TEST(TableCollector, northwindFieldsWithTheirTypes) {
    ZANFOR_REQUIRE_TESTDATA(data);
    CollectorFixture f(
        host::jet::JetEngine().openDatabase((data / "mdb/northwind-en.mdb").string()));
    f.state.options.table = 3;
    auto ctx = f.context();
    ASSERT_EQ(collect::RunTableCollection(ctx), collect::RunResult::Collected);
    // Nine tables of its own; the MSys tables later Access versions added are not listed.
    EXPECT_EQ(f.rows("SELECT COUNT(*), SUM(TableName NOT LIKE 'MSys%') FROM T_AcTblInfo"),
              (std::vector<std::string>{"9|9"}));
    EXPECT_EQ(f.rows("SELECT i.FieldType, i.PrimaryKey FROM T_AcTblItem i JOIN T_AcTblInfo t "
                     "USING (objectNo) WHERE t.TableName = 'Suppliers' AND i.FieldName IN "
                     "('SupplierID', 'HomePage') ORDER BY i.FieldNo"),
              (std::vector<std::string>{"ｵｰﾄﾅﾝﾊﾞｰ型|True", "ﾊｲﾊﾟｰﾘﾝｸ型|False"}));
}

}  // namespace
