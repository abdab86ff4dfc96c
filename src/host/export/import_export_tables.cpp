#include "host/export/import_export_tables.h"

#include <array>

#include "host/export/saved_text.h"
#include "host/export/typed_value.h"

namespace zanfor::host::exports {

namespace {

struct ColumnDefinition {
    std::string_view name;
    int type;
    std::int32_t size;
};

constexpr auto kDefinitionColumns = std::to_array<ColumnDefinition>({
    {"DateDelim", dao::dbText, 2},
    {"DateFourDigitYear", dao::dbBoolean, 1},
    {"DateLeadingZeros", dao::dbBoolean, 1},
    {"DateOrder", dao::dbInteger, 2},
    {"DecimalPoint", dao::dbText, 2},
    {"FieldSeparator", dao::dbText, 2},
    {"FileType", dao::dbInteger, 2},
    {"SpecID", dao::dbLong, 4},
    {"SpecName", dao::dbText, 64},
    {"SpecType", dao::dbByte, 1},
    {"StartRow", dao::dbLong, 4},
    {"TextDelim", dao::dbText, 2},
    {"TimeDelim", dao::dbText, 2},
});

constexpr auto kColumnColumns = std::to_array<ColumnDefinition>({
    {"Attributes", dao::dbLong, 4},
    {"DataType", dao::dbInteger, 2},
    {"FieldName", dao::dbText, 64},
    {"IndexType", dao::dbByte, 1},
    {"SkipColumn", dao::dbBoolean, 1},
    {"SpecID", dao::dbLong, 4},
    {"Start", dao::dbInteger, 2},
    {"Width", dao::dbInteger, 2},
});

template <std::size_t N>
SystemTableRows systemTable(std::string name, const std::array<ColumnDefinition, N>& columns) {
    SystemTableRows t;
    t.table.name = std::move(name);
    t.table.attributes = dao::dbSystemObject;
    for (const auto& c : columns) {
        dao::Field f;
        f.name = std::string(c.name);
        f.type = c.type;
        f.size = c.size;
        f.attributes = c.type == dao::dbText ? dao::dbVariableField : dao::dbFixedField;
        t.table.fields.push_back(std::move(f));
    }
    return t;
}

template <std::size_t N>
std::vector<Value> rowOf(const std::array<ColumnDefinition, N>& columns, const JsonValue& item,
                         std::int64_t definitionId, std::string_view fieldName) {
    std::vector<Value> row;
    for (const auto& c : columns) {
        if (c.name == "SpecID") {
            row.emplace_back(definitionId);
        } else if (c.name == "FieldName" && !fieldName.empty()) {
            row.emplace_back(std::string(fieldName));
        } else if (const JsonValue* v = item.find(c.name)) {
            row.push_back(DaoTypedValue(c.type, *v));
        } else {
            row.emplace_back();
        }
    }
    return row;
}

}  // namespace

ImportExportTables EmptyImportExportTables() {
    return {systemTable("MSysIMEXSpecs", kDefinitionColumns),
            systemTable("MSysIMEXColumns", kColumnColumns)};
}

void AddImportExportDefinition(ImportExportTables& tables, const JsonValue& root,
                               const std::string& source) {
    const JsonValue* items = root.find("Items");
    if (!items || items->kind != JsonValue::Kind::Object)
        ThrowMalformed(source, 1, "変換定義の Items がありません");
    const auto definitionId = static_cast<std::int64_t>(tables.definitions.rows.size()) + 1;
    tables.definitions.rows.push_back(rowOf(kDefinitionColumns, *items, definitionId, {}));
    if (const JsonValue* columns = items->find("Columns")) {
        for (const auto& [name, column] : columns->members)
            tables.columns.rows.push_back(rowOf(kColumnColumns, column, definitionId, name));
        for (const auto& column : columns->items)
            tables.columns.rows.push_back(rowOf(kColumnColumns, column, definitionId, {}));
    }
    tables.definitions.table.recordCount =
        static_cast<std::int32_t>(tables.definitions.rows.size());
    tables.columns.table.recordCount = static_cast<std::int32_t>(tables.columns.rows.size());
}

}  // namespace zanfor::host::exports
