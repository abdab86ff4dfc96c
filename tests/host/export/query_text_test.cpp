#include "host/export/query_text.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/error.h"
#include "host/export/json_value.h"
#include "host/export/saved_text.h"
#include "test_support.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::exports;
namespace fs = std::filesystem;

std::vector<std::string> noStars(const std::string&) { return {}; }

dao::QueryDef design(const std::string& text) {
    return ReadQueryText(ParseSavedText(text, "q.bas"), "q", "q.bas", noStars);
}

TEST(ExportQueryText, typeOfAQueryKnownOnlyByItsSql) {
    struct Case {
        const char* sql;
        const char* connect;
        int type;
    };
    const Case cases[] = {
        {"SELECT * FROM T;", "", dao::dbQSelect},
        {"PARAMETERS [開始] DateTime;\r\nSELECT * FROM T WHERE d>[開始];", "", dao::dbQSelect},
        {"PARAMETERS [x] Text ( 255 );\r\nDELETE * FROM T;", "", dao::dbQDelete},
        {"TRANSFORM Sum(a) SELECT b FROM T GROUP BY b PIVOT c;", "", dao::dbQCrosstab},
        {"  update T SET a=1;", "", dao::dbQUpdate},
        {"INSERT INTO T (a) SELECT a FROM U;", "", dao::dbQAppend},
        {"SELECT a INTO T2 FROM T;", "", dao::dbQMakeTable},
        {"SELECT a FROM T WHERE a IN (SELECT b INTO x FROM U);", "", dao::dbQSelect},
        {"SELECT a FROM T UNION SELECT a FROM U;", "", dao::dbQSetOperation},
        {"(SELECT a FROM T) UNION ALL (SELECT a FROM U);", "", dao::dbQSetOperation},
        {"SELECT a FROM T WHERE a IN (SELECT a FROM U UNION SELECT a FROM V);", "", dao::dbQSelect},
        {"SELECT [UNION] FROM T WHERE s = 'INTO';", "", dao::dbQSelect},
        {"CREATE TABLE T (a LONG);", "", dao::dbQDDL},
        {"DECLARE @x int; SELECT @x", "ODBC;DSN=sales", dao::dbQSQLPassThrough},
        {"", "", dao::dbQSelect},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QueryTypeOfSql(c.sql, c.connect), c.type) << c.sql;
}

TEST(ExportQueryText, rebuildsTheSqlOfAQueryDesign) {
    struct Case {
        const char* name;
        std::string text;
        int type;
        std::string sql;
    };
    const Case cases[] = {
        {"join, where and descending order",
         "Operation =1\nOption =0\nWhere =\"(((受注.数量)>5))\"\nBegin InputTables\n"
         "    Name =\"受注\"\n    Name =\"顧客\"\nEnd\nBegin OutputColumns\n"
         "    Expression =\"受注.ID\"\n    Alias =\"名前\"\n    Expression =\"顧客.名前\"\nEnd\n"
         "Begin Joins\n    LeftTable =\"受注\"\n    RightTable =\"顧客\"\n"
         "    Expression =\"受注.顧客ID = 顧客.ID\"\n    Flag =1\nEnd\n"
         "Begin OrderBy\n    Expression =\"受注.ID\"\n    Flag =1\nEnd\n",
         dao::dbQSelect,
         "SELECT 受注.ID, 顧客.名前 AS 名前\r\nFROM 受注 INNER JOIN 顧客 ON 受注.顧客ID = 顧客.ID"
         "\r\nWHERE (((受注.数量)>5))\r\nORDER BY 受注.ID DESC;"},
        {"top n with grouping",
         "Operation =1\nOption =16\nRowCount =\"3\"\nBegin InputTables\n    Name =\"T\"\nEnd\n"
         "Begin OutputColumns\n    Expression =\"T.a\"\n    Alias =\"n\"\n"
         "    Expression =\"Count(T.b)\"\nEnd\nBegin Groups\n    Expression =\"T.a\"\n"
         "    GroupLevel =0\nEnd\n",
         dao::dbQSelect, "SELECT TOP 3 T.a, Count(T.b) AS n\r\nFROM T\r\nGROUP BY T.a;"},
        {"append with target fields",
         "Operation =3\nName =\"売上\"\nOption =0\nBegin InputTables\n    Name =\"受注\"\nEnd\n"
         "Begin OutputColumns\n    Name =\"金額\"\n    Expression =\"受注.金額\"\nEnd\n",
         dao::dbQAppend, "INSERT INTO 売上 (金額)\r\nSELECT 受注.金額\r\nFROM 受注;"},
        {"update",
         "Operation =4\nOption =0\nBegin InputTables\n    Name =\"T\"\nEnd\n"
         "Begin OutputColumns\n    Name =\"T.a\"\n    Expression =\"[a]*2\"\nEnd\n",
         dao::dbQUpdate, "UPDATE T\r\nSET T.a = [a]*2;"},
        {"parameters",
         "Operation =1\nOption =0\nBegin InputTables\n    Name =\"T\"\nEnd\n"
         "Begin OutputColumns\n    Expression =\"T.a\"\nEnd\nBegin Parameters\n"
         "    Name =\"[日付]\"\n    Flag =8\nEnd\n",
         dao::dbQSelect, "PARAMETERS [日付] DateTime;\r\nSELECT T.a\r\nFROM T;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto q = design(c.text);
        EXPECT_EQ(q.type, c.type);
        EXPECT_EQ(q.sql(), c.sql);
    }
}

TEST(ExportQueryText, namesTheFieldsOfADesign) {
    const auto q = design(
        "Operation =1\nOption =0\nBegin InputTables\n    Name =\"受注\"\n    Alias =\"j\"\nEnd\n"
        "Begin OutputColumns\n    Expression =\"j.ID\"\n    Alias =\"件数\"\n"
        "    Expression =\"Count(*)\"\nEnd\n");
    ASSERT_EQ(q.fields.size(), 2u);
    EXPECT_EQ(q.fields[0].name, "ID");
    EXPECT_EQ(q.fields[0].sourceTable, "受注");
    EXPECT_EQ(q.fields[0].sourceField, "ID");
    EXPECT_EQ(q.fields[1].name, "件数");
    EXPECT_EQ(q.fields[1].sourceTable, "");
}

TEST(ExportQueryText, readsSqlTextWithTheQuerysProperties) {
    const auto q = design(
        "dbMemo \"SQL\" =\"SELECT *\\015\\012FROM T;\\015\\012\"\ndbMemo \"Connect\" =\"\"\n"
        "dbBoolean \"ReturnsRecords\" =\"-1\"\ndbInteger \"ODBCTimeout\" =\"30\"\n"
        "dbMemo \"Description\" =\"売上の一覧\"\nBegin\nEnd\n");
    EXPECT_EQ(q.type, dao::dbQSelect);
    EXPECT_EQ(q.sql(), "SELECT *\r\nFROM T;\r\n");
    EXPECT_EQ(q.connect(), "");
    EXPECT_EQ(q.odbcTimeout, 30);
    EXPECT_EQ(q.properties.get("ReturnsRecords"), Value(true));
    EXPECT_EQ(q.properties.get("Description"), Value("売上の一覧"));
    EXPECT_FALSE(q.properties.contains("SQL"));
}

TEST(ExportQueryText, textWithNeitherSqlNorDesignIsAnError) {
    try {
        design("Version =20\nBegin Form\nEnd\n");
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kExportMalformed);
    }
}

TEST(ExportQueryText, takesTypeConnectAndPropertiesOfASqlFileFromItsJson) {
    const auto info =
        ParseJson(R"SAT({"Info": {}, "Items": {"QueryType": 112, "Connect": "ODBC;DSN=x",
        "QueryProperties": {"ODBCTimeout": {"Type": 3, "Value": 0},
                            "ReturnsRecords": {"Type": 1, "Value": false}}}})SAT",
                  "q.json");
    const auto q = ReadQuerySql("\xEF\xBB\xBFSELECT 1\nFROM T", info.find("Items"), "q");
    EXPECT_EQ(q.type, dao::dbQSQLPassThrough);
    EXPECT_EQ(q.sql(), "SELECT 1\r\nFROM T");
    EXPECT_EQ(q.connect(), "ODBC;DSN=x");
    EXPECT_EQ(q.odbcTimeout, 0);
    EXPECT_EQ(q.properties.get("ReturnsRecords"), Value(false));
    EXPECT_EQ(ReadQuerySql("DELETE * FROM T;", nullptr, "d").type, dao::dbQDelete);
}

// The fixture queries of one export tool, each with the type its .json says it has.
TEST(ExportQueryText, everyFixtureQueryReadsAsItsType) {
    const auto data = zanfor::test::SharedTestData();
    if (!data)
        GTEST_SKIP() << "../shared/testdata is absent";
    const fs::path root = *data / "exports/msaccess-vcs-testing/Fixtures/queries";
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().extension() != ".qdef")
            continue;
        SCOPED_TRACE(entry.path().string());
        auto json = entry.path();
        json.replace_extension(".json");
        const auto info = ParseJson(ReadExportFile(json), json.string());
        const auto q =
            ReadQueryText(ParseSavedText(ReadExportFile(entry.path()), "q"), "q", "q", noStars);
        EXPECT_EQ(q.type, info.find("Items")->find("QueryType")->asInteger());
        EXPECT_FALSE(q.sql().empty());
        ++checked;
    }
    EXPECT_EQ(checked, 53);
}

}  // namespace

namespace {

std::vector<std::string> columnsOf(const dao::QueryDef& q) {
    std::vector<std::string> out;
    for (const auto& f : q.fields)
        out.push_back(f.name + "|" + f.sourceTable + "|" + f.sourceField);
    return out;
}

// A query kept as SQL alone still shows the fields of its text: parameters skipped, aliases
// resolved to their tables, unqualified fields given to the one table that has them, stars
// expanded, computed columns named "Expr" plus their position; action queries have none.
TEST(ExportQueryText, aQueryKnownOnlyByItsSqlHasTheColumnsOfItsText) {
    const auto fields = [](const std::string& table) -> std::vector<std::string> {
        if (table == "受注")
            return {"受注ID", "得意先ID", "受注日"};
        if (table == "得意先")
            return {"得意先ID", "得意先名"};
        return {};
    };
    const auto q = ReadQuerySql(
        "PARAMETERS [開始] DateTime;\r\nSELECT o.受注ID, 得意先名, [数量]*2, o.受注日 AS 日付, "
        "c.*\r\n"
        "FROM 受注 AS o INNER JOIN 得意先 c ON o.得意先ID = c.得意先ID WHERE o.受注日 > [開始];",
        nullptr, "q", fields);
    // A name that would repeat is qualified with its table, as DAO did.
    EXPECT_EQ(columnsOf(q),
              (std::vector<std::string>{"受注ID|受注|受注ID", "c.得意先名|得意先|得意先名",
                                        "Expr1002||", "日付|受注|受注日",
                                        "得意先ID|得意先|得意先ID", "c.得意先名|得意先|得意先名"}));
    EXPECT_TRUE(ReadQuerySql("DELETE * FROM 受注;", nullptr, "d", fields).fields.empty());
    EXPECT_TRUE(
        ReadQuerySql("TRANSFORM Sum(a) SELECT b FROM T GROUP BY b PIVOT c;", nullptr, "x", fields)
            .fields.empty());
    // The same from a saved text's SQL line; one table in FROM owns every unqualified field.
    const auto viaText = design("dbMemo \"SQL\" =\"SELECT 得意先名 FROM 得意先;\"\n");
    EXPECT_EQ(columnsOf(viaText), (std::vector<std::string>{"得意先名|得意先|得意先名"}));
}

}  // namespace
