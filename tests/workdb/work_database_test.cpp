#include "workdb/work_database.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <set>

#include "host/access/access_fixture.h"
#include "host/error.h"
#include "test_support.h"
#include "util/encoding.h"
#include "workdb/other_process.h"

namespace {

using namespace zanfor::workdb;
using zanfor::host::Date;
using zanfor::host::Value;
using zanfor::test::ErrorOf;
using zanfor::test::FileBytes;
using zanfor::test::InOtherProcess;
using zanfor::test::TempDir;
namespace fs = std::filesystem;

void AddTitles(WorkDatabase& db, int count) {
    RowWriter w(db, "T_AcTitle");
    for (int i = 0; i < count; ++i) {
        w.addNew();
        w.update();
    }
}

TEST(WorkDatabase, valuesComeBackInTheKindOfTheirColumnAndUnsetOnesAsItsDefault) {
    const struct {
        const char* table;
        std::string column;
        std::optional<Value> written;  // none: the field is left unset
        Value read;
    } cases[] = {
        {"T_AcFrmInfo", "Ibent1", {}, ""},  // the slot test compares with ""
        {"T_AcFrmInfo", "Caption", {}, {}},
        {"T_AcFrmInfo", "AllowEdits", {}, false},
        {"T_AcFrmInfo", "DefaultView", {}, 0},
        {"T_AcQeryItem", "FieldSize", 50, "50"},  // a text field keeps digits as text
        {"T_AcQeryItem", "ZeroLength", true, true},
        {"T_AcQeryItem", "FieldName", "顧客名", "顧客名"},
        {"T_AcObject", "DateCreate", DateOrNull(Date{37712.75}), Date{37712.75}},
        {"T_AcObject", "DateUpdate", "2003/04/02", Date{37713}},
        {"T_AcObject", "DateCreate", DateOrNull(std::nullopt), {}},  // not day 0
    };
    for (const auto& c : cases) {
        auto db = WorkDatabase::open(":memory:");
        RowWriter w(db, c.table);
        w.addNew();
        if (c.written)
            w.set(c.column, *c.written);
        w.update();
        Query q(db, "SELECT " + c.column + " FROM " + c.table);
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0), c.read) << c.table << "." << c.column;
    }
    auto db = WorkDatabase::open(":memory:");
    RowWriter o(db, "T_AcObject");
    o.addNew();
    o.set("DateCreate", "not a date");
    EXPECT_EQ(ErrorOf([&] { o.update(); }), 3421);
}

// Fields set as values, as text kept by the caller, or not at all: each row has its own, a text
// given for a number column is taken as set() takes it, and nothing carries over to the next
// row.
TEST(WorkDatabase, eachRowHoldsTheFieldsItSetHoweverTheyWereSet) {
    auto db = WorkDatabase::open(":memory:");
    RowWriter w(db, "T_AcModule");
    const struct {
        std::optional<std::string> label;  // by setText
        std::optional<Value> line;         // by set
        std::optional<std::string> lineText;
        const char* read;
    } rows[] = {
        {"1", 10, {}, "1|10|長い行のテキスト"},
        {{}, {}, "20", "|20|"},
        {"2", {}, {}, "2|0|長い行のテキスト"},
        {{}, Value("30"), {}, "|30|"},
    };
    for (const auto& r : rows) {
        w.addNew();
        if (r.label)
            w.setText("Label", *r.label).setText("Procedure", "長い行のテキスト");
        if (r.line)
            w.set("Line", *r.line);
        if (r.lineText)
            w.setText("Line", *r.lineText);
        w.update();
    }
    Query q(db, "SELECT Label, Line, Procedure FROM T_AcModule");
    for (const auto& r : rows) {
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toText() + "|" + q.value(1).toText() + "|" + q.value(2).toText(),
                  r.read);
    }
}

TEST(WorkDatabase, misspeltTablesAndFieldsFailAtOnce) {
    auto db = WorkDatabase::open(":memory:");
    EXPECT_EQ(ErrorOf([&] { RowWriter(db, "T_AcObjects"); }), 3078);
    RowWriter w(db, "T_AcObject");
    EXPECT_EQ(ErrorOf([&] { w.update(); }), 3020);
    w.addNew();
    EXPECT_EQ(ErrorOf([&] { w.set("ObjectNo", 1); }), 3265);  // the field is objectNo
}

TEST(WorkDatabase, jetDeleteStatementEmptiesATable) {
    auto db = WorkDatabase::open(":memory:");
    AddTitles(db, 3);
    db.execute("delete * from T_AcTitle;");
    EXPECT_EQ(db.rowCount("T_AcTitle"), 0);
    EXPECT_EQ(ErrorOf([&] { db.execute("delete * from T_Missing;"); }), 30001);
}

TEST(WorkDatabase, transactionRollsBackUnlessCommitted) {
    auto db = WorkDatabase::open(":memory:");
    for (const bool commit : {false, true}) {
        Transaction tx(db);
        AddTitles(db, 1);
        if (commit)
            tx.commit();
    }
    EXPECT_EQ(db.rowCount("T_AcTitle"), 1);
}

TEST(WorkDatabaseFile, openingACurrentFileAgainLeavesItByteIdentical) {
    TempDir dir;
    const auto file = dir / "Zanfor2.db";
    WorkDatabase::open(file);
    const auto before = FileBytes(file);
    WorkDatabase::open(file);
    EXPECT_EQ(FileBytes(file), before);
}

// A creation cut short (the process killed by a write past its file size limit, at several
// points) leaves nothing under the file's name; the next open clears what it left.
TEST(WorkDatabaseFile, aNewFileIsWholeOrAbsent) {
    TempDir dir;
    const auto file = dir / "Zanfor2.db";
    for (const rlim_t bytes : {0, 8192, 65536}) {
        const int status = InOtherProcess([&] {
            const rlimit noCore{0, 0};
            const rlimit cut{bytes, bytes};
            ::setrlimit(RLIMIT_CORE, &noCore);
            ::setrlimit(RLIMIT_FSIZE, &cut);
            WorkDatabase::open(file);
            return 0;
        });
        EXPECT_NE(status, 0) << bytes;
        EXPECT_FALSE(fs::exists(file)) << bytes;
    }
    EXPECT_EQ(WorkDatabase::open(file).tableNames().size(), 31u);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"Zanfor2.db", "Zanfor2.db-lock"}));
}

TEST(WorkDatabaseFile, anOlderFileGainsTheMissingTablesColumnsAndIndexesKeepingItsRows) {
    TempDir dir;
    const auto file = dir / "old.db";
    WorkDatabase::open(file).execute(
        "DROP TABLE T_AcTeigiItem; ALTER TABLE T_AcTitle RENAME TO T_Keep;"
        "CREATE TABLE T_AcTitle (FileName TEXT); INSERT INTO T_AcTitle VALUES ('残す');"
        "DROP INDEX IX_AcModule_Line; PRAGMA user_version = 0;");
    auto db = WorkDatabase::open(file);
    EXPECT_EQ(db.schemaVersion(), kSchemaVersion);
    EXPECT_EQ(db.tableNames().size(), 31u);
    EXPECT_EQ(db.rowCount("T_AcTitle"), 1);
    Query index(db, "SELECT count(*) FROM sqlite_master WHERE name = 'IX_AcModule_Line'");
    ASSERT_TRUE(index.next());
    EXPECT_EQ(index.value(0).toInteger(), 1);
}

// Reports are read on other threads while the next collector writes.
TEST(WorkDatabaseFile, aReaderKeepsItsViewWhileTheWriterCommitsAndTheLogGoesWithTheLastClose) {
    TempDir dir;
    const auto file = dir / "Zanfor2.db";
    {
        auto writer = WorkDatabase::open(file);
        AddTitles(writer, 1);
        Transaction tx(writer);
        AddTitles(writer, 2);
        auto reader = WorkDatabase::openForReading(file);
        Query rows(reader, "SELECT rowid FROM T_AcTitle");
        ASSERT_TRUE(rows.next());
        tx.commit();  // with a rollback journal this waits for the reader, then fails busy
        EXPECT_FALSE(rows.next());
        EXPECT_EQ(reader.rowCount("T_AcTitle"), 3);
        EXPECT_TRUE(fs::exists(dir / "Zanfor2.db-wal"));
    }
    EXPECT_EQ(FileBytes(file)[19], 2);  // the file stays in write-ahead mode
    EXPECT_FALSE(fs::exists(dir / "Zanfor2.db-wal"));
    EXPECT_FALSE(fs::exists(dir / "Zanfor2.db-shm"));
    EXPECT_EQ(WorkDatabase::open(file).rowCount("T_AcTitle"), 3);
}

// Each file of `cases` (name, error) in `dir` is refused by `open` with that error, unchanged.
template <typename Open>
void ExpectRefusedUntouched(const TempDir& dir, Open open,
                            std::initializer_list<std::pair<const char*, int>> cases) {
    for (const auto& [name, number] : cases) {
        const bool file = fs::is_regular_file(dir / name);
        const auto before = file ? FileBytes(dir / name) : "";
        EXPECT_EQ(ErrorOf([&] { open(dir / name); }), number) << name;
        EXPECT_EQ(file ? FileBytes(dir / name) : "", before) << name;
        EXPECT_FALSE(fs::exists(dir / (std::string(name) + "-journal"))) << name;
    }
}

TEST(WorkDatabaseFile, foreignOrNewerFilesAreRefusedAndLeftAlone) {
    TempDir dir;
    zanfor::util::WriteFileAtomically(dir / "junk.db", std::string(4096, 'x'));
    WorkDatabase::open(dir / "newer.db").execute("PRAGMA user_version = 99");
    // Another program's SQLite file: no work tables, version 0.
    std::string sql = "CREATE TABLE customers (id INTEGER); PRAGMA user_version = 0;";
    for (const auto& table : WorkTables())
        sql += "DROP TABLE \"" + std::string(table.name) + "\";";
    WorkDatabase::open(dir / "other.db").execute(sql);
    ExpectRefusedUntouched(dir, WorkDatabase::open,
                           {{"junk.db", 30001}, {"newer.db", 30002}, {"other.db", 30001}});
}

TEST(AnalysisFileCopy, aSavedCopyReadsBackFromMemoryAndTheFileIsNeverWritten) {
    TempDir dir;
    auto db = WorkDatabase::open(":memory:");
    AddTitles(db, 3);
    db.saveCopyAs(dir / "a.adb");
    EXPECT_FALSE(fs::exists(dir / "a.adb.zanfor-tmp"));
    // An older program's file: brought up to date in the copy only.
    WorkDatabase::open(dir / "old.adb")
        .execute("DROP TABLE T_AcTeigiItem; PRAGMA user_version = 0;");
    for (const char* name : {"a.adb", "old.adb"}) {
        const auto before = FileBytes(dir / name);
        auto copy = WorkDatabase::openCopy(dir / name);
        EXPECT_EQ(copy.tableNames().size(), WorkTables().size()) << name;
        AddTitles(copy, 1);
        EXPECT_EQ(FileBytes(dir / name), before) << name;
    }
    auto work = WorkDatabase::open(dir / "Zanfor2.db");
    work.replaceWith(WorkDatabase::openCopy(dir / "a.adb"));
    EXPECT_EQ(work.rowCount("T_AcTitle"), 3);
}

// What `body` returns in a process that cannot write into `folder`; root, whom permissions do
// not stop, gives up its rights first.
int InReadOnlyFolder(const fs::path& folder, const std::function<int()>& body) {
    constexpr auto kWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(folder, kWrite, fs::perm_options::remove);
    const int status = InOtherProcess([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            return -2;
        return body();
    });
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
    return status;
}

TEST(AnalysisFileCopy, aCopyIsOnePlainFileAndEveryFileLoadsFromAReadOnlyFolder) {
    TempDir dir;
    {
        auto work = WorkDatabase::open(dir / "Zanfor2.db");
        AddTitles(work, 3);
        // A log left beside the file a save replaces would be read into the new file.
        zanfor::util::WriteFileAtomically(dir / "a.adb-wal", std::string(4096, 'x'));
        work.saveCopyAs(dir / "a.adb");
    }
    EXPECT_EQ(FileBytes(dir / "a.adb")[19], 1);  // a rollback journal, as earlier versions made
    fs::copy_file(dir / "Zanfor2.db", dir / "copied.adb");  // a copy by hand, in write-ahead mode
    EXPECT_EQ(WorkDatabase::openCopy(dir / "copied.adb").rowCount("T_AcTitle"), 3);
    for (const char* beside : {"a.adb-wal", "a.adb-shm", "copied.adb-wal", "copied.adb-shm"})
        EXPECT_FALSE(fs::exists(dir / beside)) << beside;
    const auto loadAll = [&] {
        int loaded = 0;
        for (const char* name : {"a.adb", "copied.adb", "Zanfor2.db"})
            loaded += WorkDatabase::openForReading(dir / name).rowCount("T_AcTitle") == 3;
        return loaded;
    };
    EXPECT_EQ(InReadOnlyFolder(dir.path(), loadAll), 3);
}

TEST(AnalysisFileCopy, foreignDamagedNewerOrMissingFilesAreRefusedUntouched) {
    TempDir dir;
    zanfor::util::WriteFileAtomically(dir / "junk.adb", std::string(4096, 'x'));
    zanfor::util::WriteFileAtomically(dir / "empty.adb", "");
    WorkDatabase::open(dir / "newer.adb").execute("PRAGMA user_version = 99");
    WorkDatabase::open(dir / "no-flags.adb").execute("DROP TABLE T_AcSaveFlag");
    // A work database cut short, as a mail attachment that did not arrive whole.
    auto whole = WorkDatabase::open(":memory:");
    AddTitles(whole, 2000);
    whole.saveCopyAs(dir / "whole.adb");
    const auto bytes = FileBytes(dir / "whole.adb");
    zanfor::util::WriteFileAtomically(dir / "cut.adb", bytes.substr(0, bytes.size() / 2));
    fs::create_directory(dir / "folder.adb");
    ExpectRefusedUntouched(dir, WorkDatabase::openCopy,
                           {{"junk.adb", 3343},
                            {"empty.adb", 3343},
                            {"newer.adb", 30002},
                            {"no-flags.adb", 3343},
                            {"cut.adb", 3343},
                            {"folder.adb", 3343},
                            {"missing.adb", 53}});
}

TEST(AnalysisFileCopy, aCopyThatCannotBeWrittenLeavesNoFileBehind) {
    TempDir dir;
    auto db = WorkDatabase::open(":memory:");
    EXPECT_EQ(ErrorOf([&] { db.saveCopyAs(dir / "no-such-folder" / "a.adb"); }), 30001);
    fs::create_directory(dir / "taken.adb");
    EXPECT_EQ(ErrorOf([&] { db.saveCopyAs(dir / "taken.adb"); }), 30001);
    EXPECT_FALSE(fs::exists(dir / "taken.adb.zanfor-tmp"));
}

}  // namespace
