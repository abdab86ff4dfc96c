#pragma once

// The tables of the work database: every result table with every field its writer fills, in
// the order the writer fills them. The schema is data, walked to create the file and to check
// what a writer sets.

#include <span>
#include <string>
#include <string_view>

namespace zanfor::workdb {

// The kinds of Access fields the results use. Text holds up to 255 characters in Access; Memo
// is long text (SQL, code lines, property values).
enum class ColumnKind { Text, Memo, Integer, Long, Double, YesNo, Date };

struct ColumnSchema {
    std::string_view name;
    ColumnKind kind;
    // A column a writer may leave unset reads as this: Access gave new number and yes/no
    // fields 0 and text fields no value; the event slots of the form and report tables must
    // read as empty text, because the slot test compares them with "".
    bool emptyTextDefault = false;
};

struct TableSchema {
    std::string_view name;
    std::span<const ColumnSchema> columns;
};

// A saved query of the work database that the exports read by name. Its columns are named
// after the headings the exports print, in their order; `select` is the body after "AS".
struct ViewSchema {
    std::string_view name;
    std::string_view select;
};

// An index of a result table, made with the table and added to older files when opened.
struct IndexSchema {
    std::string_view name;
    std::string_view table;
    std::string_view columns;  // as they follow "ON table" in CREATE INDEX, parenthesised
};

// Bumped whenever a table or column is added; older files are brought up to date on opening.
inline constexpr int kSchemaVersion = 1;

std::span<const TableSchema> WorkTables();
// The export queries QE_AcObject ... QE_AcMacro. A file whose view differs from this text gets
// it replaced when opened, so an older file reads the same rows as a new one.
std::span<const ViewSchema> WorkViews();
std::span<const IndexSchema> WorkIndexes();
// "CREATE VIEW ..." exactly as SQLite keeps it in sqlite_master.
std::string CreateViewSql(const ViewSchema& view);
// nullptr for a name that is not a work table; names match exactly, as SQLite's do not, so
// the writers' spelling is checked.
const TableSchema* FindWorkTable(std::string_view name);

// The SQLite column type that stands for a kind, and back.
std::string_view SqlTypeOf(ColumnKind kind);
ColumnKind KindOfSqlType(std::string_view sqlType);

}  // namespace zanfor::workdb
