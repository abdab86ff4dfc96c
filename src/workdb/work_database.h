#pragma once

// The work database: an SQLite file in the program folder (Zanfor2.db) holding every result
// table. It is created with all tables on first use and brought up to date when an older
// version of the program made it; a file made by a newer version is refused, never altered.
//
// Writers use it the way the program always wrote its results: empty a table with
// "delete * from T_AcObject;", then AddNew, set fields by name, Update, all inside one
// transaction per collector run.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/value.h"
#include "workdb/schema.h"
#include "workdb/work_database_lock.h"

struct sqlite3;
struct sqlite3_stmt;

namespace zanfor::workdb {

struct CloseDatabase {
    void operator()(sqlite3* db) const noexcept;
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* stmt) const noexcept;
};
using DatabaseHandle = std::unique_ptr<sqlite3, CloseDatabase>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

inline constexpr std::string_view kWorkDatabaseFileName = "Zanfor2.db";

class WorkDatabase {
public:
    // Opens (creating when missing) the file; ":memory:" gives a private in-memory database,
    // and "" a private temporary one.
    // Host error 30001 when the file cannot be opened or is not a work database, 30002 when a
    // newer version of the program made it, 3045 when another process has it open (see
    // WorkDatabaseLock): the file is held for this process while it is open here.
    // A work database keeps a write-ahead log beside it while open, so that readers on other
    // threads keep their view while a writer commits; the last connection to close folds it
    // back and removes it.
    static WorkDatabase open(const std::filesystem::path& path);

    // A private in-memory copy of a saved analysis file (an .adb), brought up to date in
    // memory. The file is opened read-only and never written; it is refused with host error
    // 3343 when it is not a work database of this program (random bytes, another program's
    // SQLite file, a damaged one), 30002 when a newer version made it, 53 when it is missing.
    static WorkDatabase openCopy(const std::filesystem::path& path);
    // A database opened only to be read: a saved analysis file (".adb", any case) from a
    // private copy, the work database itself as open() does. Host error 53 when it is missing
    // (open() would make an empty one).
    static WorkDatabase openForReading(const std::filesystem::path& path);

    WorkDatabase(WorkDatabase&&) noexcept = default;
    WorkDatabase& operator=(WorkDatabase&&) noexcept = default;
    ~WorkDatabase();

    // Runs one or more SQL statements. Accepts Jet's "delete * from T;" form.
    void execute(std::string_view sql);

    // The schema version stored in the file.
    int schemaVersion() const;
    // The result tables present in the file, in schema order.
    std::vector<std::string> tableNames() const;
    std::int64_t rowCount(std::string_view table) const;

    // Writes a consistent copy of the whole database to `file` with SQLite's backup, into a
    // temporary file beside it that then replaces `file`: a copy that failed halfway never
    // stands where the user looks for a saved file. The copy is one plain file, with no log
    // beside it, as every version of the program reads.
    void saveCopyAs(const std::filesystem::path& file) const;
    // Replaces everything this database holds with the contents of `source`.
    void replaceWith(const WorkDatabase& source);

    sqlite3* handle() const { return db_.get(); }

private:
    WorkDatabase(WorkDatabaseLock lock, DatabaseHandle db)
        : lock_(std::move(lock)), db_(std::move(db)) {}
    void bringUpToDate();

    WorkDatabaseLock lock_;  // let go of after the connection has closed
    DatabaseHandle db_;
};

// BEGIN on construction; ROLLBACK on destruction unless committed.
class Transaction {
public:
    explicit Transaction(WorkDatabase& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    WorkDatabase* db_;
    bool done_ = false;
};

// DAO's AddNew / Fields("x") = v / Update on one result table. Setting a field the table does
// not have raises host error 3265, as DAO did, so a misspelt field name fails at once.
class RowWriter {
public:
    // Host error 3078 when the table is not a work table.
    RowWriter(WorkDatabase& db, std::string_view table);

    void addNew();
    RowWriter& set(std::string_view field, const host::Value& value);
    RowWriter& set(std::string_view field, host::Value&& value);
    // set(field, text) without a Value made for it: the text is copied into room the writer
    // keeps from row to row, so that a run of a hundred thousand rows allocates nothing for it.
    RowWriter& setText(std::string_view field, std::string_view text);
    // Inserts the row; fields not set keep their column defaults.
    void update();

    const TableSchema& table() const { return *table_; }

private:
    std::size_t column(std::string_view field);
    sqlite3_stmt* insertFor();

    WorkDatabase* db_;
    const TableSchema* table_;
    std::vector<host::Value> values_;
    // Per column the text of setText, when that set it last ('t' in isSet_).
    std::vector<std::string> texts_;
    // Per column '1' when set by value in this row, 't' by setText, '0' when not set.
    std::string isSet_;
    bool pending_ = false;
    // A writer sets its fields in the same order row after row: the search for a name starts
    // after the field set last.
    std::size_t next_ = 0;
    // One prepared INSERT per combination of set columns: a collector sets the same fields
    // row after row, so this holds one or two statements, and the last one is used again
    // without a look-up.
    std::unordered_map<std::string, StatementHandle> inserts_;
    std::string key_;
    std::string lastKey_;
    sqlite3_stmt* last_ = nullptr;
};

// A date the target may not keep (an export folder keeps none) is Null in its row, never day 0,
// which would print as 1899/12/30.
host::Value DateOrNull(const std::optional<host::Date>& date);

// A forward-only SELECT over the work database.
class Query {
public:
    Query(const WorkDatabase& db, std::string_view sql);

    bool next();
    int columnCount() const;
    std::string columnName(int column) const;
    // Values come back in the kind of their column: yes/no as Bool, dates as host::Date.
    host::Value value(int column) const;
    host::Value value(std::string_view columnName) const;

private:
    StatementHandle stmt_;
    std::vector<ColumnKind> kinds_;
};

}  // namespace zanfor::workdb
