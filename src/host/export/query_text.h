#pragma once

// Saved queries in an export: Access's text of a query (".bas" / ".qdef"), either its SQL as
// "dbMemo "SQL"" with the query's properties, or its design ("Operation =", "Begin InputTables",
// "Begin OutputColumns", joins, groups, ordering, parameters) from which the SQL is rebuilt as
// DAO rebuilt it; or the SQL alone in a ".sql" file, with an export tool's ".json" beside it.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/dao.h"
#include "host/export/json_value.h"
#include "host/export/saved_text.h"
#include "host/jet/query_sql.h"

namespace zanfor::host::exports {

using jet::StarFields;

// Fields are named where the design tells them (with their source table and field); their type
// is left to the caller, who knows the tables. Throws host::Error (err::kExportMalformed)
// naming `source` when the text is neither form.
dao::QueryDef ReadQueryText(const SavedText& text, std::string name, const std::string& source,
                            const StarFields& starFields);

// `info`: the export tool's description of the query (its "Items": QueryType, Connect,
// QueryProperties), or nullptr.
dao::QueryDef ReadQuerySql(std::string_view sql, const JsonValue* info, std::string name,
                           const StarFields& starFields = {});

// DAO's QueryDef.Type of a query known only by its SQL and Connect.
int QueryTypeOfSql(std::string_view sql, std::string_view connect);

}  // namespace zanfor::host::exports
