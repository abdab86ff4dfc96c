#include "output/text_export.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/run_ui.h"
#include "host/error.h"
#include "test_support.h"
#include "util/encoding.h"
#include "util/jet_date.h"
#include "workdb/work_database.h"

namespace {

using namespace zanfor;
using host::Value;
using output::OutputKind;

class TextExport : public ::testing::Test {
protected:
    workdb::WorkDatabase work = workdb::WorkDatabase::open(":memory:");
    test::TempDir dir;

    void addObject(int no, const Value& name, const Value& description, const Value& kind = {}) {
        workdb::RowWriter row(work, "T_AcObject");
        row.addNew();
        row.set("objectNo", no)
            .set("Class", "Query")
            .set("ObjectName", name)
            .set("DateCreate", host::Date{util::ToJetDate({2003, 4, 5, 6, 7, 8})})
            .set("DateUpdate", host::Date{util::ToJetDate({2004, 1, 2})})
            .set("QueryType", kind)
            .set("Description", description);
        row.update();
    }
    std::string exported(OutputKind kind,
                         output::TextEncoding encoding = output::TextEncoding::Cp932) {
        output::WriteExport(kind, work, dir / "out", encoding);
        return test::FileBytes(dir / "out");
    }
};

TEST(CsvField, writesEachKindAsDelimitedWriteDoesWithQuotesDoubled) {
    const struct {
        Value value;
        std::string field;
    } cases[] = {
        {Value("a,b"), "\"a,b\""},
        {Value("say \"hi\""), "\"say \"\"hi\"\"\""},
        {Value(""), "\"\""},
        {Value(), "#NULL#"},
        {Value(true), "#TRUE#"},
        {Value(false), "#FALSE#"},
        {Value(255), "255"},
        {Value(-0.25), "-0.25"},
        {Value(host::Date{util::ToJetDate({2003, 4, 5, 6, 7, 8})}), "#2003-04-05 06:07:08#"},
        {Value(host::Date{util::ToJetDate({2004, 1, 2})}), "#2004-01-02#"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(output::CsvField(c.value), c.field) << c.field;
}

// The lines are read back by Python's csv module in the command line's test of a full run.
TEST_F(TextExport, objectCsvIsThePlainHeaderThenOneCp932LinePerRowInTheCollectorsOrder) {
    addObject(2, "受注,明細", Value(), "選択");
    addObject(1, "say \"hi\"", "一行目\r\n二行目");
    EXPECT_EQ(exported(OutputKind::ObjectCsv),
              util::Utf8ToCp932("分類,ﾃｰﾌﾞﾙの種類,オブジェクト名,説明,更新日,作成日\r\n"
                                "\"Query\",#NULL#,\"say \"\"hi\"\"\",\"一行目\r\n二行目\",#2004-01-"
                                "02#,#2003-04-05 06:07:08#\r\n"
                                "\"Query\",\"選択\",\"受注,明細\",#NULL#,#2004-01-02#,#2003-04-05 "
                                "06:07:08#\r\n"));
}

TEST_F(TextExport, sqlAndModuleTextsWriteTheirLinesUnchanged) {
    work.execute(
        "INSERT INTO T_AcQeryInfo (objectNo, QueryName, QueryType, QuerySQL) VALUES "
        "(1, 'Q受注', '選択', 'SELECT *' || char(13,10) || 'FROM 受注;' || char(13,10)),"
        "(2, 'Q2', 'ｸﾛｽ集計', NULL);"
        "INSERT INTO T_AcModule (ObjectName, \"Procedure\") VALUES ('M', 'Option Compare'),"
        "('M', '  x = \"a,b\"  ');");
    EXPECT_EQ(util::Cp932ToUtf8(exported(OutputKind::SqlText)),
              "クエリー名：Q受注(選択)\r\nSELECT *\r\nFROM 受注;\r\n\r\n"
              "クエリー名：Q2(ｸﾛｽ集計)\r\n\r\n");
    EXPECT_EQ(exported(OutputKind::ModuleText), "Option Compare\r\n  x = \"a,b\"  \r\n");
}

TEST_F(TextExport, aCharacterCp932CannotHoldIsMarkedAndReportedOrKeptInUtf8) {
    addObject(1, "Café", "ok");
    addObject(2, "書式", "¥#,##0 は 0x5C として読み戻される");
    const auto result = output::WriteExport(OutputKind::ObjectCsv, work, dir / "out");
    EXPECT_NE(test::FileBytes(dir / "out").find("\"Caf?\""), std::string::npos);
    ASSERT_EQ(result.lost.size(), 1U);
    EXPECT_EQ(result.lost[0].record, 1);
    EXPECT_EQ(result.lost[0].item, "オブジェクト名");
    EXPECT_EQ(output::LostTextWarning(result.lost),
              "Shift_JIS(CP932)で表せない文字を「?」に置き換えて出力しました (1 か所)。\n"
              "レコード 1「オブジェクト名」");

    const auto utf8 = exported(OutputKind::ObjectCsv, output::TextEncoding::Utf8WithBom);
    EXPECT_EQ(utf8.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(utf8.find("\"Café\""), std::string::npos);
}

TEST_F(TextExport, everyViewGivesItsHeadingsColumnsAndAnEmptySourceStillWritesTheHeader) {
    for (const auto& info : output::Outputs()) {
        if (info.titles.empty())
            continue;
        workdb::Query view(work, "SELECT * FROM " + std::string(info.source));
        ASSERT_EQ(view.columnCount(), static_cast<int>(info.titles.size())) << info.source;
        for (int i = 0; i < view.columnCount(); ++i)
            EXPECT_EQ(view.columnName(i), info.titles[static_cast<std::size_t>(i)]);
        const auto bytes = exported(info.kind);
        EXPECT_EQ(bytes.find("\r\n"), bytes.size() - 2) << info.source << ": the header alone";
    }
}

TEST_F(TextExport, queryFieldsAreJoinedOnlyToARunOfTheQueryLists) {
    work.execute(
        "INSERT INTO T_AcQeryInfo (objectNo, QueryName, QueryType, Midasi) VALUES (1, 'Q', '選択', "
        "1);"
        "INSERT INTO T_AcQeryItem (objectNo, FieldNo, FieldName) VALUES (1, 1, 'stale');");
    const auto text = util::Cp932ToUtf8(exported(OutputKind::QueryCsv));
    EXPECT_EQ(text.substr(text.find("\r\n") + 2), "\"Q\",\"選択\",#NULL#,#NULL#,#NULL#,#NULL#\r\n");
    work.execute("UPDATE T_AcQeryInfo SET Midasi = 3");
    EXPECT_NE(exported(OutputKind::QueryCsv).find("\"stale\""), std::string::npos);
}

TEST_F(TextExport, anOlderFileGainsTheViewsAndOneThatDiffersIsReplaced) {
    const auto file = dir / "Zanfor2.db";
    workdb::WorkDatabase::open(file);
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        sqlite3_exec(db,
                     "DROP VIEW QE_AcObject; DROP VIEW QE_AcMacro;"
                     "CREATE VIEW QE_AcMacro AS SELECT 1 AS x;",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    auto reopened = workdb::WorkDatabase::open(file);
    for (const auto& view : workdb::WorkViews()) {
        workdb::Query sql(reopened, "SELECT sql FROM sqlite_master WHERE name = '" +
                                        std::string(view.name) + "'");
        ASSERT_TRUE(sql.next()) << view.name;
        EXPECT_EQ(sql.value(0).toText(), workdb::CreateViewSql(view));
    }
}

TEST_F(TextExport, aFileThatCannotBeWrittenIsAHostErrorAndLeavesNothing) {
    try {
        output::WriteExport(OutputKind::MacroCsv, work, dir / "missing" / "x.csv");
        FAIL() << "no error";
    } catch (const host::Error& e) {
        EXPECT_EQ(e.number(), 3024) << e.description();
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

}  // namespace
