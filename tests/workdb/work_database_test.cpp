#include "workdb/work_database.h"

#include <gtest/gtest.h>

#include <optional>

#include "host/access/access_fixture.h"
#include "host/error.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::workdb;
using zanfor::host::Date;
using zanfor::host::Value;
using zanfor::test::ErrorOf;
using zanfor::test::FileBytes;
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

TEST(WorkDatabaseFile, anOlderFileGainsTheMissingTablesAndColumnsKeepingItsRows) {
    TempDir dir;
    const auto file = dir / "old.db";
    WorkDatabase::open(file).execute(
        "DROP TABLE T_AcTeigiItem; ALTER TABLE T_AcTitle RENAME TO T_Keep;"
        "CREATE TABLE T_AcTitle (FileName TEXT); INSERT INTO T_AcTitle VALUES ('残す');"
        "PRAGMA user_version = 0;");
    auto db = WorkDatabase::open(file);
    EXPECT_EQ(db.schemaVersion(), kSchemaVersion);
    EXPECT_EQ(db.tableNames().size(), 31u);
    EXPECT_EQ(db.rowCount("T_AcTitle"), 1);
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
