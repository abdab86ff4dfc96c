#pragma once

// Saved queries are stored as rows of MSysQueries, not as text; DAO rebuilt their SQL from those
// rows. This rebuilds it the same way, and names the query's output columns.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zanfor::host::jet {

// What an MSysQueries row holds, by its Attribute column.
enum QueryAttribute : int {
    kType = 1,
    kParameter = 2,
    kFlags = 3,
    kRemoteDatabase = 4,
    kTable = 5,
    kColumn = 6,
    kJoin = 7,
    kWhere = 8,
    kGroupBy = 9,
    kHaving = 10,
    kOrderBy = 11,
    kAttributeCount = 12,
};

// One MSysQueries row of a query, values as read.
struct QueryRow {
    int attribute = 0;
    std::string expression;
    std::optional<int> flag;  // Null in many rows
    std::string name1;
    std::string name2;
    std::string order;    // the raw bytes of the Order column: rows sort by (attribute, order)
    std::string lvExtra;  // raw bytes
};

// An output column of a query: its name as DAO shows it, the expression it comes from, and,
// when the expression is a plain column of a table or query of the FROM clause, that table's
// or query's real name (aliases resolved) and the column's name there.
struct QueryColumn {
    std::string name;
    std::string expression;
    std::string sourceTable;
    std::string sourceField;
    // The expression with each column it names written "[table].[field]", table the real name of
    // the table or query FROM takes it from (where FROM tells which): what the column's type is
    // worked out from, once every table and query is known.
    std::string qualified;
};

struct RebuiltQuery {
    int type = 0;  // DAO's QueryDef.Type: 0, 16, 32, 48, 64, 80, 96, 112, 128
    std::string sql;
    std::string connect;  // pass-through and IN-database queries
    std::vector<QueryColumn> columns;
};

// Jet nests saved queries no deeper than this; the limit also ends a cycle of queries.
inline constexpr int kMaxQueryNesting = 50;

// The field names a "T.*" or "*" in a select list stands for (T a real table or query name;
// empty when unknown).
using StarFields = std::function<std::vector<std::string>(const std::string&)>;

// Reads `count` saved queries that may stand on each other through "Q.*": a query a star names
// is read first, once, so that its columns are known; one still being read (a cycle) or nested
// deeper than Jet allows stands for none. `tableFields` gives a table's field names (nullopt
// when there is no such table), `queryNamed` a query's index, and `read` reads query i with the
// star fields to use and gives its column names.
void ReadQueriesInStarOrder(
    std::size_t count,
    const std::function<std::optional<std::vector<std::string>>(const std::string&)>& tableFields,
    const std::function<std::optional<std::size_t>(const std::string&)>& queryNamed,
    const std::function<std::vector<std::string>(std::size_t, const StarFields&)>& read);

// `rows` in any order. `starFields` gives the field names a "T.*" or "*" in the select list
// stands for (T a real table or query name; empty when unknown).
RebuiltQuery RebuildQuery(std::vector<QueryRow> rows, const StarFields& starFields);

// The output columns of a query known only by its SQL text (an export that keeps no design):
// its first SELECT's list over the tables of its FROM, named as DAO names them. None for text
// that does not begin with SELECT (action queries, DDL, TRANSFORM, pass-through).
std::vector<QueryColumn> ColumnsOfSelectText(std::string_view sql, const StarFields& starFields);

}  // namespace zanfor::host::jet
