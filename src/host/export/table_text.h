#pragma once

// Table definitions in an export: the DDL Access-era tools write (".sql": CREATE TABLE with
// column constraints, CREATE INDEX), Access's XML schema of a table (".xml": fields with their
// Jet types and properties, indexes, table properties), an export tool's JSON of a linked table,
// the four-line link files of older tools (".LNKD"), and relationships, which give the foreign
// side of an enforced relationship its foreign-key index as Jet did.

#include <string>
#include <string_view>
#include <vector>

#include "host/dao.h"
#include "host/export/json_value.h"
#include "host/export/xml_tree.h"

namespace zanfor::host::exports {

// Each throws host::Error (err::kExportMalformed) naming `source` (and the line, where the text
// has lines) for text that is not what the tools write.
dao::TableDef ReadTableSql(std::string_view ddl, const std::string& source);
dao::TableDef ReadTableXml(const XmlElement& schema, const std::string& source);
dao::TableDef ReadTableLinkJson(const JsonValue& root, const std::string& source);
// Name, connect string, source table and the key fields, one to a line.
dao::TableDef ReadTableLinkText(std::string_view text, const std::string& source);

using Relation = dao::Relation;

Relation ReadRelationJson(const JsonValue& root, const std::string& source);
// The attributes, the name, the table, the foreign table, then "Field = Begin", field and
// foreign field pairs, "End".
Relation ReadRelationText(std::string_view text, const std::string& source);

// An enforced relationship gives its foreign table an index of its name marked Foreign (one
// already there, from a REFERENCES constraint, is only marked).
void ApplyRelation(const Relation& relation, std::vector<dao::TableDef>& tables);

}  // namespace zanfor::host::exports
