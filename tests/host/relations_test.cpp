#include <gtest/gtest.h>

#include "host/export/export_database.h"
#include "host/jet/jet_database.h"
#include "host/memory/memory_target.h"
#include "test_support.h"

namespace zanfor::host::dao {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(Relations, readFromTheSystemTableOnePairARowInColumnOrder) {
    memory::MemoryTargetBuilder b("/data/r.mdb");
    memory::MemoryEngine engine;
    engine.add(b.build());
    EXPECT_TRUE(engine.openDatabase("/data/r.mdb")->relations().empty());  // no system table

    auto target = std::make_shared<memory::MemoryTarget>(*b.build());
    target->path = "/data/s.mdb";
    target->rows["MSysRelationships"] = {{"szRelationship", "grbit", "icolumn", "szObject",
                                          "szColumn", "szReferencedObject", "szReferencedColumn"},
                                         {{"明細注文", 4352, 1, "明細", "行番号", "注文", "番号"},
                                          {"B得意先", 2, 0, "注文", "得意先ID", "得意先", "ID"},
                                          {"明細注文", 4352, 0, "明細", "注文ID", "注文", "ID"}}};
    engine.add(std::move(target));
    const auto relations = engine.openDatabase("/data/s.mdb")->relations();
    ASSERT_EQ(relations.size(), 2u);
    EXPECT_EQ(relations[0].name, "B得意先");  // in name order
    EXPECT_EQ(relations[1].table, "注文");
    EXPECT_EQ(relations[1].foreignTable, "明細");
    EXPECT_EQ(relations[1].attributes, dbRelationUpdateCascade | dbRelationDeleteCascade);
    EXPECT_EQ(relations[1].fields, (Pairs{{"ID", "注文ID"}, {"番号", "行番号"}}));
}

TEST(Relations, ofARealFileAndOfTheSampleExport) {
    const auto sample = exports::ExportDatabase(
                            exports::ExportFolder::Open(std::filesystem::path(ZANFOR_SOURCE_DIR) /
                                                        "examples" / "hanbai-kanri.mdb.src"))
                            .relations();
    ASSERT_EQ(sample.size(), 8u);
    EXPECT_EQ(sample[0].name, "T_仕入先T_商品");
    EXPECT_EQ(sample[2].fields, (Pairs{{"受注ID", "受注ID"}}));

    ZANFOR_REQUIRE_TESTDATA(data);
    jet::JetEngine engine;
    const auto relations =
        engine.openDatabase((data / "mdb" / "northwind-ja.mdb").string())->relations();
    ASSERT_EQ(relations.size(), 9u);  // the navigation pane's two among them
    const auto it = std::find_if(relations.begin(), relations.end(),
                                 [](const Relation& r) { return r.name == "得意先受注"; });
    ASSERT_NE(it, relations.end());
    EXPECT_EQ(it->table, "得意先");
    EXPECT_EQ(it->foreignTable, "受注");
    EXPECT_EQ(it->attributes, dbRelationUpdateCascade);
    EXPECT_EQ(it->fields, (Pairs{{"得意先コード", "得意先コード"}}));
}

}  // namespace
}  // namespace zanfor::host::dao
