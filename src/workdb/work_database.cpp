#include "workdb/work_database.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <regex>
#include <utility>

#include "host/error.h"
#include "util/file_descriptor.h"
#include "util/jet_date.h"

namespace zanfor::workdb {

using host::Error;
using host::Value;
namespace err = host::err;
namespace fs = std::filesystem;

void CloseDatabase::operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
void FinalizeStatement::operator()(sqlite3_stmt* stmt) const noexcept { sqlite3_finalize(stmt); }

namespace {

// SQLite's own words and its extended result code (13 for a full disk, 11 for a damaged page,
// 5 for a busy file) go into the text, so the user sees the cause, not only that it failed.
std::string sqliteCause(sqlite3* db, int rc, const char* message = nullptr) {
    const int code = db ? sqlite3_extended_errcode(db) : rc;
    // A full disk met while sizing the write-ahead log's shared index comes back as an I/O
    // error; the system's own error names the full disk, which SQLite calls 13 elsewhere.
    if (db && (code & 0xff) == SQLITE_IOERR && sqlite3_system_errno(db) == ENOSPC)
        return std::string(sqlite3_errstr(SQLITE_FULL)) + " (SQLite 13)";
    const std::string text = message ? message : db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    return text + " (SQLite " + std::to_string(code) + ")";
}

[[noreturn]] void fail(sqlite3* db, std::string_view what, int rc = SQLITE_ERROR) {
    throw Error(err::kWorkDatabase,
                "作業用データベースのエラー (" + std::string(what) + "): " + sqliteCause(db, rc));
}

void check(int rc, sqlite3* db, std::string_view what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        fail(db, what, rc);
}

std::string quoted(std::string_view identifier) {
    std::string q = "\"";
    for (char c : identifier) {
        q += c;
        if (c == '"')
            q += '"';
    }
    return q + "\"";
}

StatementHandle prepare(sqlite3* db, std::string_view sql) {
    sqlite3_stmt* raw = nullptr;
    check(sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, nullptr), db, sql);
    return StatementHandle(raw);
}

std::int64_t singleInteger(sqlite3* db, std::string_view sql) {
    auto stmt = prepare(db, sql);
    const int rc = sqlite3_step(stmt.get());
    check(rc, db, sql);
    return rc == SQLITE_ROW ? sqlite3_column_int64(stmt.get(), 0) : 0;
}

// Jet's "delete * from T" is not SQL that SQLite knows; every writer empties its tables so.
std::string fromJetDialect(std::string_view sql) {
    static const std::regex deleteStar(R"(\bdelete\s+\*\s+from\b)", std::regex::icase);
    return std::regex_replace(std::string(sql), deleteStar, "DELETE FROM");
}

std::string createTableSql(const TableSchema& table) {
    std::string sql = "CREATE TABLE " + quoted(table.name) + " (";
    bool first = true;
    for (const auto& c : table.columns) {
        if (!first)
            sql += ", ";
        first = false;
        sql += quoted(c.name) + " " + std::string(SqlTypeOf(c.kind));
        if (c.emptyTextDefault) {
            sql += " DEFAULT ''";
        } else if (c.kind == ColumnKind::Integer || c.kind == ColumnKind::Long ||
                   c.kind == ColumnKind::Double || c.kind == ColumnKind::YesNo) {
            sql += " DEFAULT 0";
        }
    }
    return sql + ")";
}

std::string addColumnSql(const TableSchema& table, const ColumnSchema& c) {
    std::string sql = "ALTER TABLE " + quoted(table.name) + " ADD COLUMN " + quoted(c.name) + " " +
                      std::string(SqlTypeOf(c.kind));
    if (c.emptyTextDefault)
        return sql + " DEFAULT ''";
    if (c.kind != ColumnKind::Text && c.kind != ColumnKind::Memo && c.kind != ColumnKind::Date) {
        sql += " DEFAULT 0";
    }
    return sql;
}

std::vector<std::string> existingColumns(sqlite3* db, std::string_view table) {
    auto stmt = prepare(db, "PRAGMA table_info(" + quoted(table) + ")");
    std::vector<std::string> names;
    int rc = 0;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 1)));
    }
    // A list cut short would have every column after the cut added again.
    check(rc, db, "PRAGMA table_info");
    return names;
}

std::vector<std::string> existingTables(sqlite3* db) {
    auto stmt = prepare(db, "SELECT name FROM sqlite_master WHERE type = 'table'");
    std::vector<std::string> names;
    int rc = 0;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
    }
    check(rc, db, "sqlite_master");
    return names;
}

// Each view's name with the statement that made it.
std::vector<std::string> existingIndexes(sqlite3* db) {
    auto stmt = prepare(db, "SELECT name FROM sqlite_master WHERE type = 'index'");
    std::vector<std::string> names;
    int rc = 0;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW)
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
    check(rc, db, "sqlite_master");
    return names;
}

std::vector<std::pair<std::string, std::string>> existingViews(sqlite3* db) {
    auto stmt = prepare(db, "SELECT name, sql FROM sqlite_master WHERE type = 'view'");
    std::vector<std::pair<std::string, std::string>> views;
    int rc = 0;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        const auto* sql = sqlite3_column_text(stmt.get(), 1);
        views.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)),
                           sql ? reinterpret_cast<const char*>(sql) : "");
    }
    check(rc, db, "sqlite_master");
    return views;
}

bool contains(const std::vector<std::string>& names, std::string_view name) {
    for (const auto& n : names) {
        if (sqlite3_stricmp(n.c_str(), std::string(name).c_str()) == 0)
            return true;
    }
    return false;
}

void bindValue(sqlite3* db, sqlite3_stmt* stmt, int index, ColumnKind kind, const Value& value) {
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(stmt, index);
    } else {
        switch (kind) {
            case ColumnKind::Text:
            case ColumnKind::Memo: {
                // Text held by the row stays put until the statement has run: no copy.
                if (const std::string* held = value.heldText()) {
                    rc = sqlite3_bind_text(stmt, index, held->data(),
                                           static_cast<int>(held->size()), SQLITE_STATIC);
                    break;
                }
                const std::string text = value.toText();
                rc = sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()),
                                       SQLITE_TRANSIENT);
                break;
            }
            case ColumnKind::Integer:
            case ColumnKind::Long:
                rc = sqlite3_bind_int64(stmt, index, value.toInteger());
                break;
            case ColumnKind::Double:
                rc = sqlite3_bind_double(stmt, index, value.toDouble());
                break;
            case ColumnKind::YesNo:
                rc = sqlite3_bind_int(stmt, index, value.toBool() ? 1 : 0);
                break;
            case ColumnKind::Date: {
                double date = 0;
                if (value.kind() == Value::Kind::Text) {
                    auto parsed = util::ParseVbDate(value.toText());
                    if (!parsed)
                        parsed = util::ParseWorkDbDate(value.toText());
                    if (!parsed) {
                        throw Error(3421, "データ型変換エラー: '" + value.toText() +
                                              "' は日付ではありません。");
                    }
                    date = *parsed;
                } else {
                    date = value.toDouble();
                }
                const std::string text = util::FormatWorkDbDate(date);
                rc = sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()),
                                       SQLITE_TRANSIENT);
                break;
            }
        }
    }
    check(rc, db, "bind");
}

// A run commits once per collector into results the next run remakes. With a write-ahead log a
// commit appends to the log without waiting for the disk; only folding the log back into the
// file (as it grows, and when the last connection closes) waits. A killed process still leaves
// each table as its last commit left it, the log being read back on the next open; a journal
// kept only in memory would not. Where no log can be made (a read-only file or folder) the file
// keeps its rollback journal, which keeps the same promise at a few syncs per commit.
void preferWriteAheadLog(sqlite3* db) {
    const char* file = sqlite3_db_filename(db, "main");
    if (!file || !*file || sqlite3_db_readonly(db, "main") != 0)
        return;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode = WAL", -1, &raw, nullptr) != SQLITE_OK)
        return;
    StatementHandle stmt(raw);
    if (sqlite3_step(raw) != SQLITE_ROW)
        return;
    const auto* mode = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
    // A normal sync never lets a commit be half seen; it only may lose the last commits to a
    // power cut, which a rerun makes good.
    if (mode && sqlite3_stricmp(mode, "wal") == 0)
        sqlite3_exec(db, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
    // The collectors rewrite whole tables of tens of megabytes. SQLite's 2 MB cache wrote pages
    // out and read them back within a run; a cache the size of the tables cost more than that
    // I/O, each of its pages being fresh memory the system has to supply, and the pages an
    // emptied table is read through are never asked for again. A few megabytes do least work.
    sqlite3_exec(db, "PRAGMA cache_size = -4096", nullptr, nullptr, nullptr);
}

// SQLite reads a file in write-ahead mode through an index in a file beside it, which it makes
// when missing and leaves behind after a read-only connection; where it cannot make it (a
// read-only folder) it refuses even to read. With no log beside it such a file holds every
// commit itself, and is read as an unchanging file with nothing made beside it.
bool keepsLogWithoutCommitsBeside(const fs::path& file) {
    char header[20] = {};
    std::ifstream in(file, std::ios::binary);
    if (!in.read(header, sizeof header) ||
        std::string_view(header, 16) != std::string_view("SQLite format 3\0", 16) ||
        header[19] != 2)
        return false;
    auto log = file;
    log += "-wal";
    std::error_code ec;
    const auto size = fs::file_size(log, ec);
    return ec || size == 0;
}

bool writableInPlace(const fs::path& file) {
    std::error_code ec;
    const auto folder = fs::absolute(file, ec).parent_path();
    return ::access(file.c_str(), W_OK) == 0 && ::access(folder.c_str(), W_OK) == 0;
}

// `file` as an SQLite URI naming it unchanging: every byte but the plainest escaped, so that no
// '?', '#' or '%' of a name is read as part of the URI.
std::string unchangingUri(const fs::path& file) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::error_code ec;
    std::string uri = "file://";
    for (const unsigned char c : fs::absolute(file, ec).string()) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '/' || c == '.' || c == '-' || c == '_';
        if (plain) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri + "?immutable=1";
}

// Opens `file` with `flags`, or read-only as an unchanging file.
int openFile(const fs::path& file, int flags, bool unchanging, sqlite3** db) {
    if (unchanging) {
        return sqlite3_open_v2(unchangingUri(file).c_str(), db,
                               SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    }
    return sqlite3_open_v2(file.c_str(), db, flags, nullptr);
}

// Every statement that brings `db`, holding `tables`, to the current schema: missing tables
// made, missing columns and indexes added, views made or remade. Views come last: they read the
// tables just made. One of the same name that reads something else (an older program's) is
// replaced.
std::vector<std::string> schemaChanges(sqlite3* db, const std::vector<std::string>& tables) {
    std::vector<std::string> changes;
    for (const auto& table : WorkTables()) {
        if (!contains(tables, table.name)) {
            changes.push_back(createTableSql(table));
            continue;
        }
        const auto columns = existingColumns(db, table.name);
        for (const auto& c : table.columns) {
            if (!contains(columns, c.name))
                changes.push_back(addColumnSql(table, c));
        }
    }
    const auto indexes = tables.empty() ? std::vector<std::string>{} : existingIndexes(db);
    for (const auto& index : WorkIndexes()) {
        if (!contains(indexes, index.name)) {
            changes.push_back("CREATE INDEX " + quoted(index.name) + " ON " + quoted(index.table) +
                              " " + std::string(index.columns));
        }
    }
    const auto views = existingViews(db);
    for (const auto& view : WorkViews()) {
        const auto wanted = CreateViewSql(view);
        const auto found = std::find_if(views.begin(), views.end(), [&](const auto& v) {
            return sqlite3_stricmp(v.first.c_str(), std::string(view.name).c_str()) == 0;
        });
        if (found != views.end() && found->second == wanted)
            continue;
        if (found != views.end())
            changes.push_back("DROP VIEW \"" + std::string(view.name) + "\"");
        changes.push_back(wanted);
    }
    return changes;
}

void syncFile(const fs::path& file) {
    const util::FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid() || ::fsync(fd.get()) != 0) {
        throw Error(err::kWorkDatabase, "'" + file.string() + "' をディスクに書き込めません: " +
                                            std::system_category().message(errno));
    }
}

// A missing work database is made whole under a name of its own beside it, then renamed into
// place: a process killed while making it never leaves a half-made file where the next run opens
// it, and the next run clears what it left. Nothing is journalled or waited for until the file
// is complete; one sync of the file and one of its folder replace the sync at every step of a
// journalled creation, which took longer than all the rest of `init`. The caller holds the
// file's lock, so no other process makes it at the same time. False when another file took the
// name meanwhile.
bool createWhole(const fs::path& path) {
    auto building = path;
    building += ".zanfor-new";
    auto discard = [&] {
        std::error_code ignored;
        for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
            auto file = building;
            file += suffix;
            fs::remove(file, ignored);
        }
    };
    discard();
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(building.c_str(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    DatabaseHandle db(raw);
    try {
        if (rc != SQLITE_OK)
            throw Error(err::kWorkDatabase, sqliteCause(nullptr, rc));
        sqlite3_extended_result_codes(raw, 1);
        std::string sql = "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN;";
        for (const auto& change : schemaChanges(raw, {}))
            sql += change + ";";
        // Write-ahead mode (see preferWriteAheadLog) goes into the header here, so that
        // opening the file changes nothing more.
        sql += "PRAGMA user_version = " + std::to_string(kSchemaVersion) +
               "; COMMIT; PRAGMA journal_mode = WAL;";
        char* message = nullptr;
        if (sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string cause = sqliteCause(raw, SQLITE_ERROR, message);
            sqlite3_free(message);
            throw Error(err::kWorkDatabase, "作業用データベースのエラー (CREATE): " + cause);
        }
        if (sqlite3_close(db.release()) != SQLITE_OK)
            fail(nullptr, "CREATE");
        syncFile(building);
        // A log or journal of an earlier file of this name would be read into the new one.
        for (const char* suffix : {"-journal", "-wal", "-shm"}) {
            auto beside = path;
            beside += suffix;
            fs::remove(beside);
        }
        if (::renameat2(AT_FDCWD, building.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) !=
            0) {
            // Made meanwhile by something that does not take the lock: that file is opened.
            if (errno == EEXIST) {
                discard();
                return false;
            }
            // A file system that cannot refuse to replace: none but this process makes the file.
            fs::rename(building, path);
        }
    } catch (const fs::filesystem_error& e) {
        discard();
        throw Error(err::kWorkDatabase, e.path1().string() + ": " + e.code().message());
    } catch (...) {
        db.reset();
        discard();
        throw;
    }
    // The name, too, should survive a power cut once `init` has said it made the file; where
    // a folder cannot be synced (some network file systems) the file is whole all the same.
    std::error_code ec;
    const util::FileDescriptor folder(
        ::open(fs::absolute(path, ec).parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid())
        ::fsync(folder.get());
    return true;
}

}  // namespace

// WorkDatabase.

WorkDatabase WorkDatabase::open(const std::filesystem::path& path) {
    const bool privateDatabase = path.empty() || path == ":memory:";
    auto lock = privateDatabase ? WorkDatabaseLock() : WorkDatabaseLock::acquire(path);
    std::error_code ec;
    bool created = false;
    if (lock.guards() && fs::symlink_status(path, ec).type() == fs::file_type::not_found) {
        try {
            created = createWhole(path);
        } catch (const Error& e) {
            throw Error(err::kWorkDatabase, "作業用データベース '" + path.string() +
                                                "' を開けません: " + e.description());
        }
    }
    // Nothing can be written where the file lies: read it as it stands.
    const bool unchanging =
        !privateDatabase && keepsLogWithoutCommitsBeside(path) && !writableInPlace(path);
    sqlite3* raw = nullptr;
    const int rc = openFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, unchanging, &raw);
    DatabaseHandle handle(raw);
    if (rc != SQLITE_OK) {
        throw Error(err::kWorkDatabase, "作業用データベース '" + path.string() +
                                            "' を開けません: " + sqliteCause(nullptr, rc));
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, 5000);
    WorkDatabase db(std::move(lock), std::move(handle));
    try {
        // A file just made holds the current schema: only the connection's settings are left.
        if (created)
            preferWriteAheadLog(raw);
        else
            db.bringUpToDate();
    } catch (const Error& e) {
        if (e.number() == err::kWorkDatabaseTooNew)
            throw;
        throw Error(err::kWorkDatabase,
                    "作業用データベース '" + path.string() + "' を開けません: " + e.description());
    }
    return db;
}

namespace {

// Copies every page of `from` into `to` in one step.
void backup(sqlite3* from, sqlite3* to, std::string_view what) {
    sqlite3_backup* copy = sqlite3_backup_init(to, "main", from, "main");
    if (!copy)
        fail(to, what);
    const int stepped = sqlite3_backup_step(copy, -1);
    const int finished = sqlite3_backup_finish(copy);
    if (stepped != SQLITE_DONE)
        fail(from, what, stepped);
    check(finished, to, what);
}

[[noreturn]] void refuseFile(const std::filesystem::path& path, std::string_view why) {
    throw Error(err::kUnrecognizedFormat, "'" + path.string() +
                                              "' は Zanfor の解析ファイルではありません (" +
                                              std::string(why) + ")。");
}

}  // namespace

WorkDatabase WorkDatabase::openCopy(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status))
        throw Error(err::kFileNotFound, "ファイル '" + path.string() + "' が見つかりません。");
    // A FIFO or a device would block the read for ever.
    if (!std::filesystem::is_regular_file(status))
        refuseFile(path, "ファイルではありません");
    sqlite3* raw = nullptr;
    int rc = openFile(path, SQLITE_OPEN_READONLY, keepsLogWithoutCommitsBeside(path), &raw);
    DatabaseHandle file(raw);
    if (rc != SQLITE_OK)
        refuseFile(path, sqliteCause(raw, rc));
    sqlite3_extended_result_codes(raw, 1);
    std::string verdict;
    try {
        verdict = [&] {
            auto stmt = prepare(raw, "PRAGMA quick_check");
            check(sqlite3_step(stmt.get()), raw, "PRAGMA quick_check");
            const auto* text = sqlite3_column_text(stmt.get(), 0);
            return std::string(text ? reinterpret_cast<const char*>(text) : "");
        }();
    } catch (const Error& e) {
        refuseFile(path, e.description());
    }
    if (verdict != "ok")
        refuseFile(path, "破損しています: " + verdict);
    if (singleInteger(raw, "PRAGMA user_version") > kSchemaVersion) {
        throw Error(err::kWorkDatabaseTooNew,
                    "'" + path.string() + "' は新しいバージョンの Zanfor で作成されています。");
    }
    const auto tables = existingTables(raw);
    if (!contains(tables, "T_AcObject") || !contains(tables, "T_AcSaveFlag"))
        refuseFile(path, "結果のテーブルがありません");

    raw = nullptr;
    rc = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE, nullptr);
    DatabaseHandle memory(raw);
    if (rc != SQLITE_OK)
        fail(raw, "メモリ上の複製", rc);
    sqlite3_extended_result_codes(raw, 1);
    backup(file.get(), memory.get(), path.string());
    WorkDatabase db(WorkDatabaseLock(), std::move(memory));
    db.bringUpToDate();
    return db;
}

WorkDatabase WorkDatabase::openForReading(const std::filesystem::path& path) {
    auto extension = path.extension().string();
    for (auto& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".adb")
        return openCopy(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        throw Error(err::kFileNotFound,
                    "作業用データベース '" + path.string() + "' が見つかりません。");
    }
    auto db = open(path);
    // A report reads each page once; the writer's large cache would only add to every
    // worker's memory.
    db.execute("PRAGMA cache_size = -2000");
    return db;
}

void WorkDatabase::saveCopyAs(const std::filesystem::path& file) const {
    auto temporary = file;
    temporary += ".zanfor-tmp";
    auto discard = [&] {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    };
    discard();
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(temporary.c_str(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    DatabaseHandle copy(raw);
    try {
        if (rc != SQLITE_OK)
            fail(raw, file.string(), rc);
        sqlite3_extended_result_codes(raw, 1);
        backup(db_.get(), copy.get(), file.string());
        // The copy takes the work database's header, write-ahead mode and all; an analysis
        // file is one plain file, readable where nothing can be made beside it.
        auto mode = prepare(copy.get(), "PRAGMA journal_mode = DELETE");
        check(sqlite3_step(mode.get()), copy.get(), file.string());
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(mode.get(), 0));
        if (!text || sqlite3_stricmp(text, "delete") != 0)
            fail(copy.get(), file.string());
        mode.reset();
        copy.reset();
        // A log or journal left beside the file replaced would be read into the new one.
        for (const char* suffix : {"-wal", "-shm", "-journal"}) {
            auto beside = file;
            beside += suffix;
            std::filesystem::remove(beside);
        }
        std::filesystem::rename(temporary, file);
    } catch (const std::filesystem::filesystem_error& e) {
        discard();
        throw Error(err::kWorkDatabase,
                    "'" + file.string() + "' に書き込めません: " + e.code().message());
    } catch (...) {
        copy.reset();
        discard();
        throw;
    }
}

void WorkDatabase::replaceWith(const WorkDatabase& source) {
    backup(source.handle(), db_.get(), "解析ファイルの読込");
}

WorkDatabase::~WorkDatabase() = default;

void WorkDatabase::bringUpToDate() {
    sqlite3* db = db_.get();
    const auto version = singleInteger(db, "PRAGMA user_version");
    if (version > kSchemaVersion) {
        throw Error(err::kWorkDatabaseTooNew,
                    "作業用データベースは新しいバージョンの Zanfor で作成されています。");
    }
    const auto tables = existingTables(db);
    if (version == 0 && !tables.empty() && !contains(tables, "T_AcObject")) {
        throw Error(err::kWorkDatabase, "Zanfor の作業用データベースではありません。");
    }
    // Only a file found to be ours changes mode, and before its first write.
    preferWriteAheadLog(db);

    const auto changes = schemaChanges(db, tables);
    if (changes.empty() && version == kSchemaVersion)
        return;  // nothing to write: file untouched

    Transaction tx(*this);
    for (const auto& sql : changes)
        execute(sql);
    execute("PRAGMA user_version = " + std::to_string(kSchemaVersion));
    tx.commit();
}

void WorkDatabase::execute(std::string_view sql) {
    const std::string translated = fromJetDialect(sql);
    char* message = nullptr;
    const int rc = sqlite3_exec(db_.get(), translated.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const std::string cause = sqliteCause(db_.get(), rc, message);
        sqlite3_free(message);
        throw Error(err::kWorkDatabase,
                    "作業用データベースのエラー (" + translated + "): " + cause);
    }
}

int WorkDatabase::schemaVersion() const {
    return static_cast<int>(singleInteger(db_.get(), "PRAGMA user_version"));
}

std::vector<std::string> WorkDatabase::tableNames() const {
    const auto present = existingTables(db_.get());
    std::vector<std::string> names;
    for (const auto& table : WorkTables()) {
        if (contains(present, table.name))
            names.emplace_back(table.name);
    }
    return names;
}

std::int64_t WorkDatabase::rowCount(std::string_view table) const {
    return singleInteger(db_.get(), "SELECT COUNT(*) FROM " + quoted(table));
}

// Transaction.

Transaction::Transaction(WorkDatabase& db) : db_(&db) { db_->execute("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
    if (!done_)
        sqlite3_exec(db_->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    // A COMMIT that fails (a full disk) leaves the transaction open: the destructor rolls it back.
    db_->execute("COMMIT");
    done_ = true;
}

// RowWriter.

RowWriter::RowWriter(WorkDatabase& db, std::string_view table)
    : db_(&db), table_(FindWorkTable(table)) {
    if (!table_) {
        throw Error(err::kNoSuchTable,
                    "テーブル '" + std::string(table) + "' は作業用データベースにありません。");
    }
    values_.resize(table_->columns.size());
    texts_.resize(table_->columns.size());
    isSet_.assign(table_->columns.size(), '0');
}

void RowWriter::addNew() {
    for (auto& v : values_)
        v = Value();
    std::fill(isSet_.begin(), isSet_.end(), '0');
    pending_ = true;
}

std::size_t RowWriter::column(std::string_view field) {
    if (!pending_)
        throw Error(3020, "AddNew または Edit のない Update または CancelUpdate です。");
    const auto& columns = table_->columns;
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const std::size_t i = (next_ + k) % columns.size();
        if (columns[i].name == field) {
            next_ = i + 1;
            return i;
        }
    }
    throw Error(err::kItemNotFound, "フィールド '" + std::string(field) + "' はテーブル '" +
                                        std::string(table_->name) + "' にありません。");
}

RowWriter& RowWriter::set(std::string_view field, const Value& value) {
    const std::size_t i = column(field);
    values_[i] = value;
    isSet_[i] = '1';
    return *this;
}

RowWriter& RowWriter::set(std::string_view field, Value&& value) {
    const std::size_t i = column(field);
    values_[i] = std::move(value);
    isSet_[i] = '1';
    return *this;
}

RowWriter& RowWriter::setText(std::string_view field, std::string_view text) {
    const std::size_t i = column(field);
    values_[i] = Value();
    texts_[i].assign(text);
    isSet_[i] = 't';
    return *this;
}

sqlite3_stmt* RowWriter::insertFor() {
    // Set by value or by setText, a column is set: the statement is the same.
    key_.resize(isSet_.size());
    for (std::size_t i = 0; i < isSet_.size(); ++i)
        key_[i] = isSet_[i] == '0' ? '0' : '1';
    if (last_ && key_ == lastKey_)
        return last_;
    auto& stmt = inserts_[key_];
    if (!stmt) {
        std::string names;
        std::string params;
        for (std::size_t i = 0; i < key_.size(); ++i) {
            if (key_[i] != '1')
                continue;
            if (!names.empty()) {
                names += ", ";
                params += ", ";
            }
            names += quoted(table_->columns[i].name);
            params += "?";
        }
        const std::string sql =
            "INSERT INTO " + quoted(table_->name) +
            (names.empty() ? " DEFAULT VALUES" : " (" + names + ") VALUES (" + params + ")");
        stmt = prepare(db_->handle(), sql);
    }
    lastKey_ = key_;
    last_ = stmt.get();
    return last_;
}

void RowWriter::update() {
    if (!pending_)
        throw Error(3020, "AddNew または Edit のない Update または CancelUpdate です。");
    sqlite3* db = db_->handle();
    sqlite3_stmt* stmt = insertFor();
    // Every parameter of the statement is bound anew for each row, so none is left pointing
    // at the text of a row written before.
    int param = 0;
    for (std::size_t i = 0; i < isSet_.size(); ++i) {
        const ColumnKind kind = table_->columns[i].kind;
        if (isSet_[i] == '1') {
            bindValue(db, stmt, ++param, kind, values_[i]);
        } else if (isSet_[i] == 't' && (kind == ColumnKind::Text || kind == ColumnKind::Memo)) {
            const std::string& text = texts_[i];
            check(sqlite3_bind_text(stmt, ++param, text.data(), static_cast<int>(text.size()),
                                    SQLITE_STATIC),
                  db, "bind");
        } else if (isSet_[i] == 't') {
            bindValue(db, stmt, ++param, kind, Value(texts_[i]));
        }
    }
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    check(rc, db, table_->name);
    pending_ = false;
}

Value DateOrNull(const std::optional<host::Date>& date) { return date ? Value(*date) : Value(); }

// Query.

Query::Query(const WorkDatabase& db, std::string_view sql) : stmt_(prepare(db.handle(), sql)) {
    const int n = sqlite3_column_count(stmt_.get());
    for (int i = 0; i < n; ++i) {
        const char* decl = sqlite3_column_decltype(stmt_.get(), i);
        kinds_.push_back(decl ? KindOfSqlType(decl) : ColumnKind::Memo);
    }
}

bool Query::next() {
    const int rc = sqlite3_step(stmt_.get());
    // The statement's text is measured only for the message: a report steps millions of rows.
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        check(rc, sqlite3_db_handle(stmt_.get()), sqlite3_sql(stmt_.get()));
    return rc == SQLITE_ROW;
}

int Query::columnCount() const { return static_cast<int>(kinds_.size()); }

std::string Query::columnName(int column) const { return sqlite3_column_name(stmt_.get(), column); }

Value Query::value(int column) const {
    sqlite3_stmt* s = stmt_.get();
    switch (sqlite3_column_type(s, column)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER: {
            const auto n = sqlite3_column_int64(s, column);
            if (kinds_[static_cast<std::size_t>(column)] == ColumnKind::YesNo)
                return n != 0;
            return n;
        }
        case SQLITE_FLOAT:
            return sqlite3_column_double(s, column);
        default: {
            std::string text(reinterpret_cast<const char*>(sqlite3_column_text(s, column)),
                             static_cast<std::size_t>(sqlite3_column_bytes(s, column)));
            if (kinds_[static_cast<std::size_t>(column)] == ColumnKind::Date) {
                if (auto d = util::ParseWorkDbDate(text))
                    return host::Date{*d};
            }
            return text;
        }
    }
}

Value Query::value(std::string_view columnName) const {
    for (int i = 0; i < columnCount(); ++i) {
        if (sqlite3_stricmp(sqlite3_column_name(stmt_.get(), i), std::string(columnName).c_str()) ==
            0) {
            return value(i);
        }
    }
    throw Error(err::kItemNotFound, "列 '" + std::string(columnName) + "' はありません。");
}

}  // namespace zanfor::workdb
