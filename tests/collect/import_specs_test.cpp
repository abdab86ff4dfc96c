#include "collect/import_specs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "collect/collector_fixture.h"
#include "host/jet/jet_database.h"
#include "host/memory/memory_target.h"
#include "test_support.h"

namespace {

using namespace zanfor;
using host::dao::dbBoolean;
using host::dao::dbInteger;
using host::dao::dbLong;
using host::dao::dbText;
using test::CollectorFixture;

// Two specifications, the second saved without columns.
void AddSpecifications(host::memory::MemoryTargetBuilder& b) {
    auto specs = b.table("MSysIMEXSpecs");
    for (const char* name :
         {"DateDelim", "DecimalPoint", "FieldSeparator", "SpecName", "TextDelim", "TimeDelim"})
        specs.field(name, dbText, 64);
    for (const char* name : {"DateFourDigitYear", "DateLeadingZeros"})
        specs.field(name, dbBoolean, 1);
    for (const char* name : {"DateOrder", "FileType", "SpecType"})
        specs.field(name, dbInteger, 2);
    for (const char* name : {"SpecID", "StartRow"})
        specs.field(name, dbLong, 4);
    // DateDelim … TimeDelim, the flags, DateOrder, FileType, SpecType, SpecID, StartRow.
    specs.row({"/", ".", ",", "受注取込", "\"", ":", true, false, 5, 932, 1, 1, 2});
    specs.row({"-", ".", "\t", "空の定義", "", ":", false, false, 2, 65001, 2, 2, 0});
    auto columns = b.table("MSysIMEXColumns");
    columns.field("Attributes", dbLong, 4).field("dataType", dbInteger, 2);
    columns.field("FieldName", dbText, 64).field("IndexType", dbInteger, 2);
    columns.field("SkipColumn", dbBoolean, 1).field("SpecID", dbLong, 4);
    columns.field("Start", dbInteger, 2).field("Width", dbInteger, 2);
    columns.row({0, 4, "受注ID", 1, false, 1, 1, 8});
    columns.row({0, 10, "得意先", 0, true, 1, 9, 20});
}

std::vector<std::string> Copied(CollectorFixture& f) {
    auto rows = f.rows(
        "SELECT SpecID, SpecName, FieldSeparator, FileType, DateFourDigitYear, StartRow FROM "
        "T_AcTeigi ORDER BY rowid");
    for (const auto& r : f.rows("SELECT SpecID, FieldName, Start, Width, SkipColumn FROM "
                                "T_AcTeigiItem ORDER BY rowid"))
        rows.push_back("item " + r);
    return rows;
}

TEST(ImportSpecs, copiesBothTablesRowForRowAndASecondRunGivesTheSameRows) {
    host::memory::MemoryTargetBuilder b("/specs.mdb");
    AddSpecifications(b);
    auto f = CollectorFixture::ForMemory(b);
    const std::vector<std::string> expected{"1|受注取込|,|932|True|2",
                                            "2|空の定義|\t|65001|False|0",
                                            "item 1|受注ID|1|8|False", "item 1|得意先|9|20|True"};
    for (int run = 0; run < 2; ++run) {
        auto ctx = f.context();
        EXPECT_EQ(collect::RunImportSpecList(ctx), collect::RunResult::Collected);
        EXPECT_EQ(Copied(f), expected) << "run " << run;
    }
    EXPECT_EQ(f.ui.events.back(), "message:印刷後、印刷ﾌﾟﾚﾋﾞｭｰを終了して下さい。");
    EXPECT_FALSE(f.state.isPreviewEnabled(app::PreviewButton::OPre)) << "no main-window button";
}

TEST(ImportSpecs, aTargetWithoutSpecificationsOnlySaysSoAndKeepsTheLastRows) {
    host::memory::MemoryTargetBuilder b("/none.mdb");
    b.table("顧客").field("ID", dbLong, 4);
    auto f = CollectorFixture::ForMemory(b);
    f.work.execute("INSERT INTO T_AcTeigi (SpecName) VALUES ('前回')");
    auto ctx = f.context();
    EXPECT_EQ(collect::RunImportSpecList(ctx), collect::RunResult::EndedWithoutReport);
    EXPECT_EQ(f.ui.events, std::vector<std::string>{"box:変換定義がありません。"});
    EXPECT_EQ(f.count("T_AcTeigi"), 1);
}

// A specification table without the columns Access writes, and no column table: damage the run
// reports with its place instead of passing a partial copy off as the list.
TEST(ImportSpecs, aDamagedSpecificationTableIsReported) {
    host::memory::MemoryTargetBuilder b("/half.mdb");
    b.table("MSysIMEXSpecs").field("SpecID", dbLong, 4).row({1});
    auto f = CollectorFixture::ForMemory(b);
    auto ctx = f.context();
    EXPECT_EQ(collect::RunImportSpecList(ctx), collect::RunResult::Failed);
    const auto box = std::find_if(f.ui.events.begin(), f.ui.events.end(), [](const auto& e) {
        return e.starts_with("box:場所:変換定義情報");
    });
    EXPECT_NE(box, f.ui.events.end());
}

// As libmdb's mdb-export lists the file's tables: three specifications (two of them without a
// name or type, their separator the control character 1), 23 columns.
TEST(ImportSpecs, aRealFilesSpecificationsAreCopiedAsStored) {
    ZANFOR_REQUIRE_TESTDATA(data);
    CollectorFixture f(
        host::jet::JetEngine().openDatabase((data / "mdb/ailtonz-RoboExclusao.mdb").string()));
    auto ctx = f.context();
    EXPECT_EQ(collect::RunImportSpecList(ctx), collect::RunResult::Collected);
    EXPECT_EQ(
        f.rows("SELECT SpecID, SpecName, SpecType, FileType, FieldSeparator FROM T_AcTeigi "
               "ORDER BY rowid"),
        (std::vector<std::string>{"3||0|0|\x01", "5|1|0|0|\x01",
                                  "1|M_SER24_T010NHAB Especificação de vinculação|2|1200|;"}));
    EXPECT_EQ(f.count("T_AcTeigiItem"), 23);
}

}  // namespace
