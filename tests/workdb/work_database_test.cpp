#include "workdb/work_database.h"

#include <gtest/gtest.h>

#include <optional>

#include "host/error.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::workdb;
using zanfor::host::Date;
using zanfor::host::Error;
using zanfor::host::Value;
using zanfor::test::FileBytes;
using zanfor::test::TempDir;

void AddTitles(WorkDatabase& db, int count) {
    RowWriter w(db, "T_AcTitle");
    for (int i = 0; i < count; ++i) {
        w.addNew();
        w.update();
    }
}

int errorNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

TEST(WorkDatabase, unsetFieldsReadAsTheirColumnDefaults) {
    auto db = WorkDatabase::open(":memory:");
    RowWriter form(db, "T_AcFrmInfo");
    form.addNew();
    form.set("objectNo", 1);
    form.update();
    Query q(db, "SELECT Ibent1, Caption, AllowEdits, DefaultView FROM T_AcFrmInfo");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value("Ibent1"), Value(""));  // the slot test compares with ""
    EXPECT_TRUE(q.value("Caption").isNull());
    EXPECT_EQ(q.value("AllowEdits"), Value(false));
    EXPECT_EQ(q.value("DefaultView"), Value(0));
}

TEST(WorkDatabase, valuesComeBackInTheKindOfTheirColumn) {
    auto db = WorkDatabase::open(":memory:");
    RowWriter w(db, "T_AcQeryItem");
    w.addNew();
    w.set("objectNo", 1).set("FieldSize", 50).set("ZeroLength", true).set("FieldName", "顧客名");
    w.update();
    RowWriter o(db, "T_AcObject");
    o.addNew();
    o.set("DateCreate", DateOrNull(Date{37712.75})).set("DateUpdate", "2003/04/02");
    o.update();

    Query q(db, "SELECT FieldSize, ZeroLength, FieldName FROM T_AcQeryItem");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0), Value("50"));  // a text field keeps digits as text
    EXPECT_EQ(q.value(1), Value(true));
    EXPECT_EQ(q.value(2), Value("顧客名"));
    Query d(db, "SELECT DateCreate, DateUpdate FROM T_AcObject");
    ASSERT_TRUE(d.next());
    EXPECT_EQ(d.value(0), Value(Date{37712.75}));
    EXPECT_EQ(d.value(1), Value(Date{37713}));
    EXPECT_EQ(errorNumber([&] {
                  o.addNew();
                  o.set("DateCreate", "not a date");
                  o.update();
              }),
              3421);
}

TEST(WorkDatabase, anUnknownDateIsStoredAsNullNotAsDayZero) {
    auto db = WorkDatabase::open(":memory:");
    RowWriter o(db, "T_AcObject");
    o.addNew();
    o.set("DateCreate", DateOrNull(std::nullopt));
    o.update();
    Query q(db, "SELECT DateCreate FROM T_AcObject");
    ASSERT_TRUE(q.next());
    EXPECT_TRUE(q.value(0).isNull());
}

TEST(WorkDatabase, misspeltTablesAndFieldsFailAtOnce) {
    auto db = WorkDatabase::open(":memory:");
    EXPECT_EQ(errorNumber([&] { RowWriter(db, "T_AcObjects"); }), 3078);
    RowWriter w(db, "T_AcObject");
    EXPECT_EQ(errorNumber([&] { w.update(); }), 3020);
    w.addNew();
    EXPECT_EQ(errorNumber([&] { w.set("ObjectNo", 1); }), 3265);  // the field is objectNo
}

TEST(WorkDatabase, jetDeleteStatementEmptiesATable) {
    auto db = WorkDatabase::open(":memory:");
    AddTitles(db, 3);
    db.execute("delete * from T_AcTitle;");
    EXPECT_EQ(db.rowCount("T_AcTitle"), 0);
    EXPECT_EQ(errorNumber([&] { db.execute("delete * from T_Missing;"); }), 30001);
}

TEST(WorkDatabase, transactionRollsBackUnlessCommitted) {
    auto db = WorkDatabase::open(":memory:");
    {
        Transaction tx(db);
        AddTitles(db, 1);
    }
    EXPECT_EQ(db.rowCount("T_AcTitle"), 0);
    {
        Transaction tx(db);
        AddTitles(db, 1);
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
    {
        auto db = WorkDatabase::open(file);
        db.execute(
            "DROP TABLE T_AcTeigiItem; ALTER TABLE T_AcTitle RENAME TO T_Keep;"
            "CREATE TABLE T_AcTitle (FileName TEXT); INSERT INTO T_AcTitle VALUES ('残す');"
            "PRAGMA user_version = 0;");
    }
    auto db = WorkDatabase::open(file);
    EXPECT_EQ(db.schemaVersion(), kSchemaVersion);
    EXPECT_EQ(db.tableNames().size(), 31u);
    EXPECT_EQ(db.rowCount("T_AcTitle"), 1);
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
    const std::pair<const char*, int> cases[] = {
        {"junk.db", 30001}, {"newer.db", 30002}, {"other.db", 30001}};
    for (const auto& [name, number] : cases) {
        const auto before = FileBytes(dir / name);
        EXPECT_EQ(errorNumber([&] { WorkDatabase::open(dir / name); }), number) << name;
        EXPECT_EQ(FileBytes(dir / name), before) << name;
    }
}

TEST(AnalysisFileCopy, aSavedCopyReadsBackFromMemoryAndTheFileIsNeverWritten) {
    TempDir dir;
    auto db = WorkDatabase::open(":memory:");
    AddTitles(db, 3);
    db.saveCopyAs(dir / "a.adb");
    EXPECT_FALSE(std::filesystem::exists(dir / "a.adb.zanfor-tmp"));
    // An older program's file: brought up to date in the copy only.
    {
        auto older = WorkDatabase::open(dir / "old.adb");
        older.execute("DROP TABLE T_AcTeigiItem; PRAGMA user_version = 0;");
    }
    for (const char* name : {"a.adb", "old.adb"}) {
        const auto before = FileBytes(dir / name);
        auto copy = WorkDatabase::openCopy(dir / name);
        EXPECT_EQ(copy.tableNames().size(), WorkTables().size()) << name;
        AddTitles(copy, 1);
        EXPECT_EQ(FileBytes(dir / name), before) << name;
    }
    EXPECT_EQ(WorkDatabase::openCopy(dir / "a.adb").rowCount("T_AcTitle"), 3);

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
    {
        // A work database cut short, as a mail attachment that did not arrive whole.
        auto db = WorkDatabase::open(":memory:");
        AddTitles(db, 2000);
        db.saveCopyAs(dir / "whole.adb");
        const auto bytes = FileBytes(dir / "whole.adb");
        zanfor::util::WriteFileAtomically(dir / "cut.adb", bytes.substr(0, bytes.size() / 2));
    }
    std::filesystem::create_directory(dir / "folder.adb");
    const std::pair<const char*, int> cases[] = {
        {"junk.adb", 3343}, {"empty.adb", 3343},  {"newer.adb", 30002}, {"no-flags.adb", 3343},
        {"cut.adb", 3343},  {"folder.adb", 3343}, {"missing.adb", 53},
    };
    for (const auto& [name, number] : cases) {
        const bool file = std::filesystem::is_regular_file(dir / name);
        const auto before = file ? FileBytes(dir / name) : "";
        EXPECT_EQ(errorNumber([&] { WorkDatabase::openCopy(dir / name); }), number) << name;
        EXPECT_EQ(file ? FileBytes(dir / name) : "", before) << name;
        EXPECT_FALSE(std::filesystem::exists(dir / (std::string(name) + "-journal"))) << name;
    }
}

TEST(AnalysisFileCopy, aCopyThatCannotBeWrittenLeavesNoFileBehind) {
    TempDir dir;
    auto db = WorkDatabase::open(":memory:");
    EXPECT_EQ(errorNumber([&] { db.saveCopyAs(dir / "no-such-folder" / "a.adb"); }), 30001);
    std::filesystem::create_directory(dir / "taken.adb");
    EXPECT_EQ(errorNumber([&] { db.saveCopyAs(dir / "taken.adb"); }), 30001);
    EXPECT_FALSE(std::filesystem::exists(dir / "taken.adb.zanfor-tmp"));
}

}  // namespace
