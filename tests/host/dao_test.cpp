#include "host/dao.h"

#include <gtest/gtest.h>

namespace zanfor::host::dao {
namespace {

Field Column(std::string name, int type, std::int32_t size) {
    Field f;
    f.name = std::move(name);
    f.type = type;
    f.size = size;
    return f;
}

TableDef Table(std::string name, std::vector<Field> fields) {
    TableDef t;
    t.name = std::move(name);
    t.fields = std::move(fields);
    return t;
}

// A query column as the rebuild names it: a source for a plain one, the qualified expression.
Field Output(std::string name, std::string expression, std::string table = {},
             std::string field = {}) {
    Field f;
    f.name = std::move(name);
    f.expression = std::move(expression);
    f.sourceTable = std::move(table);
    f.sourceField = std::move(field);
    return f;
}

QueryDef Query(std::string name, std::vector<Field> fields, std::string sql = {}) {
    QueryDef q;
    q.name = std::move(name);
    q.fields = std::move(fields);
    q.setSql(std::move(sql));
    return q;
}

// "name=type/size" of each field of each query, queries joined by " | ".
std::string Types(const std::vector<QueryDef>& queries) {
    std::string out;
    for (const QueryDef& q : queries) {
        out += out.empty() ? "" : " | ";
        for (const Field& f : q.fields) {
            out += f.name + "=" + std::to_string(f.type) + "/" + std::to_string(f.size) +
                   (&f == &q.fields.back() ? "" : " ");
        }
    }
    return out;
}

const std::vector<TableDef> kTables = {
    Table("Orders", {Column("ID", dbLong, 4), Column("Qty", dbInteger, 2),
                     Column("Price", dbCurrency, 8), Column("Shipped", dbDate, 8)}),
};

TEST(TypeQueryFields, plainColumnTakesItsFieldsTypeAndSettings) {
    Field name = Column("Name", dbText, 40);
    name.attributes = dbVariableField;
    name.allowZeroLength = true;
    name.defaultValue = "\"?\"";
    std::vector<QueryDef> queries = {
        Query("Q", {Output("Who", "[Customers].[NAME]", "customers", "name")})};
    TypeQueryFields({Table("Customers", {name})}, queries);
    const Field& f = queries[0].fields[0];
    EXPECT_EQ(Types(queries), "Who=10/40");
    EXPECT_EQ(f.attributes, dbVariableField);
    EXPECT_TRUE(f.allowZeroLength);
    EXPECT_EQ(f.defaultValue, "\"?\"");
}

QueryDef Unreadable(QueryDef q) {
    q.setReadError(Error(err::kAmbiguousOuterJoins, "unreadable"));
    return q;
}

TEST(TypeQueryFields, computedColumnsTakeTheTypeOfWhatTheyNameOrStayUnknown) {
    const std::pair<std::vector<QueryDef>, std::string> cases[] = {
        // Listed before the query it is built on.
        {{Query("Doubled", {Output("Twice", "[Totals].[Total] * 2"),
                            Output("Total", "[Totals].[Total]", "Totals", "Total")}),
          Query("Totals", {Output("ID", "[Orders].[ID]", "Orders", "ID"),
                           Output("Total", "Sum(CCur([Orders].[Price]*[Orders].[Qty]))")})},
         "Twice=5/8 Total=5/8 | ID=4/4 Total=5/8"},
        // Names resolve to parameters, then to the query's other columns.
        {{Query("Q",
                {Output("Next", "[Shipped] + 1"),
                 Output("Shipped", "[Orders].[Shipped]", "Orders", "Shipped"),
                 Output("From", "[Start]"), Output("Rate", "[Forms]![F]![Rate] * [Orders].[Qty]"),
                 Output("Lost", "[Nowhere]")},
                "PARAMETERS [Start] DateTime, [Forms]![F]![Rate] Currency;\r\nSELECT ...")},
         "Next=8/8 Shipped=8/8 From=8/8 Rate=5/8 Lost=0/0"},
        {{Query("Q", {Output("Code", "MyCode([Orders].[ID])"),
                      Output("Gone", "[Deleted].[X]", "Deleted", "X"), Output("Empty", "")})},
         "Code=0/0 Gone=0/0 Empty=0/0"},
        {{Query("A", {Output("x", "[B].[y]", "B", "y")}), Query("B", {Output("y", "[A].[x] + 1")}),
          Query("C", {Output("p", "[q] + 1"), Output("q", "[p] * 2"), Output("r", "[r]")})},
         "x=0/0 | y=0/0 | p=0/0 q=0/0 r=0/0"},
        {{Unreadable(Query("Q", {Output("N", "[Orders].[Qty] + 1"), Output("P", "[Missing]")}))},
         "N=4/4 P=0/0"},
    };
    for (auto [queries, expected] : cases) {
        for (QueryDef& q : queries) {
            for (Field& f : q.fields)
                f.type = dbGUID;  // a type left from before is not kept
        }
        TypeQueryFields(kTables, queries);
        EXPECT_EQ(Types(queries), expected);
    }
}

TEST(TypeQueryFields, aChainDeeperThanJetAllowsEndsWithoutExhaustingTheStack) {
    constexpr int kQueries = 5000;
    std::vector<QueryDef> queries;
    for (int i = kQueries - 1; i > 0; --i) {
        const std::string below = "Q" + std::to_string(i - 1);
        queries.push_back(Query("Q" + std::to_string(i), {Output("v", "", below, "v")}));
    }
    queries.push_back(Query("Q0", {Output("v", "[Orders].[ID]", "Orders", "ID")}));
    TypeQueryFields(kTables, queries);
    EXPECT_EQ(queries.back().fields[0].type, dbLong);
    EXPECT_EQ(queries.front().fields[0].type, 0);
}

}  // namespace
}  // namespace zanfor::host::dao
