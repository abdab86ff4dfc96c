#include "collect/query_collector.h"

#include <gtest/gtest.h>

#include "collect/collector_fixture.h"
#include "host/jet/jet_database.h"

namespace {

using namespace zanfor;
using host::memory::MemoryTargetBuilder;
using test::CollectorFixture;
namespace dao = host::dao;

MemoryTargetBuilder target() {
    MemoryTargetBuilder b("/x.mdb");
    b.query("q一覧", dao::dbQSelect, "SELECT * FROM T;");
    b.unreadableQuery("q外部結合", dao::dbQSelect);
    b.query("~sq_f画面", dao::dbQSelect, "SELECT 1;");
    b.query("q内部", 4, "");
    b.query("q削除", dao::dbQDelete, "DELETE FROM T;");
    return b;
}

TEST(QueryCollector, sqlListCoversEveryListedQueryAndNotesUnreadableSql) {
    auto b = target();
    auto f = CollectorFixture::ForMemory(b);
    f.state.options.query = 1;
    f.state.options.qselect = 2;  // ignored by the SQL list
    f.state.pickers.queryText = "q一覧";
    auto ctx = f.context();
    ASSERT_EQ(collect::RunQueryCollection(ctx), collect::RunResult::Collected);
    EXPECT_EQ(
        f.rows("SELECT objectNo, QueryName, QueryType, QuerySQL, Midasi FROM T_AcQeryInfo"),
        (std::vector<std::string>{"1|q一覧|選択ｸｴﾘｰ|SELECT * FROM T;|1",
                                  "2|q外部結合|選択ｸｴﾘｰ|あいまいな外部結合のため開けません。|1",
                                  "3|q削除|削除ｸｴﾘｰ|DELETE FROM T;|1"}));
}

TEST(QueryCollector, aQueryWhoseSourceKeepsNoDatesHasNullDates) {
    MemoryTargetBuilder b("/x.mdb");
    b.query("q日付", dao::dbQSelect, "SELECT 1;").dates(host::Date{36198.5}, host::Date{41954.75});
    b.query("q不明", dao::dbQSelect, "SELECT 2;").dates(std::nullopt, std::nullopt);
    auto f = CollectorFixture::ForMemory(b);
    f.state.options.query = 2;
    auto ctx = f.context();
    ASSERT_EQ(collect::RunQueryCollection(ctx), collect::RunResult::Collected);
    EXPECT_EQ(
        f.rows("SELECT QueryName, DateCreated, LastUpdated, DateCreated IS NULL "
               "FROM T_AcQeryInfo ORDER BY objectNo"),
        (std::vector<std::string>{"q日付|1999/02/07 12:00:00|2014/11/11 18:00:00|0", "q不明|||1"}));
}

TEST(QueryCollector, fieldsOfHugeSizeCannotBeReferredTo) {
    auto copy = std::make_shared<host::memory::MemoryTarget>(*target().build());
    dao::Field small;
    small.name = small.sourceField = "名前";
    small.size = 50;
    small.sourceTable = "T";
    dao::Field huge = small;
    huge.name = "画像";
    huge.size = 9999;
    copy->queries[0].fields = {small, huge};
    CollectorFixture f(std::make_unique<host::memory::MemoryDatabase>(copy));
    f.state.options.query = 3;
    auto ctx = f.context();
    ASSERT_EQ(collect::RunQueryCollection(ctx), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT FieldNo, FieldName, FieldType, FieldSize, SourceField, SourceTable "
                     "FROM T_AcQeryItem"),
              (std::vector<std::string>{"1|名前|ﾃｷｽﾄ型|50|名前|T", "2|画像|ﾃｷｽﾄ型|?|参照不可|T"}));
    EXPECT_EQ(f.rows("SELECT COUNT(*) FROM T_AcQeryItem WHERE objectNo <> 1"),
              (std::vector<std::string>{"0"}));
}

TEST(QueryCollector, japaneseNorthwindListsItsTwentyOneQueriesWithSql) {
    ZANFOR_REQUIRE_TESTDATA(data);
    CollectorFixture f(
        host::jet::JetEngine().openDatabase((data / "mdb/northwind-ja.mdb").string()));
    f.state.options.query = 1;
    auto ctx = f.context();
    ASSERT_EQ(collect::RunQueryCollection(ctx), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT COUNT(*), SUM(length(QuerySQL) > 10) FROM T_AcQeryInfo"),
              (std::vector<std::string>{"21|21"}));
}

}  // namespace
