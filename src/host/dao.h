#pragma once

// The DAO side of a target database, as the program used it: table and query definitions with
// their fields, indexes and properties, containers of documents, database properties, and
// recordsets over tables. Implementations: host/jet (a real .mdb, read-only), host/memory
// (targets built in code for tests).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/error.h"
#include "host/properties.h"
#include "host/value.h"

namespace zanfor::host::dao {

// DAO's DataTypeEnum: the codes a Field's Type holds.
enum FieldType : int {
    dbBoolean = 1,
    dbByte = 2,
    dbInteger = 3,
    dbLong = 4,
    dbCurrency = 5,
    dbSingle = 6,
    dbDouble = 7,
    dbDate = 8,
    dbBinary = 9,
    dbText = 10,
    dbLongBinary = 11,
    dbMemo = 12,
    dbGUID = 15,
    dbBigInt = 16,
    dbVarBinary = 17,
    dbChar = 18,
    dbNumeric = 19,
    dbDecimal = 20,
    dbFloat = 21,
    dbTime = 22,
    dbTimeStamp = 23,
};

// Field attributes (FieldAttributeEnum).
inline constexpr std::int32_t dbFixedField = 0x1;
inline constexpr std::int32_t dbVariableField = 0x2;
inline constexpr std::int32_t dbAutoIncrField = 0x10;
inline constexpr std::int32_t dbUpdatableField = 0x20;
inline constexpr std::int32_t dbSystemField = 0x2000;
inline constexpr std::int32_t dbHyperlinkField = 0x8000;

// Table definition attributes (TableDefAttributeEnum).
inline constexpr std::int32_t dbHiddenObject = 0x1;
inline constexpr std::int32_t dbSystemObject = static_cast<std::int32_t>(0x80000002u);
inline constexpr std::int32_t dbAttachExclusive = 0x10000;
inline constexpr std::int32_t dbAttachSavePWD = 0x20000;
inline constexpr std::int32_t dbAttachedODBC = 0x20000000;
inline constexpr std::int32_t dbAttachedTable = 0x40000000;

// QueryDef types (QueryDefTypeEnum); 8 added to a base type is its hidden form.
enum QueryType : int {
    dbQSelect = 0,
    dbQCrosstab = 16,
    dbQDelete = 32,
    dbQUpdate = 48,
    dbQAppend = 64,
    dbQMakeTable = 80,
    dbQDDL = 96,
    dbQSQLPassThrough = 112,
    dbQSetOperation = 128,
    dbQSPTBulk = 144,
    dbQCompound = 160,
    dbQProcedure = 224,
    dbQAction = 240,
};

struct Field {
    std::string name;
    int type = dbText;
    std::int32_t size = 0;
    std::int32_t attributes = 0;
    bool allowZeroLength = false;
    bool required = false;
    std::string defaultValue;
    std::string validationRule;
    std::string validationText;
    std::string sourceTable;
    std::string sourceField;
    // A query column's expression, each column it names written "[table].[field]" by real
    // name, from which TypeQueryFields works out the type of a computed column.
    std::string expression;
    Properties properties;
};

struct IndexField {
    std::string name;
    bool descending = false;
};

struct Index {
    std::string name;
    bool primary = false;
    bool unique = false;
    bool ignoreNulls = false;
    bool required = false;
    bool foreign = false;
    bool clustered = false;
    std::vector<IndexField> fields;
    Properties properties;
};

struct TableDef {
    std::string name;
    std::int32_t attributes = 0;
    std::string connect;
    std::string sourceTableName;
    std::int32_t recordCount = 0;
    // Empty where the source keeps no date (an export folder): no date is made up.
    std::optional<Date> dateCreated;
    std::optional<Date> lastUpdated;
    bool updatable = true;
    std::vector<Field> fields;  // empty for a linked table whose source cannot be reached
    std::vector<Index> indexes;
    Properties properties;
    // What could not be read of this table (a damaged definition, an unreachable link
    // source); empty when everything was read. The rest of the database reads on.
    std::string problem;
    int problemNumber = 0;  // the host error number of `problem`
};

// A saved query. Reading its SQL (or its Connect) can fail, as DAO's did for a query it could
// not parse (error 3258); the accessors rethrow that failure each time they are asked.
class QueryDef {
public:
    std::string name;
    int type = dbQSelect;
    std::optional<Date> dateCreated;  // empty where the source keeps none
    std::optional<Date> lastUpdated;
    std::int16_t odbcTimeout = 60;
    std::int32_t maxRecords = 0;
    bool updatable = true;
    std::int32_t recordsAffected = 0;
    std::vector<Field> fields;
    Properties properties;

    const std::string& sql() const;
    const std::string& connect() const;
    void setSql(std::string sql) { sql_ = std::move(sql); }
    void setConnect(std::string connect) { connect_ = std::move(connect); }
    void setReadError(Error error) { readError_ = std::move(error); }

private:
    std::string sql_;
    std::string connect_;
    std::optional<Error> readError_;
};

struct Document {
    std::string name;
    std::optional<Date> dateCreated;  // empty where the source keeps none
    std::optional<Date> lastUpdated;
    Properties properties;
};

struct Container {
    std::string name;
    std::vector<Document> documents;  // in the file's order
};

// Relation attributes (RelationAttributeEnum).
inline constexpr std::int32_t dbRelationUnique = 0x1;
inline constexpr std::int32_t dbRelationDontEnforce = 0x2;
inline constexpr std::int32_t dbRelationInherited = 0x4;
inline constexpr std::int32_t dbRelationUpdateCascade = 0x100;
inline constexpr std::int32_t dbRelationDeleteCascade = 0x1000;
inline constexpr std::int32_t dbRelationLeft = 0x1000000;
inline constexpr std::int32_t dbRelationRight = 0x2000000;

struct Relation {
    std::string name;
    std::int32_t attributes = 0;
    std::string table;                                        // the primary side
    std::string foreignTable;                                 // the side that refers to it
    std::vector<std::pair<std::string, std::string>> fields;  // (field, foreign field)
};

// A forward-only view of a table's rows.
class Recordset {
public:
    virtual ~Recordset() = default;
    virtual bool eof() const = 0;
    virtual void moveNext() = 0;
    virtual const std::vector<std::string>& fieldNames() const = 0;
    // Host error 3265 for a name the table does not have.
    virtual Value field(std::string_view name) const = 0;
};

class Database {
public:
    virtual ~Database() = default;

    virtual std::string name() const = 0;     // the full path, as DAO's Name
    virtual std::string version() const = 0;  // "4.0" for Jet 4, "3.0" for Jet 3
    virtual std::int16_t queryTimeout() const = 0;
    virtual bool updatable() const = 0;

    virtual const std::vector<TableDef>& tableDefs() = 0;
    virtual const std::vector<QueryDef>& queryDefs() = 0;
    virtual const std::vector<Container>& containers() = 0;
    // The database's own properties. Writes change this open database only (the overlay kept
    // while the target is open); the target file is never modified.
    virtual Properties& properties() = 0;
    // Host error 3078 (err::kNoSuchTable) when the database has no such table.
    virtual std::unique_ptr<Recordset> openRecordset(std::string_view tableName) = 0;
    // The parts of the database that could not be read, met so far (a catalog cut short, a
    // system table that does not read): what did read is served as usual, and a caller that
    // lists the database says what is missing instead of passing the gap off as the whole.
    virtual std::vector<Error> readFailures() { return {}; }
    // The relationships, in name order, as DAO's Relations collection lists them (system tables'
    // included). Read from MSysRelationships; none when the database has no such table.
    virtual std::vector<Relation> relations();

    // Containers("Forms") and the like; host error 3265 when there is no such container.
    const Container& container(std::string_view name);
    // The documents of a container; none when the database has no such container (an Access 97
    // file has no "DataAccessPages").
    const std::vector<Document>& documents(std::string_view container);
};

// Gives each query field that names its source (a table's or another query's field) the type,
// size, attributes, zero-length setting and default value of the field it comes from, and each
// computed field the type Jet gives its expression; type 0 where Jet could not know it either
// (a function of the database's own code) or the source cannot be found.
void TypeQueryFields(const std::vector<TableDef>& tables, std::vector<QueryDef>& queries);

// Puts relationships in the order DAO's Relations collection lists them: by name.
void SortRelations(std::vector<Relation>& relations);

// What opens databases: DAO's default workspace.
class Engine {
public:
    virtual ~Engine() = default;
    // Host errors: 3024 missing file, 3343 not a database, 3049 damaged, 3031 password.
    virtual std::unique_ptr<Database> openDatabase(const std::string& path) = 0;
};

}  // namespace zanfor::host::dao
