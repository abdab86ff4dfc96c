#pragma once

// A table's definition pages (TDEF) read straight from the file: its columns with their Jet
// types and flags (the hyperlink flag included), and its physical and logical indexes. Every
// offset is checked: a damaged definition is an error naming the table, never a read outside
// the file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/jet/column_types.h"
#include "host/jet/jet_header.h"

namespace zanfor::host::jet {

// Column flags.
inline constexpr std::uint8_t kColumnFixed = 0x01;
inline constexpr std::uint8_t kColumnAutoLong = 0x04;
inline constexpr std::uint8_t kColumnReplication = 0x10;
inline constexpr std::uint8_t kColumnAutoGuid = 0x40;
inline constexpr std::uint8_t kColumnHyperlink = 0x80;

// Extended column flags (ACE): both bits mark a calculated column, whose stored value carries
// a header before the result.
inline constexpr std::uint8_t kColumnCalculated = 0xC0;

// Physical index flags.
inline constexpr std::uint8_t kIndexUnique = 0x01;
inline constexpr std::uint8_t kIndexIgnoreNulls = 0x02;
inline constexpr std::uint8_t kIndexRequired = 0x08;

struct ColumnDefinition {
    std::string name;
    int type = 0;
    int number = 0;       // the column's number, deleted columns included: its null-mask bit
    int varIndex = 0;     // a variable-length column's slot in the row's offset table
    int fixedOffset = 0;  // a fixed-length column's place in the row's fixed part
    int length = 0;       // bytes (text: bytes of its storage)
    std::uint8_t flags = 0;
    int precision = 0;  // numeric only
    int scale = 0;
    bool calculated = false;     // ACE only
    std::int32_t complexId = 0;  // a complex column's row in MSysComplexColumns (ComplexID)
};

struct IndexColumn {
    int columnNumber = 0;
    bool descending = false;
};

struct PhysicalIndex {
    std::vector<IndexColumn> columns;
    std::uint8_t flags = 0;
};

struct LogicalIndex {
    std::string name;
    int number = 0;
    int physicalIndex = 0;
    int type = 0;  // 1 primary key, 2 foreign key
    int relatedIndex = -1;
    std::uint32_t relatedTablePage = 0;
};

struct TableDefinition {
    std::uint32_t rowCount = 0;
    std::uint32_t usageMap = 0;  // row pointer (page << 8 | row) of the map of the table's pages
    int variableColumnCount = 0;
    std::vector<ColumnDefinition> columns;  // ordered by column number
    std::vector<PhysicalIndex> physicalIndexes;
    std::vector<LogicalIndex> indexes;  // in stored order
};

// Host error 3049 (naming `tableName` and the page) when the definition is damaged.
TableDefinition ReadTableDefinition(std::string_view file, std::uint32_t page,
                                    const JetHeader& header, const std::string& tableName);

}  // namespace zanfor::host::jet
