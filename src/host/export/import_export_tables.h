#pragma once

// Import/export definitions (the saved settings of text imports and exports) as an export
// tool writes them (one JSON file per definition, its columns inside), turned back into the rows of
// the two system tables Access keeps them in, MSysIMEXSpecs and MSysIMEXColumns, with the columns
// in Access's order.

#include <string>
#include <vector>

#include "host/dao.h"
#include "host/export/json_value.h"

namespace zanfor::host::exports {

struct SystemTableRows {
    dao::TableDef table;  // the system table with its fields
    std::vector<std::vector<Value>> rows;
};

struct ImportExportTables {
    SystemTableRows definitions;  // MSysIMEXSpecs
    SystemTableRows columns;      // MSysIMEXColumns
};

// Empty tables (no rows) with their definitions.
ImportExportTables EmptyImportExportTables();

// Appends one definition; SpecID is its position among those added, from 1. Throws
// host::Error (err::kExportMalformed) naming `source` when the file has no "Items" object.
void AddImportExportDefinition(ImportExportTables& tables, const JsonValue& root,
                               const std::string& source);

}  // namespace zanfor::host::exports
