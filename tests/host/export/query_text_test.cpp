#include "host/export/query_text.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/export/expect_error.h"
#include "host/export/json_value.h"
#include "host/export/saved_text.h"
#include "test_support.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::exports;
namespace fs = std::filesystem;

std::vector<std::string> fieldsOfTables(const std::string& t) {
    return t == "受注"     ? std::vector<std::string>{"受注ID", "得意先ID", "受注日"}
           : t == "得意先" ? std::vector<std::string>{"得意先ID", "得意先名"}
                           : std::vector<std::string>{};
}

dao::QueryDef design(const std::string& text) {
    return ReadQueryText(ParseSavedText(text, "q.bas"), "q", "q.bas", fieldsOfTables);
}

// "name|table|field; " per field.
std::string columnsOf(const dao::QueryDef& q) {
    std::string out;
    for (const auto& f : q.fields)
        out += f.name + "|" + f.sourceTable + "|" + f.sourceField + "; ";
    return out;
}

TEST(ExportQueryText, typeOfAQueryKnownOnlyByItsSql) {
    const std::pair<const char*, int> cases[] = {
        {"PARAMETERS [開始] DateTime;\r\nSELECT * FROM T WHERE d>[開始];", dao::dbQSelect},
        {"PARAMETERS [x] Text ( 255 );\r\nDELETE * FROM T;", dao::dbQDelete},
        {"TRANSFORM Sum(a) SELECT b FROM T GROUP BY b PIVOT c;", dao::dbQCrosstab},
        {"  update T SET a=1;", dao::dbQUpdate},
        {"INSERT INTO T (a) SELECT a FROM U;", dao::dbQAppend},
        {"SELECT a INTO T2 FROM T;", dao::dbQMakeTable},
        {"SELECT a FROM T WHERE a IN (SELECT b INTO x FROM U);", dao::dbQSelect},
        {"(SELECT a FROM T) UNION ALL (SELECT a FROM U);", dao::dbQSetOperation},
        {"SELECT a FROM T WHERE a IN (SELECT a FROM U UNION SELECT a FROM V);", dao::dbQSelect},
        {"SELECT [UNION] FROM T WHERE s = 'INTO';", dao::dbQSelect},
        {"CREATE TABLE T (a LONG);", dao::dbQDDL},
    };
    for (const auto& [sql, type] : cases)
        EXPECT_EQ(QueryTypeOfSql(sql, ""), type) << sql;
    EXPECT_EQ(QueryTypeOfSql("DECLARE @x int; SELECT @x", "ODBC;DSN=sales"),
              dao::dbQSQLPassThrough);
}

TEST(ExportQueryText, rebuildsTheSqlAndFieldsOfAQueryDesign) {
    const std::tuple<std::string, int, std::string> cases[] = {
        {"Operation =1\nOption =0\nWhere =\"(((受注.数量)>5))\"\nBegin InputTables\n"
         "    Name =\"受注\"\n    Name =\"顧客\"\nEnd\nBegin OutputColumns\n"
         "    Expression =\"受注.ID\"\n    Alias =\"名前\"\n    Expression =\"顧客.名前\"\nEnd\n"
         "Begin Joins\n    LeftTable =\"受注\"\n    RightTable =\"顧客\"\n"
         "    Expression =\"受注.顧客ID = 顧客.ID\"\n    Flag =1\nEnd\n"
         "Begin OrderBy\n    Expression =\"受注.ID\"\n    Flag =1\nEnd\n",
         dao::dbQSelect,
         "SELECT 受注.ID, 顧客.名前 AS 名前\r\nFROM 受注 INNER JOIN 顧客 ON 受注.顧客ID = 顧客.ID"
         "\r\nWHERE (((受注.数量)>5))\r\nORDER BY 受注.ID DESC;"},
        {"Operation =1\nOption =16\nRowCount =\"3\"\nBegin InputTables\n    Name =\"T\"\nEnd\n"
         "Begin OutputColumns\n    Expression =\"T.a\"\n    Alias =\"n\"\n"
         "    Expression =\"Count(T.b)\"\nEnd\nBegin Groups\n    Expression =\"T.a\"\n"
         "    GroupLevel =0\nEnd\nBegin Parameters\n    Name =\"[日付]\"\n    Flag =8\nEnd\n",
         dao::dbQSelect,
         "PARAMETERS [日付] DateTime;\r\nSELECT TOP 3 T.a, Count(T.b) AS n\r\nFROM T\r\n"
         "GROUP BY T.a;"},
    };
    for (const auto& [text, type, sql] : cases) {
        const auto q = design(text);
        EXPECT_EQ(q.type, type) << sql;
        EXPECT_EQ(q.sql(), sql);
    }
    const auto q = design(
        "Operation =1\nOption =0\nBegin InputTables\n    Name =\"受注\"\n    Alias =\"j\"\nEnd\n"
        "Begin OutputColumns\n    Expression =\"j.受注ID\"\n    Alias =\"件数\"\n"
        "    Expression =\"Count(*)\"\nEnd\n");
    EXPECT_EQ(columnsOf(q), "受注ID|受注|受注ID; 件数||; ");
}

TEST(ExportQueryText, readsSqlTextWithTheQuerysPropertiesFromSavedTextOrJson) {
    const auto q = design(
        "dbMemo \"SQL\" =\"SELECT *\\015\\012FROM T;\\015\\012\"\ndbMemo \"Connect\" =\"\"\n"
        "dbBoolean \"ReturnsRecords\" =\"-1\"\ndbInteger \"ODBCTimeout\" =\"30\"\n"
        "Begin\nEnd\n");
    EXPECT_EQ(q.sql(), "SELECT *\r\nFROM T;\r\n");
    EXPECT_EQ(q.odbcTimeout, 30);
    EXPECT_EQ(q.properties.get("ReturnsRecords"), Value(true));
    EXPECT_FALSE(q.properties.contains("SQL"));
    // Text with neither SQL nor a design.
    zanfor::test::ExpectError([] { design("Version =20\nBegin Form\nEnd\n"); },
                              err::kExportMalformed, "q.bas");
    // A .sql file takes its type, connect string and properties from its .json.
    const auto info = ParseJson(R"({"Info": {}, "Items": {"QueryType": 112, "Connect": "ODBC;DSN=x",
        "QueryProperties": {"ODBCTimeout": {"Type": 3, "Value": 0},
                            "ReturnsRecords": {"Type": 1, "Value": false}}}})",
                                "q.json");
    const auto p = ReadQuerySql("\uFEFFSELECT 1\nFROM T", info.find("Items"), "q");
    EXPECT_EQ(p.type, dao::dbQSQLPassThrough);
    EXPECT_EQ(p.sql(), "SELECT 1\r\nFROM T");
    EXPECT_EQ(p.connect(), "ODBC;DSN=x");
    EXPECT_EQ(p.properties.get("ReturnsRecords"), Value(false));
    EXPECT_EQ(ReadQuerySql("DELETE * FROM T;", nullptr, "d").type, dao::dbQDelete);
}

// A query kept as SQL alone still shows the fields of its text: parameters skipped, aliases
// resolved to their tables, unqualified fields given to the one table that has them, stars
// expanded, computed columns named "Expr" plus their position; action queries have none.
TEST(ExportQueryText, aQueryKnownOnlyByItsSqlHasTheColumnsOfItsText) {
    const auto q = ReadQuerySql(
        "PARAMETERS [開始] DateTime;\r\nSELECT o.受注ID, 得意先名, [数量]*2, o.受注日 AS 日付, "
        "c.*\r\nFROM 受注 AS o INNER JOIN 得意先 c ON o.得意先ID = c.得意先ID WHERE o.受注日 > "
        "[開始];",
        nullptr, "q", fieldsOfTables);
    // A name that would repeat is qualified with its table, as DAO did.
    EXPECT_EQ(columnsOf(q),
              "受注ID|受注|受注ID; c.得意先名|得意先|得意先名; Expr1002||; 日付|受注|受注日; "
              "得意先ID|得意先|得意先ID; c.得意先名|得意先|得意先名; ");
    EXPECT_TRUE(ReadQuerySql("DELETE * FROM 受注;", nullptr, "d", fieldsOfTables).fields.empty());
    // The same from a saved text's SQL line.
    EXPECT_EQ(columnsOf(design("dbMemo \"SQL\" =\"SELECT 得意先名 FROM 得意先;\"\n")),
              "得意先名|得意先|得意先名; ");
}

// The fixture queries of one export tool, each with the type its .json says it has.
TEST(ExportQueryText, everyFixtureQueryReadsAsItsType) {
    ZANFOR_REQUIRE_TESTDATA(data);
    int checked = 0;
    for (const auto& entry :
         fs::recursive_directory_iterator(data / "exports/msaccess-vcs-testing/Fixtures/queries")) {
        if (entry.path().extension() != ".qdef")
            continue;
        SCOPED_TRACE(entry.path().string());
        const auto json = fs::path(entry.path()).replace_extension(".json");
        const auto info = ParseJson(ReadExportFile(json), json.string());
        const auto q = ReadQueryText(ParseSavedText(ReadExportFile(entry.path()), "q"), "q", "q",
                                     fieldsOfTables);
        EXPECT_EQ(q.type, info.find("Items")->find("QueryType")->asInteger());
        EXPECT_FALSE(q.sql().empty());
        ++checked;
    }
    EXPECT_EQ(checked, 53);
}

}  // namespace
